// Re-paragraphing in the real program: a quoted mail pasted from the system
// clipboard and Edit > Reparagraph chosen from the menu, and an old word-processor
// file converted as it opens.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <fstream>

#include "commands/StartUp.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/PlatformKeys.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

using test::Dialogs;

class ReparagraphEndToEndTest : public test::ShownDesktopWindowTest {
 protected:
  ReparagraphEndToEndTest() : ShownDesktopWindowTest("reparagraph/") {}
  // Edit > Reparagraph, as the menu offers it once opened.
  void ChooseReparagraph() {
    QMenu* menu = form->Menu("EditMenu");
    ASSERT_NE(menu, nullptr);
    Q_EMIT menu->aboutToShow();
    QAction* item = form->Action("RePara");
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    QApplication::processEvents();
  }
};

TEST_F(ReparagraphEndToEndTest, APastedQuotedMailBecomesOneParagraph) {
  OpenFile("notes.txt", "Notes\r\n");
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  QApplication::clipboard()->setText(
      "> We meet on Tuesday at\n> ten in the small hall. Please\n> bring the minutes\n> of the "
      "last meeting.");
  test::PressKey(Editor(), Qt::Key_V, Qt::ControlModifier);
  // The pasted text stays selected, and only it is re-paragraphed.
  ASSERT_GT(CurrentEditor->SelLength(), 0u);
  ChooseReparagraph();
  EXPECT_EQ(CurrentEditor->GetText(),
            "Notes\r\n> We meet on Tuesday at ten in the small hall.  Please bring the minutes "
            "of the last meeting.");
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(ReparagraphEndToEndTest, AnOldWordProcessorFileComesOutInParagraphs) {
  Dialogs().Answer(mrYes);  // Convert from Varek's WP format?
  const std::string path = site + "letter.txt";
  std::ofstream(path, std::ios::binary)
      << ".pa\r\nDear Sam, thank you for\r\nthe parcel. It came on\r\nFriday.\r\n\r\nYours\r\n";
  StartParameters = {path};
  FormActivate();
  EXPECT_EQ(Dialogs().Last().text, "Convert from Varek's WP format?");
  // Converted, the document takes the name of an RTF document.
  EXPECT_EQ(CurrentFileName, site + "letter.RTF");
  EXPECT_TRUE(IsRtf);
  const std::string shown = CurrentEditor->GetText();
  EXPECT_NE(shown.find("Dear Sam, thank you for the parcel.  It came on Friday."),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("Yours"), std::string::npos) << shown;
}

}  // namespace
}  // namespace quorrel
