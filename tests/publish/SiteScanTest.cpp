// The scan behind the file-list form on real folder trees: the lines of the list
// and their order, titles from the first bytes of a page, the levels it goes down
// and the message past them, find mode over CR LF, LF and RTF files, unreadable and
// large files, Cancel, and Debian's own documentation trees.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/Sound.h"
#include "publish/OpenUnit.h"
#include "publish/SiteFileList.h"
#include "publish/SiteScan.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/PageTitle.h"
#include "shell/ShellState.h"
#include "support/Installed.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// "»" and "·" as the list holds them (Windows-1252).
const std::string kRaquo = "\xBB";
const std::string kMiddot = "\xB7";

// The folders of a tree n levels below its root: "d/d/...".
std::string Levels(int n) {
  std::string folders;
  for (int i = 0; i < n; ++i) folders += "d/";
  return folders;
}

// A page whose title starts at the given byte.
std::string PageWithTitleAt(size_t at, const std::string& title) {
  std::string page = "<html><head>";
  page += std::string(at - page.size(), ' ');
  return page + "<title>" + title + "</title></head><body></body></html>\n";
}

class SiteScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = TestHome() + "scan/";
    fs::remove_all(root);
    fs::create_directories(root);
    SetMainWindow(&window);
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    SetSoundPlayer(nullptr);
    fs::remove_all(root);
  }
  void Write(const std::string& name, const std::string& bytes = "x") {
    WriteFile(root + name, bytes);
  }
  TScanRequest Request(const std::string& mask = "") const {
    TScanRequest request;
    request.root = root;
    request.mask = mask;
    return request;
  }
  TScanResult Find(const std::string& text, bool caseSensitive = false, bool wholeWords = false) {
    TScanRequest request = Request();
    request.find = TScanFind{text, text, caseSensitive, wholeWords};
    return DoScan(request);
  }

  std::string root;
  MemoryMainWindow window;
};

