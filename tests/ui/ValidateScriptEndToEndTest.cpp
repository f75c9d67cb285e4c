// F10 on a play script in the real program: speakers' abbreviations written out in
// the editor, the real pick list choosing among several characters, the last "END"
// centred and underlined, and the speakers of a list still to be written on the
// system clipboard.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include "platform/RtfCompose.h"
#include "platform/RtfModel.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/PlatformKeys.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "ui/platform/QtDialogs.h"
#include "ui/shell/LinkForm.h"
#include "validate/ScriptChecks.h"
#include "validate/ScriptNames.h"

namespace quorrel {
namespace {

// A script in its full stage layout, as our writer saves it.
std::string Script(const std::string& text) {
  TRtfCharFormat format;
  format.font = "Courier New";
  TRtfDocument document = RtfDocumentOfText(text, format);
  for (TRtfParagraph& paragraph : document.paragraphs) {
    paragraph.format.spaceBefore = paragraph.format.spaceAfter = 240;
  }
  return ComposeRtf(document);
}

class ValidateScriptEndToEndTest : public test::ShownDesktopWindowTest {
 protected:
  ValidateScriptEndToEndTest() : ShownDesktopWindowTest("script-end-to-end/") {}
  void TearDown() override {
    SetUserDialogs(&test::Dialogs());
    ShownDesktopWindowTest::TearDown();
  }
  void Press(int key) {
    test::PressKey(Editor(), key);
    QApplication::processEvents();
  }
  QTextEdit* Shown() const { return qobject_cast<QTextEdit*>(Editor()); }
};

TEST_F(ValidateScriptEndToEndTest, F10WritesOutSpeakersAndThePickListChoosesAmongSeveral) {
  OpenFile("Lighthouse.SCR",
           Script("The Lighthouse\r\nA Radio play\r\n\r\nCharacters\r\nJOHN:\tthe keeper\r\n"
                  "JOAN:\this daughter\r\n\r\nScene 1: (Deck)\r\nJO:\tWho?\r\nJOH:\tAhoy.\r\n"));
  ASSERT_TRUE(IsScript);
  ASSERT_NE(Shown(), nullptr);
  TQtDialogs qtDialogs;
  SetUserDialogs(&qtDialogs);
  std::vector<QString> offered;
  QString title;
  // The validation lets events run before the list shows: the click waits for it.
  QTimer click;
  QObject::connect(&click, &QTimer::timeout, [&] {
    auto* list = qobject_cast<TLinkForm*>(QApplication::activeModalWidget());
    if (!list || !list->isVisible()) return;
    click.stop();
    title = list->windowTitle();
    for (QPushButton* entry : list->findChildren<QPushButton*>("LinkEntry")) {
      offered.push_back(entry->text());
    }
    list->findChildren<QPushButton*>("LinkEntry").at(1)->click();
  });
  click.start(0);

  Press(Qt::Key_F10);
  EXPECT_FALSE(click.isActive()) << "no pick list showed";
  click.stop();
  EXPECT_EQ(title.toStdString(), AmbiguousAbbreviationCaption);
  EXPECT_EQ(offered, (std::vector<QString>{"JOHN", "JOAN"}));
  const QString text = Shown()->toPlainText();
  EXPECT_TRUE(text.contains("\nJOAN:\tWho?\nJOHN:\tAhoy.\n")) << text.toStdString();
  EXPECT_EQ(form->StatusPanel(MessagePanel)->text().toStdString(), "  Validated");
  // The "END" added at the end, centred and underlined.
  QTextBlock end = Shown()->document()->lastBlock();
  while (end.isValid() && end.text() != "END") end = end.previous();
  ASSERT_TRUE(end.isValid());
  EXPECT_EQ(end.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_TRUE(end.begin().fragment().charFormat().fontUnderline());
}

TEST_F(ValidateScriptEndToEndTest, SpeakersOfAListStillToBeWrittenAreOnTheSystemClipboard) {
  QGuiApplication::clipboard()->clear();
  OpenFile("New.SCR", Script("A Stage play\r\nCharacters\r\n\r\nScene 1: (Deck)\r\n"
                             "JOHN:\tHi.\r\nMARY & JOHN:\tHo.\r\nEND\r\n"));
  Press(Qt::Key_F10);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "JOHN:\t\r\nMARY:\t\r\n");
  EXPECT_EQ(test::Dialogs().Last().text,
            std::string(UndefinedCharactersMessage) + "JOHN:\t\r\nMARY:\t\r\n");
}

}  // namespace
}  // namespace quorrel
