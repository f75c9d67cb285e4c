// F10's menu item on Classic ASP pages and ".VBA" files in the tests' editor: the
// real ASP checker and HTML validator through the dispatcher, from the item to the
// text, the caret, the message and the status.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "commands/ValidateCurrentFile.h"
#include "commands/ValidateCommands.h"
#include "edit/Sections.h"
#include "platform/IniFile.h"
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "validate/ColourSyntax.h"
#include "validate/ValUnit.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

class ValidateAspCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    SetMainWindow(&window);
    site = SiteTestFolder() + "asp/";
    fs::remove_all(site);
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    InstallValidationCommands();
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    StartMode = StartNormal;
    fs::remove_all(SiteTestFolder());
  }
  std::string Open(const std::string& name, const std::string& text) {
    const std::string path = site + name;
    std::ofstream(path, std::ios::binary) << text;
    OpenInNewTab(path);
    PCChange();
    Dialogs().Clear();
    return path;
  }
  std::string Status() const { return window.StatusText(MessagePanel); }

  MemoryMainWindow window;
  std::string site;
};

const char kPage[] =
    "<!DOCTYPE html>\n"
    "<html lang=\"en\">\n"
    "<head>\n"
    "<title>Orders</title>\n"
    "</head>\n"
    "<body>\n"
    "<%\n"
    "If count > 0 Then\n"
    "Response.Write count ' how many\n"
    "End If\n"
    "%>\n"
    "<p>Thanks</p>\n"
    "</body>\n"
    "</html>\n";

TEST_F(ValidateAspCommandTest, F10ReindentsTheScriptAndLaysOutThePage) {
  Open("orders.asp", kPage);
  ASSERT_TRUE(IsAsp);
  EXPECT_TRUE(MainMenu().Click("Validate"));
  // The script by the ASP checker, the title by the HTML validator, in one F10.
  EXPECT_NE(CurrentText.find("If count > 0 Then\n  Response.Write count" + std::string(17, ' ') +
                             "' how many\nEnd If\n"),
            std::string::npos)
      << CurrentText;
  EXPECT_NE(CurrentText.find("<head>\n  <title>Orders</title>\n</head>"), std::string::npos)
      << CurrentText;
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ValidateAspCommandTest, AStopPutsTheCaretAtTheLineAndShowsItsWords) {
  Open("stop.asp", "<%\nIf a Then\nx = 1\nIf b Then c = 2\nEnd If\n%>\n");
  StartMode = StartReformatting;
  RecolourRequest = RecolourNone;
  EXPECT_FALSE(MainMenu().Click("Validate"));
  EXPECT_EQ(Dialogs().Last().text,
            "Quorrel doesn't support code after \"then\" around line 4:\rIf b Then c = 2");
  // The lines done so far are in the editor, the caret at the start of the line.
  EXPECT_EQ(CurrentText, "<%\nIf a Then\n  x = 1\nIf b Then c = 2\nEnd If\n%>\n");
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->LineIndex(3));
  EXPECT_EQ(StartMode, StartNormal);
  EXPECT_EQ(RecolourRequest, RecolourFull);
  EXPECT_NE(Status(), "  Validated");
}

TEST_F(ValidateAspCommandTest, TheSectionAtTheCaretIsCheckedAlone) {
  const std::string macro =
      "Sub One\r\nIf a Then\r\nb\r\nEnd If\r\nEnd Sub\r\n"
      "Sub Two\r\nIf c Then\r\nd\r\nEnd If\r\nEnd Sub\r\n";
  Open("macros.vba", macro);
  CurrentEditor->Select(CurrentEditor->LineIndex(7), 0);  // in Sub Two
  EXPECT_TRUE(MainMenu().Click("Validate"));
  EXPECT_EQ(CurrentText,
            "Sub One\r\nIf a Then\r\nb\r\nEnd If\r\nEnd Sub\r\n"
            "Sub Two\r\nIf c Then\r\n  d\r\nEnd If\r\nEnd Sub\r\n");
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_TRUE(CurrentEditor->Modified());

  // Validate all checks a file whole, wherever its caret stands.
  Open("all.vba", macro);
  CurrentEditor->Select(CurrentEditor->LineIndex(7), 0);
  CurrentCommand = ValidateAllCommand;
  ValidateCurrentFile("Validate");
  CurrentCommand.clear();
  EXPECT_EQ(CurrentText,
            "Sub One\r\nIf a Then\r\n  b\r\nEnd If\r\nEnd Sub\r\n"
            "Sub Two\r\nIf c Then\r\n  d\r\nEnd If\r\nEnd Sub\r\n");
}

TEST_F(ValidateAspCommandTest, ABigPageCheckedAgainWithinAMinuteRunsOneRound) {
  const std::string page = std::string(kPage).insert(std::string(kPage).find("<p>"),
                                                       "<p>" + std::string(100000, 'w') + "\n");
  const std::string path = Open("big.asp", page);
  struct Case {
    long secondsBack;
    int passes;
  } cases[] = {{30, 2}, {90, 1}};
  for (const Case& c : cases) {
    const std::time_t when = std::time(nullptr) - c.secondsBack;
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    SettingsIni->WriteString(path, "Validated", stamp);
    MainMenu().Click("Validate");
    // A page the HTML validator leaves as it is needs one pass; within the minute
    // the count says two, so that no second round could follow.
    EXPECT_EQ(ValidationPass, c.passes) << c.secondsBack;
    EXPECT_EQ(Status(), "  Validated");
  }
}

}  // namespace
}  // namespace quorrel::test
