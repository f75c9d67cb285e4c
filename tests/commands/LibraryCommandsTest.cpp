// The Web menu's Library commands, each started from its menu item on a real site
// in a temporary folder: pages at depths 0, 1 and 2 made from a template, library
// items whose comments differ in letter case from the files, runs over every page
// with their reports, and the files outside the site left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "commands/LibraryCommands.h"
#include "commands/OpenDocs.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "publish/SiteFileList.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ProgUnit.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TemplatePages.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// A plain page that uses the menu item.
std::string ItemPage(const std::string& body) {
  return "<!DOCTYPE html>\n<html>\n<head>\n<title>Plain</title>\n</head>\n<body>\n"
         "<!-- #BeginLibraryItem \"/Library/nav.lbi\" -->stale<!-- #EndLibraryItem -->\n" +
         body + "\n</body>\n</html>\n";
}

// The run's box as the user sees it: every line, and the report when it stays up.
class ReportView : public TProgressView {
 public:
  void RunPrepared() override {}
  void LineAdded(const std::string& line) override {
    lines.push_back(line);
    if (onLine) onLine(line);
  }
  void StateChanged() override {}
  void ShowBox() override {}
  void HideBox() override {}
  void ShowModalBox() override { shownModally = true; }
  void ProcessMessages() override {}
  void PrintLines(const std::vector<std::string>&) override { printed = true; }
  std::vector<std::string> lines;
  bool printed = false;
  bool shownModally = false;
  std::function<void(const std::string&)> onLine;
};

class LibraryCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    SetProgressView(&report);
    site = SiteTestFolder() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    fs::remove_all(site);
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    AppPhase = PhaseRunning;
    InstallLibraryCommands();
    WriteNoServerDetails(site);
    Write("Templates/main.dwt", TemplateText);
    Write("Library/Nav.lbi", NavItemText);
  }
  void TearDown() override {
    SetProgressView(nullptr);
    SetMainWindow(nullptr);
    fs::remove_all(site);
    std::error_code ec;  // the folder of the sites goes with the last of them
    fs::remove(fs::path(site).parent_path().parent_path(), ec);
  }
  std::string Write(const std::string& name, const std::string& text) {
    fs::create_directories(fs::path(site + name).parent_path());
    std::ofstream(site + name, std::ios::binary) << text;
    return site + name;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // A page of the site in a tab of its own, current as after a click on the tab.
  void Open(const std::string& name) {
    OpenInNewTab(site + name);
    PCChange();
  }
  static std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      names.insert(entry.path().string() + " " + std::to_string(entry.is_regular_file() ? fs::file_size(entry) : 0));
    }
    return names;
  }
  // The message boxes shown, without the blanks that centre short ones.
  static std::vector<std::string> Shown() { return Dialogs().UncentredTexts(); }

  MemoryMainWindow window;
  ReportView report;
  std::string site;
};

TEST_F(LibraryCommandsTest, TheItemsAreEnabledForPagesOnly) {
  Write("index.htm", ItemPage(""));
  Write("notes.txt", "text\r\n");
  Open("notes.txt");
  for (const char* name : {"CreateLib", "UpdateLib", "RefreshLib", "RegenHtml", "RegenOne"}) {
    EXPECT_FALSE(MainMenu().Item(name).enabled) << name;
    EXPECT_FALSE(MainMenu().Click(name)) << name;
  }
  Open("index.htm");
  for (const char* name : {"CreateLib", "UpdateLib", "RefreshLib", "RegenHtml", "RegenOne"}) {
    EXPECT_TRUE(MainMenu().Item(name).enabled && MainMenu().Available(MainMenu().Item(name)))
        << name;
  }
}

TEST_F(LibraryCommandsTest, RegenerateOneRebuildsTheCurrentPageInTheEditorOnly) {
  const std::string path = Write("news/2024/deep.htm", InstancePage("Page", "<p>Mine</p>"));
  Open("news/2024/deep.htm");
  RecolourRequest = RecolourNone;
  ASSERT_TRUE(MainMenu().Click("RegenOne"));
  GetEditorText();
  // Two folders down: "../../" wherever the template and the item had "../".
  EXPECT_NE(CurrentText.find("<link href=\"../../css/site.css\""), std::string::npos) << CurrentText;
  EXPECT_NE(CurrentText.find("<nav><a href=\"../../index.htm\">"), std::string::npos);
  EXPECT_NE(CurrentText.find("<p>Mine</p>"), std::string::npos);
  EXPECT_EQ(CurrentText.find("old layout"), std::string::npos);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(Read(path), InstancePage("Page", "<p>Mine</p>"));  // not saved
  EXPECT_EQ(RecolourRequest, RecolourFull);
  EXPECT_TRUE(Dialogs().Texts().empty());
}

