// The tune-writing commands in the real window: File > New > ABC brings the
// template, and a "<" typed into a new tune offers the broken-rhythm line, which
// goes above the K: line while the caret stays after the "<".
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <string>

#include "music/AbcOptions.h"
#include "shell/Documents.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TypeInto.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

using test::Dialogs;

class AbcEditEndToEndTest : public test::ShownWindowTest {
 protected:
  AbcEditEndToEndTest() : ShownWindowTest("abcedit/") {}
  void Trigger(const char* name) {
    QAction* action = form->Action(name);
    ASSERT_NE(action, nullptr) << name;
    ASSERT_TRUE(action->isEnabled()) << name;
    action->trigger();
    QApplication::processEvents();
  }
};

TEST_F(AbcEditEndToEndTest, NewAbcDocumentHoldsTheDefaultTune) {
  OpenFile("notes.txt", "notes\n");
  Trigger("NewABC");
  EXPECT_EQ(CurrentFileName, "Untitled.abc");
  EXPECT_EQ(CurrentText.find("X:?\r\nT:?\r\nC:Varek Dask, "), 0u);
  EXPECT_NE(CurrentText.find("K:G\r\nP:A\r\n|:"), std::string::npos);
}

TEST_F(AbcEditEndToEndTest, TypingBrokenRhythmOffersTheRatioLine) {
  OpenFile("tunes.abc", "");
  SetAbcOption("CheckChords", true);
  Trigger("NewTune");
  ASSERT_EQ(CurrentText, DefaultTuneText);
  // Into the first bar of part A.
  const size_t bar = CurrentText.find("|: ") + 3;
  CurrentEditor->Select(EditorPosOf(bar), 0);
  test::TypeText(Editor(), "A");
  Dialogs().Answer(mrYes);
  test::TypeText(Editor(), "<");
  test::TypeText(Editor(), "B");
  SetAbcOption("CheckChords", false);

  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text,
            "As you're using broken rhythm, would you like \"%%MIDI ratio 3 1\" added?");
  GetEditorText();
  EXPECT_NE(CurrentText.find("Q:1/2=112\r\n%%MIDI ratio 3 1\r\nK:G\r\n"), std::string::npos);
  EXPECT_NE(CurrentText.find("|: A<B"), std::string::npos) << "the caret stayed after the \"<\"";
}

}  // namespace
}  // namespace quorrel
