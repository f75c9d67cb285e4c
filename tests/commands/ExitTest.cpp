// Closing tabs and leaving the program, on real files and settings files: the save
// questions, the Recent list, Close all and Close others, what the exit writes and
// what it leaves alone, the set-list questions, a second running instance, errors
// on the way out, and the extracted archive member that must not stay readable.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <filesystem>
#include <fstream>

#include "commands/Exit.h"
#include "commands/OpenDocs.h"
#include "commands/StartUp.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"
#include "platform/Paths.h"
#include "shell/Archive7z.h"
#include "shell/ArchiveMemberWipe.h"
#include "shell/Closing.h"
#include "shell/Commands.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ExitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    docs = DocumentsFolder();
    site = test::TestHome() + "exitsite/";
    fs::create_directories(site);
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    fs::remove_all(site);
    for (const auto& entry : fs::directory_iterator(docs)) {
      if (entry.path().extension() == ".Ini" || entry.path().extension() == ".Bak") {
        fs::remove(entry.path());
      }
    }
  }

  std::string Write(const std::string& name, const std::string& text = "text\r\n") {
    fs::create_directories(fs::path(site + name).parent_path());
    std::ofstream(site + name, std::ios::binary) << text;
    return site + name;
  }
  void Start(std::vector<std::string> parameters = {}) {
    StartParameters = std::move(parameters);
    FormActivate();
  }
  // The next run of the program, on a new window.
  void Restart(test::MemoryMainWindow& next, std::vector<std::string> parameters = {}) {
    test::ResetAllState();
    Dialogs().Clear();
    SetMainWindow(&next);
    Start(std::move(parameters));
  }
  std::string Ini(const std::string& file, const std::string& section, const std::string& key) {
    return TIniFile(docs + file).ReadString(section, key, "<none>");
  }
  std::string Main(const std::string& section, const std::string& key) {
    return Ini("Quorrel.Ini", section, key);
  }
  void SetIni(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
    TIniFile(docs + file).WriteString(section, key, value);
  }
  std::vector<std::string> Tabs(test::MemoryMainWindow& w) {
    std::vector<std::string> paths;
    for (int tab = 0; tab < w.TabCount(); ++tab) paths.push_back(TabPath(tab));
    return paths;
  }
  // Opens a document and types at its start.
  void OpenEdited(const std::string& path, const std::string& typed) {
    OpenInNewTab(path);
    CurrentEditor->Select(0, 0);
    CurrentEditor->SetSelText(typed);
  }
  std::vector<DialogKind> Kinds() {
    std::vector<DialogKind> kinds;
    for (const auto& call : Dialogs().Calls()) kinds.push_back(call.kind);
    return kinds;
  }

  test::MemoryMainWindow window;
  std::string docs, site;
};

TEST_F(ExitTest, ClosingAChangedTabOffersYesNoAndCancel) {
  Start();
  struct Case {
    int answer;
    bool staysOpen;
    std::string onDisk;
  } cases[] = {
      {mrCancel, true, "text\r\n"},
      {mrNo, false, "text\r\n"},
      {mrYes, false, "new text\r\n"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n);
    Dialogs().Clear();
    const std::string path = Write("doc" + std::to_string(n++) + ".txt");
    OpenEdited(path, "new ");
    Dialogs().Answer(c.answer);
    EXPECT_EQ(MainMenu().Click("CloseTab"), !c.staysOpen);
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_EQ(Dialogs().Last().text, "Save changes to " + path + "?");
    EXPECT_EQ(Dialogs().Last().kind, DialogKind::YesNoCancel);
    EXPECT_EQ(Slurp(path), c.onDisk);
    EXPECT_EQ(CloseRefused, !c.staysOpen);
    if (c.staysOpen) {
      EXPECT_EQ(Tabs(window), std::vector<std::string>{path});
      EXPECT_EQ(CurrentEditor->GetText(), "new text\r\n") << "the edit is kept";
      EXPECT_TRUE(CurrentEditor->Modified());
      CurrentEditor->SetModified(false);
      EXPECT_TRUE(MainMenu().Click("CloseTab"));
    }
    EXPECT_EQ(window.TabCount(), 0);
    EXPECT_EQ(CurrentEditor, nullptr);
  }
}

