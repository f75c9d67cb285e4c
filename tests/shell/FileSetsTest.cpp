// File sets on real settings files in the test's documents folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/FileSets.h"
#include "shell/MenuModel.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/OpenDocuments.h"
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

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class FileSetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& entry : std::filesystem::directory_iterator(DocumentsFolder())) {
      std::filesystem::remove_all(entry.path());
    }
    OpenMainIni();
    SettingsIni = std::make_unique<TIniFile>(MainIni->FileName());
    // What the user answers in the sets dialog, and what the rest of the shell does
    // when a set is opened: the documents close, start-up reads the new settings.
    TFileSetHost& host = FileSetHost();
    host.chooseSet = [this](bool saveAs, std::string& name) {
      dialogModes.push_back(saveAs);
      if (setAnswers.empty()) {
        ADD_FAILURE() << "Unscripted sets dialog";
        return false;
      }
      auto [ok, answer] = setAnswers.front();
      setAnswers.erase(setAnswers.begin());
      if (ok) name = answer;
      return ok;
    };
    host.closeAll = [this] {
      ++closeAllCalls;
      if (!closeAllResult) return false;
      ClearDocuments();
      return true;
    };
    host.restartStartUp = [this] {
      ++restarts;
      ClearDocuments();
      for (int i = 1; SettingsIni->ValueExists("Files", std::to_string(i)); ++i) {
        std::string entry = SettingsIni->ReadString("Files", std::to_string(i), "");
        AddDocument(entry.substr(0, entry.find('|')));
      }
      ResetPersistedOptions();
      LoadPersistedOptions();
    };
    host.setFileListRoot = [this](const std::string& folder) { fileListRoot = folder; };
    host.clearFindRoot = [this] { findRootCleared = true; };
  }

  static std::string Docs() { return DocumentsFolder(); }
  static std::string MainPath() { return Docs() + MainIniName; }

  void AnswerSet(const std::string& name) { setAnswers.emplace_back(true, name); }
  void CancelSet() { setAnswers.emplace_back(false, ""); }

  std::vector<std::pair<bool, std::string>> setAnswers;
  std::vector<bool> dialogModes;
  int closeAllCalls = 0;
  bool closeAllResult = true;
  int restarts = 0;
  std::string fileListRoot = "unset";
  bool findRootCleared = false;
};

TEST_F(FileSetsTest, SetNamesThatCannotNameASetAreRefused) {
  struct Case {
    std::string name;
    bool accepted;
  } cases[] = {
      {"Garden", true},   {"Web site 2", true},  {"M\xFCller.v2", true}, {"", false},
      {"   ", false},     {"Quorrel", false},  // the standard settings file itself
      {"quorrel", false}, {"QUORREL", false},    {"../Garden", false},   {"..", false},
      {"a..b", false},    {"sub/Garden", false}, {"/etc/passwd", false}, {"sub\\Garden", false},
      {"a=b", false},  // could not be listed in [Sets]
      {"[Files", false},  {";note", false},      {"tab\there", false},   {" Garden", false},
      {"Garden ", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SetNameProblem(c.name).empty(), c.accepted) << SetNameProblem(c.name);
  }
  EXPECT_EQ(SetFileName("Garden"), Docs() + "Garden.Ini");
}

TEST_F(FileSetsTest, WithoutASetTheSettingsAreTheStandardFile) {
  SettingsIni.reset();
  OpenSetIni();
  ASSERT_TRUE(SettingsIni);
  EXPECT_EQ(SettingsIni->FileName(), MainIni->FileName());
  EXPECT_FALSE(MainIni->SectionExists("Sets"));
}

