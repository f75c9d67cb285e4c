// Go To a line or an offset, and Previous/Next indent with their Select variants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "commands/OpenDocs.h"
#include "edit/GoTo.h"
#include "platform/IniFile.h"
#include "platform/Sound.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class GoToTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    site = test::TestHome() + "site-goto/";
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    InstallGotoCommands();
    SetSoundPlayer([this](const std::string& name) { sounds.push_back(name); });
  }
  void TearDown() override {
    SetSoundPlayer(nullptr);
    SetGotoForm(nullptr);
    SetMainWindow(nullptr);
    fs::remove_all(site);
  }
  void Open(const std::string& name, const std::string& text) {
    test::WriteFile(site + name, text);
    OpenThis(site + name);
    PCChange();
  }
  size_t CaretOffset() { return TextOffsetOf(CurrentEditor->SelStart()); }

  test::MemoryMainWindow window;
  std::string site;
  std::vector<std::string> sounds;
};

TEST_F(GoToTest, LinesAndOffsetsOfTheDialog) {
  const std::string text = "one\r\ntwo\r\nthree\r\n";  // 17 characters
  const size_t unchanged = 5;
  struct Case {
    TGotoChoice choice;
    std::string typed;
    size_t caret;  // CurrentText offset afterwards
    bool buzz;
    bool notDecimal;
  } cases[] = {
      {TGotoChoice::Line, "1", 0, false, false},
      {TGotoChoice::Line, "3", 10, false, false},
      {TGotoChoice::Line, " 4 ", 17, false, false},
      {TGotoChoice::Line, "99", 17, false, false},  // past the end: the end
      {TGotoChoice::Line, "12x", unchanged, false, true},
      {TGotoChoice::Line, "", unchanged, false, true},
      {TGotoChoice::Line, "0", unchanged, true, false},
      {TGotoChoice::Line, "-2", unchanged, true, false},
      {TGotoChoice::Line, "99999999999", unchanged, true, false},  // never wrapped
      {TGotoChoice::Offset, "6", 6, false, false},
      {TGotoChoice::Offset, "17", 17, false, false},
      {TGotoChoice::Offset, "18", 17, true, false},
      {TGotoChoice::Offset, "-1", unchanged, true, false},
      {TGotoChoice::Offset, "4294967302", unchanged, true, false},  // 2^32 + 6
      {TGotoChoice::Offset, "0x10", unchanged, false, true},
      {TGotoChoice::Cancel, "1", unchanged, false, false},
  };
  Open("doc.txt", text);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    sounds.clear();
    Dialogs().Clear();
    CurrentEditor->Select(EditorPosOf(unchanged), 0);
    TGotoFields shown;
    SetGotoForm([&](TGotoFields& fields) {
      shown = fields;
      (c.choice == TGotoChoice::Offset ? fields.offset : fields.lineNo) = c.typed;
      return c.choice;
    });
    MainMenu().Click("GotoM");
    EXPECT_EQ(shown.lineNo, "2");
    EXPECT_EQ(shown.offset, "5");
    EXPECT_EQ(CaretOffset(), c.caret);
    EXPECT_EQ(sounds, c.buzz ? std::vector<std::string>{"Buzzer"} : std::vector<std::string>{});
    EXPECT_EQ(Dialogs().Calls().size(), c.notDecimal ? 1u : 0u);
    if (c.notDecimal) {
      EXPECT_NE(Dialogs().Last().text.find(NotDecimalMessage), std::string::npos);
    }
  }
  // The offset is a character of the text: "w" of "two", in the editor too.
  SetGotoForm([](TGotoFields& fields) {
    fields.offset = "6";
    return TGotoChoice::Offset;
  });
  MainMenu().Click("GotoM");
  EXPECT_EQ(CurrentEditor->TextRange(CurrentEditor->SelStart(), 1), "w");
}