TEST_F(ExitTest, NewDocumentsAndWorkFilesCloseWithoutAQuestion) {
  Start();
  const std::string work = TempFolder() + "work.txt";
  std::ofstream(work, std::ios::binary) << "w\r\n";
  OpenEdited(work, "more ");
  ASSERT_TRUE(MainMenu().Click("NewTXT"));
  CurrentEditor->SetSelText("typed");
  ASSERT_TRUE(CurrentEditor->Modified());
  EXPECT_TRUE(MainMenu().Click("CloseTab"));
  EXPECT_TRUE(MainMenu().Click("CloseTab"));
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(window.TabCount(), 0);
  EXPECT_EQ(Slurp(work), "w\r\n");
  fs::remove(work);
}

TEST_F(ExitTest, ClosedFilesGoToTheTopOfTheRecentListWithTheirCaret) {
  for (int key = 0; key <= 9; ++key) {
    SetIni("Quorrel.Ini", "Closed", std::to_string(key), "/old/" + std::to_string(key) + "|0");
  }
  Start();
  const std::string a = Write("a.txt", "alpha\r\n"), b = Write("b.txt", "beta\r\n");
  OpenInNewTab(a);
  CurrentEditor->Select(3, 0);
  ASSERT_TRUE(MainMenu().Click("CloseTab"));
  EXPECT_EQ(Main("Closed", "0"), a + "|3");
  EXPECT_EQ(Main("Closed", "1"), "/old/0|0");
  EXPECT_EQ(Main("Closed", "10"), "/old/9|0") << "the oldest moves down, not out";
  EXPECT_EQ(MainMenu().Item("Recent0").caption, "&0  a.txt") << "the menu follows";

  ASSERT_TRUE(MainMenu().Click("Recent0"));
  EXPECT_EQ(CurrentFileName, a);
  EXPECT_EQ(CurrentEditor->SelStart(), 3u) << "back where it was";
  OpenInNewTab(b);
  ASSERT_TRUE(MainMenu().Click("CloseTab"));
  EXPECT_EQ(Main("Closed", "0"), b + "|0");
  EXPECT_EQ(Main("Closed", "1"), a + "|3");

  // A file closed again keeps its place in the list, with its new caret.
  CurrentEditor->Select(1, 0);
  ASSERT_TRUE(MainMenu().Click("CloseTab"));
  EXPECT_EQ(Main("Closed", "0"), b + "|0");
  EXPECT_EQ(Main("Closed", "1"), a + "|1");
  EXPECT_EQ(Main("Closed", "2"), "/old/0|0");

  // New documents and Close all leave the list as it is.
  ASSERT_TRUE(MainMenu().Click("NewTXT"));
  ASSERT_TRUE(MainMenu().Click("CloseTab"));
  OpenInNewTab(a);
  ASSERT_TRUE(MainMenu().Click("CloseAll"));
  EXPECT_EQ(Main("Closed", "0"), b + "|0");
  EXPECT_EQ(Main("Closed", "1"), a + "|1");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ExitTest, CloseAllAsksYesOrNoForEachChangedDocumentAndForgetsTheList) {
  Start();
  const std::string a = Write("a.txt"), b = Write("b.txt"), c = Write("c.txt");
  OpenEdited(a, "A ");
  OpenEdited(b, "B ");
  OpenInNewTab(c);
  TIniFile(docs + "Quorrel.Ini").WriteString("Files", "1", a + "|0");
  TIniFile(docs + "Quorrel.Ini").WriteString("System", "ThisSet", "Garden");
  Dialogs().Answer({mrYes, mrNo});
  ASSERT_TRUE(MainMenu().Click("CloseAll"));
  EXPECT_EQ(Dialogs().Texts(),
            (std::vector<std::string>{"Save changes to " + b + "?", "Save changes to " + a + "?"}))
      << "from the last tab to the first";
  EXPECT_EQ(Kinds(), (std::vector<DialogKind>{DialogKind::YesNo, DialogKind::YesNo}));
  EXPECT_EQ(Slurp(b), "B text\r\n");
  EXPECT_EQ(Slurp(a), "text\r\n");
  EXPECT_EQ(window.TabCount(), 0);
  EXPECT_TRUE(OpenFiles().empty());
  EXPECT_EQ(Main("Files", "1"), "<none>");
  EXPECT_EQ(Main("System", "ThisSet"), "");
  EXPECT_EQ(window.FormHidden(), 1) << "the current document was unchanged";
  EXPECT_TRUE(window.FormShown());
  EXPECT_EQ(AppPhase, 1);
  EXPECT_FALSE(ClosingAll);

  // A fresh count of tabs: slots start from 0 again.
  OpenInNewTab(c);
  EXPECT_EQ(OpenFiles(), std::vector<std::string>{c});
}

