#include <gtest/gtest.h>

#include "music/AbcTestSupport.h"
#include "music/AbcWorkFiles.h"
#include "music/TunePrep.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

const std::string& ThreeTunes() {
  static const std::string text = Crlf(
      "%%scale 1\n"
      "\n"
      "X:1\nT:First\nK:G\nGABc|\n"
      "\n"
      "X:2\nT:Second\nK:D\nDEFG|\n"
      "\n"
      "x:3\nT:Third\nK:A\nABcd|\n");
  return text;
}

std::string Codes() {
  std::string text;
  for (const char* line : DefaultAbcCodes) text += std::string(line) + "\r\n";
  return text;
}

TEST(TunePrepTest, FindsTheTuneAroundTheCaret) {
  struct Case {
    const char* name;
    const char* caretAt;  // the caret goes before this text ("" = offset 0)
    const char* startsWith;
    const char* endsWith;  // the tune ends with the line feed before the next X:
    bool moveCaret;
  } cases[] = {
      {"in the header: the first tune, caret moved", "", "X:1", "GABc|\r\n\r\n", true},
      {"on the X of X:1", "X:1", "X:1", "GABc|\r\n\r\n", false},
      {"in the middle of tune 2", "DEFG", "X:2", "DEFG|\r\n\r\n", false},
      {"at the line end before X:2 (still tune 1)", "\nX:2", "X:1", "GABc|\r\n\r\n", false},
      {"a lower-case x: starts a tune too", "ABcd", "x:3", "ABcd|\r\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    size_t caret = *c.caretAt ? ThreeTunes().find(c.caretAt) : 0;
    TTuneSpan span = FindTuneIn(ThreeTunes(), caret);
    std::string tune = ThreeTunes().substr(span.start - 1, span.end - span.start + 1);
    EXPECT_EQ(tune.rfind(c.startsWith, 0), 0u) << tune;
    EXPECT_EQ(tune.substr(tune.size() - std::string(c.endsWith).size()), c.endsWith);
    EXPECT_EQ(span.moveCaret, c.moveCaret);
  }
}

TEST(TunePrepTest, TextsWithoutTunesOrWithOnlyOne) {
  TTuneSpan none = FindTuneIn("K:G\r\nGABc|\r\n", 5);
  EXPECT_EQ(none.start, 1u);
  EXPECT_EQ(none.end, 12u) << "a text without X: lines is taken whole";
  EXPECT_TRUE(none.moveCaret);

  TTuneSpan empty = FindTuneIn("", 0);
  EXPECT_EQ(empty.start, 1u);
  EXPECT_EQ(empty.end, 0u);

  TTuneSpan first = FindTuneIn("X:1\r\nK:G\r\n", 7);
  EXPECT_EQ(first.start, 1u);
  EXPECT_EQ(first.end, 10u);
  EXPECT_FALSE(first.moveCaret);
}

TEST(TunePrepTest, FindTuneStartSetsTheBoundsAndMovesACaretOutsideTheTunes) {
  TMyRich& editor = OpenDocument(ThreeTunes(), ThreeTunes().find("DEFG"));
  std::string tune = FindTuneStart();
  EXPECT_EQ(TuneStart, OffsetOf("X:2") + 1);
  EXPECT_EQ(TuneBounds[0], OffsetOf("x:3")) << "1-based: the line feed before the next X:";
  EXPECT_EQ(tune, CurrentText.substr(TuneStart - 1, TuneBounds[0] - TuneStart + 1));
  EXPECT_EQ(editor.PosToOffset(editor.SelStart()), OffsetOf("DEFG")) << "caret left alone";

  editor.Select(editor.OffsetToPos(OffsetOf("scale")), 0);
  tune = FindTuneStart();
  EXPECT_EQ(tune.rfind("X:1", 0), 0u);
  EXPECT_EQ(editor.PosToOffset(editor.SelStart()), OffsetOf("X:1")) << "caret moved to the tune";
}

TEST(TunePrepTest, EnsureCodesFileWritesTheEighteenLinesOnce) {
  const std::string path = DocumentsFolder() + "ABCCodes.txt";
  DeleteWorkFile(path);
  EnsureCodesFile();
  std::string text;
  ASSERT_TRUE(ReadFileBytes(path, text));
  EXPECT_EQ(text.substr(0, 19), "%%rightmargin 1cm\r\n");
  EXPECT_EQ(RightChars(text, 14), "%%scale 0.75\r\n");
  EXPECT_EQ(LinesWithoutEnds(text).size(), 18u);
  EXPECT_EQ(text, Codes());

  WriteFileBytes(path, "%%scale 2\r\n");
  EnsureCodesFile();
  ReadFileBytes(path, text);
  EXPECT_EQ(text, "%%scale 2\r\n") << "the user's own codes are kept";
}

TEST(TunePrepTest, BuildTuneHeaderAddsTheCodesTheHeaderLacks) {
  struct Case {
    const char* name;
    const char* document;
    const char* codes;  // nullptr: the default file
    const char* expected;
  } cases[] = {
      {"a text beginning X:1 gets all 18 codes", "X:1\nK:G\nG|\n", nullptr, nullptr},
      {"a header with a scale keeps it", "%%scale 1.2\n\nX:1\nK:G\nG|\n",
       "%%leftmargin 1cm\n%%scale 0.75\n", "%%scale 1.2\n\n%%leftmargin 1cm\n"},
      {"the first word is looked for without regard to case", "%%LeftMargin 2cm\nX:1\n",
       "%%leftmargin 1cm\n%%staffsep 20\n", "%%LeftMargin 2cm\n%%staffsep 20\n"},
      {"a line without a blank is always kept", "%%landscape 1\nX:1\n",
       "%%landscape\n%%landscape 0\n", "%%landscape 1\n%%landscape\n"},
      {"a text without an X: line has no header", "%%scale 1\nK:G\n", "%%scale 0.75\n",
       "%%scale 0.75\n"},
      {"the header ends at the first X: line, any case", "%%topspace 1\nx:1\nX:2\n",
       "%%topspace 0cm\n%%botmargin 2cm\n", "%%topspace 1\n%%botmargin 2cm\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteWorkFile(AbcCodesFile());
    if (c.codes) WriteFileBytes(AbcCodesFile(), Crlf(c.codes));
    OpenDocument(Crlf(c.document));
    EXPECT_EQ(BuildTuneHeader(), c.expected ? Crlf(c.expected) : Codes());
  }
}

TEST(TunePrepTest, BuildTuneHeaderUsesTheCodesFileStartUpNamed) {
  AbcCodesPath = TestHome() + "MyCodes.txt";
  WriteFileBytes(AbcCodesPath, "%%scale 0.5\r\n");
  OpenDocument(Crlf("X:1\nK:G\n"));
  EXPECT_EQ(BuildTuneHeader(), "%%scale 0.5\r\n");
}

TEST(TunePrepTest, PrepareCurrentTuneJoinsHeaderAndTuneAndKeepsWhatItFound) {
  WriteFileBytes(AbcCodesFile(), Crlf("%%scale 0.75\n%%staffsep 20\n"));
  const std::string document = Crlf(
      "%%scale 1\n\nX:1\nT:First\nK:G\nGABc|\n\n"
      "X:2\nT:Second tune\nM:4/4\nL:1/4\nK:D\n%%chords\n|D|A|\n%%endchords\nV:1\nDEFG|ABcd|\n\n"
      "X:3\nT:Third\n");
  OpenDocument(document, document.find("DEFG"));
  std::string text = PrepareCurrentTune();
  EXPECT_EQ(Lf(text),
            "%%scale 1\n\n%%staffsep 20\n"
            "X:2\nT:Second tune\nM:4/4\nL:1/4\nK:D\nV:1\n\"D\"DEFG|\"A\"ABcd|");
  EXPECT_EQ(TuneTitle, "Second tune");
  EXPECT_EQ(ChordLinesRemoved, 3);
  const size_t start = document.find("X:2");
  EXPECT_EQ(LastTuneText, document.substr(start, document.find("X:3") - start))
      << "as found in the document, line ends and all";
}

TEST(TunePrepTest, PrepareCurrentTuneCountsChordLinesAfresh) {
  WriteFileBytes(AbcCodesFile(), "");
  OpenDocument(Crlf("X:1\nT:Plain\nK:G\nGABc|\n"));
  ChordLinesRemoved = 7;
  EXPECT_EQ(Lf(PrepareCurrentTune()), "X:1\nT:Plain\nK:G\nGABc|");
  EXPECT_EQ(ChordLinesRemoved, 0);
  EXPECT_EQ(TuneTitle, "Plain");
}

}  // namespace
}  // namespace quorrel::test