TEST_F(FileSetsTest, TheFirstUseOfAnOldFormSetMakesItsFile) {
  WriteFile(MainPath(),
            "[System]\r\nWordWrap=0\r\nRunning=1\r\n"
            "[Files]\r\n1=/home/u/site/index.htm|120\r\n"
            "[Sets]\r\nOther=Y\r\n"
            "[#garden]\r\n/home/u/garden/a.htm=1\r\n/home/u/garden/b.css=1\r\n"
            "[#Other]\r\n/home/u/other/x.htm=1\r\n"
            "[New]\r\nstray=1\r\n"
            "[Find]\r\n1=needle\r\n");
  MainIni->Reload();
  CurrentSetName = "Garden";
  OpenSetIni();

  const std::string setPath = Docs() + "Garden.Ini";
  ASSERT_TRUE(std::filesystem::exists(setPath));
  EXPECT_EQ(SettingsIni->FileName(), setPath);
  TIniFile set(setPath);
  // The set's own documents, in order, and MainIni's options and histories.
  EXPECT_EQ(set.ReadSectionValues("Files"),
            (std::vector<std::string>{"1=/home/u/garden/a.htm", "2=/home/u/garden/b.css"}));
  EXPECT_EQ(set.ReadString("System", "WordWrap", ""), "0");
  EXPECT_EQ(set.ReadString("Find", "1", ""), "needle");
  // Nothing of the other sets.
  for (const std::string& section : set.ReadSections()) {
    EXPECT_NE(section.front(), '#') << section;
    EXPECT_NE(section, "New");
    EXPECT_NE(section, "Sets");
  }
  // MainIni lists the set and forgets its old form, and nothing else.
  EXPECT_EQ(MainIni->ReadString("Sets", "Garden", ""), "Y");
  EXPECT_FALSE(MainIni->SectionExists("#garden"));
  EXPECT_TRUE(MainIni->SectionExists("#Other"));
  EXPECT_EQ(MainIni->ReadString("Files", "1", ""), "/home/u/site/index.htm|120");
}

TEST_F(FileSetsTest, AnExistingSetFileIsOpenedAsItIs) {
  const std::string setPath = Docs() + "Garden.Ini";
  WriteFile(setPath, "[Files]\r\n1=/g/a.htm|5\r\n[System]\r\nWordWrap=1\r\n");
  MainIni->WriteString("#Garden", "/old.htm", "1");
  CurrentSetName = "Garden";
  OpenSetIni();
  EXPECT_EQ(SettingsIni->FileName(), setPath);
  EXPECT_EQ(ReadFile(setPath), "[Files]\r\n1=/g/a.htm|5\r\n[System]\r\nWordWrap=1\r\n");
  EXPECT_EQ(MainIni->ReadString("Sets", "Garden", ""), "Y");
  EXPECT_FALSE(MainIni->SectionExists("#Garden"));
}

TEST_F(FileSetsTest, AnUnsafeSetNameNeverReachesAnotherFile) {
  std::filesystem::create_directories(Docs() + "sub");
  WriteFile(Docs() + "sub/Evil.Ini", "[Files]\r\n1=/x|0\r\n");
  const std::string mainBefore = "[System]\r\nThisSet=Quorrel\r\n";
  WriteFile(MainPath(), mainBefore);
  MainIni->Reload();
  for (const char* name : {"Quorrel", "sub/Evil", "../Documents/Quorrel"}) {
    SCOPED_TRACE(name);
    Dialogs().Clear();
    CurrentSetName = name;
    OpenSetIni();
    EXPECT_TRUE(CurrentSetName.empty());
    EXPECT_EQ(SettingsIni->FileName(), MainIni->FileName());
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_FALSE(MainIni->SectionExists("Sets"));
  }
  EXPECT_EQ(ReadFile(MainPath()), mainBefore);
}

TEST_F(FileSetsTest, SaveWritesTheOpenDocumentsAndKeepsTheOldList) {
  const std::string setPath = Docs() + "Garden.Ini";
  WriteFile(setPath, "[Files]\r\n1=/g/old.htm|5\r\n[System]\r\nZoom=120\r\n");
  CurrentSetName = "Garden";
  OpenSetIni();
  test::SetOpenFiles({"/g/a.htm", "", "/g/b.css", "/g/c.abc"});  // a closed tab leaves a blank
  SetSaveClick();
  EXPECT_EQ(TIniFile(setPath).ReadSectionValues("Files"),
            (std::vector<std::string>{"1=/g/a.htm", "2=/g/b.css", "3=/g/c.abc"}));
  EXPECT_EQ(TIniFile(setPath).ReadString("System", "Zoom", ""), "120");
  EXPECT_EQ(ReadFile(setPath + ".Bak"), "[Files]\r\n1=/g/old.htm|5\r\n[System]\r\nZoom=120\r\n");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(FileSetsTest, SaveAsMakesTheNameTheCurrentSet) {
  MainIni->WriteString("System", "WordWrap", "0");
  MainIni->WriteString("Files", "1", "/site/index.htm|0");
  test::SetOpenFiles({"/g/a.htm", "/g/b.htm"});

  // Without a set, Save asks for a name.
  AnswerSet("  Garden ");
  SetSaveClick();
  EXPECT_EQ(dialogModes, std::vector<bool>{true});
  EXPECT_EQ(CurrentSetName, "Garden");
  EXPECT_EQ(SettingsIni->FileName(), Docs() + "Garden.Ini");
  TIniFile set(Docs() + "Garden.Ini");
  EXPECT_EQ(set.ReadSectionValues("Files"), (std::vector<std::string>{"1=/g/a.htm", "2=/g/b.htm"}));
  EXPECT_EQ(set.ReadString("System", "WordWrap", ""), "0");
  EXPECT_EQ(MainIni->ReadSection("Sets"), std::vector<std::string>{"Garden"});
  // The standard file keeps its own list.
  EXPECT_EQ(MainIni->ReadString("Files", "1", ""), "/site/index.htm|0");

  // An existing name asks first; No leaves everything as it was.
  test::SetOpenFiles({"/g/z.htm"});
  AnswerSet("garden");
  Dialogs().Answer(mrNo);
  SetSaveAsClick();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "garden already exists.\rOverwrite it?");
  EXPECT_EQ(TIniFile(Docs() + "Garden.Ini").ReadSectionValues("Files").size(), 2u);

  // Cancel, or an empty name, does nothing.
  CancelSet();
  SetSaveAsClick();
  AnswerSet("");
  SetSaveAsClick();
  EXPECT_EQ(CurrentSetName, "Garden");
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
}