TEST_F(LibraryCommandsTest, RegenerateOneLeavesAPageWithoutTemplateOrWithABadRegion) {
  Write("plain.htm", ItemPage("<p>x</p>"));
  Open("plain.htm");
  ASSERT_TRUE(MainMenu().Click("RegenOne"));
  GetEditorText();
  EXPECT_EQ(CurrentText, ItemPage("<p>x</p>"));
  EXPECT_FALSE(CurrentEditor->Modified());

  const std::string broken =
      ReplaceAll(InstancePage("Page", "x"), "name=\"main\"", "name=\"other\"", true);
  Write("broken.htm", broken);
  Open("broken.htm");
  ASSERT_TRUE(MainMenu().Click("RegenOne"));
  GetEditorText();
  EXPECT_EQ(CurrentText, broken);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Shown(), (std::vector<std::string>{"No InstanceBeginEditable for main"}));
}

TEST_F(LibraryCommandsTest, RegenerateHtmlSkipsAPageWhoseRegionFailsAndNamesIt) {
  for (int i = 1; i <= 5; ++i) {
    std::string page = InstancePage("Page", "<p>Page " + std::to_string(i) + "</p>");
    if (i == 3) page = ReplaceAll(page, "<!-- InstanceEndEditable -->\n</body>", "</body>", true);
    Write("p" + std::to_string(i) + ".htm", page);
  }
  const std::string third = Read(site + "p3.htm");
  Open("p1.htm");
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(MainMenu().Click("RegenHtml"));
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Calls()[0].text, "Regenerate all HTML files in and below " + site);
  for (int i : {1, 2, 4, 5}) {
    const std::string name = site + "p" + std::to_string(i) + ".htm";
    const std::string text = Read(name);
    EXPECT_NE(text.find("<link href=\"css/site.css\""), std::string::npos) << i;
    EXPECT_NE(text.find("<p>Page " + std::to_string(i) + "</p>"), std::string::npos) << i;
    EXPECT_EQ(text.find("old layout"), std::string::npos) << i;
    EXPECT_TRUE(FileExists(name + ".Bak")) << i;
  }
  EXPECT_EQ(Read(site + "p3.htm"), third);
  EXPECT_FALSE(FileExists(site + "p3.htm.Bak"));
  EXPECT_NE(std::find(report.lines.begin(), report.lines.end(), "p3.htm: No end for main"),
            report.lines.end());
  EXPECT_TRUE(report.shownModally);
  EXPECT_FALSE(report.printed);
}

// A regeneration goes four folder levels down and passes over copies named ".Bak";
// the file-list form keeps its own list.
TEST_F(LibraryCommandsTest, RegenerateHtmlListsFourLevelsAndNoBakCopies) {
  for (const char* name : {"top.htm", "a/b/c/four.htm", "a/b/c/d/five.htm", "top.Bak.htm"}) {
    Write(name, InstancePage("Page", "x"));
  }
  SiteFileList.root = "/elsewhere/";
  SiteFileList.entries = {" kept.htm"};
  Open("top.htm");
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(MainMenu().Click("RegenHtml"));
  auto ran = [&](const std::string& page) {
    return std::find(report.lines.begin(), report.lines.end(), page) != report.lines.end();
  };
  EXPECT_TRUE(ran("top.htm"));
  EXPECT_TRUE(ran("a/b/c/four.htm"));
  EXPECT_FALSE(ran("a/b/c/d/five.htm"));
  EXPECT_FALSE(ran("top.Bak.htm"));
  EXPECT_EQ(Read(site + "a/b/c/d/five.htm"), InstancePage("Page", "x"));
  EXPECT_EQ(SiteFileList.root, "/elsewhere/");
  EXPECT_EQ(SiteFileList.entries, (std::vector<std::string>{" kept.htm"}));
}

TEST_F(LibraryCommandsTest, RegenerateHtmlAnsweredNoChangesNothing) {
  Write("a.htm", InstancePage("Page", "x"));
  const auto before = Listing(site);
  Open("a.htm");
  Dialogs().Answer(mrNo);
  MainMenu().Click("RegenHtml");
  EXPECT_EQ(Listing(site), before);
  EXPECT_TRUE(report.lines.empty());
}

