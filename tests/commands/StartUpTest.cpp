#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    docs = DocumentsFolder();
    site = test::TestHome() + "startsite/";
    fs::create_directories(site);
    SetHelpViewer([this](int context) { helps.push_back(context); });
    startDir = fs::current_path();
  }
  void TearDown() override {
    SetHelpViewer(nullptr);
    fs::current_path(startDir);
    fs::remove_all(site);
    for (const auto& entry : fs::directory_iterator(docs)) {
      if (entry.path().extension() == ".Ini") fs::remove(entry.path());
    }
  }

  // One value in a settings file of the documents folder.
  void Ini(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value) {
    TIniFile(docs + file).WriteString(section, key, value);
  }
  std::string Write(const std::string& name, const std::string& text = "text\r\n") {
    std::ofstream(site + name, std::ios::binary) << text;
    return site + name;
  }
  void Start(std::vector<std::string> parameters) {
    StartParameters = std::move(parameters);
    FormActivate();
  }
  std::string Main(const std::string& section, const std::string& key) {
    return TIniFile(docs + "Quorrel.Ini").ReadString(section, key, "<none>");
  }
  bool Shown(const std::string& text) {
    for (const auto& t : test::Dialogs().Texts()) {
      if (t == text || t == MessageText(text)) return true;
    }
    return false;
  }

  test::MemoryMainWindow window;
  std::string docs, site;
  std::vector<int> helps;
  fs::path startDir;
};

TEST_F(StartUpTest, FirstRunWithoutSettings) {
  Start({});
  EXPECT_TRUE(test::Dialogs().Calls().empty()) << "no question on a first run";
  EXPECT_EQ(window.TabCount(), 0);
  EXPECT_EQ(Main("System", "Version"), QUORREL_VERSION);
  EXPECT_EQ(Main("System", "Running"), "1");
  EXPECT_EQ(helps, std::vector<int>{10200});
  EXPECT_TRUE(MainMenu().Checked("CheckRefs"));
  EXPECT_EQ(AppPhase, 1);
  EXPECT_EQ(window.SplashState(), test::MemoryMainWindow::Splash::Closed);
  EXPECT_TRUE(window.PlacementSet());
  TWindowPlacement p = window.Placement();
  EXPECT_EQ(std::vector<int>({p.left, p.top, p.right, p.bottom, p.showCmd}),
            std::vector<int>({0, 200, 950, 700, 3}));
  EXPECT_FALSE(MainMenu().Item("ABCMenu").visible);
  for (int n = 0; n < 10; ++n) EXPECT_FALSE(MainMenu().Item("Recent" + std::to_string(n)).visible);
  EXPECT_EQ(MainMenu().Item("SaveStyle").items.size(), 10u);
  EXPECT_EQ(DefaultTunePath, docs + "Default.abc");
  EXPECT_EQ(AbcCodesPath, docs + "ABCCodes.txt");
  FormActivate();  // later activations do nothing
  EXPECT_EQ(helps.size(), 1u);
}

TEST_F(StartUpTest, VersionCheck) {
  Ini("Quorrel.Ini", "System", "Version", "1.5");
  Start({});
  EXPECT_EQ(helps, std::vector<int>{12000});
  EXPECT_EQ(Main("System", "Version"), QUORREL_VERSION);
}

TEST_F(StartUpTest, SameVersionOpensNoHelp) {
  Ini("Quorrel.Ini", "System", "Version", QUORREL_VERSION);
  Start({});
  EXPECT_TRUE(helps.empty());
}