TEST_F(ExitTest, CloseOthersKeepsTheCurrentDocumentInTheFirstSlot) {
  Start();
  const std::string a = Write("a.txt"), b = Write("b.txt"), c = Write("c.txt");
  OpenInNewTab(a);
  OpenInNewTab(b);
  OpenInNewTab(c);
  window.ActivateTab(1);
  PCChange();
  const int64_t age = Documents[CurrentEditor->Tag()].FileAge;
  ASSERT_NE(age, 0);
  ASSERT_TRUE(MainMenu().Click("CloseOthers"));
  EXPECT_EQ(Tabs(window), std::vector<std::string>{b});
  EXPECT_EQ(OpenFiles(), std::vector<std::string>{b});
  EXPECT_EQ(CurrentEditor->Tag(), 0);
  EXPECT_EQ(CurrentFileName, b);
  EXPECT_EQ(Documents[0].FileAge, age) << "a change on disk is still noticed";
}

TEST_F(ExitTest, ExitAsksAboutEveryChangedDocumentAndTheTabsComeBackNextTime) {
  Start();
  const std::string a = Write("a.txt", "alpha\r\n"), b = Write("b.txt", "beta\r\n"),
                    c = Write("c.txt", "gamma\r\n");
  OpenInNewTab(a);
  CurrentEditor->Select(2, 0);
  OpenEdited(b, "new ");                    // the caret is after the typed text
  ASSERT_TRUE(MainMenu().Click("NewTXT"));  // not listed, and no gap in the list either
  OpenEdited(c, "zz");
  CurrentEditor->Select(1, 0);
  window.ActivateTab(3);
  PCChange();
  Dialogs().Answer({mrNo, mrYes});
  EXPECT_TRUE(FormCloseQuery());
  EXPECT_EQ(Dialogs().Texts(),
            (std::vector<std::string>{"Save changes to " + c + "?", "Save changes to " + b + "?"}));
  EXPECT_EQ(Kinds(), (std::vector<DialogKind>{DialogKind::YesNo, DialogKind::YesNo}));
  EXPECT_EQ(Slurp(c), "gamma\r\n");
  EXPECT_EQ(Slurp(b), "new beta\r\n");
  EXPECT_EQ(window.TabCount(), 0);
  EXPECT_EQ(Main("Files", "1"), a + "|2");
  EXPECT_EQ(Main("Files", "2"), b + "|4");
  EXPECT_EQ(Main("Files", "3"), c + "|1");
  EXPECT_EQ(Main("Files", "4"), "<none>");
  EXPECT_EQ(Main("System", "File"), c);
  EXPECT_EQ(Main("System", "Running"), "<none>");
  EXPECT_EQ(Main("System", "ThisSet"), "");
  EXPECT_EQ(Main("System", "WordWrap"), MainMenu().Checked("WordWrap") ? "1" : "0");
  EXPECT_EQ(Main("System", "ShowCmd"), "3");
  EXPECT_EQ(Main("System", "Bottom"), "700");
  EXPECT_EQ(SettingsIni, nullptr) << "released";

  test::MemoryMainWindow next;
  Restart(next);
  EXPECT_TRUE(Dialogs().Calls().empty()) << "a clean exit: no crash question";
  EXPECT_EQ(Tabs(next), (std::vector<std::string>{a, b, c}));
  EXPECT_EQ(next.ActiveTab(), 2);
  const size_t carets[] = {2, 4, 1};
  for (int tab = 0; tab < 3; ++tab) EXPECT_EQ(next.TabEditor(tab)->SelStart(), carets[tab]);
  SetMainWindow(&window);
}

TEST_F(ExitTest, ExitNoUpdateWritesNothingButStillAsks) {
  Start();
  const std::string a = Write("a.txt");
  OpenEdited(a, "x");
  TIniFile(docs + "Quorrel.Ini").DeleteKey("System", "Running");
  const std::string before = Slurp(docs + "Quorrel.Ini");
  ASSERT_TRUE(MainMenu().Click("ExitNoUpdate"));
  EXPECT_EQ(ExitMode, TExitMode::NoUpdate);
  Dialogs().Answer(mrNo);
  EXPECT_TRUE(FormCloseQuery());
  EXPECT_EQ(Dialogs().Texts(), std::vector<std::string>{"Save changes to " + a + "?"});
  EXPECT_EQ(Slurp(docs + "Quorrel.Ini"), before);
  EXPECT_EQ(Slurp(a), "text\r\n");
}

