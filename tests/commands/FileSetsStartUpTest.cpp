// File sets with the real start-up: opening a set replaces the open documents and
// the options with the set's, and "None" brings back those of the standard file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/FileSets.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

class FileSetsStartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    SetHelpViewer([](int) {});
    docs = DocumentsFolder();
    for (const auto& entry : fs::directory_iterator(docs)) fs::remove_all(entry.path());
    site = test::TestHome() + "setsite/";
    fs::remove_all(site);
    fs::create_directories(site + "garden");
    fs::create_directories(site + "books");
  }
  void TearDown() override {
    SetHelpViewer(nullptr);
    fs::remove_all(site);
    // The settings a start wrote (its "Running" mark among them) must not reach the
    // next test, which would take them for a crashed run.
    for (const auto& entry : fs::directory_iterator(docs)) fs::remove_all(entry.path());
  }

  std::string Write(const std::string& name) {
    // A whole page, which opening does not re-lay.
    std::ofstream(site + name, std::ios::binary) << "<HTML>\r\n<Head>\r\n</Head>\r\n<Body>\r\n<p>"
                                                 << name << "</p>\r\n</Body>\r\n</HTML>\r\n";
    return site + name;
  }

  // The open documents, in tab order.
  std::vector<std::string> Tabs() {
    std::vector<std::string> paths;
    for (int i = 0; i < window.TabCount(); ++i)
      paths.push_back(Documents.at(window.TabEditor(i)->Tag()).FileName);
    return paths;
  }

  test::MemoryMainWindow window;
  std::string docs, site;
};

TEST_F(FileSetsStartUpTest, OpeningASetReplacesDocumentsAndOptionsAndNoneGoesBack) {
  const std::string book = Write("books/index.htm");
  const std::string plants = Write("garden/plants.htm");
  const std::string roses = Write("garden/roses.htm");
  {
    TIniFile main(docs + MainIniName);
    main.WriteString("Files", "1", book + "|3");
    main.WriteString("System", "WordWrap", "1");
    main.WriteString("System", "Version", QUORREL_VERSION);
    main.WriteString("Sets", "Garden", "Y");
    TIniFile garden(docs + "Garden.Ini");
    garden.WriteString("Files", "1", plants + "|0");
    garden.WriteString("Files", "2", roses + "|0");
    garden.WriteString("System", "WordWrap", "0");
    garden.WriteString("System", "DT5", "1");
    garden.WriteString("System", "DTXS", "0");  // (a later item of the group would win)
    garden.WriteString("System", "DTXT", "0");
  }
  FormActivate();
  ASSERT_EQ(Tabs(), std::vector<std::string>{book});
  EXPECT_TRUE(MainMenu().Checked("WordWrap"));
  EXPECT_TRUE(MainMenu().Checked("DTXT"));

  // Until the exit commands exist, closing every document is done here.
  FileSetHost().closeAll = [this] {
    while (window.TabCount() > 0) window.CloseTab(window.TabCount() - 1);
    ClearDocuments();
    CurrentEditor = nullptr;
    return true;
  };
  std::string offered;
  FileSetHost().chooseSet = [&](bool saveAs, std::string& name) {
    EXPECT_FALSE(saveAs);
    offered = SetNames().front();
    name = "Garden";
    return true;
  };
  EXPECT_TRUE(MainMenu().Click("SetOpen"));
  EXPECT_EQ(offered, "Garden");
  EXPECT_EQ(CurrentSetName, "Garden");
  EXPECT_EQ(SettingsIni->FileName(), docs + "Garden.Ini");
  EXPECT_EQ(Tabs(), (std::vector<std::string>{plants, roses}));
  EXPECT_FALSE(MainMenu().Checked("WordWrap"));
  EXPECT_TRUE(MainMenu().Checked("DT5"));
  EXPECT_FALSE(MainMenu().Checked("DTXT"));
  EXPECT_EQ(window.StatusText(MessagePanel), "  Set: Garden");

  // An option changed now is announced, and kept in the set's file at exit.
  EXPECT_TRUE(MainMenu().Click("CheckH"));
  EXPECT_EQ(window.StatusText(MessagePanel), "  Check H1-H6 is now OFF");
  SavePersistedOptions();
  EXPECT_EQ(TIniFile(docs + "Garden.Ini").ReadString("System", "CheckH", ""), "0");
  EXPECT_EQ(TIniFile(docs + MainIniName).ReadString("System", "CheckH", "absent"), "absent");

  EXPECT_TRUE(MainMenu().Click("SetNone"));
  EXPECT_TRUE(CurrentSetName.empty());
  EXPECT_EQ(SettingsIni->FileName(), MainIni->FileName());
  EXPECT_EQ(Tabs(), std::vector<std::string>{book});
  EXPECT_TRUE(MainMenu().Checked("WordWrap"));
  EXPECT_TRUE(MainMenu().Checked("DTXT"));
  EXPECT_TRUE(MainMenu().Checked("CheckH"));
  EXPECT_TRUE(test::Dialogs().Calls().empty());
}

}  // namespace
}  // namespace quorrel