TEST(StartUp, VersionsCompareFieldByField) {
  struct Case {
    std::string a, b;
    int sign;
  } cases[] = {
      {"", "1.921", -1},       {"1.921", "1.921", 0}, {"1.5", "1.921", -1},
      {"1.921", "1.1000", -1}, {"2.0", "1.999", 1},   {"1.921", "1.921.1", -1},
  };
  for (const auto& c : cases) {
    int result = CompareVersions(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
  }
}

TEST(StartUp, DefaultTuneText) {
  EXPECT_EQ(
      DefaultTune(2026),
      "X:?\r\nT:?\r\nC:Varek Dask, 2026\r\nL:1/4\r\nM:2/2\r\nR:\r\nQ:1/2=112\r\nK:G\r\nP:A\r\n"
      "|: \r\n :|\r\nP:B\r\n|: \r\n :|\r\n\r\n");
}

// The outside file optimiser: the user's own, named in [System] "Optimiser", when it
// is on disk; else our script beside the program, whether it is installed or not.
TEST_F(StartUpTest, TheOptimiserIsTheFirstCandidateOnDisk) {
  const std::string recorder = Write("record-args", "#!/bin/sh\necho \"$@\" >> \"$0.log\"\n");
  fs::permissions(recorder, fs::perms::owner_all);
  const std::string ours = ExecutableDir() + OptimiserScriptName;
  struct Case {
    const char* what;
    std::string key;
    std::string chosen;
  } cases[] = {
      {"the user's script", recorder, recorder},
      {"no key", "", ours},
      {"a key naming nothing", site + "gone", ours},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::ResetAllState();
    SetMainWindow(&window);
    fs::remove(docs + "Quorrel.Ini");
    Ini("Quorrel.Ini", "System", "Version", QUORREL_VERSION);
    if (!c.key.empty()) Ini("Quorrel.Ini", "System", "Optimiser", c.key);
    Start({});
    EXPECT_EQ(OptimiserPath, c.chosen);
  }
}

TEST_F(StartUpTest, UncleanExitOffersToStartWithNoFiles) {
  std::string path = Write("a.htm");
  Ini("Quorrel.Ini", "System", "Running", "1");
  Ini("Quorrel.Ini", "Files", "1", path + "|0");
  test::Dialogs().Answer(mrYes);
  Start({});
  EXPECT_EQ(test::Dialogs().Last().text,
            "Quorrel did not terminate properly.  Start with no files open?");
  EXPECT_EQ(window.TabCount(), 0) << "the last documents are not reopened";
  EXPECT_EQ(Main("System", "Running"), "1");
}

TEST_F(StartUpTest, UncleanExitAnsweredNoReopensTheDocuments) {
  std::string path = Write("a.htm");
  Ini("Quorrel.Ini", "System", "Running", "1");
  Ini("Quorrel.Ini", "Files", "1", path + "|0");
  test::Dialogs().Answer(mrNo);
  Start({});
  EXPECT_EQ(window.TabCount(), 1);
}

TEST_F(StartUpTest, ASecondInstanceAsksNoCrashQuestion) {
  std::string path = Write("a.htm");
  Ini("Quorrel.Ini", "System", "Running", "1");
  Ini("Quorrel.Ini", "Files", "1", path + "|0");
  // The first instance, still running, in a process of its own.
  int ready[2], go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  pid_t first = fork();
  if (first == 0) {
    RegisterInstance("/x/b.htm - Quorrel v. " QUORREL_VERSION);
    char c = 1;
    if (write(ready[1], &c, 1) != 1) _exit(2);
    if (read(go[0], &c, 1) != 1) _exit(3);
    UnregisterInstance();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  Start({});
  EXPECT_TRUE(test::Dialogs().Calls().empty());
  EXPECT_EQ(window.TabCount(), 1);
  ASSERT_EQ(write(go[1], &c, 1), 1);
  waitpid(first, nullptr, 0);
}

TEST_F(StartUpTest, ParametersSkipTheCrashCheck) {
  std::string path = Write("a.htm");
  Start({path});
  EXPECT_EQ(Main("System", "Running"), "<none>");
  EXPECT_TRUE(StartedWithParameters);
  EXPECT_EQ(window.TabCount(), 1);
  EXPECT_FALSE(window.Minimised()) << "an absolute path is a name, not a switch";
  EXPECT_EQ(window.SplashState(), test::MemoryMainWindow::Splash::Closed);
}

TEST_F(StartUpTest, SetFileChosenWithL) {
  std::string path = Write("a.htm");
  Ini("Work.Ini", "Files", "1", path + "|0");
  Start({"/L", "Work"});
  EXPECT_EQ(SettingsIni->FileName(), docs + "Work.Ini");
  EXPECT_EQ(window.TabCount(), 1) << "the set's documents";
  EXPECT_EQ(CurrentSetName, "Work");
  EXPECT_EQ(window.StatusText(MessagePanel), "  Set: Work");
  EXPECT_FALSE(window.Minimised());
}

TEST_F(StartUpTest, MissingSetFileFallsBackToTheStandardSettings) {
  Start({"/l", "Nothing"});
  EXPECT_TRUE(Shown("Error: File " + docs + "Nothing.Ini not found."));
  EXPECT_EQ(SettingsIni->FileName(), MainIni->FileName());
  EXPECT_EQ(CurrentSetName, "");
  EXPECT_FALSE(FileExists(docs + "Nothing.Ini")) << "no set file is made from it";
  EXPECT_EQ(AppPhase, 1);
}

TEST_F(StartUpTest, ASetWithoutDocumentsIsGivenUp) {
  Ini("Quorrel.Ini", "System", "ThisSet", "Empty");
  Ini("Empty.Ini", "System", "Zoom", "120");
  Start({});
  EXPECT_EQ(CurrentSetName, "");
  EXPECT_TRUE(MainMenu().Checked("Z120")) << "the set's settings were read";
}

TEST_F(StartUpTest, NamesAreJoinedAndSeparated) {
  Write("My Page.htm");
  Write("other.css", "body {}\r\n");
  fs::current_path(site);
  Start({"My", "Page.htm", "/", "other.css"});
  EXPECT_EQ(StartFolder, site);
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"My Page.htm", "other.css"}));
  EXPECT_EQ(CurrentFileName, site + "other.css");
  EXPECT_EQ(window.Caption(), site + "other.css - Quorrel v. " QUORREL_VERSION ", 16-Jun-26");
  EXPECT_TRUE(window.TabsVisible());
  EXPECT_FALSE(DocModified);
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(StartUpTest, FindTextAfterTheNames) {
  Write("a.txt", "one\r\ntwo\r\nneedle\r\n");
  fs::current_path(site);
  Start({"a.txt", "/f", "NEEDLE"});
  EXPECT_EQ(CurrentEditor->SelStart(), 8u);
  EXPECT_EQ(StartFindText, "");
}

