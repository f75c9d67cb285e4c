// Sort, Find Duplicate and Remove Duplicates on the lines of the current document.
#include <gtest/gtest.h>

#include "edit/LineCommands.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;
using Lines = std::vector<std::string>;

TEST(LineCommandsTest, LinesSplitAndJoinAsTheEditorHoldsThem) {
  bool lineEnd = false;
  EXPECT_EQ(LinesWithoutEnds("a\r\nb\nc\rd", &lineEnd), (Lines{"a", "b", "c", "d"}));
  EXPECT_FALSE(lineEnd);
  EXPECT_EQ(LinesWithoutEnds("a\r\n\r\nb\r\n", &lineEnd), (Lines{"a", "", "b"}));
  EXPECT_TRUE(lineEnd);
  EXPECT_EQ(LinesWithoutEnds("", &lineEnd), Lines{});
  EXPECT_EQ(JoinLines({"a", "", "b"}, true), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLines({"a", "b"}, false), "a\r\nb");
}

TEST(LineCommandsTest, SortingUsesTheTextFromTheColumnInUpperCaseWithBlanksAsBang) {
  struct Case {
    Lines lines;
    size_t column;
    Lines sorted;
  } cases[] = {
      {{"pear", "Apple", "banana"}, 1, {"Apple", "banana", "pear"}},
      // From column 4: "b", "a", "c".
      {{"zz b", "yy a", "xx c"}, 4, {"yy a", "zz b", "xx c"}},
      // A blank is "!", below letters and digits but above a line that ends there.
      {{"ab", "a c", "a"}, 1, {"a", "a c", "ab"}},
      // Equal keys keep their order; lines shorter than the column come first.
      {{"x1 same", "x2 same", "a"}, 4, {"a", "x1 same", "x2 same"}},
      {{"\xE9t\xE9", "ETA", "eta"}, 1, {"ETA", "eta", "\xE9t\xE9"}},
  };
  for (Case& c : cases) {
    SortLinesFromColumn(c.lines, c.column);
    EXPECT_EQ(c.lines, c.sorted);
  }
}

TEST(LineCommandsTest, FindDuplicateStopsAtTheFirstLineOutOfSequenceOrEqual) {
  struct Case {
    Lines lines;
    TDuplicateFind::Kind kind;
    size_t line;
  } cases[] = {
      {{"a", "b", "c"}, TDuplicateFind::None, 0},
      {{"a", "b", "b", "a"}, TDuplicateFind::Duplicate, 2},
      {{"a", "c", "b", "b"}, TDuplicateFind::OutOfSequence, 2},
      {{"B", "a"}, TDuplicateFind::None, 0},  // bytes: "B" comes before "a"
      {{"\x80", "z"}, TDuplicateFind::OutOfSequence, 1},
      {{}, TDuplicateFind::None, 0},
  };
  for (const Case& c : cases) {
    const TDuplicateFind found = FindDuplicateLine(c.lines);
    EXPECT_EQ(found.kind, c.kind);
    EXPECT_EQ(found.line, c.line);
  }
  Lines lines = {"a", "a", "a", "b", "a", "", ""};
  EXPECT_EQ(RemoveDuplicateLines(lines), 3u);
  EXPECT_EQ(lines, (Lines{"a", "b", "a", ""}));
}

class LineCommandsEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    CurrentEditor = window.NewTab();
    CurrentEditor->SetOnChange(ThisChange);
  }
  void TearDown() override {
    CurrentEditor = nullptr;
    SetMainWindow(nullptr);
  }
  void Load(const std::string& text, size_t caret) {
    CurrentEditor->SetText(text);
    CurrentEditor->Select(caret, 0);
  }
  std::string Status() const { return window.StatusText(MessagePanel); }
  test::MemoryMainWindow window;
};

TEST_F(LineCommandsEditorTest, SortTakesTheWholeTextOrTheSelectedLines) {
  Load("c 3\r\nb 1\r\na 2\r\n", 2);  // caret in column 3
  SortMClick();
  EXPECT_EQ(CurrentEditor->GetText(), "b 1\r\na 2\r\nc 3\r\n");
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(Status(), "  File sorted on column 3  Modified");

  Load("keep\r\nzulu line\r\nyankee line\r\nxray line\r\nlast\r\n", 0);
  CurrentEditor->Select(5, 32);  // from "zulu" to the start of "last"
  Dialogs().Answer(mrYes);
  SortMClick();
  EXPECT_EQ(Dialogs().Last().text, "Sort selected text only?");
  EXPECT_EQ(CurrentEditor->GetText(), "keep\r\nxray line\r\nyankee line\r\nzulu line\r\nlast\r\n");
  EXPECT_EQ(Status(), "  Selected text sorted  Modified");

  // A short selection sorts the whole text without asking.
  Load("b\r\na", 0);
  CurrentEditor->Select(0, 3);
  SortMClick();
  EXPECT_EQ(CurrentEditor->GetText(), "a\r\nb");
}

TEST_F(LineCommandsEditorTest, FindDuplicateGoesToTheLineItFinds) {
  Load("alpha\r\nbeta\r\nbeta\r\n", 0);
  FindDupClick();
  EXPECT_EQ(CurrentEditor->SelStart(), 11u);
  EXPECT_TRUE(Dialogs().Calls().empty());

  Load("alpha\r\ngamma\r\nbeta\r\n", 0);
  Dialogs().Answer(mrYes);  // OK
  FindDupClick();
  EXPECT_EQ(CurrentEditor->SelStart(), 12u);
  EXPECT_EQ(Dialogs().Last().text, "File out of sequence, line 3");
  EXPECT_EQ(Dialogs().Last().helpContext, 21080);

  Load("alpha\r\nbeta\r\n", 0);
  FindDupClick();
  EXPECT_EQ(Dialogs().Last().text, MessageText("No duplicate lines found."));
}

TEST_F(LineCommandsEditorTest, RemoveDuplicatesKeepsOneOfEachRun) {
  Load("a\r\na\r\nb\r\nb\r\nb\r\nc\r\n", 0);
  RemoveDupsClick();
  EXPECT_EQ(CurrentEditor->GetText(), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(Status(), "  Duplicates removed: 3  Modified");
  CurrentEditor->SetModified(false);
  RemoveDupsClick();
  EXPECT_EQ(Status(), "  No duplicates found");
  EXPECT_FALSE(CurrentEditor->Modified());
}

}  // namespace
}  // namespace quorrel