TEST_F(ExitTest, NamedDocumentsLeaveTheStandardListAloneUnlessRemembered) {
  const std::string a = Write("a.txt"), b = Write("b.txt");
  SetIni("Quorrel.Ini", "Files", "1", a + "|0");
  Start({b});
  EXPECT_TRUE(FormCloseQuery());
  EXPECT_EQ(Main("Files", "1"), a + "|0");
  EXPECT_EQ(Main("Files", "2"), "<none>");
  EXPECT_EQ(Main("System", "ThisSet"), "<none>");

  test::MemoryMainWindow next;
  Restart(next, {b});
  ExitClick("ExitRemember");
  EXPECT_TRUE(FormCloseQuery());
  EXPECT_EQ(Main("Files", "1"), b + "|0");
  EXPECT_EQ(Main("Files", "2"), "<none>");
  EXPECT_EQ(Main("System", "ThisSet"), "");
  SetMainWindow(&window);
}

TEST_F(ExitTest, AChangedSetListIsOfferedToTheSetOrTheStandardFile) {
  struct Case {
    std::vector<int> answers;
    std::string setFiles2;  // the set's second entry afterwards
    std::string mainFiles1;
    std::string thisSet;
  } cases[] = {
      {{mrYes}, "b.txt|0", "<none>", "Garden"},
      {{mrNo, mrYes}, "<none>", "a.txt|0", ""},
      {{mrNo, mrNo}, "<none>", "<none>", "Garden"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n++);
    test::MemoryMainWindow w;
    test::ResetAllState();
    Dialogs().Clear();
    SetMainWindow(&w);
    fs::remove(docs + "Quorrel.Ini");
    fs::remove(docs + "Garden.Ini");
    const std::string a = Write("a.txt"), b = Write("b.txt");
    SetIni("Quorrel.Ini", "System", "ThisSet", "Garden");
    SetIni("Garden.Ini", "Files", "1", a + "|0");
    Start();
    ASSERT_EQ(CurrentSetName, "Garden");
    OpenInNewTab(b);
    for (int answer : c.answers) Dialogs().Answer(answer);
    EXPECT_TRUE(FormCloseQuery());
    EXPECT_EQ(Dialogs().Texts().at(0), "Update set Garden with this list of files?");
    if (c.answers.size() > 1) {
      EXPECT_EQ(Dialogs().Texts().at(1), "Update the standard Ini file with this list of files?");
    }
    const auto inSite = [&](const std::string& v) { return v == "<none>" ? v : site + v; };
    EXPECT_EQ(Ini("Garden.Ini", "Files", "1"), a + "|0");
    EXPECT_EQ(Ini("Garden.Ini", "Files", "2"), inSite(c.setFiles2));
    EXPECT_EQ(Main("Files", "1"), inSite(c.mainFiles1));
    EXPECT_EQ(Main("System", "ThisSet"), c.thisSet);
  }
  SetMainWindow(&window);
}

