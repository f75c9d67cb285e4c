// The Classic ASP checker on the real program: an .asp page opened in a tab, F10
// typed into the editor, the VBScript re-indented and the page laid out by the HTML
// validator; a stop shown with the caret on its line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <string>

#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TypeInto.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

using test::Dialogs;

class ValidateAspEndToEndTest : public test::ShownWindowTest {
 protected:
  ValidateAspEndToEndTest() : ShownWindowTest("asp/") {}
  void PressF10() {
    test::PressKey(Editor(), Qt::Key_F10);
    QApplication::processEvents();
  }
  std::string Status() const { return form->StatusPanel(MessagePanel)->text().toStdString(); }
};

TEST_F(ValidateAspEndToEndTest, F10ReindentsTheScriptAndLaysOutThePage) {
  OpenFile("orders.asp",
           "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>Orders</title>\n</head>\n<body>\n"
           "<%\nFor Each item In list\nIf item > 0 Then\nResponse.Write item\nEnd If\nNext\n%>\n"
           "</body>\n</html>\n");
  PressF10();
  EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
  const std::string text = CurrentEditor->GetText();
  EXPECT_NE(text.find("For Each item In list\r\n  If item > 0 Then\r\n    Response.Write item\r\n"
                      "  End If\r\nNext\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("<head>\r\n  <title>Orders</title>"), std::string::npos) << text;
  EXPECT_EQ(Status(), "  Validated");
}

TEST_F(ValidateAspEndToEndTest, AStopShowsTheLineWithTheCaretOnIt) {
  OpenFile("stop.asp", "<html>\n<body>\n<%\nWhile a\na = a - 1\nLoop\nLoop\n%>\n</body>\n</html>\n");
  PressF10();
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Last().text,
            "Indenting level is <0 in Sub/Function .\rYou've tried to close something that wasn't "
            "open. around line 7:\rLoop");
  TMyRich& editor = *CurrentEditor;
  EXPECT_EQ(editor.SelStart(), editor.LineIndex(6));
}

}  // namespace
}  // namespace quorrel
