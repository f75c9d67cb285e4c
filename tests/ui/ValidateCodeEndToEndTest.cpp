// The script checker on the real program: a JavaScript file opened in a tab, F10
// typed into the editor or Validate chosen from its menu, the file shown
// re-indented with the caret where it was, a second F10 that changes nothing, and
// a stop shown alone with the caret on its line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <string>

#include "platform/Chars.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
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
    "function show(x) {\n"
    "    if(x){\n"
    "  draw(x);\n"
    "        }\n"
    "  while(x){\n"
    "x = next(x);\n"
    "}\n"
    "}\n";

const char kReindented[] =
    "function show(x) {\r\n"
    "if (x){\r\n"
    "  draw(x);\r\n"
    "}\r\n"
    "while (x){\r\n"
    "  x = next(x);\r\n"
    "}\r\n"
    "}\r\n";

class ValidateCodeEndToEndTest : public test::ShownWindowTest {
 protected:
  ValidateCodeEndToEndTest() : ShownWindowTest("script/") {}
  void SetUp() override {
    ShownWindowTest::SetUp();
    MainMenu().SetChecked("CheckQuotes", true);
    MainMenu().SetChecked("CheckBrackets", true);
  }
  void PressF10() {
    test::PressKey(Editor(), Qt::Key_F10);
    QApplication::processEvents();
  }
  std::string Status() const { return form->StatusPanel(MessagePanel)->text().toStdString(); }
};

TEST_F(ValidateCodeEndToEndTest, F10ReindentsAndASecondF10ChangesNothing) {
  OpenFile("show.js", kMisIndented);
  TMyRich& editor = *CurrentEditor;
  editor.Select(editor.LineIndex(5) + 3, 0);  // in "x = next(x);"
  PressF10();
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(CurrentText, kReindented);
  EXPECT_EQ(editor.LineFromChar(editor.SelStart()), 5u);
  EXPECT_EQ(editor.SelStart() - editor.LineIndex(5), 3u);
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_TRUE(editor.Modified());

  // Saved, it stays as it is.
  ASSERT_TRUE(MainMenu().Click("Save"));
  QApplication::processEvents();
  ASSERT_FALSE(editor.Modified());
  form->StatusPanel(MessagePanel)->clear();
  PressF10();
  EXPECT_EQ(CurrentText, kReindented);
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(Status(), "  Validated");
}

TEST_F(ValidateCodeEndToEndTest, ValidateFromTheMenuStopsWithTheCaretOnTheLine) {
  OpenFile("stop.cs", "class A {\nvoid F() {\nIf (a) {\n}\n}\n}\n");
  const std::string before = CurrentText;
  QAction* validate = form->Action("Validate");
  ASSERT_NE(validate, nullptr);
  EXPECT_TRUE(validate->isEnabled());
  validate->trigger();
  QApplication::processEvents();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(TrimBlanks(Dialogs().Last().text), "\"If\" should be \"if\"");
  EXPECT_EQ(CurrentText, before);
  TMyRich& editor = *CurrentEditor;
  EXPECT_EQ(editor.LineFromChar(editor.SelStart()), 2u);
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(Status().find("Validated"), std::string::npos);
}

TEST_F(ValidateCodeEndToEndTest, F10OnAPhpPageReindentsItsCodeAndRelaysItsHtml) {
  OpenFile("shop.php",
           "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>Shop</title>\n</head>\n<body>\n<?php\n$open = date('G') > 8;\n"
           "    if($open) {\n  echo 'Open';\n        }\n?>\n<div>\n<p>Welcome</p>\n</div>\n"
           "</body>\n</html>\n");
  PressF10();
  EXPECT_TRUE(Dialogs().Calls().empty());
  // The code by its braces, the page by the HTML validator.
  EXPECT_NE(CurrentText.find("<?php\n$open = date('G') > 8;\nif ($open) {\n  echo 'Open';\n}\n?>"),
            std::string::npos)
      << CurrentText;
  EXPECT_NE(CurrentText.find("<head>\n  <meta charset=\"utf-8\">\n  <title>Shop</title>"),
            std::string::npos)
      << CurrentText;
  EXPECT_EQ(Status(), "  Validated");
}

}  // namespace
}  // namespace quorrel
