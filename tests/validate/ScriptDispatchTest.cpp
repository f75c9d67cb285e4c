// The script checker behind the dispatcher: the re-indented text written into the
// tab with the caret kept, a laid-out file left unmodified, a stop shown alone with
// the caret on its line, the save it recommends, and the re-formatter start mode.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "platform/Chars.h"
#include "platform/UserDialogs.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

const char kMisIndented[] = "function f(x) {\r\n    if(x){\r\ny();\r\n  }\r\n}\r\n";
const char kReindented[] = "function f(x) {\r\nif (x){\r\n  y();\r\n}\r\n}\r\n";

class ScriptDispatchTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);  // the real checker
    MainMenu().SetChecked("CheckQuotes", true);
    MainMenu().SetChecked("CheckBrackets", true);
  }
  void TearDown() override {
    StartMode = StartNormal;
    Dialogs().Clear();
    ValidationTest::TearDown();
  }
  static size_t CaretLine() { return CurrentEditor->LineFromChar(CurrentEditor->SelStart()); }
};

TEST_F(ScriptDispatchTest, ReindentsTheTabKeepingTheCaret) {
  Open("code.js", kMisIndented);
  TMyRich& editor = *CurrentEditor;
  editor.Select(editor.LineIndex(2) + 2, 0);  // in "y();"
  ValidateCurrentFile("Validate");
  EXPECT_EQ(CurrentText, kReindented);
  EXPECT_EQ(CaretLine(), 2u);
  EXPECT_EQ(editor.SelStart() - editor.LineIndex(2), 2u);
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_TRUE(Dialogs().Calls().empty());
  // The file on disk stays as it was until the user saves.
  EXPECT_EQ(Read(site + "code.js"), kMisIndented);
}

TEST_F(ScriptDispatchTest, ALaidOutFileStaysUnmodified) {
  // Whatever the line ends on disk, a file already laid out is not changed.
  for (const char* name : {"crlf.js", "lf.cs"}) {
    const std::string text =
        std::string(name) == "lf.cs" ? "class A {\nvoid F() {\n  x();\n}\n}\n" : kReindented;
    Open(name, text);
    ValidateCurrentFile("Validate");
    EXPECT_FALSE(CurrentEditor->Modified()) << name;
    EXPECT_EQ(Status(), "  Validated") << name;
  }
}

TEST_F(ScriptDispatchTest, AStopShowsItsMessageAloneWithTheCaretOnItsLine) {
  const char text[] = "if (a) { b(); }\r\nx = 1;\r\nif (y) then z();\r\n";
  Open("stop.js", text);
  RecolourRequest = RecolourNone;
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  // Shown alone (centred), without an offset.
  EXPECT_EQ(TrimBlanks(Dialogs().Last().text), "Do not use \"then\" after \"if\".");
  // On the line as the tab shows it: the lines split before it are not written.
  EXPECT_EQ(CurrentText, text);
  EXPECT_EQ(CaretLine(), 2u);
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->LineIndex(2));
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(RecolourRequest, RecolourFull);
  EXPECT_EQ(Status().find("Validated"), std::string::npos);
}

TEST_F(ScriptDispatchTest, TheRecommendedSaveWritesTheFileAndEndsQuietly) {
  Open("open.js", "function f() {\r\nif (a) { b(); }\r\n");
  Dialogs().Answer(mrYes);
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text,
            "I recommend that you save this reformatted version before any further validation.");
  const char saved[] = "function f() {\r\nif (a) {\r\n  b();\r\n}\r\n";
  EXPECT_EQ(CurrentText, saved);
  EXPECT_EQ(Read(site + "open.js"), saved);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Status().find("Validated"), std::string::npos);
}

TEST_F(ScriptDispatchTest, ReformatterStartModeSavesTheReindentedFile) {
  Open("batch.js", kMisIndented);
  StartMode = StartReformatting;
  ValidateCurrentFile("");
  EXPECT_EQ(Read(site + "batch.js"), kReindented);
  EXPECT_FALSE(CurrentEditor->Modified());
}

}  // namespace
}  // namespace quorrel::test
