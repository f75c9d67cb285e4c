// Options and histories kept in real settings files in the test's documents folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/MenuModel.h"
#include "shell/PersistedOptions.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(MainPath());
    OpenMainIni();
    SettingsIni = std::make_unique<TIniFile>(MainIni->FileName());
  }
  static std::string MainPath() { return DocumentsFolder() + MainIniName; }

  // A start of the program: the settings are read again from disk and the menu
  // starts from its table.
  void Restart() {
    SettingsIni.reset();
    MainIni.reset();
    MainMenu().Reset();
    OpenMainIni();
    SettingsIni = std::make_unique<TIniFile>(MainIni->FileName());
    ResetPersistedOptions();
    LoadPersistedOptions();
  }

  void WriteSystem(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [key, value] : values) SettingsIni->WriteString("System", key, value);
  }

  std::vector<std::string> Checked(std::initializer_list<const char*> names) {
    std::vector<std::string> checked;
    for (const char* name : names) {
      if (MainMenu().Checked(name)) checked.push_back(name);
    }
    return checked;
  }
};

TEST_F(SettingsTest, TheTableHoldsSixtyOneDistinctOptionsOfTheMenu) {
  std::set<std::string> names;
  for (const TPersistedOption& option : PersistedOptionTable) {
    ASSERT_NE(option.component, nullptr);
    EXPECT_TRUE(names.insert(option.component).second) << option.component;
    TMenuItem* item = MainMenu().Find(option.component);
    ASSERT_NE(item, nullptr) << option.component;
    EXPECT_TRUE(item->checkable) << option.component;
  }
  EXPECT_EQ(names.size(), 61u);
  // Registered in the table's order, at every start-up run afresh.
  LoadPersistedOptions();
  ASSERT_EQ(PersistedOptions.size(), 61u);
  EXPECT_EQ(PersistedOptions.front(), "Below");
  EXPECT_EQ(PersistedOptions[14], "SF");
  EXPECT_EQ(PersistedOptions.back(), "SmartQuotes");
  ResetPersistedOptions();
  EXPECT_TRUE(PersistedOptions.empty());
  // No more than 61 can be registered.
  LoadPersistedOptions();
  EXPECT_THROW(LoadMenuCheck("Debug", false), std::logic_error);
}

TEST_F(SettingsTest, WithoutASettingsFileEveryOptionTakesItsDefault) {
  ASSERT_FALSE(std::filesystem::exists(MainPath()));
  // Start from states that differ from every default.
  for (const TPersistedOption& option : PersistedOptionTable) {
    MainMenu().Item(option.component).checked = !option.defaultValue;
  }
  LoadPersistedOptions();
  EXPECT_EQ(Checked({"BrowserO", "BrowserD", "BrowserI"}), std::vector<std::string>{"BrowserI"});
  EXPECT_EQ(Checked({"DT3F", "DT4S", "DT4T", "DT5", "DTXS", "DTXT", "DTNone"}),
            std::vector<std::string>{"DTXT"});
  EXPECT_EQ(Checked({"ToMDash", "ToNDash", "LeaveAlone"}), std::vector<std::string>{"ToMDash"});
  EXPECT_TRUE(MainMenu().Checked("WordWrap"));
  EXPECT_TRUE(MainMenu().Checked("Prompt"));
  EXPECT_FALSE(MainMenu().Checked("FindCase"));
  EXPECT_FALSE(MainMenu().Checked("SmartQuotes"));
  EXPECT_TRUE(MainMenu().Checked("ShowErrors"));
  EXPECT_TRUE(MainMenu().Checked("ValSave"));
  // Reading creates no file.
  EXPECT_FALSE(std::filesystem::exists(MainPath()));
}

