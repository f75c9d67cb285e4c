// The Validation menu's commands on real documents, with a scripted validator in
// place of the real ones: which sender the validator gets, the recolour request,
// and the menu items wired to them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "commands/ValidateCommands.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "validate/ColourSyntax.h"
#include "validate/ValTestKit.h"
#include "validate/ValUnit.h"
#include "validate/Validators.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

class ValidateCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    SetMainWindow(&window);
    site = SiteTestFolder() + "commands/";
    fs::remove_all(site);
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    SetValidatorStandIn([this](TValidatorKind, const std::string& sender) {
      senders.push_back(sender);
      if (failOn == CurrentFileName) RaiseErrorAt("Bad", 0);
    });
    InstallValidationCommands();
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    fs::remove_all(SiteTestFolder());
    fs::remove_all(TestHome() + "cache");
  }
  void Open(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    OpenInNewTab(path);
    PCChange();
    senders.clear();
    RecolourRequest = 0;
  }
  static std::string Page() { return "<HTML>\n<Head>\n</Head>\n<Body>\n</Body>\n</HTML>\n"; }

  MemoryMainWindow window;
  std::string site;
  std::vector<std::string> senders;
  std::string failOn;
};

TEST_F(ValidateCommandsTest, TheMenuItemIsTheValidatorsSender) {
  Open(site + "page.htm", Page());
  for (const std::string item : {"Validate", "NoReformat", "Reformat"}) {
    senders.clear();
    RecolourRequest = 0;
    EXPECT_TRUE(MainMenu().Click(item)) << item;
    EXPECT_EQ(senders, std::vector<std::string>{item});
    EXPECT_EQ(RecolourRequest, 1) << item;
    EXPECT_EQ(window.StatusText(MessagePanel), "  Validated");
  }
  EXPECT_EQ(MainMenu().Item("Validate").shortcut, "F10");
}

TEST_F(ValidateCommandsTest, ForeignAndScratchDocumentsAreOnlyReformatted) {
  struct Case {
    std::string path;
    std::string sender;
  } cases[] = {
      {site + "temp.htm", "Reformat"},
      {site + "TEMP.css", "Reformat"},
      {site + "Temp.php", "Reformat"},
      {site + "temporary.htm", "Validate"},
      {site + "attempt.htm", "Validate"},
      {TestHome() + "cache/page.htm", "Reformat"},  // outside any site
  };
  for (const auto& c : cases) {
    Open(c.path, Page());
    ValidateClick("Validate");
    EXPECT_EQ(senders, std::vector<std::string>{c.sender}) << c.path;
  }
}

TEST_F(ValidateCommandsTest, NoRecolourForCommandsThatRecolourThemselves) {
  Open(site + "page.htm", Page());
  for (const std::string command : {"Play", "UpMenu", "ValAll"}) {
    RecolourRequest = 0;
    CurrentCommand = command;
    ValidateClick("Validate");
    EXPECT_EQ(RecolourRequest, 0) << command;
  }
}

TEST_F(ValidateCommandsTest, AnErrorEndsTheCommand) {
  Open(site + "page.htm", Page());
  failOn = site + "page.htm";
  EXPECT_FALSE(MainMenu().Click("Validate"));
  EXPECT_EQ(Dialogs().Last().text, "Bad\rat offset 0");
  EXPECT_EQ(CurrentCommand, "");
}

TEST_F(ValidateCommandsTest, NothingWithoutADocument) {
  EXPECT_TRUE(MainMenu().Click("Validate"));
  EXPECT_TRUE(senders.empty());
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ValidateCommandsTest, ValidateAllTakesThePagesScriptsAndStyleSheets) {
  AppPhase = 1;
  AskServerImages = false;
  for (const char* name : {"a.htm", "b.ASPX", "c.php", "d.cs", "e.css", "f.js", "g.xml"}) {
    const std::string file = name;
    std::ofstream(site + file, std::ios::binary) << (file == "a.htm"   ? Page()
                                                     : file == "e.css" ? "p {\r\n}\r\n"
                                                                       : "x");
  }
  Dialogs().AnswerPath(site);
  EXPECT_TRUE(MainMenu().Click("ValAll"));
  EXPECT_EQ(senders.size(), 5u);
  EXPECT_EQ(window.StatusText(MessagePanel), "  5 files validated");
}

}  // namespace
}  // namespace quorrel::test