TEST_F(ExitTest, OnlyTheLastInstanceToLeaveClearsRunning) {
  const std::string a = Write("a.txt");
  SetIni("Quorrel.Ini", "Files", "1", a + "|0");
  Start();
  ASSERT_EQ(Main("System", "Running"), "1");
  const std::string title = a + " - Quorrel v. " QUORREL_VERSION;
  RegisterInstance(title);
  // The other instance shows the same document, so its window title is the same.
  int ready[2], go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  const pid_t other = fork();
  if (other == 0) {
    RegisterInstance(title);
    char c = 1;
    if (write(ready[1], &c, 1) != 1) _exit(2);
    if (read(go[0], &c, 1) != 1) _exit(3);
    UnregisterInstance();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_TRUE(FormCloseQuery());
  EXPECT_EQ(Main("System", "Running"), "1") << "another instance still runs";

  ASSERT_EQ(write(go[1], &c, 1), 1);
  waitpid(other, nullptr, 0);
  EXPECT_TRUE(FormCloseQuery());
  EXPECT_EQ(Main("System", "Running"), "<none>");
  UnregisterInstance();
}

TEST_F(ExitTest, SettingsThatCannotBeWrittenKeepTheProgramOpen) {
  Start();
  const std::string a = Write("a.txt");
  OpenEdited(a, "x");
  const std::string unwritable = site + "gone/Set.Ini";
  SettingsIni = std::make_unique<TIniFile>(unwritable);
  EXPECT_FALSE(FormCloseQuery());
  ASSERT_EQ(Dialogs().Texts().size(), 2u);
  EXPECT_EQ(Dialogs().Texts()[0], "Error: file " + unwritable + " does not exist.");
  EXPECT_NE(Dialogs().Texts()[1].find("Unable to write settings file"), std::string::npos);
  EXPECT_EQ(Tabs(window), std::vector<std::string>{a});
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_TRUE(window.FormShown());
  EXPECT_EQ(Main("System", "Running"), "1") << "a crash from now on is still noticed";
  EXPECT_EQ(CurrentCommand, "");
}

TEST_F(ExitTest, ASaveThatFailsAtExitKeepsEveryDocument) {
  Start();
  const std::string a = Write("a.txt"), b = Write("sub/b.txt");
  OpenEdited(a, "A ");
  OpenEdited(b, "B ");
  fs::remove_all(site + "sub");
  Dialogs().Answer(mrYes);
  EXPECT_FALSE(RunGuarded([] {
    if (FormCloseQuery()) ADD_FAILURE() << "the program would close";
  }));
  EXPECT_EQ(Dialogs().Last().text, "Unable to create\r" + b);
  EXPECT_EQ(Tabs(window), (std::vector<std::string>{a, b}));
  EXPECT_EQ(window.TabEditor(0)->GetText(), "A text\r\n");
  EXPECT_EQ(window.TabEditor(1)->GetText(), "B text\r\n");
  EXPECT_TRUE(window.FormShown());
  EXPECT_EQ(Main("System", "Running"), "1");
  EXPECT_EQ(AppPhase, 1);
  EXPECT_EQ(CurrentCommand, "");
}

TEST_F(ExitTest, AWipedFileIsOverwrittenWhereItLies) {
  const std::string member = TempFolder() + "member.txt";
  std::ofstream(member, std::ios::binary) << "secret\r\nline\n";
  // A second name for the same bytes shows what became of them on disk.
  const std::string peek = TempFolder() + "peek";
  fs::create_hard_link(member, peek);
  WipeFile(member);
  EXPECT_FALSE(fs::exists(member));
  EXPECT_EQ(Slurp(peek), "??????\r\n????\n");
  fs::remove(peek);
  EXPECT_NO_THROW(WipeFile(member)) << "a file already gone is no error";
}

TEST_F(ExitTest, AnArchiveMemberLeavesNoReadableCopy) {
  const std::string work = site + "zip/";
  Write("zip/notes.txt", "Member text\r\n");
  QProcess zip;
  zip.setWorkingDirectory(QString::fromStdString(work));
  zip.start("7z", {"a", "-pkey", "--", "archive.7z", "notes.txt"});
  ASSERT_TRUE(zip.waitForFinished(20000));
  ASSERT_EQ(zip.exitCode(), 0);
  const std::string before = Write("a.txt");
  SetIni("Quorrel.Ini", "Files", "1", before + "|0");
  Start();

  const std::string member = TempFolder() + "notes.txt";
  for (const bool atExit : {false, true}) {
    SCOPED_TRACE(atExit);
    Dialogs().AnswerText("key");
    OpenThis(work + "archive.7z");
    ASSERT_EQ(CurrentFileName, member);
    CurrentEditor->SetSelText("edited ");
    SaveClick("NoValidate");  // leaves the readable first text as its back-up
    ASSERT_TRUE(fs::exists(member + ".Bak"));
    CurrentEditor->SetSelText("more ");
    if (atExit) {
      EXPECT_TRUE(FormCloseQuery());
    } else {
      ASSERT_TRUE(MainMenu().Click("CloseTab"));
    }
    EXPECT_FALSE(fs::exists(member));
    EXPECT_FALSE(fs::exists(member + ".Bak"));
    EXPECT_EQ(ExtractedMember, "");
    EXPECT_EQ(Dialogs().Calls().size(), 0u) << "a work file is not asked about";
  }
  EXPECT_TRUE(MemberExtractedThisRun());
  EXPECT_EQ(Main("Files", "1"), before + "|0") << "the archive's member is no document list";
}

}  // namespace
}  // namespace quorrel