TEST_F(FileSetsTest, SaveAsRefusesTheStandardFileAndOtherFolders) {
  MainIni->WriteString("Files", "1", "/site/index.htm|0");
  const std::string mainBefore = ReadFile(MainPath());
  test::SetOpenFiles({"/g/a.htm"});
  for (const char* name : {"Quorrel", "../Outside", "sub/Inner"}) {
    SCOPED_TRACE(name);
    Dialogs().Clear();
    AnswerSet(name);
    SetSaveAsClick();
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_EQ(Dialogs().Last().kind, DialogKind::Message);
    EXPECT_TRUE(CurrentSetName.empty());
  }
  EXPECT_EQ(ReadFile(MainPath()), mainBefore);
  EXPECT_FALSE(std::filesystem::exists(Docs() + "../Outside.Ini"));
  EXPECT_FALSE(std::filesystem::exists(Docs() + "Quorrel.Ini.Bak"));
}

TEST_F(FileSetsTest, DeleteRemovesTheSetAndReturnsToTheStandardFile) {
  CurrentSetName = "Garden";
  OpenSetIni();
  const std::string setPath = Docs() + "Garden.Ini";
  ASSERT_TRUE(std::filesystem::exists(setPath));

  Dialogs().Answer(mrNo);
  SetDeleteClick();
  EXPECT_EQ(Dialogs().Last().text, "Garden\rDelete this set?");
  EXPECT_TRUE(std::filesystem::exists(setPath));
  EXPECT_EQ(CurrentSetName, "Garden");

  Dialogs().Answer(mrYes);
  SetDeleteClick();
  EXPECT_FALSE(std::filesystem::exists(setPath));
  EXPECT_FALSE(MainIni->ValueExists("Sets", "Garden"));
  EXPECT_EQ(Dialogs().Last().text, MessageText("Garden - set deleted."));
  EXPECT_TRUE(CurrentSetName.empty());
  // What the program writes at exit goes to the standard file, not to a new copy
  // of the deleted set.
  EXPECT_EQ(SettingsIni->FileName(), MainIni->FileName());
  SettingsIni->WriteString("System", "WordWrap", "1");
  EXPECT_FALSE(std::filesystem::exists(setPath));
}

