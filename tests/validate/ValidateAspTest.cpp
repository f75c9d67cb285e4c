// The Classic ASP checker on hand-made pages (Debian ships no Classic ASP): the
// layout of blocks, cases and comments, the stops with the line at fault, the part
// it checks, ".VBA" files and the once-a-minute rule for big pages.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/IniFile.h"
#include "shell/CommandNames.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "validate/Validators.h"

namespace quorrel {
namespace {

using test::Dialogs;

TValidation Check(const std::string& text, const std::string& path = "/site/page.asp", int pass = 0,
                  size_t caret = 0, size_t length = 0) {
  TPage page;
  page.text = text;
  page.path = path;
  page.kind = TDocumentKind::Asp;
  page.pass = pass;
  page.caret = caret;
  page.selectionLength = length;
  return ValidateAsp(page);
}

std::string LaidOut(const std::string& text) {
  const TValidation verdict = Check(text);
  EXPECT_FALSE(verdict.error) << verdict.error->message;
  return verdict.text.value_or(text);
}

TEST(ValidateAsp, BlocksAreIndentedTwoColumnsALevel) {
  struct Case {
    const char* what;
    std::string in, out;
  } cases[] = {
      {"a select with three cases: the statements one level below their labels",
       "<%\nSelect Case x\nCase 1\na = 1\nCase 2\n     a = 2\nCase Else\na = 3\nEnd Select\n%>\n",
       "<%\nSelect Case x\n  Case 1\n    a = 1\n  Case 2\n    a = 2\n  Case Else\n    a = 3\n"
       "End Select\n%>\n"},
      {"if, else and the loops",
       "<%\nIf a Then\nFor i = 1 To 3\nDo While b\nb = f(b)\nLoop\nNext\nElseIf c Then\n"
       "While d\nWith e\n.x = 1\nEnd With\nWend\nElse\nz = 0\nEnd If\n%>\n",
       "<%\nIf a Then\n  For i = 1 To 3\n    Do While b\n      b = f(b)\n    Loop\n  Next\n"
       "ElseIf c Then\n  While d\n    With e\n      .x = 1\n    End With\n  Wend\nElse\n  z = 0\n"
       "End If\n%>\n"},
      {"a routine's body stays at its level; its end closes nothing",
       "<%\nSub Show(x)\n  If x Then\n  y\n  End If\nEnd Sub\n%>\n",
       "<%\nSub Show(x)\nIf x Then\n  y\nEnd If\nEnd Sub\n%>\n"},
      {"page lines outside the script are left as they are, quotes and all",
       "<p title='x'>\n   Don't  move\n<% If a Then %>\n  <b>yes</b>\n<% End If %>\n",
       // The "<%" before "End If" still stands at the level inside the If.
       "<p title='x'>\n   Don't  move\n<%\nIf a Then %>\n  <b>yes</b>\n  <%\nEnd If %>\n"},
      {"directives, expressions, comments and Option Explicit stay after their <%",
       "<%@ Language=VBScript %>\n<% Option Explicit\n%>\n<td><%= name %></td>\n<%' note %>\n",
       "<%@ Language=VBScript %>\n<% Option Explicit\n%>\n<td><%= name %></td>\n<%' note %>\n"},
      {"a client script block is passed over",
       "<%\n<script type=\"text/javascript\">\n  if (a) { b(); }\n</script>\n   x = 1\n%>\n",
       "<%\n<script type=\"text/javascript\">\n  if (a) { b(); }\n</script>\nx = 1\n%>\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(LaidOut(c.in), c.out) << c.what;
}

TEST(ValidateAsp, TrailingCommentsGoToColumnForty) {
  const std::string pad40 = std::string(29, ' ');  // after ten characters of code
  struct Case {
    const char* what;
    std::string in, out;
  } cases[] = {
      {"after ten characters of code", "<%\nx = 1 + 22 ' note\n%>\n",
       "<%\nx = 1 + 22 " + std::string(28, ' ') + "' note\n%>\n"},
      {"far to the right, with blanks before it", "<%\ny = 2" + std::string(50, ' ') + "' far\n%>\n",
       "<%\ny = 2" + std::string(34, ' ') + "' far\n%>\n"},
      {"after code that reaches past column 39", "<%\n" + std::string(45, 'z') + " ' long\n%>\n",
       "<%\n" + std::string(45, 'z') + " ' long\n%>\n"},
      {"a quote inside a string is no comment", "<%\ns = \"it's\" & \"\"\"q\"\"\"\n%>\n",
       "<%\ns = \"it's\" & \"\"\"q\"\"\"\n%>\n"},
      {"End lines keep their comments", "<%\nIf a Then\nEnd If ' done\n%>\n",
       "<%\nIf a Then\nEnd If ' done\n%>\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(LaidOut(c.in), c.out) << c.what;
  EXPECT_EQ(LaidOut("<%\nx = 1 + 22 ' note\n%>\n").find('\''), 42u);  // "<%\n" + 39
}

TEST(ValidateAsp, EachStopNamesItsLineAndWritesTheWorkBack) {
  struct Case {
    std::string in;
    int pass;
    std::string message;
    size_t line;  // 1-based
  } cases[] = {
      {"<%\nIf a Then b = 1\n%>\n", 0, "Quorrel doesn't support code after \"then\"", 2},
      {"<%\nIf a\nEnd If\n%>\n", 0, "Missing \"then\"", 2},
      {"<%\n// old habit\n%>\n", 0, "Use a single quote for a Classic ASP comment, not \"//\".", 2},
      {"<%\nSub A\nEnd Sub'x\n%>\n", 0, "Don't put the quote immediately after the keyword", 3},
      {"<%\nSub Tidy(x)\nWend\nEnd Sub\n%>\n", 0,
       "Indenting level is <0 in Sub/Function Tidy.\rYou've tried to close something that wasn't "
       "open.",
       3},
      {"<%\nSub Tidy\nIf a Then\nEnd Sub\n%>\n", 0, "Indenting level > 0 at end of Sub/Function Tidy",
       4},
      {"<%\nx = 1\n<Script>\nvar a;\n", 0, "EOF within JavaScript.", 3},
      {"<%\nx = \"open\n%>\n", 0, "No closing double-quote", 2},
      {"<%\na = <%= b %>\n", 0, "\"<%=\" found within ASP code", 2},
      {"<%\nIf a Then\nx = 1\n%>\n", 0, "Level at end is 1", 5},
      {"<%\n  Sub Late\nEnd Sub\n%>\n", 1, "Indenting level is non-zero at start of Sub", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    StartMode = StartReformatting;
    const TValidation verdict = Check(c.in, "/site/page.asp", c.pass);
    ASSERT_TRUE(verdict.error);
    ASSERT_TRUE(verdict.text);
    const std::string& work = *verdict.text;
    // The line as the work list holds it when the checker stopped.
    size_t start = 0;
    for (size_t n = 1; n < c.line; ++n) start = work.find('\n', start) + 1;
    const std::string line = work.substr(start, work.find('\n', start) - start);
    EXPECT_EQ(verdict.error->message,
              c.message + " around line " + std::to_string(c.line) + ":\r" + line);
    EXPECT_EQ(verdict.error->offset, start);
    EXPECT_TRUE(verdict.error->atOffset);
    EXPECT_FALSE(verdict.error->offsetInMessage);
    EXPECT_TRUE(verdict.recolour);
    EXPECT_EQ(StartMode, StartNormal);
    EXPECT_FALSE(verdict.again);
  }
  // A Sub in column 1 on a later pass is what the first pass made of it.
  EXPECT_FALSE(Check("<%\nSub Fine\nEnd Sub\n%>\n", "/site/page.asp", 1).error);
}

TEST(ValidateAsp, OldSpellingsOfEndIfAndElseIfStopAtTheirPlace) {
  struct Case {
    std::string in;
    std::string message;
    size_t offset;
  } cases[] = {
      {"<%\nIf a Then\nx\nEndIf\n%>\n", "EndIf should be End If", 15},
      {"<%\nIf a Then\nx\nElse If b Then\n", "Else If should be ElseIf", 15},
  };
  for (const Case& c : cases) {
    const TValidation verdict = Check(c.in);
    ASSERT_TRUE(verdict.error) << c.in;
    EXPECT_EQ(verdict.error->message, c.message);
    EXPECT_EQ(verdict.error->offset, c.offset);
    EXPECT_TRUE(verdict.error->atOffset);
    EXPECT_FALSE(verdict.text);
  }
  // "[EndIf]" and words that only hold the letters are no old spelling; in
  // JavaScript "else if" is right, and a ".VBA" file is not a page.
  for (const char* fine : {"<p>[ENDIF]</p>\n", "<p>SendIfReady</p>\n",
                           "<script>\nif (a) {} else if (b) {}\n</script>\n"}) {
    EXPECT_FALSE(Check(fine).error) << fine;
  }
  const TValidation vba = Check("If a Then\r\nx\r\nEndIf\r\n", "/site/macro.vba");
  ASSERT_TRUE(vba.error);
  EXPECT_EQ(vba.error->message.substr(0, 17), "Level at end is 1");
}

TEST(ValidateAsp, APageGoesOnToTheHtmlValidatorAndAVbaFileEndsHere) {
  const TValidation page = Check("<%\r\nx = 1\r\n%>\r\n");
  EXPECT_TRUE(page.again);
  EXPECT_EQ(page.againAs, TDocumentKind::Html);
  EXPECT_EQ(page.text, "<%\nx = 1\n%>\n");
  EXPECT_FALSE(page.status);

  // A ".VBA" file is all code, keeps its CR LF and is done.
  const TValidation vba = Check("Sub Run\r\nIf a Then\r\nb\r\nEnd If\r\nEnd Sub\r\n", "/x/Macro.VBA");
  EXPECT_FALSE(vba.again);
  EXPECT_EQ(vba.text, "Sub Run\r\nIf a Then\r\n  b\r\nEnd If\r\nEnd Sub\r\n");
  EXPECT_EQ(vba.status, ValidatedStatus);
}

TEST(ValidateAsp, OnlyTheSpannedLinesAreLaidOut) {
  const std::string text = "<%\nIf a Then\nb\nEnd If\nIf c Then\nd\nEnd If\n%>\n";
  // Lines 5 to 7: the second If.
  const size_t from = text.find("If c");
  const size_t to = text.find("%>");
  const TValidation verdict = Check(text, "/site/page.asp", 0, from, to - from);
  ASSERT_FALSE(verdict.error);
  EXPECT_EQ(verdict.text, "<%\nIf a Then\nb\nEnd If\nIf c Then\n  d\nEnd If\n%>\n");
  // A span within one line is no span: the whole text is done.
  EXPECT_EQ(Check(text, "/site/page.asp", 0, 4, 3).text,
            "<%\nIf a Then\n  b\nEnd If\nIf c Then\n  d\nEnd If\n%>\n");
}

TEST(ValidateAsp, TheLevelAtTheEndIsToldWithDebugOn) {
  MainMenu().SetChecked("Debug", true);
  Check("<%\nx = 1\n%>\n");
  MainMenu().SetChecked("Debug", false);
  EXPECT_NE(Dialogs().Last().text.find("Level at end is 0"), std::string::npos);
}

class BigPageRule : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = test::SiteTestFolder() + "asp-rule/";
    std::filesystem::create_directories(folder);
    SettingsIni = std::make_unique<TIniFile>(folder + "settings.ini");
  }
  void TearDown() override {
    SettingsIni.reset();
    CurrentCommand.clear();
    std::filesystem::remove_all(folder);
  }
  static std::string Stamp(long secondsBack) {
    const std::time_t when = std::time(nullptr) - secondsBack;
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
  }
  std::string folder;
  const std::string path = "/site/big.asp";
  const std::string big = "<%\nx = 1\n%>\n" + std::string(100000, 'p') + "\n";
};

TEST_F(BigPageRule, ABigPageCheckedAgainWithinAMinuteGetsNoSecondPass) {
  struct Case {
    long secondsBack;
    bool once;
  } cases[] = {{30, true}, {90, false}};
  for (const Case& c : cases) {
    const std::string stored = Stamp(c.secondsBack);
    SettingsIni->WriteString(path, "Validated", stored);
    const TValidation verdict = Check(big, path);
    EXPECT_EQ(verdict.passCounter.has_value(), c.once) << c.secondsBack;
    const std::string now = SettingsIni->ReadString(path, "Validated", "");
    if (c.once) {
      EXPECT_EQ(now, stored);
    } else {
      EXPECT_NE(now, stored);
      EXPECT_EQ(now.size(), 19u) << now;  // 2026-12-11T17:20:05
    }
  }
  EXPECT_EQ(Check(big, path).passCounter, 1);
}

TEST_F(BigPageRule, SmallPagesAndValidateAllAreLeftOut) {
  SettingsIni->WriteString(path, "Validated", Stamp(10));
  EXPECT_FALSE(Check("<%\nx = 1\n%>\n", path).passCounter);
  CurrentCommand = ValidateAllCommand;
  EXPECT_FALSE(Check(big, path).passCounter);
  // A time in the future is no recent check.
  CurrentCommand.clear();
  SettingsIni->WriteString(path, "Validated", Stamp(-3600));
  EXPECT_FALSE(Check(big, path).passCounter);
}

}  // namespace
}  // namespace quorrel