TEST(IndentTarget, SameIndentationOutsideScripts) {
  const std::string text =
      "<a>\n"          // 0
      "  <b>\n"        // 4
      "    <c>\n"      // 10
      "\n"             // 18
      "  text\n"       // 19
      "  <script>\n"   // 26
      "  <d>\n"        // 37
      "  </script>\n"  // 43
      "  <e>\n";       // 55
  const size_t npos = std::string::npos;
  struct Case {
    size_t from;
    bool next, tagsOnly;
    size_t target;
  } cases[] = {
      {4, true, false, 19},    // "text" has the indentation
      {4, true, true, 26},     // but in a page the line must begin with "<"
      {26, true, true, 55},    // the script's inside and its end are passed over
      {55, false, true, 26},   // back over them too
      {10, true, true, npos},  // nothing deeper follows
      {10, false, true, npos}, {0, false, false, npos},  // not from the first line
      {0, true, false, npos},  {21, true, false, 26},    // from inside a line
      {18, true, false, npos},  // from an empty line: none without indentation
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IndentTarget(text, c.from, c.next, c.tagsOnly), c.target)
        << c.from << (c.next ? " next" : " previous");
  }
  // A script never closed hides the rest of the text.
  EXPECT_EQ(IndentTarget("  <a>\n  <script>\n  <b>\n", 0, true, true), 6u);
  EXPECT_EQ(IndentTarget("  <a>\n  <SCRIPT>\n  <b>\n", 6, true, true), npos);
}

// The numbers (1-based) of the lines of a file that grep finds with a pattern.
std::vector<size_t> Grep(const std::string& options, const std::string& pattern,
                         const std::string& path) {
  const std::string command =
      "grep -n " + options + " '" + pattern + "' " + path + " | cut -d: -f1";
  std::vector<size_t> lines;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return lines;
  unsigned long line = 0;
  while (fscanf(pipe, "%lu", &line) == 1) lines.push_back(line);
  pclose(pipe);
  return lines;
}

// Lines with exactly n blanks and then "<", less those after a "<script" line up
// to and with its "</script" line.
std::vector<size_t> GrepLines(const std::string& path, int blanks) {
  const std::vector<size_t> opens = Grep("-i", "<script", path);
  const std::vector<size_t> closes = Grep("-i", "</script", path);
  auto inScript = [&](size_t line) {
    for (size_t open : opens) {
      auto close = std::lower_bound(closes.begin(), closes.end(), open);
      const size_t end = close == closes.end() ? SIZE_MAX : *close;
      if (open < line && line <= end) return true;
    }
    return false;
  };
  std::vector<size_t> lines;
  for (size_t line : Grep("-E", "^ {" + std::to_string(blanks) + "}<", path)) {
    if (!inScript(line)) lines.push_back(line);
  }
  return lines;
}

TEST_F(GoToTest, F7AndF8WalkARealPageByItsIndentation) {
  const std::string page = "/usr/share/doc/python3/python-policy.html";
  const std::string bytes = test::ReadFile(page);
  ASSERT_FALSE(bytes.empty()) << "python3-dev";
  Open("python-policy.html", bytes);
  // The page as the editor holds it (the open command may tidy a page from
  // outside a site), for grep to look at.
  const std::string loaded = site + "loaded.html";
  test::WriteFile(loaded, CurrentText);
  for (int blanks : {2, 4}) {
    SCOPED_TRACE(blanks);
    const std::vector<size_t> expected = GrepLines(loaded, blanks);
    ASSERT_GT(expected.size(), 3u);
    CurrentEditor->Select(CurrentEditor->LineIndex(expected.front() - 1), 0);
    std::vector<size_t> walked = {expected.front()};
    for (;;) {
      const size_t before = CurrentEditor->SelStart();
      MainMenu().Click("NextIndent");
      if (CurrentEditor->SelStart() == before) break;
      walked.push_back(CurrentEditor->LineFromChar(CurrentEditor->SelStart()) + 1);
    }
    EXPECT_EQ(walked, expected);
    std::vector<size_t> back = {walked.back()};
    for (;;) {
      const size_t before = CurrentEditor->SelStart();
      MainMenu().Click("PrevIndent");
      if (CurrentEditor->SelStart() == before) break;
      back.insert(back.begin(), CurrentEditor->LineFromChar(CurrentEditor->SelStart()) + 1);
    }
    EXPECT_EQ(back, expected);
  }
}

TEST_F(GoToTest, SelectIndentTakesWholeLinesBetween) {
  Open("list.txt", "a\r\n  b\r\n    c\r\n  d\r\ne\r\n");
  CurrentEditor->Select(EditorPosOf(5), 0);  // in "  b"
  MainMenu().Click("SelNextIndent");
  EXPECT_EQ(CurrentEditor->SelText(), "  b\r\n    c\r\n  d\r\n");
  CurrentEditor->Select(EditorPosOf(17), 0);  // in "  d"
  MainMenu().Click("SelPrevIndent");
  EXPECT_EQ(CurrentEditor->SelText(), "  b\r\n    c\r\n  d\r\n");
}

}  // namespace
}  // namespace quorrel
