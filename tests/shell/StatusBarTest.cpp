// The message bar and the information panel: what ShowStatus and ShowInfo show,
// the word count of a selection, and what the idle pass shows of the caret.
#include <gtest/gtest.h>

#include "commands/IdleLoop.h"
#include "shell/IdleStatus.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"

namespace quorrel {
namespace {

class StatusBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    SetIdleClockForTests([this] { return now; });
    CurrentEditor = window.NewTab();
  }
  void TearDown() override { SetMainWindow(nullptr); }

  test::MemoryMainWindow window;
  int64_t now = 1'000'000;
};

TEST_F(StatusBarTest, ShowStatusStampsTheMessageAndMarksAModifiedDocument) {
  ShowStatus("Saved");
  EXPECT_EQ(window.StatusText(MessagePanel), "  Saved");
  EXPECT_EQ(StatusShownAt, now);
  EXPECT_EQ(MessageColour, TMessageColour::Orange);

  CurrentEditor->SetText("x");
  CurrentEditor->SetModified(true);
  now += 10;
  ShowStatus("Validated & saved");
  EXPECT_EQ(window.StatusText(MessagePanel), "  Validated & saved  Modified")
      << "an ampersand shows as it is: the bar has no accelerators";
  EXPECT_EQ(StatusShownAt, now);

  ShowStatus("");
  EXPECT_EQ(window.StatusText(MessagePanel), "") << "an empty message empties the bar";
  EXPECT_EQ(MessageColour, TMessageColour::Normal);
}

TEST_F(StatusBarTest, WithShowHexTickedANewMessageKeepsTheNormalColours) {
  TMenuItem hex;
  hex.name = ShowHexItem;
  hex.caption = "Show hex";
  hex.checkable = true;
  hex.checked = true;
  MainMenu().AddItem("EditMenu", std::move(hex));
  ShowStatus("Found");
  EXPECT_EQ(MessageColour, TMessageColour::Normal);
}

TEST_F(StatusBarTest, ShowInfoAddsTheCountsOfALargerSelection) {
  struct Case {
    std::string text;
    size_t start, length;
    std::string info;
  } cases[] = {
      {"one two three", 0, 7, "      3 lines"},  // two words, seven characters: no counts
      {"a b c d e f g", 0, 13, "      3 lines, 7 words, 13 bytes"},
      {"a b c d e", 0, 9, "      3 lines"},  // five words are not more than five
      {"abcdefghijklmnopqrstuvwxyz0123456789", 0, 36, "      3 lines, 1 word, 36 bytes"},
      {"line one\r\nline two\r\nthree", 0, 25, "      3 lines"},
      {"lines one and two\r\nand three of them", 0, 36, "      3 lines, 8 words, 36 bytes"},
      {"nothing selected here at all, no counts", 5, 0, "      3 lines"},
  };
  StatusText = "3 lines";
  for (const auto& c : cases) {
    CurrentEditor->SetText(c.text);
    CurrentEditor->Select(c.start, c.length);
    ShowInfo();
    EXPECT_EQ(window.StatusText(InfoPanel), c.info) << c.text;
  }
  ShowInfo("Checking server for...");
  EXPECT_EQ(window.StatusText(InfoPanel), "      Checking server for...");
  CurrentEditor = nullptr;
  ShowInfo("ignored");
  EXPECT_EQ(window.StatusText(InfoPanel), "      Checking server for...") << "no document: nothing";
}

TEST(CountWords, SeparatorsEndWordsUnlessADashFollows) {
  struct Case {
    std::string text;
    size_t words;
  } cases[] = {
      {"", 0},
      {"word", 1},
      {"two words", 2},
      {"two words\r\n", 2},
      {"  leading blanks", 2},
      {"x=1 y=2", 4},      // "=" ends a word as a blank does
      {"well -known", 1},  // a separator before "-" ends nothing
      {"tab\tseparated\ttext", 3},
      {"a  b", 2},  // a run of separators ends one word
      {" ", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CountWords(c.text), c.words) << c.text;
}

TEST(IdleStatus, LineAndColumnOfTheCaret) {
  test::MemoryRich editor;
  editor.SetText("first\r\n\tsecond\r\nthird");
  struct Case {
    size_t caret;
    bool rtf;
    std::string text;
  } cases[] = {
      {0, false, "  Line 1  Col. 1"},  {5, false, "  Line 1  Col. 6"},  // at the line end
      {6, false, "  Line 2  Col. 1"},  // the first character of a line
      {8, false, "  Line 2  Col. 3"},  // after the tab: one column in plain text
      {8, true, "  Line 2  Col. 6"},   // four in RTF
      {14, false, "  Line 3  Col. 1"}, {19, false, "  Line 3  Col. 6"},  // the end of the text
  };
  for (const auto& c : cases) {
    editor.Select(c.caret, 0);
    EXPECT_EQ(LineColumnText(editor, c.rtf), c.text) << c.caret;
  }
}

TEST(IdleStatus, ShowHexNamesTheCharacterAfterTheCaret) {
  test::MemoryRich editor;
  editor.SetText("A\xe9\r\nz");
  struct Case {
    size_t caret;
    std::string text;
  } cases[] = {
      {0, "  A  41  65"},
      {1, "  \xe9  E9  233"},
      {2, "  \r  0D  13"},  // a line end reads out as its CR
      {4, ""},              // the end of the text
  };
  for (const auto& c : cases) {
    editor.Select(c.caret, 0);
    EXPECT_EQ(ShowHexText(editor), c.text) << c.caret;
  }
}

TEST(IdleStatus, LockKeyMessagesNumLockWins) {
  EXPECT_EQ(LockKeyMessage(false, false, false, false), "");
  EXPECT_EQ(LockKeyMessage(false, false, true, false), "CAPS LOCK ON");
  EXPECT_EQ(LockKeyMessage(true, false, false, false), "CAPS LOCK OFF");
  EXPECT_EQ(LockKeyMessage(false, true, false, false), "NUM LOCK OFF");
  EXPECT_EQ(LockKeyMessage(false, false, true, true), "NUM LOCK ON") << "both changed";
  EXPECT_EQ(LockKeyMessage(true, true, true, true), "");
}

}  // namespace
}  // namespace quorrel
