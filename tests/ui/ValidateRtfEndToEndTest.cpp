// F10 on an RTF letter in the real program: the real RTF validator finds an
// unmatched quote, the paragraph viewer shows the message and the paragraph with
// the quote in bold red, the caret stands in the paragraph, and Esc clears it.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "platform/RtfCompose.h"
#include "platform/RtfModel.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/PlatformKeys.h"
#include "support/ShownWindowTest.h"
#include "support/TestEnvironment.h"
#include "ui/shell/ParagraphViewer.h"
#include "ui/shell/WebForm.h"
#include "validate/RtfParagraphs.h"

namespace quorrel {
namespace {

class ValidateRtfEndToEndTest : public test::ShownWindowTest {
 protected:
  ValidateRtfEndToEndTest() : ShownWindowTest("rtf-end-to-end/") {}
  void SetUp() override {
    ShownWindowTest::SetUp();
    for (const char* option : {"ValSave", "CheckQuotes", "CheckBrackets"}) {
      MainMenu().SetChecked(option, true);
    }
  }
  void Press(int key) {
    test::PressKey(Editor(), key);
    QApplication::processEvents();
  }
};

TEST_F(ValidateRtfEndToEndTest, UnmatchedQuoteShowsTheViewerAndEscClearsIt) {
  OpenFile("Letter.RTF",
           ComposeRtf(RtfDocumentOfText(
               "Dear Anna,\r\nThe 3\" screen came, and you said \"soon.\r\nYours,\r\n",
               TRtfCharFormat())));
  ASSERT_TRUE(IsRtf);
  ASSERT_EQ(form->Action("Validate")->shortcut(), QKeySequence(Qt::Key_F10));

  Press(Qt::Key_F10);
  TParagraphViewer* viewer = form->ParagraphViewer();
  ASSERT_TRUE(viewer->isVisible());
  const QTextDocument& shown = *viewer->document();
  EXPECT_EQ(shown.blockCount(), 2);
  EXPECT_EQ(shown.firstBlock().text().toStdString(),
            std::string(UnmatchedQuotesMessage) + ClearParagraphHint);
  EXPECT_EQ(shown.lastBlock().text(),
            QString::fromUtf8("The 3\" screen came, and you said «soon."));
  // The message in red 18-point type; of the paragraph only the quote is bold red.
  const QTextCharFormat message = shown.firstBlock().begin().fragment().charFormat();
  EXPECT_EQ(message.foreground().color(), QColor(Qt::red));
  EXPECT_EQ(message.fontPointSize(), 18);
  std::vector<std::string> boldRed;
  for (auto it = shown.lastBlock().begin(); !it.atEnd(); ++it) {
    const QTextCharFormat format = it.fragment().charFormat();
    if (format.fontWeight() == QFont::Bold && format.foreground().color() == QColor(Qt::red)) {
      boldRed.push_back(it.fragment().text().toStdString());
    }
  }
  EXPECT_EQ(boldRed, std::vector<std::string>{"\xC2\xAB"});
  // The caret at the start of the paragraph, which the editor shows on its second line.
  EXPECT_EQ(CurrentEditor->LineFromChar(CurrentEditor->SelStart()), 1u);
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->LineIndex(1));
  EXPECT_NE(form->StatusPanel(MessagePanel)->text().toStdString(), "  Validated");

  Press(Qt::Key_Escape);
  EXPECT_FALSE(viewer->isVisible());
  EXPECT_TRUE(viewer->document()->isEmpty());
}

}  // namespace
}  // namespace quorrel
