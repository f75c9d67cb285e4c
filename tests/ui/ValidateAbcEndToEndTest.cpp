// The ABC validator on the real program: Debian's demo.abc re-formatted from the
// Web menu's Reformat item, and a key error planted in a tune found with F10, the
// caret on its line and the message shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TypeInto.h"
#include "ui/shell/WebForm.h"
#include "validate/AbcMessages.h"

namespace quorrel {
namespace {

using test::Dialogs;

std::string DemoTunes() {
  std::ifstream in("/usr/share/doc/abcmidi/examples/demo.abc", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ValidateAbcEndToEndTest : public test::ShownWindowTest {
 protected:
  ValidateAbcEndToEndTest() : ShownWindowTest("abc/") {}
  void SetUp() override {
    ShownWindowTest::SetUp();
    for (const char* option : {"Renumber", "CountBars", "FieldOrder"}) {
      MainMenu().SetChecked(option, true);  // as the program starts
    }
  }
  void Trigger(const char* item) {
    QAction* action = form->Action(item);
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
    QApplication::processEvents();
  }
  size_t CaretLine() const { return CurrentEditor->LineFromChar(CurrentEditor->SelStart()); }
  std::string Status() const { return form->StatusPanel(MessagePanel)->text().toStdString(); }
};

TEST_F(ValidateAbcEndToEndTest, ReformatShowsDemoTunesMendedUpToAChordAtFault) {
  // A tune book downloaded, outside any site: tempos without their beat pass.
  std::filesystem::create_directories(site + "Download");
  OpenFile("Download/demo.abc", DemoTunes());
  ASSERT_TRUE(IsAbc);
  ASSERT_TRUE(NotInSite);
  // Its parts follow the keys: the field order check is switched off from its menu.
  Trigger("FieldOrder");
  ASSERT_FALSE(MainMenu().Checked("FieldOrder"));
  // The tempo of the tunes that have none; then the drum chords of the last tune,
  // written from the top down, stop the run with their help.
  Dialogs().Answer({mrYes, mrOk});
  Trigger("Reformat");
  const std::string kDrums = "[^F,,E,,]";
  const std::string& text = CurrentText;
  EXPECT_EQ(Dialogs().Texts(), (std::vector<std::string>{
                                   std::string("Roddy McCawley") + AbcNoTempoQuestion,
                                   AbcChordNotAscending + kDrums + "\rat offset " +
                                       std::to_string(text.rfind("\r\n", text.find(kDrums)) + 2)}));
  EXPECT_EQ(Dialogs().Last().helpContext, AbcChordOrderHelp);
  EXPECT_EQ(CurrentEditor->SelStart(),
            CurrentEditor->OffsetToPos(text.rfind("\r\n", text.find(kDrums)) + 2))
      << "the caret at the chord's line";
  // Continued lines joined, double repeats split, halves written short, fields
  // written the one way.
  EXPECT_EQ(text.find("X: "), std::string::npos);
  EXPECT_NE(text.find("\r\nP:B\r\n:|\r\n|: d c/B/ AB c B/A/ GB|AGFG A>B A2|   d c/B/ AB"),
            std::string::npos);
  for (const char* half : {"c/2", "B/2", "A/2", "e/2"}) {
    EXPECT_EQ(text.find(half), std::string::npos) << half;
  }
  EXPECT_NE(text.find("\r\nR:Hornpipe\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nM:4/4\r\nQ:1/4=112\r\nL:1/4\r\nK:G\r\n%%MIDI program 73"),
            std::string::npos)
      << "the tempo added to Roddy McCawley";
  EXPECT_EQ(text.find("\\\r\n"), std::string::npos) << "no continued line is left";
  EXPECT_EQ(Status().find("Validated"), std::string::npos);
  EXPECT_TRUE(CurrentEditor->Modified());
  // The editor shows the mended text.
  EXPECT_EQ(CurrentEditor->GetText(), text);
}

TEST_F(ValidateAbcEndToEndTest, F10LeavesTheCaretOnAPlantedHeaderError) {
  const char kBook[] =
      "X:1\r\nT:One\r\nM:4/4\r\nQ:1/4=90\r\nK:C\r\nCDEF|\r\n\r\n"
      "X:2\r\nT:Two\r\nM:4/4\r\nQ:1/4=90\r\nK:d\r\nDEFG|\r\n";
  OpenFile("book.abc", kBook);
  ASSERT_FALSE(NotInSite);
  CurrentEditor->Select(0, 0);
  test::PressKey(Editor(), Qt::Key_F10);
  QApplication::processEvents();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, std::string(AbcBadKey) + "\rat offset " +
                                       std::to_string(std::string(kBook).find("K:d")));
  EXPECT_EQ(CaretLine(), 11u);
  EXPECT_EQ(CurrentEditor->LineIndex(11), CurrentEditor->SelStart()) << "at the line's start";
  EXPECT_EQ(Status().find("Validated"), std::string::npos);
}

TEST_F(ValidateAbcEndToEndTest, F10ShowsAChordOutOfOrderWithItsHelp) {
  const char kTune[] = "X:1\r\nT:Chords\r\nM:4/4\r\nQ:1/4=90\r\nK:C\r\n[CEG]2 [CE]2|\r\n[EC]4|\r\n";
  OpenFile("chords.abc", kTune);
  ASSERT_FALSE(NotInSite);
  CurrentEditor->Select(0, 0);
  Dialogs().Answer(mrOk);
  test::PressKey(Editor(), Qt::Key_F10);
  QApplication::processEvents();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, std::string(AbcChordNotAscending) + "[EC]\rat offset " +
                                       std::to_string(std::string(kTune).find("[EC]")));
  EXPECT_EQ(Dialogs().Last().helpContext, AbcChordOrderHelp);
  EXPECT_EQ(CaretLine(), 6u);
}

}  // namespace
}  // namespace quorrel