TEST_F(FileSetsTest, OpeningASetReplacesTheDocumentsAndOptions) {
  // The standard file: one document, word wrap on.
  MainIni->WriteString("Files", "1", "/site/index.htm|0");
  MainIni->WriteString("System", "WordWrap", "1");
  MainIni->WriteString("Sets", "Garden", "Y");
  MainIni->WriteString("Sets", "Books", "Y");
  WriteFile(Docs() + "Garden.Ini",
            "[System]\r\nWordWrap=0\r\nBrowserD=1\r\nBrowserI=0\r\n"
            "[Files]\r\n1=/g/plants/a.htm|12\r\n2=/g/b.css|0\r\n");
  test::SetOpenFiles({"/site/index.htm"});
  LoadPersistedOptions();
  ASSERT_TRUE(MainMenu().Checked("WordWrap"));

  InstallFileSetCommands();
  AnswerSet("Garden");
  EXPECT_TRUE(MainMenu().Click("SetOpen"));
  EXPECT_EQ(dialogModes, std::vector<bool>{false});
  EXPECT_EQ(closeAllCalls, 1);
  EXPECT_EQ(CurrentSetName, "Garden");
  EXPECT_EQ(SettingsIni->FileName(), Docs() + "Garden.Ini");
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(OpenFiles(), (std::vector<std::string>{"/g/plants/a.htm", "/g/b.css"}));
  EXPECT_FALSE(MainMenu().Checked("WordWrap"));
  EXPECT_TRUE(MainMenu().Checked("BrowserD"));
  EXPECT_EQ(fileListRoot, "/g/plants/");
  EXPECT_TRUE(findRootCleared);

  // "None" goes back to the standard file, its documents and options.
  MainIni->WriteString("System", "ThisSet", "Garden");
  EXPECT_TRUE(MainMenu().Click("SetNone"));
  EXPECT_TRUE(CurrentSetName.empty());
  EXPECT_FALSE(MainIni->ValueExists("System", "ThisSet"));
  EXPECT_EQ(SettingsIni->FileName(), MainIni->FileName());
  EXPECT_EQ(restarts, 2);
  EXPECT_EQ(OpenFiles(), std::vector<std::string>{"/site/index.htm"});
  EXPECT_TRUE(MainMenu().Checked("WordWrap"));
  EXPECT_EQ(fileListRoot, "/site/");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(FileSetsTest, OpenStopsWhenNothingCanBeOpenedOrADocumentStaysOpen) {
  // No sets: the message with its help topic.
  Dialogs().Answer(mrYes);
  SetOpenClick();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "No sets defined.");
  EXPECT_EQ(Dialogs().Last().helpContext, 40100);
  EXPECT_TRUE(dialogModes.empty());

  // Cancelled dialog, or a close the user cancelled: nothing changes.
  MainIni->WriteString("Sets", "Garden", "Y");
  CancelSet();
  SetOpenClick();
  closeAllResult = false;
  AnswerSet("Garden");
  SetOpenClick();
  EXPECT_EQ(closeAllCalls, 1);
  EXPECT_TRUE(CurrentSetName.empty());
  EXPECT_EQ(restarts, 0);
  EXPECT_FALSE(std::filesystem::exists(Docs() + "Garden.Ini"));

  // A name in [Sets] that cannot name a set is refused before anything closes.
  closeAllResult = true;
  MainIni->WriteString("Sets", "../Garden", "Y");
  AnswerSet("../Garden");
  SetOpenClick();
  EXPECT_EQ(closeAllCalls, 1);
  EXPECT_EQ(Dialogs().Last().kind, DialogKind::Message);
}

TEST_F(FileSetsTest, NoneIsRefusedAfterAStartWithParameters) {
  StartedWithParameters = true;
  CurrentSetName = "Garden";
  SetNoneClick();
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("Cannot do this when called using \"/L\" parameter"));
  EXPECT_EQ(CurrentSetName, "Garden");
  EXPECT_EQ(closeAllCalls, 0);
}

TEST_F(FileSetsTest, TheSetMenuNamesTheCurrentSet) {
  TMenuModel& menu = MainMenu();
  test::SetOpenFiles({"/g/a.htm"});
  SetMenuClick();
  EXPECT_FALSE(menu.Item("SetSave").enabled);
  EXPECT_FALSE(menu.Item("SetDelete").enabled);
  EXPECT_EQ(menu.Item("SetSave").caption, "&Save");

  CurrentSetName = "Garden";
  SetMenuClick();
  EXPECT_TRUE(menu.Item("SetSave").enabled);
  EXPECT_EQ(menu.Item("SetSave").caption, "&Save Garden");
  EXPECT_EQ(menu.Item("SetDelete").caption, "Delete Garden");

  // With no document open, Open runs at once.
  ClearDocuments();
  MainIni->WriteString("Sets", "Books", "Y");
  CancelSet();
  SetMenuClick();
  EXPECT_EQ(dialogModes, std::vector<bool>{false});
  EXPECT_FALSE(menu.Item("SetSave").enabled);
}

TEST_F(FileSetsTest, SortPutsTheSetsInOrderInTheStandardFile) {
  for (const char* name : {"pears", "Apples", "figs", "Bananas"}) {
    MainIni->WriteString("Sets", name, "Y");
  }
  std::vector<std::string> names = SetNames();
  SortSets(names);
  const std::vector<std::string> sorted = {"Apples", "Bananas", "figs", "pears"};
  EXPECT_EQ(names, sorted);
  EXPECT_EQ(TIniFile(MainPath()).ReadSection("Sets"), sorted);
}

}  // namespace
}  // namespace quorrel
