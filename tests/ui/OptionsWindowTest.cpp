// The Options and colour commands on the real main window: the zoom items, the
// night scheme on an open page, a copied style on a formatted selection, and the
// frameless window.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTextEdit>

#include "commands/ColourCommands.h"
#include "platform/RtfModel.h"
#include "shell/MenuModel.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "ui/platform/Colours.h"
#include "validate/ColourScheme.h"
#include "validate/ColourSyntax.h"

namespace quorrel {
namespace {

using test::Dialogs;

class OptionsWindowTest : public test::ShownWindowTest {
 protected:
  OptionsWindowTest() : ShownWindowTest("options-window/") {}
  void Trigger(const char* item) {
    QAction* action = form->Action(item);
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
  }
  void SelectText(const std::string& what) {
    const size_t at = CurrentEditor->GetText().find(what);
    ASSERT_NE(at, std::string::npos) << what;
    CurrentEditor->Select(CurrentEditor->OffsetToPos(at), what.size());
  }
  // What the idle pass does with a pending recolour.
  void Recolour() {
    if (RecolourRequest != RecolourNone) ApplySyntaxColours();
  }
  QColor Background() { return Editor()->palette().color(QPalette::Base); }
};

TEST_F(OptionsWindowTest, ZoomItemCaptionsTheMenuAndZoomsTheEditor) {
  OpenFile("page.htm", "<p>Some words</p>\n");
  auto* edit = qobject_cast<QTextEdit*>(Editor());
  ASSERT_NE(edit, nullptr);
  const qreal before = edit->font().pointSizeF();
  Trigger("Z120");
  EXPECT_EQ(form->Action("Zoom")->text().toStdString(), "Zoom:   120%");
  EXPECT_TRUE(form->Action("Z120")->isChecked());
  EXPECT_FALSE(form->Action("Z100")->isChecked());
  EXPECT_EQ(CurrentEditor->Zoom(), 120);
  EXPECT_NEAR(edit->font().pointSizeF(), before * 1.2, 0.6);
}

TEST_F(OptionsWindowTest, NightRecoloursTheOpenPage) {
  OpenFile("page.htm", "<p>Some words</p>\n");
  Recolour();
  Trigger("Day");
  Recolour();
  EXPECT_EQ(Background(), ColourFromBgr(0xFFFFFF));
  Trigger("Night");
  Recolour();
  EXPECT_EQ(Background(), ColourFromBgr(TColourScheme().background));
  EXPECT_EQ(CurrentEditor->TextColour(), TColourScheme().defaultColour);
}

TEST_F(OptionsWindowTest, CopyStyleGivesColoursAndBoldOnly) {
  OpenFile("letter.rtf",
           "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n"
           "{\\colortbl ;\\red0\\green128\\blue0;\\red255\\green255\\blue0;}\r\n"
           "\\viewkind4\\uc1\\pard\\f0\\fs24 \\cf1\\highlight2\\b Green\\cf0\\highlight0\\b0  and "
           "\\ul\\fs32 plain\\ulnone\\fs24  words\\par\r\n}\r\n");
  SelectText("Green");
  Dialogs().AnswerText("Leaf");
  Trigger("SaveStyle2");
  SelectText("plain");
  Trigger("CopyStyle2");
  const TRtfCharFormat f = CurrentEditor->CharFormatAt(CurrentEditor->SelStart() + 1);
  EXPECT_EQ(f.color, 0x008000);
  EXPECT_EQ(f.highlight, 0xFFFF00);
  EXPECT_TRUE(f.bold);
  EXPECT_FALSE(f.italic);
  EXPECT_FALSE(f.underline) << "other effects off";
  EXPECT_EQ(f.halfPoints, 32) << "the size stays";
  EXPECT_EQ(f.font, "Arial");
}

TEST_F(OptionsWindowTest, NoBorderMakesTheWindowFrameless) {
  OpenFile("page.htm", "<p>x</p>\n");
  const bool was = MainMenu().Checked("NoBorder");
  Trigger("NoBorder");
  EXPECT_EQ(form->windowFlags().testFlag(Qt::FramelessWindowHint), !was);
  EXPECT_TRUE(form->isVisible());
  Trigger("NoBorder");
  EXPECT_EQ(form->windowFlags().testFlag(Qt::FramelessWindowHint), was);
}

}  // namespace
}  // namespace quorrel