TEST_F(SiteScanTest, EntriesNameTheFileAfterABlankAndAFoldersOwnFilesComeFirst) {
  Write("index.htm", "<title>Home</title>");
  Write("Zeta.css");
  Write(".hidden.txt");
  Write("pic.gif");
  Write("sub/a.htm", "<title>Apples\r\n and pears</title>");
  Write("sub/deeper/x.txt");
  Write("subway.txt");
  Write(".git/config");
  ASSERT_EQ(symlink((root + "sub").c_str(), (root + "loop").c_str()), 0);
  // A named pipe would never end a read: it is no file of the site.
  ASSERT_EQ(mkfifo((root + "pipe.txt").c_str(), 0600), 0);
  TScanRequest request = Request();
  request.showTitles = true;
  const TScanResult result = DoScan(request);
  EXPECT_EQ(result.entries, (std::vector<std::string>{
                                " .hidden.txt",
                                " index.htm " + kRaquo + " Home",
                                " subway.txt",
                                " Zeta.css",
                                "sub/ a.htm " + kRaquo + " Apples   and pears",
                                "sub/deeper/ x.txt",
                            }));
  EXPECT_EQ(result.counter, "Scanned: 6  (Total)");
  EXPECT_FALSE(result.tooDeep);

  struct Case {
    std::string entry;
    std::string path;
  } cases[] = {
      {" index.htm " + kRaquo + " Home", "index.htm"},
      {"sub/deeper/ x.txt", "sub/deeper/x.txt"},
      {"sub/ a.htm " + kRaquo + " A/ b", "sub/a.htm"},
      {"a b/ c d.htm", "a b/c d.htm"},
      {"nothing", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ListEntryPath(c.entry), c.path) << c.entry;
}

TEST_F(SiteScanTest, MasksAndSubFolders) {
  Write("index.htm");
  Write("index.html");
  Write("style.css");
  Write("notes");
  Write("a/page.HTM");
  struct Case {
    std::string mask;
    bool subFolders;
    std::vector<std::string> entries;
  } cases[] = {
      {"*.htm", true, {" index.htm", " index.html", "a/ page.HTM"}},
      {"*.htm", false, {" index.htm", " index.html"}},
      {"index", true, {" index.htm", " index.html"}},  // without "." any extension
      {"*.css|*.HTML", true, {" index.html", " style.css"}},
      {"", false, {" index.htm", " index.html", " notes", " style.css"}},
      {"*.xml", true, {}},
  };
  for (const Case& c : cases) {
    TScanRequest request = Request(c.mask);
    request.subFolders = c.subFolders;
    EXPECT_EQ(DoScan(request).entries, c.entries) << c.mask << " " << c.subFolders;
  }
}

TEST_F(SiteScanTest, ThirtyLevelsAreListedAndTheMessageSaysMoreWereLeft) {
  for (int level = 1; level <= 31; ++level) {
    Write(Levels(level - 1) + "f" + std::to_string(level) + ".txt");
  }
  const TScanResult deep = DoScan(Request());
  ASSERT_EQ(deep.entries.size(), 30u);
  EXPECT_EQ(ListEntryPath(deep.entries.back()), Levels(29) + "f30.txt");
  EXPECT_TRUE(deep.tooDeep);

  // Through the form's listing the user is told.
  SiteFileList.root = root;
  SiteFileList.fileMask = "*.txt";
  ASSERT_TRUE(ScanSiteFileList());
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("Error - too many directory levels - some files not scanned."));
  EXPECT_EQ(SiteFileList.entries.size(), 30u);

  // Exactly thirty levels: nothing was left out, nothing is said.
  fs::remove_all(root + Levels(30));
  Dialogs().Clear();
  const TScanResult exact = DoScan(Request());
  EXPECT_EQ(exact.entries.size(), 30u);
  EXPECT_FALSE(exact.tooDeep);
  ASSERT_TRUE(ScanSiteFileList());
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(SiteScanTest, RegenerationListsFourLevelsWithoutBackUpsOrTitles) {
  Write("index.htm", "<title>Home</title>");
  Write("index.Bak.htm");
  Write("a/b/c/four.htm");
  Write("a/b/c/d/five.htm");
  TScanRequest request = Request("*.htm");
  request.showTitles = true;
  request.regenerate = true;
  const TScanResult result = DoScan(request);
  EXPECT_EQ(result.entries, (std::vector<std::string>{" index.htm", "a/b/c/ four.htm"}));
  EXPECT_FALSE(result.tooDeep);
}

TEST_F(SiteScanTest, TitlesComeFromTheFirst270BytesThenTheFirst540) {
  struct Case {
    std::string name;
    std::string bytes;
    std::string title;  // "" for none shown
  } cases[] = {
      {"early.htm", PageWithTitleAt(20, "Early"), "Early"},
      {"late.html", PageWithTitleAt(300, "Later"), "Later"},
      {"too-late.asp", PageWithTitleAt(650, "Too late"), "[No title]"},
      {"none.aspx", "<html><body>no title</body></html>", "[No title]"},
      {"empty-title.htm", "<title>  </title>", ""},
      {"notes.txt", PageWithTitleAt(20, "Not a page"), ""},
  };
  for (const Case& c : cases) Write(c.name, c.bytes);
  for (const Case& c : cases) EXPECT_EQ(ListedTitle(root + c.name), c.title) << c.name;

  TScanRequest request = Request();
  request.showTitles = true;
  for (const std::string& entry : DoScan(request).entries) {
    const auto c = std::find_if(std::begin(cases), std::end(cases),
                                [&](const Case& k) { return ListEntryPath(entry) == k.name; });
    ASSERT_NE(c, std::end(cases)) << entry;
    EXPECT_EQ(entry, ScanEntry(c->name, c->title));
  }
  // Titles cost a read of every page: only on request, or in a folder named html.
  EXPECT_EQ(DoScan(Request("early.htm")).entries, (std::vector<std::string>{" early.htm"}));
  Write("HTML/early.htm", PageWithTitleAt(20, "Early"));
  TScanRequest html = Request("early.htm");
  html.root = root + "HTML/";
  EXPECT_EQ(DoScan(html).entries, (std::vector<std::string>{" early.htm " + kRaquo + " Early"}));
}

TEST_F(SiteScanTest, DoxygenPagesShowTheTitleThatStartsAtByte415) {
  const std::string folder = "/usr/share/doc/libjack-dev/HTML/";
  if (!Installed(folder + "index.html", "libjack-dev")) return;
  TScanRequest request = Request("*.html");
  request.root = folder;
  request.subFolders = false;
  const TScanResult result = DoScan(request);
  ASSERT_GT(result.entries.size(), 50u);
  for (const std::string& entry : result.entries) {
    const std::string page = InstalledFile(folder + ListEntryPath(entry), "libjack-dev");
    EXPECT_EQ(entry, ScanEntry(ListEntryPath(entry), GetPageTitle(page)));
    EXPECT_EQ(entry.find("[No title]"), std::string::npos) << entry;
  }
}

// Every page of a real tree is listed with the title its first 540 bytes hold
// (libxslt's pages start theirs at byte 650), and no image is listed.
TEST_F(SiteScanTest, DebianDocumentationTreesListEveryPageWithItsTitle) {
  struct Tree {
    std::string folder;
    std::string package;
  } trees[] = {
      {"/usr/share/doc/libxslt1-dev/html/", "libxslt1-dev"},
      {"/usr/share/doc/libvorbis-dev/html/", "libvorbis-dev"},
      {"/usr/share/doc/nodejs/api/", "nodejs-doc"},
  };
  for (const Tree& tree : trees) {
    SCOPED_TRACE(tree.folder);
    if (!Installed(tree.folder, tree.package)) continue;
    TScanRequest request = Request();
    request.root = tree.folder;
    request.showTitles = true;
    const TScanResult result = DoScan(request);
    size_t pages = 0;
    for (const auto& file : fs::recursive_directory_iterator(tree.folder)) {
      const std::string ext = file.path().extension().string();
      if (file.is_regular_file() && (ext == ".html" || ext == ".htm")) ++pages;
    }
    size_t listedPages = 0;
    for (const std::string& entry : result.entries) {
      const std::string path = ListEntryPath(entry);
      const std::string ext = fs::path(path).extension().string();
      EXPECT_TRUE(ext != ".png" && ext != ".gif" && ext != ".jpg" && ext != ".ico") << entry;
      if (ext != ".html" && ext != ".htm") continue;
      ++listedPages;
      const std::string page = InstalledFile(tree.folder + path, tree.package);
      const size_t close = page.find("</title>");
      const std::string title =
          close != std::string::npos && close + 8 <= 540 ? GetPageTitle(page) : "[No title]";
      EXPECT_EQ(entry, ScanEntry(path, title));
    }
    EXPECT_EQ(listedPages, pages);
    EXPECT_GT(pages, 20u);
  }
}

TEST_F(SiteScanTest, FindModeListsTheFilesThatHoldTheText) {
  Write("crlf.txt", "one\r\ntwo Words\r\n");
  Write("lf.htm", "<title>LF page</title>\none\ntwo words\n");
  Write("doc.rtf", "{\\rtf1 one\r\n\\par two}");
  Write("other.txt", "someone twofold");
  struct Case {
    const char* what;
    std::string text;
    bool caseSensitive;
    bool wholeWords;
    std::vector<std::string> found;
  } cases[] = {
      {"any case", "TWO WORDS", false, false, {" crlf.txt", " lf.htm"}},
      {"case counts", "two Words", true, false, {" crlf.txt"}},
      {"a part of a word", "one", false, false, {" crlf.txt", " doc.rtf", " lf.htm", " other.txt"}},
      {"whole words", "one", false, true, {" crlf.txt", " doc.rtf", " lf.htm"}},
      // Pages are saved with LF line ends, other texts with CR LF; RTF breaks its
      // lines as CR LF and "\par ".
      {"CR LF typed", "one\r\ntwo", false, false, {" crlf.txt", " doc.rtf", " lf.htm"}},
      {"LF typed", "one\ntwo", false, false, {" crlf.txt", " doc.rtf", " lf.htm"}},
      {"nowhere", "three", false, false, {}},
  };
  for (const Case& c : cases) {
    const TScanResult result = Find(c.text, c.caseSensitive, c.wholeWords);
    EXPECT_EQ(result.entries, c.found) << c.what;
    EXPECT_EQ(result.counter,
              "Scanned: 4,  Found: " + std::to_string(c.found.size()) + "  (from Find)")
        << c.what;
  }
}

TEST_F(SiteScanTest, FindModeNamesThreeUnreadableFilesAndPassesOverHugeOnes) {
  Write("a.txt", "needle");
  // Our own memory at address 0 is mapped by no process: reading it fails for
  // every user, root too.
  for (const char* name : {"bad1.txt", "bad2.txt", "bad3.txt", "bad4.txt", "bad5.txt"}) {
    ASSERT_EQ(symlink("/proc/self/mem", (root + name).c_str()), 0);
  }
  {
    std::ofstream huge(root + "huge.txt", std::ios::binary);
    huge << "needle";
  }
  fs::resize_file(root + "huge.txt", 10'000'000);
  const TScanResult result = Find("needle");
  EXPECT_EQ(result.entries, (std::vector<std::string>{
                                " a.txt",
                                kMiddot + " Cannot read  bad1.txt",
                                kMiddot + " Cannot read  bad2.txt",
                                kMiddot + " Cannot read  bad3.txt",
                                kMiddot + " Further errors ignored.",
                            }));
  EXPECT_EQ(result.found, 1);

  // Next steps over the error lines to the files.
  SiteFileList.root = root;
  SiteFileList.entries = result.entries;
  SiteFileList.selected = -1;
  FileListEnded = false;
  SiteFileListNext();
  EXPECT_EQ(ChosenPath, root + "a.txt");
  SiteFileListNext();
  EXPECT_TRUE(FileListEnded);
  EXPECT_EQ(SiteFileList.selected, 0);
}

TEST_F(SiteScanTest, FindThroughTheListSaysWhenNoFileHoldsTheText) {
  Write("a.htm", "apples");
  SiteFileList.root = root;
  SiteFileList.fileMask = "";
  MainMenu().SetChecked("SubDirs", true);
  SiteFileList.subFolders = false;
  TListing listing;
  listing.find = TScanFind{"pears", "pears\xB6", false, false};
  ASSERT_TRUE(ScanSiteFileList(listing));
  EXPECT_TRUE(SiteFileList.entries.empty());
  EXPECT_EQ(SiteFileList.counter, "Not found");
  EXPECT_NE(window.StatusText(MessagePanel).find("\"pears\xB6\" not found in any file"),
            std::string::npos)
      << window.StatusText(MessagePanel);
  // The Find dialog's choice of sub-folders is the form's from then on.
  EXPECT_FALSE(MainMenu().Checked("SubDirs"));
  MainMenu().SetChecked("SubDirs", true);
}

// Cancel while titles are read only stops the titles; otherwise it ends the scan,
// which says so and sounds.
class CancellingObserver : public TScanObserver {
 public:
  explicit CancellingObserver(int cancelAt) : cancelAt_(cancelAt) {}
  void Counter(const std::string& text, bool green) override {
    counters.push_back(text);
    greens.push_back(green);
  }
  void Entries(const std::vector<std::string>& entries) override {
    shown.push_back(entries.size());
  }
  bool TakeCancel() override { return ++asked == cancelAt_; }
  std::vector<std::string> counters;
  std::vector<bool> greens;
  std::vector<size_t> shown;
  int asked = 0;

 private:
  int cancelAt_;
};

TEST_F(SiteScanTest, TheCounterRunsAndCancelStopsTitlesOrTheScan) {
  for (int i = 0; i < 120; ++i) Write("p" + std::to_string(1000 + i) + ".htm", "<title>T</title>");
  std::vector<std::string> sounds;
  SetSoundPlayer([&](const std::string& name) { sounds.push_back(name); });

  CancellingObserver quiet(0);
  const TScanResult all = DoScan(Request(), &quiet);
  EXPECT_EQ(all.entries.size(), 120u);
  EXPECT_EQ(quiet.counters.front(), "Scanned: 1");
  EXPECT_EQ(quiet.counters.back(), "Scanned: 120");
  EXPECT_EQ(quiet.greens[0], true);
  EXPECT_EQ(quiet.greens[1], false);
  EXPECT_EQ(quiet.shown, (std::vector<size_t>{50, 100}));

  CancellingObserver titlesStopped(3);
  TScanRequest titled = Request();
  titled.showTitles = true;
  const TScanResult untitled = DoScan(titled, &titlesStopped);
  ASSERT_EQ(untitled.entries.size(), 120u);
  EXPECT_EQ(untitled.entries[1], " p1001.htm " + kRaquo + " T");
  EXPECT_EQ(untitled.entries[2], " p1002.htm");
  EXPECT_FALSE(untitled.interrupted);
  EXPECT_TRUE(sounds.empty());

  CancellingObserver stopped(5);
  const TScanResult interrupted = DoScan(Request(), &stopped);
  EXPECT_TRUE(interrupted.interrupted);
  EXPECT_EQ(interrupted.entries.size(), 4u);
  EXPECT_EQ(interrupted.counter, "Files:  4 (interrupted)");
  EXPECT_EQ(sounds, (std::vector<std::string>{"SystemHand"}));
}

TEST_F(SiteScanTest, SessionModeReadsEveryFileBelowTheRoot) {
  Write("a.asp", "<% Session(\"user\") %>");
  Write("sub/b.asp", "<title>B</title>");
  std::vector<std::string> read;
  int done = 0;
  TScanRequest request = Request("*.asp");
  request.subFolders = false;
  request.showTitles = true;
  request.session = true;
  request.sessionFile = [&](const std::string& path, const std::string& text) {
    read.push_back(path.substr(root.size()) + ":" + text);
  };
  request.sessionDone = [&] { ++done; };
  const TScanResult result = DoScan(request);
  EXPECT_EQ(result.entries, (std::vector<std::string>{" a.asp", "sub/ b.asp"}));
  EXPECT_EQ(read, (std::vector<std::string>{"a.asp:<% Session(\"user\") %>",
                                            "sub/b.asp:<title>B</title>"}));
  EXPECT_EQ(done, 1);
}

TEST(SearchForms, LineEndsMatchEitherFormAndRtfParagraphs) {
  EXPECT_EQ(SearchForms("a b", false), (std::vector<std::string>{"a b"}));
  EXPECT_EQ(SearchForms("a\r\nb", false), (std::vector<std::string>{"a\r\nb", "a\nb"}));
  EXPECT_EQ(SearchForms("a\nb", false), (std::vector<std::string>{"a\r\nb", "a\nb"}));
  EXPECT_EQ(SearchForms("a\nb", true), (std::vector<std::string>{"a\r\n\\par b"}));
}

}  // namespace
}  // namespace quorrel::test
