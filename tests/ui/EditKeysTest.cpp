// The Edit menu's block keys on the real main window with real key events: the
// editor leaves Alt+I, Ctrl+[ and Alt+End to the menu, indent mode takes the arrow
// keys until Esc, and Run of the editor's pop-up menu starts the selected program.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <filesystem>

#include "commands/IndentMode.h"
#include "commands/KeyHooks.h"
#include "platform/Processes.h"
#include "shell/MainWindow.h"
#include "shell/ShellState.h"
#include "shell/SmallForms.h"
#include "support/PlatformKeys.h"
#include "support/RtfConformance.h"
#include "support/ShownWindowTest.h"
#include "ui/shell/PopForm.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

using test::PressKey;

class EditKeysTest : public test::ShownWindowTest {
 protected:
  EditKeysTest() : ShownWindowTest("edit-keys/") {}
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = QString()) {
    PressKey(Editor(), key, modifiers, text);
  }
  std::string Text() const { return CurrentEditor->GetText(); }
};

TEST_F(EditKeysTest, IndentModeOnThreeLines) {
  OpenFile("block.txt", "one\r\ntwo\r\nthree\r\nafter\r\n");
  CurrentEditor->Select(0, CurrentEditor->LineIndex(3));  // three whole lines
  Key(Qt::Key_I, Qt::AltModifier);
  ASSERT_TRUE(InIndentMode());
  EXPECT_EQ(form->StatusText(InfoPanel).find("      " + std::string(IndentInfoText)), 0u);
  struct Step {
    int key;
    std::string text;
  } steps[] = {
      {Qt::Key_Right, "  one\r\n  two\r\n  three\r\nafter\r\n"},
      {Qt::Key_Right, "    one\r\n    two\r\n    three\r\nafter\r\n"},
      {Qt::Key_Left, "  one\r\n  two\r\n  three\r\nafter\r\n"},
  };
  for (const Step& s : steps) {
    Key(s.key);
    EXPECT_EQ(Text(), s.text);
    EXPECT_EQ(CurrentEditor->SelText() + "\r\nafter\r\n", s.text);
  }
  Key(Qt::Key_Escape);
  EXPECT_FALSE(InIndentMode());
  EXPECT_FALSE(ShortcutHandlerReplaced());
  EXPECT_EQ(CurrentEditor->SelLength(), 0u);
  EXPECT_EQ(form->StatusText(InfoPanel), "      ");
  // The arrows are the editor's again, and Esc no longer ends a mode.
  const size_t caret = CurrentEditor->SelStart();
  Key(Qt::Key_Right);
  EXPECT_EQ(CurrentEditor->SelStart(), caret + 1);
  EXPECT_EQ(Text(), "  one\r\n  two\r\n  three\r\nafter\r\n");
}

TEST_F(EditKeysTest, DupBlockAndClearToEndOfLineKeys) {
  OpenFile("lines.txt", "first line\r\nsecond\r\n");
  CurrentEditor->Select(2, 0);
  Key(Qt::Key_BracketLeft, Qt::ControlModifier, QStringLiteral("["));
  EXPECT_EQ(Text(), "first line\r\nfirst line\r\nsecond\r\n");
  EXPECT_EQ(CurrentEditor->SelText(), "first line\r\n");
  CurrentEditor->Select(5, 0);
  Key(Qt::Key_End, Qt::AltModifier);
  EXPECT_EQ(Text(), "first\r\nfirst line\r\nsecond\r\n");
}

TEST_F(EditKeysTest, CaseKeysReachTheMenu) {
  OpenFile("words.txt", "Some Words\r\n");
  CurrentEditor->Select(0, 4);
  Key(Qt::Key_U, Qt::AltModifier);
  EXPECT_EQ(Text(), "SOME Words\r\n");
  CurrentEditor->Select(5, 5);
  Key(Qt::Key_L, Qt::AltModifier);
  EXPECT_EQ(Text(), "SOME words\r\n");
}

TEST_F(EditKeysTest, RunFromThePopUpMenuStartsTheSelectedProgram) {
  const std::string folder = site + "run/";
  std::filesystem::create_directories(folder);
  const std::string selection = "/usr/bin/touch " + folder + "a;b";
  OpenFile("run.txt", selection + "\r\n");
  CurrentEditor->Select(0, selection.size());
  auto* editor = Editor();
  bool offered = false;
  QTimer::singleShot(0, editor, [&] {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    for (QAction* action : popup->actions()) {
      if (action->text() == QStringLiteral("Run")) {
        offered = true;
        popup->setActiveAction(action);
      }
    }
    PressKey(popup, Qt::Key_Return);
  });
  Q_EMIT editor->customContextMenuRequested(QPoint(5, 5));
  ASSERT_TRUE(offered);
  WaitForLastProgram();
  std::vector<std::string> made;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    made.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(made, std::vector<std::string>{"a;b"});
}

TEST_F(EditKeysTest, F9ShowsThePopUpBoxAndAnyKeyClosesIt) {
  InstallPopForm();
  OpenFile("note.rtf", test::OurRtf("Letter\r\n\\par .PU Remember\r\n\\par the milk"));
  ASSERT_TRUE(IsRtf);
  QString shown;
  int height = 0;
  bool closed = false;
  QTimer::singleShot(0, form.get(), [&] {
    auto* pop = qobject_cast<TPopForm*>(QApplication::activeModalWidget());
    ASSERT_NE(pop, nullptr);
    EXPECT_EQ(pop->windowTitle(), "Pop-up");
    shown = pop->Content->toPlainText();
    height = pop->Content->height();
    PressKey(pop->Content, Qt::Key_S, Qt::ControlModifier);
    closed = !pop->isVisible();
  });
  Key(Qt::Key_F9);
  SetPopForm(nullptr);
  EXPECT_EQ(shown, "Remember\nthe milk\n");
  EXPECT_EQ(height, 40 * 3);
  EXPECT_TRUE(closed);
}

}  // namespace
}  // namespace quorrel
