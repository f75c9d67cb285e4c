// Cut, Copy and Paste on the real main window with the system clipboard: what a
// plain document hands other programs, and what Paste makes of text that other
// programs offer, keys and menu items alike.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"
#include "shell/BlinkJob.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/PlatformKeys.h"
#include "support/RtfConformance.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "ui/platform/QtDesktop.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::PressKey;

class ClipboardTest : public test::ShownDesktopWindowTest {
 protected:
  ClipboardTest() : ShownDesktopWindowTest("clipboard/") {}
  // Another program's offer: plain text with formatted versions beside it.
  void Offer(const QString& text, bool formatted) {
    auto* data = new QMimeData;
    data->setText(text);
    if (formatted) {
      data->setHtml("<b>" + text + "</b>");
      data->setData("text/rtf", "{\\rtf1 \\b x\\b0}");
    }
    QApplication::clipboard()->setMimeData(data);
  }
};

TEST_F(ClipboardTest, PlainDocumentHandsOutPlainTextOnly) {
  OpenFile("notes.txt", "First line\r\nSecond line\r\n");
  Offer("old", true);
  struct Case {
    const char* name;
    std::function<void()> copy;
  } cases[] = {
      {"menu", [] { MainMenu().Click("Copy"); }},
      {"Ctrl+C", [&] { PressKey(Editor(), Qt::Key_C, Qt::ControlModifier); }},
      {"Ctrl+Insert", [&] { PressKey(Editor(), Qt::Key_Insert, Qt::ControlModifier); }},
  };
  for (const Case& c : cases) {
    Offer("old", true);
    CurrentEditor->Select(0, CurrentEditor->TextLength());
    c.copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), "First line\nSecond line\n") << c.name;
    EXPECT_FALSE(data->hasHtml()) << c.name;
    EXPECT_FALSE(data->hasFormat("text/rtf")) << c.name;
  }
  // Shift+Del cuts (Ctrl+X is Strike-through's).
  CurrentEditor->Select(0, 5);
  PressKey(Editor(), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "First");
  EXPECT_EQ(CurrentEditor->GetText(), " line\r\nSecond line\r\n");
}

TEST_F(ClipboardTest, FormattedDocumentCopiesItsFormats) {
  OpenFile("letter.rtf", test::OurRtf("\\b bold\\b0  plain"));
  CurrentEditor->Select(0, CurrentEditor->TextLength());
  MainMenu().Click("Copy");
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text(), "bold plain");
  EXPECT_TRUE(data->hasHtml());
}

TEST_F(ClipboardTest, PlayScriptCopyLosesItsSynopsis) {
  OpenFile("play.txt", "Scene: Hall\r\nSYNOPSIS:\tThey meet.\r\nANNA: Hi.\r\n");
  IsScript = true;  // as the script's file type makes it
  CurrentEditor->Select(0, CurrentEditor->TextLength());
  MainMenu().Click("Copy");
  EXPECT_EQ(QApplication::clipboard()->text(), "Scene: Hall\nANNA: Hi.\n");
  EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasHtml());
}

TEST_F(ClipboardTest, PasteTakesLfFromOtherProgramsAndFormattedAsPlain) {
  OpenFile("notes.txt", "");
  // Formatted text: no reformat question (it would mark up a word processor's
  // paragraphs); plain text with LF line ends gets CR LF.
  Offer("Alpha.\nBeta. Gamma", true);
  PressKey(Editor(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(CurrentEditor->GetText(), "Alpha.\r\nBeta.  Gamma");
  EXPECT_TRUE(Dialogs().Texts().empty());
}

TEST_F(ClipboardTest, WebAddressFromTheSystemClipboardBecomesALink) {
  OpenFile("page.htm", "<p></p>\n");
  CurrentEditor->Select(3, 0);
  Offer("www.debian.org/", false);
  Dialogs().AnswerText("debian.org");
  PressKey(Editor(), Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(CurrentEditor->GetText(),
            "<p><A Href=\"http://www.debian.org/\">debian.org</A></p>\r\n");
}

TEST_F(ClipboardTest, KeyPressAfterADialogMovedTheFocusIsNotPastedAgain) {
  OpenFile("page.htm", "<p></p>\n");
  CurrentEditor->Select(3, 0);
  Offer("www.debian.org/", false);
  Dialogs().AnswerText("debian.org");
  // Paste acts on the key's shortcut check; its link-text box takes the focus, and
  // the key's press only arrives after the box has gone.
  ASSERT_FALSE(qt_sendShortcutOverrideEvent(Editor(), 0, Qt::Key_V, Qt::ControlModifier, QString(),
                                            false, 1));
  QLineEdit elsewhere;
  elsewhere.show();
  elsewhere.activateWindow();
  elsewhere.setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusObject() == &elsewhere; }, 2000));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
  QApplication::sendEvent(Editor(), &press);
  EXPECT_EQ(CurrentEditor->GetText(),
            "<p><A Href=\"http://www.debian.org/\">debian.org</A></p>\r\n");
}

// Its speed is bench/ui_paste's to measure.
TEST_F(ClipboardTest, MegabytePasteWithReformat) {
  OpenFile("big.txt", "");
  std::string paragraph = "The quick brown fox jumps over the lazy dog. It ran far! Did it? Yes.\n";
  QString text;
  while (text.size() < 1 << 20) text += QString::fromLatin1(paragraph.c_str());
  Offer(text, false);
  Dialogs().Answer(mrYes);  // Reformat the pasted text?
  MainMenu().Click("Paste");
  EXPECT_GT(CurrentEditor->TextLength(), 1u << 20);
  EXPECT_NE(CurrentEditor->TextRange(0, 200).find("dog.&nbsp; It"), std::string::npos);
}

}  // namespace
}  // namespace quorrel