TEST_F(LibraryCommandsTest, CancelStopsTheRunBetweenPages) {
  for (int i = 1; i <= 4; ++i) Write("p" + std::to_string(i) + ".htm", InstancePage("Page", "x"));
  Open("p1.htm");
  report.onLine = [&](const std::string& line) {
    if (line != "p2.htm") return;
    Dialogs().Answer(mrYes);
    ProgBoxCancelClick();
  };
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(MainMenu().Click("RegenHtml"));
  EXPECT_TRUE(FileExists(site + "p1.htm.Bak"));
  EXPECT_TRUE(FileExists(site + "p2.htm.Bak"));  // the page under way is finished
  EXPECT_EQ(Read(site + "p3.htm"), InstancePage("Page", "x"));
  EXPECT_EQ(Read(site + "p4.htm"), InstancePage("Page", "x"));
}

TEST_F(LibraryCommandsTest, RefreshFromLibraryFillsTheItemsOfEveryPageAndSavesThem) {
  Write("index.htm", ItemPage("<p>root</p>"));
  Write("a/one.htm", ItemPage("<p>one</p>"));
  Write("a/b/two.htm", ItemPage("<p>two</p>"));
  Write("a/b/inst.htm", InstancePage("Page", "<p>kept</p>"));
  // Items belong to the whole site: the run covers it from a page in a sub-folder.
  Open("a/one.htm");
  ASSERT_TRUE(MainMenu().Click("RefreshLib"));
  // Items are not rebased in the root or one folder down, only deeper.
  EXPECT_EQ(Read(site + "index.htm"),
            ReplaceAll(ItemPage("<p>root</p>"), "stale", "<nav><a href=\"../index.htm\">Home</a></nav>\n", true));
  EXPECT_EQ(Read(site + "a/one.htm"),
            ReplaceAll(ItemPage("<p>one</p>"), "stale", "<nav><a href=\"../index.htm\">Home</a></nav>\n", true));
  EXPECT_EQ(Read(site + "a/b/two.htm"),
            ReplaceAll(ItemPage("<p>two</p>"), "stale", "<nav><a href=\"../../index.htm\">Home</a></nav>\n", true));
  // A template instance keeps its layout: only the library is read.
  EXPECT_EQ(Read(site + "a/b/inst.htm"), InstancePage("Page", "<p>kept</p>"));
  EXPECT_FALSE(FileExists(site + "a/b/inst.htm.Bak"));
}

TEST_F(LibraryCommandsTest, AnItemAboveTheSiteIsNeverRead) {
  // Beside the site, where "/../../x.lbi" would lead from its pages.
  const std::string parent = fs::path(site).parent_path().parent_path().string() + "/";
  std::ofstream(parent + "x.lbi") << "not part of the site";
  const std::string page =
      "<html>\n<head></head>\n<!-- #BeginLibraryItem \"/../../x.lbi\" --><!-- #EndLibraryItem -->\n</html>\n";
  Write("a.htm", page);
  Open("a.htm");
  const auto before = Listing(parent);
  EXPECT_FALSE(MainMenu().Click("RefreshLib"));
  EXPECT_EQ(Shown().back(), "/../../x.lbi\rlies outside the site folder " + site + "\ra.htm");
  EXPECT_EQ(Read(site + "a.htm"), page);
  EXPECT_EQ(Listing(parent), before);
  fs::remove(parent + "x.lbi");
}

TEST_F(LibraryCommandsTest, UpdateLibraryItemWritesThePagesCopyAndRefreshesEveryPage) {
  Write("other/page.htm", ItemPage("<p>other</p>"));
  Write("index.htm",
        "<html>\n<head></head>\n<body>\n"
        "<!-- #BeginLibraryItem \"/Library/nav.lbi\" -->\n<nav>NEW</nav>\n"
        "<!-- #EndLibraryItem -->\n</body>\n</html>\n");
  Open("index.htm");
  std::vector<std::string> listed;
  SetUpForm([&](const std::vector<std::string>& items,
                const std::function<void(const std::string&)>& update) {
    listed = items;
    update(items[0]);  // the user clicks the item, then OK
    return true;
  });
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(MainMenu().Click("UpdateLib"));
  EXPECT_EQ(listed, (std::vector<std::string>{"/Library/nav.lbi"}));
  EXPECT_EQ(Shown()[0], "Update /Library/nav.lbi from this file?");
  // The file as it is spelt on disk, the old one kept.
  EXPECT_EQ(Read(site + "Library/Nav.lbi"), "<nav>NEW</nav>\r\n");
  EXPECT_TRUE(FileExists(site + "Library/Nav.lbi.Bak"));
  EXPECT_NE(Read(site + "other/page.htm").find("<nav>NEW</nav>"), std::string::npos);
}