TEST_F(SettingsTest, RadioGroupsFromAStoredFile) {
  struct Case {
    std::vector<std::pair<const char*, const char*>> stored;
    std::vector<const char*> group;
    std::vector<std::string> checked;
  } cases[] = {
      // Several items of one group set: the last one registered wins.
      {{{"BrowserO", "1"}, {"BrowserD", "1"}, {"BrowserI", "0"}},
       {"BrowserO", "BrowserD", "BrowserI"},
       {"BrowserD"}},
      {{{"BrowserO", "1"}, {"BrowserD", "0"}, {"BrowserI", "0"}},
       {"BrowserO", "BrowserD", "BrowserI"},
       {"BrowserO"}},
      // None of the three: the internal browser.
      {{{"BrowserO", "0"}, {"BrowserD", "0"}, {"BrowserI", "0"}},
       {"BrowserO", "BrowserD", "BrowserI"},
       {"BrowserI"}},
      {{{"DT3F", "0"}, {"DT4S", "1"}, {"DT4T", "0"}, {"DT5", "1"}, {"DTXS", "0"}, {"DTXT", "0"}},
       {"DT3F", "DT4S", "DT4T", "DT5", "DTXS", "DTXT", "DTNone"},
       {"DT5"}},
      // No document type: "None".
      {{{"DT3F", "0"}, {"DT4S", "0"}, {"DT4T", "0"}, {"DT5", "0"}, {"DTXS", "0"}, {"DTXT", "0"}},
       {"DT3F", "DT4S", "DT4T", "DT5", "DTXS", "DTXT", "DTNone"},
       {"DTNone"}},
      {{{"ToMDash", "1"}, {"ToNDash", "1"}, {"LeaveAlone", "0"}},
       {"ToMDash", "ToNDash", "LeaveAlone"},
       {"ToNDash"}},
      // No dash conversion: "Leave well alone".
      {{{"ToMDash", "0"}, {"ToNDash", "0"}, {"LeaveAlone", "0"}},
       {"ToMDash", "ToNDash", "LeaveAlone"},
       {"LeaveAlone"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.checked.front());
    MainMenu().Reset();
    std::filesystem::remove(MainPath());
    for (const auto& [key, value] : c.stored) SettingsIni->WriteString("System", key, value);
    ResetPersistedOptions();
    LoadPersistedOptions();
    std::vector<std::string> checked;
    for (const char* name : c.group) {
      if (MainMenu().Checked(name)) checked.push_back(name);
    }
    EXPECT_EQ(checked, c.checked);
  }
}

TEST_F(SettingsTest, ShowErrorsAndValidateOnSaveAreOnAtEveryStart) {
  WriteSystem({{"ShowErrors", "0"}, {"ValSave", "0"}});
  MainMenu().SetChecked("ShowErrors", false);
  MainMenu().SetChecked("ValSave", false);
  LoadPersistedOptions();
  EXPECT_TRUE(MainMenu().Checked("ShowErrors"));
  EXPECT_TRUE(MainMenu().Checked("ValSave"));
  // Neither is written back.
  SavePersistedOptions();
  EXPECT_EQ(SettingsIni->ReadString("System", "ShowErrors", "?"), "0");
  EXPECT_EQ(SettingsIni->ReadString("System", "ValSave", "?"), "0");
}

TEST_F(SettingsTest, OptionsSurviveARestart) {
  LoadPersistedOptions();
  TMenuModel& menu = MainMenu();
  menu.SetChecked("WordWrap", false);
  menu.SetChecked("FindCase", true);  // a check box of the find dialog
  menu.SetChecked("SubDirs", false);  // one of the file-list form
  menu.SetChecked("BrowserO", true);
  menu.SetChecked("DT4S", true);
  menu.SetChecked("LeaveAlone", true);
  menu.SetChecked("SmartQuotes", true);
  SavePersistedOptions();

  Restart();
  EXPECT_FALSE(MainMenu().Checked("WordWrap"));
  EXPECT_TRUE(MainMenu().Checked("FindCase"));
  EXPECT_FALSE(MainMenu().Checked("SubDirs"));
  EXPECT_EQ(Checked({"BrowserO", "BrowserD", "BrowserI"}), std::vector<std::string>{"BrowserO"});
  EXPECT_EQ(Checked({"DT3F", "DT4S", "DT4T", "DT5", "DTXS", "DTXT", "DTNone"}),
            std::vector<std::string>{"DT4S"});
  EXPECT_EQ(Checked({"ToMDash", "ToNDash", "LeaveAlone"}), std::vector<std::string>{"LeaveAlone"});
  EXPECT_TRUE(MainMenu().Checked("SmartQuotes"));

  // Stored under the component names in [System], as "1" and "0".
  const std::string text = ReadFile(MainPath());
  EXPECT_NE(text.find("[System]\r\n"), std::string::npos);
  EXPECT_NE(text.find("WordWrap=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("FindCase=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("BrowserD=0\r\n"), std::string::npos);
}

TEST_F(SettingsTest, TwoSettingsObjectsOnOneFileKeepEachOthersWrites) {
  // The exit sequence: MainIni notes the set and that no instance runs any more and
  // is released; then the options go in through SettingsIni on the same file.
  MainIni->WriteBool("System", "Running", true);
  MainIni->WriteString("System", "Version", "1.0");
  LoadPersistedOptions();
  MainMenu().SetChecked("WordWrap", false);

  MainIni->WriteString("System", "ThisSet", "Garden");
  MainIni->DeleteKey("System", "Running");
  MainIni->WriteString("System", "Version", QUORREL_VERSION);
  MainIni.reset();
  SavePersistedOptions();
  SettingsIni->WriteString("Find", "1", "needle");
  SettingsIni.reset();

  TIniFile again(MainPath());
  EXPECT_FALSE(again.ValueExists("System", "Running"));
  EXPECT_EQ(again.ReadString("System", "ThisSet", ""), "Garden");
  EXPECT_EQ(again.ReadString("System", "Version", ""), QUORREL_VERSION);
  EXPECT_EQ(again.ReadString("System", "WordWrap", ""), "0");
  EXPECT_EQ(again.ReadString("Find", "1", ""), "needle");
}

TEST_F(SettingsTest, HistoriesAreReadFromKeysOneToTwenty) {
  for (int i = 1; i <= 22; ++i) {
    if (i == 3) continue;  // a gap is skipped
    SettingsIni->WriteString("Find", std::to_string(i), "text " + std::to_string(i));
  }
  SettingsIni->WriteString("Find", "2", "");  // present though empty
  const std::vector<std::string> history = LoadComboHistory("Find");
  ASSERT_EQ(history.size(), 19u);
  EXPECT_EQ(history[0], "text 1");
  EXPECT_EQ(history[1], "");
  EXPECT_EQ(history[2], "text 4");
  EXPECT_EQ(history.back(), "text 20");
  EXPECT_TRUE(LoadComboHistory("URL").empty());
}

TEST_F(SettingsTest, AHistoryKeepsTwentyDistinctEntriesNewestFirst) {
  auto numbered = [](int count) {
    std::vector<std::string> list;
    for (int i = 1; i <= count; ++i) list.push_back("e" + std::to_string(i));
    return list;
  };
  struct Case {
    const char* name;
    std::vector<std::string> before;
    std::string text;
    size_t size;
    std::string first;
    std::string last;
  } cases[] = {
      {"new text at the top", {"a", "b"}, "c", 3, "c", "b"},
      {"known text moves to the top", {"a", "b", "c"}, "c", 3, "c", "b"},
      {"full list drops its oldest", numbered(20), "new", 20, "new", "e19"},
      {"full list with a known text keeps the rest", numbered(20), "e20", 20, "e20", "e19"},
      {"an empty text is not added", {"a", "b"}, "", 2, "a", "b"},
      {"an over-long list is cut", numbered(25), "new", 20, "new", "e19"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> history = c.before;
    AnyExit(history, c.text);
    EXPECT_EQ(history.size(), c.size);
    EXPECT_EQ(history.front(), c.first);
    EXPECT_EQ(history.back(), c.last);
    EXPECT_EQ(std::set<std::string>(history.begin(), history.end()).size(), history.size());
  }
  // Letter case makes a different entry; a hand-edited list loses every copy.
  std::vector<std::string> history = {"Find", "x", "find", "x"};
  AnyExit(history, "x");
  EXPECT_EQ(history, (std::vector<std::string>{"x", "Find", "find"}));
}

TEST_F(SettingsTest, OptionAnnouncementsUseTheCaptionAsShown) {
  struct Case {
    const char* name;
    bool checked;
    const char* text;
  } cases[] = {
      {"WordWrap", false, "Word wrap is now OFF"},
      {"CheckRefs", true, "Check references is now ON"},
      {"CheckAmp", true, "Check \"&\" is now ON"},
      {"SF", true, "Search Files in folder... is now ON"},
  };
  for (const Case& c : cases) {
    TMenuItem item;
    item.caption = MainMenu().Item(c.name).caption;
    item.checked = c.checked;
    EXPECT_EQ(OptionAnnouncement(item), c.text);
  }
  EXPECT_EQ(StripAccelerator("&Save && go&"), "Save & go");
}

TEST_F(SettingsTest, TheBrowserParameterIsAskedForAndKept) {
  WebParm = "-private";
  Dialogs().AnswerText("--new-window");
  InstallSettingsCommands();
  EXPECT_TRUE(MainMenu().Click("Parameter"));
  ASSERT_EQ(Dialogs().Inputs().size(), 1u);
  EXPECT_EQ(Dialogs().Inputs()[0].caption, "Quorrel");
  EXPECT_EQ(Dialogs().Inputs()[0].prompt, "Enter parameter to browser");
  EXPECT_EQ(Dialogs().Inputs()[0].value, "-private");
  EXPECT_EQ(WebParm, "--new-window");
  EXPECT_EQ(TIniFile(MainPath()).ReadString("System", "WebParm", ""), "--new-window");

  // Cancel changes nothing.
  Dialogs().CancelText();
  ParameterClick();
  EXPECT_EQ(WebParm, "--new-window");
}

}  // namespace
}  // namespace quorrel
