// The validation items of the Web menu on ABC documents in the tests' editor: the
// real ABC validator through the dispatcher, from the item to the text written
// back, the caret on the line at fault, the message and the status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "commands/ValidateCommands.h"
#include "platform/IniFile.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "validate/AbcMessages.h"
#include "validate/ColourSyntax.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

class ValidateAbcCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    SetMainWindow(&window);
    site = SiteTestFolder() + "abc/";
    fs::remove_all(site);
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    InstallValidationCommands();
    for (const char* option : {"Renumber", "CountBars", "FieldOrder"}) {
      MainMenu().SetChecked(option, false);
    }
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    fs::remove_all(SiteTestFolder());
  }
  // A tune file of a site, open in a tab, its lines ending CR LF.
  void Open(const std::string& text, const std::string& name = "tunes.abc") {
    const std::string path = site + name;
    std::ofstream(path, std::ios::binary) << text;
    OpenInNewTab(path);
    PCChange();
    ASSERT_TRUE(IsAbc);
    ASSERT_FALSE(NotInSite);
  }
  size_t CaretLine() const { return CurrentEditor->LineFromChar(CurrentEditor->SelStart()); }
  std::string Status() const { return window.StatusText(MessagePanel); }

  MemoryMainWindow window;
  std::string site;
};

const char kTwoTunes[] =
    "X: 1\r\nT:One\r\nM:4/4\r\nQ:1/4=90\r\nK:C\r\nab|\r\n\r\n"
    "X:2\r\nT:Two\r\nM:4/4\r\nQ:1/4=90\r\nK:c\r\nab|\r\n";

TEST_F(ValidateAbcCommandTest, ValidateChecksTheWholeFileAndStopsAtTheLineAtFault) {
  Open(kTwoTunes);
  for (const char* item : {"Validate", "NoReformat", "Reformat"}) {
    EXPECT_TRUE(MainMenu().Available(MainMenu().Item(item))) << item;
  }
  CurrentEditor->Select(0, 0);
  window.SetStatusText(MessagePanel, "");
  EXPECT_FALSE(MainMenu().Click("Validate"));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  const std::string message = Dialogs().Last().text;
  EXPECT_EQ(message.substr(0, message.find("\rat offset")), AbcBadKey);
  // The mend before the stop is written back; the caret stands on the key.
  EXPECT_EQ(CurrentText.substr(0, 5), "X:1\r\n");
  EXPECT_EQ(CaretLine(), 11u);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(Status(), "") << "no \"Validated\" for a run that stopped";
}

TEST_F(ValidateAbcCommandTest, ShiftF10ChecksOnlyTheTuneAtTheCaret) {
  Open(kTwoTunes);
  CurrentEditor->Select(CurrentEditor->LineIndex(2), 0);
  EXPECT_TRUE(MainMenu().Click("NoReformat"));
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_EQ(CaretLine(), 2u) << "the caret stays where it was";
  CurrentEditor->Select(CurrentEditor->LineIndex(13), 1);
  EXPECT_FALSE(MainMenu().Click("NoReformat"));
  EXPECT_EQ(CaretLine(), 11u);
}

TEST_F(ValidateAbcCommandTest, ReformatMendsAndShowsTheHelpContextOfItsStop) {
  Open("X:1\r\nT:t\r\nM:4/4\r\nQ:1/4=90\r\nK:C\r\nab::cd|\r\n\r\nX:2\r\nT:u\r\nC:\r\n");
  CurrentEditor->Select(CurrentEditor->LineIndex(5) + 2, 0);
  EXPECT_TRUE(MainMenu().Click("Reformat"));
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_EQ(CurrentText,
            "X:1\r\nT:t\r\nM:4/4\r\nQ:1/4=90\r\nK:C\r\n|: ab :|\r\n|: cd|\r\n\r\n"
            "X:2\r\nT:u\r\n");
  // Validated, not re-formatted, the empty field is a stop with its help.
  Open("X:1\r\nT:t\r\nC:\r\nM:4/4\r\nQ:1/4=90\r\nK:C\r\nab|\r\n", "empty.abc");
  Dialogs().Answer(mrOk);
  EXPECT_FALSE(MainMenu().Click("Validate"));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().helpContext, AbcFieldValueHelp);
  EXPECT_EQ(Dialogs().Last().text, std::string(AbcNoFieldValue) + "\rat offset 10");
  EXPECT_EQ(CaretLine(), 2u);
}

}  // namespace
}  // namespace quorrel::test