TEST_F(LibraryCommandsTest, UpdateLibraryItemWithoutItemsOrAnsweredNo) {
  Write("index.htm", "<html>\n<head></head>\n<body>\n</body>\n</html>\n");
  Write("b.htm", ItemPage(""));
  Open("index.htm");
  bool shown = false;
  SetUpForm([&](const std::vector<std::string>& items, const std::function<void(const std::string&)>&) {
    shown = true;
    EXPECT_TRUE(items.empty());
    return false;  // no OK button: the dialog can only be closed
  });
  ASSERT_TRUE(MainMenu().Click("UpdateLib"));
  EXPECT_TRUE(shown);
  EXPECT_EQ(Read(site + "b.htm"), ItemPage(""));  // nothing refreshed
}

TEST_F(LibraryCommandsTest, AnItemAboveTheSiteIsNeverWritten) {
  const std::string parent = fs::path(site).parent_path().parent_path().string() + "/";
  Write("a.htm", "<html>\n<head></head>\n<!-- #BeginLibraryItem \"/../../x.lbi\" -->evil<!-- #EndLibraryItem -->\n</html>\n");
  Open("a.htm");
  const auto before = Listing(parent);
  SetUpForm([&](const std::vector<std::string>& items,
                const std::function<void(const std::string&)>& update) {
    update(items[0]);
    return true;
  });
  Dialogs().Answer(mrYes);
  EXPECT_FALSE(MainMenu().Click("UpdateLib"));
  EXPECT_EQ(Shown().back(), "/../../x.lbi\rlies outside the site folder " + site);
  EXPECT_EQ(Listing(parent), before);
}

TEST_F(LibraryCommandsTest, CreateLibraryItemFromTheSelection) {
  Write("a/other.htm", ItemPage("<p>other</p>"));
  Write("index.htm", "<html>\n<head></head>\n<body>\n<footer>(c) us</footer>\n</body>\n</html>\n");
  Open("index.htm");
  GetEditorText();
  const size_t start = CurrentText.find("<footer>");
  CurrentEditor->Select(start, std::string("<footer>(c) us</footer>\n").size());
  Dialogs().AnswerPath(site + "Library/footer.lbi");
  ASSERT_TRUE(MainMenu().Click("CreateLib"));
  ASSERT_EQ(Dialogs().PathCalls().size(), 1u);
  const auto& call = Dialogs().PathCalls()[0];
  EXPECT_EQ(call.call.title, "Save as...");
  EXPECT_EQ(call.call.filter, "Library|*.lbi|All files|*.*");
  EXPECT_EQ(call.call.folder, site + "Library/");
  EXPECT_EQ(call.path, site + "Library/menu.lbi");
  EXPECT_EQ(Read(site + "Library/footer.lbi"), "<footer>(c) us</footer>\r\n");
  EXPECT_EQ(Read(site + "index.htm"),
            "<html>\n<head></head>\n<body>\n"
            "<!-- #BeginLibraryItem \"/Library/footer.lbi\" --><footer>(c) us</footer>\n"
            "<!-- #EndLibraryItem -->\n</body>\n</html>\n");
  EXPECT_EQ(CurrentEditor->SelStart(), start);  // at the start of the block
}

TEST_F(LibraryCommandsTest, CreateLibraryItemRefusals) {
  Write("index.htm", "<html>\n<head></head>\n<body>\n<p>x</p>\n</body>\n</html>\n");
  Open("index.htm");
  CurrentEditor->Select(0, 0);
  EXPECT_FALSE(MainMenu().Click("CreateLib"));
  EXPECT_EQ(Shown().back(), "First highlight the code which is to become a Library item.");

  CurrentEditor->Select(0, 6);
  Dialogs().AnswerPath(site + "Templates/x.lbi");
  EXPECT_FALSE(MainMenu().Click("CreateLib"));
  EXPECT_EQ(Shown().back(), "Library item MUST go into the Library folder.");
  EXPECT_FALSE(FileExists(site + "Templates/x.lbi"));

  // A missing Library folder is offered; No ends the command.
  fs::remove_all(site + "Library");
  Dialogs().Answer(mrNo);
  EXPECT_TRUE(MainMenu().Click("CreateLib"));
  EXPECT_EQ(Shown().back(), site + "Library/ does not exist.  Create it?");
  EXPECT_FALSE(DirectoryExists(site + "Library/"));
  EXPECT_EQ(Read(site + "index.htm"), "<html>\n<head></head>\n<body>\n<p>x</p>\n</body>\n</html>\n");
}

}  // namespace
}  // namespace quorrel::test