TEST_F(StartUpTest, AMissingNamedFileIsReportedAndTheStartGoesOn) {
  Write("b.txt");
  fs::current_path(site);
  Start({"missing.htm", "/", "b.txt"});
  EXPECT_TRUE(Shown("File not found:\r" + site + "missing.htm"));
  // The missing document's tab stays, empty and unchanged, to be written in.
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"missing.htm", "b.txt"}));
  EXPECT_EQ(AppPhase, 1);
}

TEST_F(StartUpTest, SwitchesThatEndTheProgram) {
  struct Case {
    std::vector<std::string> parameters;
    std::string message;
    bool question;
  } cases[] = {
      {{"/X", "a.htm"}, "Invalid command-line parameters:\r /X a.htm", true},
      {{"/T"}, "You need \"quotes\" round the whole paramater string.", false},
      {{"/Q"}, "Quick deletion of back-up files (\"/Q\") is not available yet.", false},
      {{"/A"}, "Archiving the site (\"/A\") is not available yet.", false},
      {{"/T Kesh"}, "Finding a tune by its title (\"/T\") is not available yet.", false},
  };
  for (const auto& c : cases) {
    test::ResetAllState();
    test::Dialogs().Clear();
    test::MemoryMainWindow w;
    SetMainWindow(&w);
    if (c.question) test::Dialogs().Answer(mrOk);
    Start(c.parameters);
    EXPECT_TRUE(Shown(c.message)) << c.parameters[0];
    if (c.question) {
      EXPECT_EQ(test::Dialogs().Last().helpContext, 10010);
    }
    EXPECT_TRUE(w.Terminated()) << c.parameters[0];
    EXPECT_TRUE(ProgramEnding);
    EXPECT_EQ(AppPhase, 0) << "the start stops";
    EXPECT_TRUE(w.Minimised()) << "a switch starts the window minimised";
    EXPECT_NE(w.SplashState(), test::MemoryMainWindow::Splash::Shown);
  }
}

