// The Script menu on the real main window: a play script typed into the editor, its
// scenes reached with F9 and Shift+F9 and with the menu's two scene items; the
// menu shows for scripts only.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <fstream>
#include <functional>

#include "commands/OpenDocs.h"
#include "shell/Documents.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/PlatformKeys.h"
#include "support/RtfConformance.h"
#include "support/ShownWindowTest.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

using test::PressKey;

class ScriptScenesTest : public test::ShownWindowTest {
 protected:
  ScriptScenesTest() : ShownWindowTest("script-scenes/") {}

  // One key per character, as the keyboard gives them, then Enter.
  void TypeLine(const QString& text) {
    for (QChar c : text) {
      const bool letter = c.isLetter();
      const int key = letter ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
      PressKey(Editor(), key, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
    }
    PressKey(Editor(), Qt::Key_Return);
  }
  // The text from the caret: the start of the line it moved to.
  std::string AtCaret() const { return CurrentEditor->TextRange(CurrentEditor->SelStart(), 7); }
};

TEST_F(ScriptScenesTest, KeysAndItemsWalkTheScenesOfATypedScript) {
  OpenFile("play.scr", test::OurRtf("The Storm"));
  ASSERT_TRUE(IsScript);
  ASSERT_TRUE(form->Action("ScriptMenu")->isVisible());
  PressKey(Editor(), Qt::Key_End, Qt::ControlModifier);
  PressKey(Editor(), Qt::Key_Return);
  TypeLine("Scene 1: The Garden");
  TypeLine("Rain falls");
  TypeLine("Scene 2: The Kitchen");
  TypeLine("Tea is made");
  ASSERT_NE(CurrentEditor->GetText().find("Scene 2: The Kitchen\r\nTea"), std::string::npos);
  // The idle pass finds the scenes, and the section items come with them.
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->Action("Sections")->isVisible(); }, 5000));

  const auto key = [&](Qt::KeyboardModifiers modifiers) {
    return [this, modifiers] { PressKey(Editor(), Qt::Key_F9, modifiers); };
  };
  const auto item = [&](const char* name) {
    return [this, name] { form->Action(name)->trigger(); };
  };
  struct Step {
    const char* how;
    std::function<void()> act;
    std::string lands;  // "" at the end of the text
  } steps[] = {
      {"Shift+F9", key(Qt::ShiftModifier), "Scene 1"},
      {"Next scene", item("NextScene"), "Scene 2"},
      {"Shift+F9 past the last scene", key(Qt::ShiftModifier), ""},
      {"F9", key(Qt::NoModifier), "Scene 2"},
      {"Previous scene", item("PrevScene"), "Scene 1"},
      {"F9 before the first scene: the title", key(Qt::NoModifier), "The Sto"},
  };
  CurrentEditor->Select(0, 0);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.how);
    s.act();
    QApplication::processEvents();
    EXPECT_EQ(AtCaret(), s.lands);
    if (s.lands.empty()) {
      EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->TextLength());
    }
  }
  EXPECT_TRUE(form->Action("ScriptMenu")->isVisible());

  // Another document hides the menu and its keys; the script's tab brings them back.
  const std::string notes = site + "notes.txt";
  std::ofstream(notes, std::ios::binary) << "Scene 9: not a script\r\n";
  OpenInNewTab(notes);
  EXPECT_FALSE(form->Action("ScriptMenu")->isVisible());
  EXPECT_TRUE(form->Action("NextScene")->shortcut().isEmpty());
  form->Action("PrevTab")->trigger();
  EXPECT_TRUE(IsScript);
  EXPECT_TRUE(form->Action("ScriptMenu")->isVisible());
}

}  // namespace
}  // namespace quorrel
