// The Edit menu's block, case and clean-up commands: the text rules on their own,
// real text from the system, and each command chosen from its menu item on a
// document opened from a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "commands/ClipboardCommands.h"
#include "commands/EditCommands.h"
#include "commands/IndentMode.h"
#include "commands/KeyHooks.h"
#include "edit/CaseChange.h"
#include "platform/Processes.h"
#include "shell/SaveTestKit.h"
#include "shell/TextLines.h"
#include "support/Installed.h"
#include "support/ProgramOutput.h"

namespace quorrel {
namespace {

using test::Dialogs;

// The case rules over every Windows-1252 byte, as ranges of bytes that move by a
// fixed amount; every byte outside the ranges stays.
struct Shift {
  int from, to, by;
};
int Expected(int byte, std::initializer_list<Shift> shifts) {
  for (const Shift& s : shifts) {
    if (byte >= s.from && byte <= s.to) return byte + s.by;
  }
  return byte;
}

TEST(CaseChangeTest, EveryByteFollowsTheRules) {
  // Upper: ASCII letters only. Lower: ASCII capitals and the accented capitals,
  // but not the multiplication sign 215 nor the sharp s 223.
  const std::initializer_list<Shift> upper = {{'a', 'z', -32}};
  const std::initializer_list<Shift> lower = {{'A', 'Z', 32}, {192, 214, 32}, {216, 222, 32}};
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const char c = static_cast<char>(b);
    const int up = Expected(b, upper);
    const int down = Expected(b, lower);
    EXPECT_EQ(static_cast<unsigned char>(UpperCaseAscii(c)), up);
    EXPECT_EQ(static_cast<unsigned char>(LowerCaseChar(c)), down);
    EXPECT_EQ(static_cast<unsigned char>(SwitchCaseChar(c)), b > '`' ? up : down);
    const std::string one(1, c);
    EXPECT_EQ(ChangeCase(one, TCaseChange::Upper), std::string(1, static_cast<char>(up)));
    EXPECT_EQ(ChangeCase(one, TCaseChange::Lower), std::string(1, static_cast<char>(down)));
  }
}

TEST(CaseChangeTest, WordsThatMustSurvive) {
  struct Case {
    std::string text;
    TCaseChange change;
    std::string expected;
  } cases[] = {
      {"Stra\xdf"
       "e",
       TCaseChange::Lower,
       "stra\xdf"
       "e"},
      {"STRA\xdf"
       "E",
       TCaseChange::Switch,
       "stra\xdf"
       "e"},
      {"3\xd7"
       "4 = 12",
       TCaseChange::Lower,
       "3\xd7"
       "4 = 12"},
      {"3\xd7"
       "4",
       TCaseChange::Switch,
       "3\xd7"
       "4"},
      {"\xc9"
       "COLE \xe9t\xe9",
       TCaseChange::Lower,
       "\xe9"
       "cole \xe9t\xe9"},
      {"\xc9"
       "cole",
       TCaseChange::Upper,
       "\xc9"
       "COLE"},
      {"Line one\r\nLine Two", TCaseChange::Switch, "lINE ONE\r\nlINE tWO"},
  };
  for (const Case& c : cases) EXPECT_EQ(ChangeCase(c.text, c.change), c.expected) << c.text;
}

TEST(CaseChangeTest, SentenceCase) {
  struct Case {
    std::string line, expected;
  } cases[] = {
      {"  \"THE END. of it\"  ", "The end. Of it"},
      {"(BRACKETS FIRST)", "(Brackets first)"},
      {"what? yes!no", "What? Yes!No"},
      {"one - TWO_three", "One - Two_Three"},
      {"a-b c", "A-b c"},
      {"'quoted'", "Quoted"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SentenceCaseLine(c.line), c.expected) << c.line;

  EXPECT_EQ(MixedCase("FIRST LINE\r\nSECOND <br>LINE\r\n", true),
            "<Br>First line\r\nSecond <br>line\r\n");
  // Without a line end at its end the result has none either.
  EXPECT_EQ(MixedCase("ONE\r\nTWO", false), "One\r\nTwo");
  EXPECT_EQ(MixedCase("ONE \r\n\r\n", false), "One\r\n\r\n");
}

TEST(EditRulesTest, UnsequenceSeparators) {
  struct Case {
    std::vector<std::string> lines, expected;
  } cases[] = {
      // "1." numbering: the blank after the number separates.
      {{"1. First line", "2. Second line"}, {"First line", "Second line"}},
      // "12 " numbering: the blank.
      {{"12 Twelve", "13 Thirteen words"}, {"Twelve", "Thirteen words"}},
      // A dot early and the first blank late: the dot separates.
      {{"1.Introduction_to_it here", "2.Next part"}, {"Introduction_to_it here", "Next part"}},
      // No separator on a line: only trimmed.
      {{"7 seven", "eight\t"}, {"seven", "eight"}},
  };
  for (const Case& c : cases) EXPECT_EQ(UnsequenceLines(c.lines), c.expected) << c.lines[0];
}

TEST(EditRulesTest, WhitespaceAndProgramCalls) {
  EXPECT_EQ(WithoutWhitespace("a b\r\nc\td "), "abc\td");
  struct Case {
    std::string selection;
    bool runs;
    std::string program;
    std::vector<std::string> arguments;
  } cases[] = {
      {"/usr/bin/touch /tmp/a;b", true, "/usr/bin/touch", {"/tmp/a;b"}},
      {"/bin/echo  one two", true, "/bin/echo", {"one", "two"}},
      {"/usr/bin/true", true, "/usr/bin/true", {}},
      {"touch x", false, "", {}},
      {"", false, "", {}},
  };
  for (const Case& c : cases) {
    TProgramCall call;
    EXPECT_EQ(ProgramOfSelection(c.selection, call), c.runs) << c.selection;
    if (!c.runs) continue;
    EXPECT_EQ(call.program, c.program);
    EXPECT_EQ(call.arguments, c.arguments);
  }
}

TEST(EditRulesTest, IndentAndOutdent) {
  struct Case {
    std::vector<std::string> lines;
    bool outdent;
    std::vector<std::string> expected;
  } cases[] = {
      {{"a", "", " b"}, false, {"  a", "  ", "   b"}},
      {{"   two", " one", "none", ""}, true, {" two", "one", "none", ""}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = c.lines;
    IndentLines(lines, c.outdent);
    EXPECT_EQ(lines, c.expected);
  }
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

TEST(EditRulesTest, UnsequenceOnNumberedLicence) {
  const std::string path = "/usr/share/common-licenses/GPL-3";
  const std::vector<std::string> original = LinesWithoutEnds(test::InstalledFile(path, "base-files"));
  ASSERT_GT(original.size(), 600u);
  // "1. text" lines: the numbers go and the lines come back (trimmed, as the rule trims).
  const std::vector<std::string> numbered = LinesWithoutEnds(test::ProgramOutput("nl -s'. ' -w1 " + path));
  ASSERT_EQ(numbered.size(), original.size());
  const std::vector<std::string> back = UnsequenceLines(numbered);
  for (size_t i = 0; i < original.size(); ++i) {
    ASSERT_EQ(back[i], Trimmed(original[i])) << "line " << i + 1;
  }
  // A tab after the number: the leading blank separates, and the numbers stay.
  const std::vector<std::string> catted = UnsequenceLines(LinesWithoutEnds(test::ProgramOutput("cat -n " + path)));
  ASSERT_EQ(catted.size(), original.size());
  for (size_t i = 0; i < original.size(); ++i) {
    ASSERT_EQ(catted[i], Trimmed(std::to_string(i + 1) + "\t" + original[i])) << "line " << i + 1;
  }
}

class EditCommandsTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallClipboardCommands();
    InstallEditCommands();
  }
  std::string Text() const { return CurrentEditor->GetText(); }
};

TEST_F(EditCommandsTest, CaseChangeAsksAboveAThousandCharacters) {
  struct Case {
    size_t length;
    bool asked;
    int answer;
    bool changed;
  } cases[] = {
      {1000, false, 0, true},
      {1001, true, mrYes, true},
      {1001, true, mrNo, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    Open("case" + std::to_string(c.length) + (c.answer == mrNo ? "n" : "") + ".txt",
         std::string(c.length, 'a'));
    CurrentEditor->Select(0, 0);
    if (c.asked) Dialogs().Answer(c.answer);
    const size_t before = Dialogs().Texts().size();
    EXPECT_EQ(MainMenu().Click("Upper"), c.changed);
    const std::vector<std::string> texts = Dialogs().Texts();
    ASSERT_EQ(texts.size() - before, c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_NE(texts.back().find("Do you really want to change the case of 1001 characters?"),
                std::string::npos)
          << texts.back();
    }
    EXPECT_EQ(Text(), std::string(c.length, c.changed ? 'A' : 'a'));
  }
}

TEST_F(EditCommandsTest, CaseOfTheSelectionOnly) {
  Open("words.txt",
       "keep THIS Stra\xdf"
       "e\r\n");
  CurrentEditor->Select(5, 11);
  MainMenu().Click("Lower");
  EXPECT_EQ(Text(),
            "keep this stra\xdf"
            "e\r\n");
  MainMenu().Click("Switch");
  EXPECT_EQ(Text(),
            "keep THIS STRA\xdf"
            "E\r\n");
  EXPECT_EQ(CurrentEditor->SelStart(), 5u);
  EXPECT_EQ(CurrentEditor->SelLength(), 11u);
  EXPECT_TRUE(CurrentEditor->Redraw());
}

TEST_F(EditCommandsTest, UpperKeepsBoldAndColourOfAnRtfLine) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
      "Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 "
      "plain \\b bold\\b0  \\cf1 red\\cf0\r\n\\par }\r\n";
  Open("letter.rtf", rtf);
  ASSERT_FALSE(CurrentEditor->PlainText());
  CurrentEditor->Select(0, 0);
  MainMenu().Click("Upper");
  EXPECT_EQ(
      CurrentEditor->GetRtfSource(),
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
      "Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 "
      "PLAIN \\b BOLD\\b0  \\cf1 RED\\cf0\r\n\\par }\r\n");
}

TEST_F(EditCommandsTest, MixedAsksForBreaksInAPageOnly) {
  Open("page.htm", "<p>\nFIRST LINE. SECOND ONE\nANOTHER\n");
  CurrentEditor->Select(0, 0);
  Dialogs().Answer(mrYes);
  MainMenu().Click("Mixed");
  ASSERT_EQ(Dialogs().Texts().size(), 1u);
  EXPECT_NE(Dialogs().Texts()[0].find("Add \"<Br>\" to the start of each line?"),
            std::string::npos);
  EXPECT_EQ(Text(), "<Br><p>\r\n<Br>First line. Second one\r\n<Br>Another\r\n");

  Open("notes.txt", "keep\r\nA LINE HERE\r\n");
  CurrentEditor->Select(5, 6);  // "A LINE", no line end
  MainMenu().Click("Mixed");
  EXPECT_EQ(Dialogs().Texts().size(), 1u);
  EXPECT_EQ(Text(), "keep\r\nA line HERE\r\n");
}

TEST_F(EditCommandsTest, DupBlockAndClearToEndOfLine) {
  Open("lines.txt", "one\r\ntwo\r\nlast");
  struct Case {
    const char* item;
    size_t start, length;
    std::string text, selected;
  } cases[] = {
      // The caret's line, its line end with it; the first copy selected.
      {"DupBlock", 5, 0, "one\r\ntwo\r\ntwo\r\nlast", "two\r\n"},
      // A selection.
      {"DupBlock", 0, 2, "onone\r\ntwo\r\ntwo\r\nlast", "on"},
      // The last line has no line end: nothing.
      {"DupBlock", 17, 0, "onone\r\ntwo\r\ntwo\r\nlast", ""},
      // Clear to EOL keeps the line end.
      {"ClearEOL", 2, 0, "on\r\ntwo\r\ntwo\r\nlast", ""},
      {"ClearEOL", 14, 0, "on\r\ntwo\r\ntwo\r\nlast", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.item) + " " + std::to_string(c.start));
    CurrentEditor->Select(c.start, c.length);
    MainMenu().Click(c.item);
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(CurrentEditor->SelText(), c.selected);
  }
}

TEST_F(EditCommandsTest, SelectDeleteAndWhitespace) {
  Open("words.txt", "a b\r\nc d\r\n");
  MainMenu().Click("SelectAll");
  EXPECT_EQ(CurrentEditor->SelLength(), CurrentEditor->TextLength());
  CurrentEditor->Select(1, 4);  // " b", the line end and "c"
  MainMenu().Click("DelWhite");
  EXPECT_EQ(Text(), "abc d\r\n");
  CurrentEditor->Select(3, 2);
  MainMenu().Click("DelSel");
  EXPECT_EQ(Text(), "abc\r\n");
}

TEST_F(EditCommandsTest, WordWrapFollowsTheEditorAndSaysSo) {
  Open("words.txt", "text\r\n");
  ASSERT_TRUE(CurrentEditor->WordWrap());
  MainMenu().Click("WordWrap");
  EXPECT_FALSE(CurrentEditor->WordWrap());
  EXPECT_FALSE(MainMenu().Checked("WordWrap"));
  EXPECT_EQ(Status(), "  Word wrap is now OFF");
  MainMenu().Click("WordWrap");
  EXPECT_TRUE(CurrentEditor->WordWrap());
  EXPECT_EQ(Status(), "  Word wrap is now ON");
}

TEST_F(EditCommandsTest, UnsequenceTurnsWrapOffAndPutsTheCaretFirst) {
  Open("list.txt", "1. One\r\n2. Two\r\n");
  CurrentEditor->Select(8, 0);
  MainMenu().Click("Unsequence");
  EXPECT_EQ(Text(), "One\r\nTwo\r\n");
  EXPECT_FALSE(CurrentEditor->WordWrap());
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
}

TEST_F(EditCommandsTest, ReparagraphFromItsMenuItem) {
  Open("mail.txt", "Jo wrote:\r\n> The meeting is\r\n> on Tuesday. Bring\r\n> the notes.\r\n");
  CurrentEditor->Select(0, 0);
  MainMenu().Open("EditMenu");
  EXPECT_TRUE(MainMenu().Item("RePara").enabled);
  EXPECT_TRUE(MainMenu().Click("RePara"));
  EXPECT_EQ(Text(), "Jo wrote:\r\n> The meeting is on Tuesday.  Bring the notes.\r\n");
  EXPECT_TRUE(CurrentEditor->Redraw());
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(EditCommandsTest, ReparagraphOfASelectionLeavesTheRestAlone) {
  Open("notes.txt", "Keep\r\nthese\r\nlines but\r\njoin these\r\n");
  CurrentEditor->Select(11, 19);  // the last two lines
  EXPECT_TRUE(MainMenu().Click("RePara"));
  EXPECT_EQ(Text(), "Keep\r\nthese\r\nlines but join these\r\n");
}

TEST_F(EditCommandsTest, RunStartsTheSelectedProgramWithoutAShell) {
  const std::string folder = site + "run/";
  std::filesystem::create_directories(folder);
  const std::string selection = "/usr/bin/touch " + folder + "a;b";
  Open("run.txt", selection + "\r\n");
  CurrentEditor->Select(0, selection.size());
  ASSERT_TRUE(MainMenu().Click("RunPgm"));
  WaitForLastProgram();
  EXPECT_TRUE(std::filesystem::exists(folder + "a;b"));
  EXPECT_FALSE(std::filesystem::exists(folder + "a"));
}

// The keys of indent mode as FormShortCut's replacement meets them.
TEST_F(EditCommandsTest, IndentModeMovesTheLinesAndEnds) {
  Open("block.txt", "one\r\n two\r\nthree\r\nafter\r\n");
  CurrentEditor->Select(1, 9);  // from inside "one" to inside "three"
  MainMenu().Click("Indent");
  ASSERT_TRUE(ShortcutHandlerReplaced());
  EXPECT_EQ(CurrentEditor->SelText(), "one\r\n two\r\nthree");
  EXPECT_NE(window.StatusText(InfoPanel).find(IndentInfoText), std::string::npos);
  auto press = [](TKeyCode code) {
    TKey key;
    key.code = code;
    return RunShortcutHandler(key);
  };
  struct Step {
    TKeyCode key;
    std::string text;
  } steps[] = {
      {TKeyCode::Right, "  one\r\n   two\r\n  three\r\nafter\r\n"},
      {TKeyCode::Left, "one\r\n two\r\nthree\r\nafter\r\n"},
      {TKeyCode::Left, "one\r\ntwo\r\nthree\r\nafter\r\n"},
      {TKeyCode::Left, "one\r\ntwo\r\nthree\r\nafter\r\n"},
  };
  for (const Step& s : steps) {
    EXPECT_TRUE(press(s.key));
    EXPECT_EQ(Text(), s.text);
    EXPECT_EQ(CurrentEditor->SelStart(), 0u);
    EXPECT_EQ(CurrentEditor->SelText() + "\r\nafter\r\n", s.text);
  }
  EXPECT_TRUE(press(TKeyCode::Escape));
  EXPECT_FALSE(ShortcutHandlerReplaced());
  EXPECT_FALSE(InIndentMode());
  EXPECT_EQ(CurrentEditor->SelLength(), 0u);
  EXPECT_EQ(window.StatusText(InfoPanel), "      ");
  // Right again is the editor's own key.
  const std::string before = Text();
  press(TKeyCode::Right);
  EXPECT_EQ(Text(), before);
}

TEST_F(EditCommandsTest, LeavingTheDocumentEndsIndentMode) {
  Open("first.txt", "a\r\n");
  MainMenu().Click("Indent");
  ASSERT_TRUE(InIndentMode());
  Open("second.txt", "b\r\n");
  EXPECT_FALSE(InIndentMode());
  EXPECT_FALSE(ShortcutHandlerReplaced());
}

}  // namespace
}  // namespace quorrel