// A binary file gets the question the Open dialog asks before its text, cut at the
// first zero byte, can be saved over it.
TEST_F(StartUpTest, ABinaryFileNamedOnTheCommandLineIsQuestionedAsInTheOpenDialog) {
  std::string bytes(
      "\x7F"
      "ELF\x02\x01\x01",
      7);
  bytes += std::string(1, '\0') + std::string(4000, 'x');
  Write("prog", bytes);
  fs::current_path(site);
  test::Dialogs().Answer(mrNo);
  Start({"prog"});
  EXPECT_TRUE(Shown("File size discrepancy.  Use slow read?"));
}

TEST_F(StartUpTest, TheDocumentsOfTheLastRunAreReopened) {
  std::string a = Write("a.txt"), b = Write("b.txt", "0123456789\r\n"), c = Write("c.txt");
  Ini("Quorrel.Ini", "Files", "1", a + "|0");
  Ini("Quorrel.Ini", "Files", "2", "Content|5");
  Ini("Quorrel.Ini", "Files", "3", "http://example.com/x.htm|0");
  Ini("Quorrel.Ini", "Files", "4", TempFolder() + "t.txt|0");
  Ini("Quorrel.Ini", "Files", "5", b + "|4");
  Ini("Quorrel.Ini", "Files", "6", c + "|0");
  Ini("Quorrel.Ini", "Files", "8", a + "|0");  // after a missing key: not read
  Ini("Quorrel.Ini", "System", "File", b);
  std::ofstream(TempFolder() + "t.txt") << "temp\r\n";
  Start({});
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(window.ActiveTab(), 1) << "the document active at the last exit";
  EXPECT_EQ(CurrentFileName, b);
  EXPECT_EQ(CurrentEditor->SelStart(), 4u);
  EXPECT_EQ(CurrentFolder, site);
}

TEST_F(StartUpTest, TheFirstTabIsActiveWhenTheLastOneIsUnknown) {
  std::string a = Write("a.txt"), b = Write("b.txt");
  Ini("Quorrel.Ini", "Files", "1", a + "|0");
  Ini("Quorrel.Ini", "Files", "2", b + "|0");
  Start({});
  EXPECT_EQ(window.ActiveTab(), 0);
}

TEST_F(StartUpTest, RecentMenuFromClosedDocuments) {
  std::string a = Write("a.htm", "<HTML>\r\n<Head>\r\n</Head>\r\n<Body>\r\n</Body>\r\n</HTML>\r\n");
  std::string longName = Write("averyveryverylongname123.htm");
  std::string amp = Write("R&D.htm");
  Ini("Quorrel.Ini", "Closed", "0", a + "|3");
  Ini("Quorrel.Ini", "Closed", "2", longName + "|0");
  Ini("Quorrel.Ini", "Closed", "3", amp + "|0");
  Start({});
  TMenuModel& menu = MainMenu();
  EXPECT_EQ(menu.Item("Recent0").caption, "&0  a.htm");
  EXPECT_EQ(menu.Item("Recent0").hint, a);
  EXPECT_EQ(menu.Item("Recent0").helpContext, 21500);
  EXPECT_TRUE(menu.Item("Recent0").visible);
  EXPECT_FALSE(menu.Item("Recent1").visible);
  EXPECT_EQ(menu.Item("Recent2").caption, "&2  averyveryverylongn...");
  EXPECT_EQ(menu.Item("Recent3").caption, "&3  R&&D.htm");
  EXPECT_EQ(menu.Item("Recent9").tag, 9);
  EXPECT_TRUE(menu.Click("Recent0"));
  EXPECT_EQ(window.Captions(), std::vector<std::string>{"a.htm"});
  EXPECT_EQ(CurrentEditor->SelStart(), 3u);
}

