// The Pascal formatter on the real program: a mis-indented unit opened in a tab,
// F10 typed into the editor or Validate chosen from its menu, the unit shown
// re-indented with the caret where it was, the split question and the stops.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <string>

#include "shell/DBoxUnit.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TypeInto.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

using test::Dialogs;

const char kMisIndented[] =
    "unit Counter;\n"
    "interface\n"
    "function Count(n: Integer): Integer;\n"
    "implementation\n"
    "function Count(n: Integer): Integer;\n"
    "var\n"
    "i: Integer;\n"
    "begin\n"
    "      Result := 0;\n"
    "for i := 1 to n do\n"
    "    begin\n"
    "Inc(Result);\n"
    "        end;\n"
    "end;\n"
    "end.\n";

const char kReindented[] =
    "Unit Counter;\r\n"
    "Interface\r\n"
    "Function Count(n: Integer): Integer;\r\n"
    "Implementation\r\n"
    "Function Count(n: Integer): Integer;\r\n"
    "Var\r\n"
    "  i: Integer;\r\n"
    "Begin\r\n"
    "  Result := 0;\r\n"
    "  For i := 1 to n do\r\n"
    "  Begin\r\n"
    "    Inc(Result);\r\n"
    "  End;\r\n"
    "End;\r\n"
    "End.\r\n";

class ValidatePascalEndToEndTest : public test::ShownWindowTest {
 protected:
  ValidatePascalEndToEndTest() : ShownWindowTest("pascal/") {}
  void PressF10() {
    test::PressKey(Editor(), Qt::Key_F10);
    QApplication::processEvents();
  }
  std::string Status() const { return form->StatusPanel(MessagePanel)->text().toStdString(); }
};

TEST_F(ValidatePascalEndToEndTest, F10ReindentsAUnitAndKeepsTheCaret) {
  OpenFile("counter.pas", kMisIndented);
  // The caret on "Inc(Result)", line 12, after its fourth character.
  TMyRich& editor = *CurrentEditor;
  editor.Select(editor.LineIndex(11) + 4, 0);
  PressF10();
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(CurrentText, kReindented);
  EXPECT_EQ(editor.LineFromChar(editor.SelStart()), 11u);
  EXPECT_EQ(editor.SelStart() - editor.LineIndex(11), 4u);
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_TRUE(editor.Modified());
}

TEST_F(ValidatePascalEndToEndTest, ValidateFromTheMenuSplitsWithoutSayingValidated) {
  OpenFile("split.pas", "begin\nif a then b := 1;\nend.\n");
  QAction* validate = form->Action("Validate");
  ASSERT_NE(validate, nullptr);
  EXPECT_TRUE(validate->isEnabled());
  Dialogs().Answer(mrYes);
  validate->trigger();
  QApplication::processEvents();
  ASSERT_EQ(Dialogs().Calls().size(), 2u);
  EXPECT_EQ(Dialogs().Calls()[0].text,
            "Line 2 (?)\rTHEN - Keyword not at start/end of line.  Split?\r\rif a then b := 1;");
  EXPECT_NE(Dialogs().Last().text.find("Splitting lines done - please reformat again."),
            std::string::npos);
  // The lines before the first split are re-indented already, the rest not yet.
  EXPECT_EQ(CurrentText, "Begin\r\nif a then\r\nb := 1;\r\nend.\r\n");
  EXPECT_EQ(Status().find("Validated"), std::string::npos);

  // The second run re-indents it.
  Dialogs().Clear();
  PressF10();
  EXPECT_EQ(CurrentText, "Begin\r\n  If a then\r\n    b := 1;\r\nEnd.\r\n");
  EXPECT_EQ(Status(), "  Validated");
}

TEST_F(ValidatePascalEndToEndTest, AStopShowsItsMessageAndLeavesTheText) {
  OpenFile("stop.pas", "begin\n  x;\n   until a;\n");
  const std::string before = CurrentText;
  PressF10();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(
      Dialogs().Last().text.find("Block must be terminated by End around line 3 rather than UNTIL"),
      std::string::npos);
  EXPECT_EQ(Dialogs().Last().text.find("at offset"), std::string::npos);
  EXPECT_EQ(CurrentText, before);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Status().find("Validated"), std::string::npos);
}

}  // namespace
}  // namespace quorrel
