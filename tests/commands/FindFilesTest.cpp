// Find and Replace in the files of a folder: the site file list's scan, and a
// replace over a copied tree of the Vorbis documentation against sed on a second
// copy.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>

#include "commands/Activation.h"
#include "commands/FindTestKit.h"
#include "platform/Abort.h"
#include "publish/OpenUnit.h"
#include "publish/SiteFileList.h"
#include "shell/Backups.h"
#include "shell/BlinkJob.h"
#include "support/Installed.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

constexpr char kVorbis[] = "/usr/share/doc/libvorbis-dev/html";

// The text as the save leaves it for comparison: no CR, no blanks at line ends.
std::string Normal(const std::string& text) {
  std::string out, line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c != '\n') {
      line += c;
      continue;
    }
    line.erase(line.find_last_not_of(" \t") + 1);
    out += line + '\n';
  }
  line.erase(line.find_last_not_of(" \t") + 1);
  return out + line;
}

class FindFilesTest : public FindTest {
 protected:
  // The paths of the site file list's entries.
  static std::vector<std::string> Paths() {
    std::vector<std::string> paths;
    for (const std::string& entry : SiteFileList.entries) paths.push_back(ListEntryPath(entry));
    return paths;
  }
  void SetUp() override {
    FindTest::SetUp();
    MainMenu().SetChecked("ValSave", false);  // the pages are saved as they are
  }
  std::function<void(TFindAnswers&)> InFiles(const std::string& root, const char* find,
                                             const char* by, bool prompt) {
    return [=](TFindAnswers& a) {
      a.findText = find;
      a.replaceText = by;
      a.prompt = prompt;
      a.caseSensitive = true;
      a.searchFiles = true;
      a.root = root;
      a.fileMask = "*.htm";
      a.subFolders = true;
    };
  }
};

TEST_F(FindFilesTest, TheListIsSortedMasksFindLongerExtensionsAndLinksAreNotFollowed) {
  Write("tree/b.HTML", "b");
  Write("tree/a.htm", "a");
  Write("tree/c.css", "c");
  Write("tree/Sub/d.htm", "d");
  Write("tree/sub2/e.htm", "e");
  Write("tree/pic.gif.htm.Bak", "x");
  fs::create_directory_symlink(site + "tree/Sub", site + "tree/loop");
  SiteFileList.root = site + "tree";
  SiteFileList.fileMask = "*.htm";
  SiteFileList.subFolders = true;
  ScanSiteFileList();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"a.htm", "b.HTML", "Sub/d.htm", "sub2/e.htm"}));
  std::vector<std::string> chosen;
  for (SiteFileListNext(); !FileListEnded; SiteFileListNext()) chosen.push_back(ChosenPath);
  ASSERT_EQ(chosen.size(), 4u);
  EXPECT_EQ(chosen[2], site + "tree/Sub/d.htm");
  SiteFileList.subFolders = false;
  ScanSiteFileList();
  EXPECT_EQ(Paths(), (std::vector<std::string>{"a.htm", "b.HTML"}));
}

TEST_F(FindFilesTest, ReplaceInACopiedTreeEqualsSed) {
  if (!Installed(std::string(kVorbis) + "/index.html", "libvorbis-dev")) return;
  const std::string ours = site + "ours/", theirs = site + "sed/";
  fs::copy(kVorbis, ours, fs::copy_options::recursive);
  fs::copy(kVorbis, theirs, fs::copy_options::recursive);
  std::map<std::string, fs::file_time_type> times;
  std::map<std::string, std::string> bytes;
  for (const auto& entry : fs::recursive_directory_iterator(ours)) {
    if (!entry.is_regular_file()) continue;
    times[entry.path().string()] = entry.last_write_time();
    bytes[entry.path().string()] = Read(entry.path().string());
  }
  ASSERT_EQ(system(("find '" + theirs +
                    "' -iname '*.htm*' -exec sed -i 's/Ogg Vorbis/OGG-VORBIS/g' {} +")
                       .c_str()),
            0);
  Open("start.txt", "where the user was\r\n");
  Command("ReplaceM", InFiles(ours, "Ogg Vorbis", "OGG-VORBIS", false));
  EXPECT_FALSE(MainMenu().Checked("Online"));

  int changed = 0, unchanged = 0;
  for (const auto& [path, before] : bytes) {
    SCOPED_TRACE(path);
    const std::string now = Read(path);
    const std::string twin = theirs + path.substr(ours.size());
    const bool page = path.find(".htm") != std::string::npos;
    if (!page || before.find("Ogg Vorbis") == std::string::npos) {
      EXPECT_EQ(now, before);
      EXPECT_EQ(fs::last_write_time(path), times[path]);
      EXPECT_FALSE(fs::exists(BackupPath(path)));
      ++unchanged;
      continue;
    }
    EXPECT_EQ(Normal(now), Normal(Read(twin)));
    EXPECT_TRUE(fs::exists(BackupPath(path)));
    ++changed;
  }
  EXPECT_GT(changed, 10);
  EXPECT_GT(unchanged, 5);
}