TEST_F(StartUpTest, NamesOutsideAsciiComeBackFromTheFilesListAndTheRecentMenu) {
  // Spelled in Windows-1252, as the program and its settings hold them.
  const std::string folder = site + "Ordner \xE4/";
  const std::string path = folder + "caf\xE9 \xFC.txt";
  fs::create_directories(NativePath(folder));
  std::ofstream(NativePath(path), std::ios::binary) << "0123456789\r\n";
  Ini("Quorrel.Ini", "Files", "1", path + "|4");
  Start({});
  ASSERT_EQ(window.Captions(), std::vector<std::string>{"caf\xE9 \xFC.txt"});
  EXPECT_EQ(CurrentFileName, path);
  EXPECT_EQ(CurrentEditor->GetText(), "0123456789\r\n");
  EXPECT_EQ(CurrentEditor->SelStart(), 4u);
  EXPECT_EQ(window.StatusText(InfoPanel).find("Not found"), std::string::npos)
      << window.StatusText(InfoPanel);
  EXPECT_NE(window.StatusText(InfoPanel).find("12 B"), std::string::npos)
      << window.StatusText(InfoPanel);

  // Closed, it is the first recent document, and the menu opens it again.
  CurrentEditor->Select(6, 0);
  ASSERT_TRUE(MainMenu().Click("CloseTab"));
  EXPECT_TRUE(window.Captions().empty());
  EXPECT_EQ(MainMenu().Item("Recent0").hint, path);
  EXPECT_EQ(SettingsIni->ReadString("Closed", "0", ""), path + "|6");
  ASSERT_TRUE(MainMenu().Click("Recent0"));
  EXPECT_EQ(window.Captions(), std::vector<std::string>{"caf\xE9 \xFC.txt"});
  EXPECT_EQ(CurrentEditor->GetText(), "0123456789\r\n");
  EXPECT_EQ(CurrentEditor->SelStart(), 4u) << "[Files] still names it, and comes first";
  EXPECT_TRUE(test::Dialogs().Calls().empty()) << test::Dialogs().Last().text;
}

TEST_F(StartUpTest, InconsistentOptionsAreMadeConsistent) {
  Ini("Quorrel.Ini", "System", "Condense", "1");
  Ini("Quorrel.Ini", "System", "DelBlanks", "0");
  MainMenu().SetChecked("DelBlanks", false);
  Start({});
  EXPECT_TRUE(Shown(
      "Inconsistent settings: Condense on upload but not Delete blank lines.\rSwitching on Delete "
      "blank lines."));
  EXPECT_TRUE(MainMenu().Checked("DelBlanks"));
}

TEST_F(StartUpTest, ReferenceChecksOffAreQuestioned) {
  for (int answer : {mrYes, mrNo}) {
    test::ResetAllState();
    test::Dialogs().Clear();
    SetMainWindow(&window);
    fs::remove(docs + "Quorrel.Ini");  // no unclean exit left by the round before
    Ini("Quorrel.Ini", "System", "CheckRefs", "0");
    MainMenu().SetChecked("CheckRefs", false);
    test::Dialogs().Answer(answer);
    Start({});
    EXPECT_EQ(test::Dialogs().Last().text,
              "You are not asking for references to be checked.  Won't you change your mind?");
    EXPECT_EQ(test::Dialogs().Last().helpContext, 100600);
    EXPECT_EQ(MainMenu().Checked("CheckRefs"), answer == mrYes);
  }
}

TEST_F(StartUpTest, WindowPlacementAndTabRows) {
  Ini("Quorrel.Ini", "System", "Left", "10");
  Ini("Quorrel.Ini", "System", "Top", "20");
  Ini("Quorrel.Ini", "System", "Right", "300");
  Ini("Quorrel.Ini", "System", "Bottom", "400");
  Ini("Quorrel.Ini", "System", "ShowCmd", "2");
  Ini("Quorrel.Ini", "System", "TabWidth", "12");
  Start({});
  TWindowPlacement p = window.Placement();
  EXPECT_EQ(std::vector<int>({p.left, p.top, p.right, p.bottom, p.showCmd}),
            std::vector<int>({10, 20, 300, 400, 3}))
      << "a window stored minimised starts maximised";
  EXPECT_EQ(TabWidth, 12);
  EXPECT_TRUE(window.MultiRow());
}

TEST_F(StartUpTest, LargeFontsOnANarrowScreen) {
  FontScale = 5;
  window.SetScreenWidth(800);
  Start({});
  EXPECT_TRUE(Shown("Large fonts need higher resolution"));
  FontScale = 4;
}

}  // namespace
}  // namespace quorrel