// Each tab the run comes to would start a caret refresh, which blinks over the
// occurrence asked about; none starts until the run is over.
TEST_F(FindFilesTest, NoCaretRefreshStartsWhileTheRunGoesFromFileToFile) {
  if (!Installed(std::string(kVorbis) + "/index.html", "libvorbis-dev")) return;
  const std::string copies = site + "vorbis/";
  fs::copy(kVorbis, copies, fs::copy_options::recursive);
  // A page the run reaches already open: the run takes its tab.
  OpenInNewTab(copies + "index.html");
  Open("start.txt", "where the user was\r\n");
  ResetBlinkJob();
  int questions = 0, refreshing = 0;
  Dialogs().whileShowing = [&](const DialogCall& call) {
    if (call.kind != DialogKind::ReplacePrompt) return;
    ++questions;
    if (TimerJob == CaretRefreshJob) ++refreshing;
    Dialogs().Answer(mrAll);  // the rest of this file without asking
  };
  Command("ReplaceM", InFiles(copies, "Ogg Vorbis", "OGG-VORBIS", true));
  Dialogs().whileShowing = nullptr;
  EXPECT_GT(questions, 10) << "a question in each page that has the text";
  EXPECT_EQ(refreshing, 0);
  EXPECT_FALSE(FindInFilesRunning());

  CurrentEditor->Select(0, 0);
  MyActivate();
  EXPECT_EQ(TimerJob, CaretRefreshJob) << "after the run, the caret refresh is back";

  // A run that ends on an error lets the refresh back too.
  Dialogs().whileShowing = [](const DialogCall& call) {
    if (call.kind == DialogKind::ReplacePrompt) Abort();
  };
  EXPECT_FALSE(Command("ReplaceM", InFiles(copies, "OGG-VORBIS", "Ogg Vorbis", true)));
  Dialogs().whileShowing = nullptr;
  EXPECT_FALSE(FindInFilesRunning());
}

TEST_F(FindFilesTest, CancelHalfwaySavesTheFilesBeforeAndLeavesThoseAfter) {
  for (const char* name : {"a.htm", "b.htm", "c.htm"}) {
    Write(std::string("set/") + name, "<html>\n<head>\n</head>\n<body>cat</body>\n</html>\n");
  }
  Open("start.txt", "x\r\n");
  Dialogs().Answer({mrYes, mrYes, mrCancel});
  Command("ReplaceM", InFiles(site + "set", "cat", "dog", true));
  EXPECT_NE(Read(site + "set/a.htm").find("dog"), std::string::npos);
  EXPECT_NE(Read(site + "set/b.htm").find("dog"), std::string::npos);
  EXPECT_NE(Read(site + "set/c.htm").find("cat"), std::string::npos);
  EXPECT_FALSE(fs::exists(BackupPath(site + "set/c.htm")));
  EXPECT_EQ(CurrentFileName, site + "set/c.htm");
}

TEST_F(FindFilesTest, ADocumentLeftChangedWithoutTheTextIsNotSaved) {
  Write("set/a.htm", "<html>\n<head>\n</head>\n<body>nothing</body>\n</html>\n");
  Write("set/b.htm", "<html>\n<head>\n</head>\n<body>cat</body>\n</html>\n");
  // A file of the folder is open in a tab of its own with the user's unsaved
  // edit; another document is current.
  Open("set/a.htm", Read(site + "set/a.htm"));
  TMyRich* edited = CurrentEditor;
  CurrentEditor->Select(0, 0);
  CurrentEditor->SetSelText("<!-- mine -->");
  const std::string onDisk = Read(site + "set/a.htm");
  Open("start.txt", "x\r\n");
  // Only the files that hold the text are listed: the edited one is not reached.
  Command("ReplaceM", InFiles(site + "set", "cat", "dog", false));
  EXPECT_EQ(Read(site + "set/a.htm"), onDisk);
  EXPECT_FALSE(fs::exists(BackupPath(site + "set/a.htm")));
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_TRUE(edited->Modified());
  EXPECT_EQ(edited->GetText().rfind("<!-- mine -->", 0), 0u);
  EXPECT_NE(Read(site + "set/b.htm").find("dog"), std::string::npos);
}

TEST_F(FindFilesTest, FindGoesStraightToTheFirstFileHoldingTheText) {
  Write("set/a.htm", "<html>\n<head>\n</head>\n<body>none</body>\n</html>\n");
  Write("set/b.htm", "<html>\n<head>\n</head>\n<body>the cat</body>\n</html>\n");
  Write("set/c.htm", "<html>\n<head>\n</head>\n<body>a cat too</body>\n</html>\n");
  Open("start.txt", "x\r\n");
  Command("Find", InFiles(site + "set", "cat", "", false));
  EXPECT_EQ(CurrentFileName, site + "set/b.htm");
  EXPECT_EQ(Selected(), "cat");
  // The file without the text was never opened; File | Next goes on to the next
  // file that holds it, and past the last one says the list has ended.
  for (const TDocument& document : Documents) EXPECT_NE(document.FileName, site + "set/a.htm");
  ASSERT_TRUE(MainMenu().Click("NextFile"));
  EXPECT_EQ(CurrentFileName, site + "set/c.htm");
  ASSERT_TRUE(MainMenu().Click("NextFile"));
  EXPECT_EQ(CurrentFileName, site + "set/c.htm");
  EXPECT_TRUE(FileListEnded);
  EXPECT_EQ(Status(), "  \x95\x95\x95 End of file list \x95\x95\x95");
}

TEST_F(FindFilesTest, FindInFilesSaysWhenNoFileHoldsTheText) {
  Write("set/a.htm", "<html>\n<head>\n</head>\n<body>none</body>\n</html>\n");
  Open("start.txt", "x\r\n");
  Command("Find", InFiles(site + "set", "cat", "", false));
  EXPECT_EQ(CurrentFileName, site + "start.txt");
  EXPECT_EQ(Status(), "  \"cat\" not found in any file");
}

}  // namespace
}  // namespace quorrel::test
