// Upload, Download, Download to, Unarchive and Synchronise of the server window,
// against a real pyftpdlib server on loopback: on selected rows and on a whole
// folder of the tree, the questions on the way, "Stop after this one", the long
// time-out, folders made on either side, and rows that would lead out of the site.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "ServerListingTestSupport.h"
#include "platform/Abort.h"
#include "platform/Paths.h"
#include "publish/Download.h"
#include "publish/ServerDates.h"
#include "publish/UpDown.h"
#include "shell/Backups.h"
#include "shell/Document.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/RecordingServerWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::kHour;
using test::kTen;
using test::ReadFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The window as a run sees it: the caption and "Stop after this one" each time
// the rows change.
class RunView : public test::TestServerView {
 public:
  void RowsChanged() override {
    captions.push_back(ServerList.caption);
    stopButtons.push_back(ServerList.stopButton);
  }
  std::vector<std::string> captions;
  std::vector<bool> stopButtons;
};

int64_t ModifiedTime(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return -1;
  return info.st_mtime;
}

class UpDownTest : public test::ServerListingTestBase {
 protected:
  void SetUp() override {
    ServerListingTestBase::SetUp();
    fs::remove_all(site_);
    // Downloads keep back-ups only outside the work folder, as in a real site.
    site_ = test::SiteTestFolder() + "updown/";
    fs::remove_all(site_);
    fs::create_directories(site_);
    SiteFolder = site_;
    WebRootPath = "public_html/";
    SetServerView(&run_);
    SetServerWindowView(&window_);
    // Pages go up as they are, so that both copies can be compared byte for byte.
    MainMenu().SetChecked("Condense", false);
  }
  void TearDown() override {
    SetServerWindowView(nullptr);
    fs::remove_all(test::SiteTestFolder());
    ServerListingTestBase::TearDown();
  }

  void Select(std::initializer_list<std::string> names) {
    for (TServerRow& row : ServerList.rows)
      row.selected = std::find(names.begin(), names.end(), row.name) != names.end();
    window_.rows = static_cast<int>(names.size());
  }
  std::vector<std::string> SelectedNames() const {
    std::vector<std::string> names;
    for (const TServerRow& row : ServerList.rows)
      if (row.selected) names.push_back(row.name);
    return names;
  }
  static int Count(const test::FtpServer& server, const std::string& command) {
    const std::vector<std::string> commands = server.Commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
  }
  // The local file has the date of its server copy.
  static void ExpectSameDate(const test::FtpServer& server, const std::string& local,
                             const std::string& remote) {
    EXPECT_EQ(FileAge(local), ModifiedTime(server.Root() + remote)) << remote;
  }

  RunView run_;
  test::RecordingServerWindow window_;
};

TEST_F(UpDownTest, UploadingATreeFolderPutsItsWholeSubTreeUpWithTheLocalDatesMatched) {
  test::FtpServer server;
  Put(server.Root() + "public_html/index.htm", kTen - 5 * kHour, "old");
  Put(site_ + "public_html/index.htm", kTen, "index");
  Put(site_ + "public_html/sub/a.htm", kTen, "a");
  Put(site_ + "public_html/sub/deep/b.css", kTen, "b");
  Put(site_ + "public_html/sub/deep/c.png", kTen, "c");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  ASSERT_EQ(Icons()["index.htm"], LocalNewerIcon);

  Dialogs().Answer(mrYes);  // "Upload matching files?"
  const TUpDownResult result = UpDownClick(ServerUploadCommand, {{"public_html"}});

  EXPECT_EQ(result.uploads, 4);
  for (const char* name : {"index.htm", "sub/a.htm", "sub/deep/b.css", "sub/deep/c.png"}) {
    const std::string remote = std::string("public_html/") + name;
    EXPECT_EQ(ReadFile(server.Root() + remote), ReadFile(site_ + remote)) << name;
    ExpectSameDate(server, site_ + remote, remote);
  }
  EXPECT_THAT(Dialogs().Texts(), ElementsAre("Upload matching files?")) << "asked once";
  // The window shows the folder chosen, compared again.
  EXPECT_EQ(ServerList.chosenNode, std::vector<std::string>{"public_html"});
  EXPECT_EQ(Icons(), (std::map<std::string, int>{{"index.htm", SameDateIcon}}));
  EXPECT_EQ(Nodes(ServerList.tree.children[0])["sub"], FolderOnBoth);
}

TEST_F(UpDownTest, NoToUploadMatchingFilesLeavesTheSameDateRowsOnTheServerAlone) {
  test::FtpServer server;
  Put(server.Root() + "public_html/same.htm", kTen, "server's");
  Put(site_ + "public_html/same.htm", kTen, "local, same date");
  Put(server.Root() + "public_html/newer.htm", kTen - kHour * 3, "old");
  Put(site_ + "public_html/newer.htm", kTen, "new");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  ASSERT_EQ(Icons(), (std::map<std::string, int>{{"newer.htm", LocalNewerIcon},
                                                 {"same.htm", SameDateIcon}}));

  Dialogs().Answer(mrNo);
  UpDownClick(ServerUploadCommand, {{"public_html"}});

  EXPECT_EQ(ReadFile(server.Root() + "public_html/same.htm"), "server's");
  EXPECT_EQ(ModifiedTime(server.Root() + "public_html/same.htm"), kTen);
  EXPECT_EQ(ReadFile(server.Root() + "public_html/newer.htm"), "new");
  EXPECT_EQ(Count(server, "STOR"), 1);
}

TEST_F(UpDownTest, DownloadFetchesTheSelectedServerNewerAndServerOnlyRows) {
  test::FtpServer server;
  Put(server.Root() + "public_html/newer.htm", kTen + kHour * 3, "server's newer");
  Put(site_ + "public_html/newer.htm", kTen, "local older");
  Put(server.Root() + "public_html/only.css", kTen, "server only");
  Put(server.Root() + "public_html/same.htm", kTen, "left alone");
  Put(site_ + "public_html/same.htm", kTen, "local");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  ASSERT_EQ(Icons()["newer.htm"], ServerNewerIcon);
  ASSERT_EQ(Icons()["only.css"], NotOnLocalIcon);
  Select({"newer.htm", "only.css"});

  const TUpDownResult result = UpDownClick(ServerDownloadCommand);

  EXPECT_EQ(result.downloads, 2);
  for (const char* name : {"newer.htm", "only.css"}) {
    const std::string path = std::string("public_html/") + name;
    EXPECT_EQ(ReadFile(site_ + path), ReadFile(server.Root() + path));
    ExpectSameDate(server, site_ + path, path);
  }
  EXPECT_EQ(ReadFile(site_ + "public_html/newer.htm.Bak"), "local older");
  EXPECT_EQ(ReadFile(site_ + "public_html/same.htm"), "local");
  EXPECT_EQ(Icons(), (std::map<std::string, int>{{"newer.htm", SameDateIcon},
                                                 {"only.css", SameDateIcon},
                                                 {"same.htm", SameDateIcon}}));
  EXPECT_TRUE(SelectedNames().empty()) << "each row deselected once done";
  // "Stop after this one" showed for the two rows, and went with the run.
  EXPECT_TRUE(std::count(run_.stopButtons.begin(), run_.stopButtons.end(), true) > 0);
  EXPECT_FALSE(ServerList.stopButton);
  EXPECT_THAT(run_.captions, ::testing::Contains("Downloading:  2 of 2  --  only.css"));
}

TEST_F(UpDownTest, DownloadToSavesOneCopyWhereTheUserSaysAndLeavesItsDate) {
  test::FtpServer server;
  Put(server.Root() + "public_html/page.htm", kTen + kHour * 3, "server's");
  Put(site_ + "public_html/page.htm", kTen, "local");
  Put(server.Root() + "public_html/second.htm", kTen + kHour * 3, "second");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  Select({"page.htm", "second.htm"});
  const std::string copy = test::TestHome() + "copies/page copy.htm";
  fs::create_directories(test::TestHome() + "copies");
  Dialogs().AnswerPath(copy);

  // The dispatcher names the running command; the copy is found by the site's path.
  CurrentCommand = DownloadToCommand;
  UpDownClick(DownloadToCommand);
  CurrentCommand.clear();

  EXPECT_EQ(ReadFile(copy), "server's");
  EXPECT_NE(FileAge(copy), kTen + kHour * 3) << "a copy keeps the time it was made";
  EXPECT_EQ(ReadFile(site_ + "public_html/page.htm"), "local");
  EXPECT_EQ(FileAge(site_ + "public_html/page.htm"), kTen);
  ASSERT_EQ(Dialogs().PathCalls().size(), 1u) << "one file only";
  const test::ScriptedDialogs::PathCall& dialog = Dialogs().PathCalls()[0];
  EXPECT_TRUE(dialog.call.save);
  EXPECT_EQ(dialog.call.title, "Download to...");
  EXPECT_EQ(dialog.call.filter, ".htm files|*.htm|All files|*.*");
  EXPECT_EQ(dialog.call.folder, site_ + "public_html/");
  EXPECT_FALSE(fs::exists(site_ + "public_html/second.htm"));
  EXPECT_EQ(SelectedNames(), std::vector<std::string>{"second.htm"});

  // Cancel ends the command with nothing fetched.
  Dialogs().CancelPath();
  EXPECT_THROW(UpDownClick(DownloadToCommand), EAbort);
  EXPECT_FALSE(fs::exists(site_ + "public_html/second.htm"));
  EXPECT_EQ(Count(server, "RETR"), 1);
}

TEST_F(UpDownTest, UnarchiveBringsTheArchivedCopyBackToTheServer) {
  test::FtpServer server;
  Put(server.Root() + "Archive/page.htm", kTen - kHour * 48, "archived");
  Put(server.Root() + "public_html/page.htm", kTen, "broken");
  Put(site_ + "public_html/page.htm", kTen, "local");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  Select({"page.htm"});

  UpDownClick(UnarchiveCommand);

  EXPECT_EQ(ReadFile(server.Root() + "public_html/page.htm"), "archived");
  EXPECT_EQ(ReadFile(server.Root() + "Archive/page.htm"), "archived");
  EXPECT_EQ(ReadFile(site_ + "public_html/page.htm"), "local");
  EXPECT_EQ(FileAge(site_ + "public_html/page.htm"), kTen);
  EXPECT_FALSE(fs::exists(site_ + "public_html/page.htm.Bak"));
  EXPECT_FALSE(fs::exists(site_ + "Archive"));
}

TEST_F(UpDownTest, StopAfterThisOneEndsTheRunOnceTheFileUnderWayIsDone) {
  test::FtpServer server;
  for (const char* name : {"a.htm", "b.htm", "c.htm"}) Put(site_ + "public_html/" + name, kTen, "x");
  fs::create_directories(server.Root() + "public_html");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  Select({"a.htm", "b.htm", "c.htm"});
  bool pressed = false;
  window_.onProgress = [&] {
    if (!pressed) StopAfterThisClick();
    pressed = true;
  };

  const TUpDownResult result = UpDownClick(ServerUploadCommand);

  EXPECT_TRUE(pressed);
  EXPECT_EQ(result.uploads, 1);
  EXPECT_TRUE(fs::exists(server.Root() + "public_html/a.htm"));
  EXPECT_FALSE(fs::exists(server.Root() + "public_html/b.htm"));
  EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"b.htm", "c.htm"}));
  EXPECT_EQ(Icons(), (std::map<std::string, int>{{"a.htm", SameDateIcon},
                                                 {"b.htm", NotOnServerIcon},
                                                 {"c.htm", NotOnServerIcon}}));
  EXPECT_FALSE(ServerList.stopButton);
  // The caption named the file with its local date and size.
  EXPECT_THAT(run_.captions,
              ::testing::Contains("Uploading:  1 of 3  --  a.htm    06-May-25  10.00  1 B "));
  EXPECT_EQ(ServerList.caption.find("Uploading"), std::string::npos) << "the caption is back";
}

// The list made anew while a file goes up (another folder listed, say): the run
// ends instead of taking the new list's rows for the ones chosen.
TEST_F(UpDownTest, AListMadeAnewDuringARunEndsIt) {
  test::FtpServer server;
  for (const char* name : {"a.htm", "b.htm", "c.htm", "x.htm", "y.htm", "z.htm"})
    Put(site_ + "public_html/" + name, kTen, "x");
  fs::create_directories(server.Root() + "public_html");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  Select({"a.htm", "b.htm", "c.htm"});
  bool listed = false;
  window_.onProgress = [&] {
    // As a listing leaves it: as many rows, other files.
    if (!listed) std::rotate(ServerList.rows.begin(), ServerList.rows.begin() + 3, ServerList.rows.end());
    listed = true;
  };

  EXPECT_EQ(UpDownClick(ServerUploadCommand).uploads, 1);

  EXPECT_TRUE(listed);
  for (const char* name : {"b.htm", "c.htm", "y.htm", "z.htm"})
    EXPECT_FALSE(fs::exists(server.Root() + "public_html/" + name)) << name;
  EXPECT_EQ(Icons()["x.htm"], NotOnServerIcon) << "the icon went to no other row";
}

TEST_F(UpDownTest, TheDatabaseQuestionComesBeforeAnyUpload) {
  struct Case {
    int answer;
    int stored;
  } cases[] = {{mrNo, 0}, {mrYes, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    test::FtpServer server;
    Put(site_ + "public_html/shop.MDB", kTen, "records");
    Put(site_ + "public_html/index.htm", kTen, "page");
    fs::create_directories(server.Root() + "public_html");
    Connect(server);
    ShowDir(std::vector<std::string>{"public_html"});
    Select({"shop.MDB", "index.htm"});
    Dialogs().Clear();
    Dialogs().Answer(c.answer);

    UpDownClick(ServerUploadCommand);

    EXPECT_THAT(Dialogs().Texts(),
                ElementsAre("Are you sure you want to upload the database shop.MDB"));
    EXPECT_EQ(Count(server, "STOR"), c.stored);
    EnsureConnected();
  }
}

TEST_F(UpDownTest, ManyRowsOrALargeFileGetTheLongTimeOut) {
  struct Case {
    const char* what;
    int files;
    size_t bytes;
    uint32_t timeout;
  } cases[] = {
      {"six rows", 6, 10, 2808348671u},
      {"two rows", 2, 10, 60000u},
      {"one file of megabytes", 1, 1200000, 2808348671u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FtpServer server;
    fs::remove_all(site_ + "public_html");
    for (int i = 0; i < c.files; ++i)
      Put(site_ + "public_html/f" + std::to_string(i) + ".txt", kTen, std::string(c.bytes, 'x'));
    fs::create_directories(server.Root() + "public_html");
    Connect(server);
    ShowDir(std::vector<std::string>{"public_html"});
    for (TServerRow& row : ServerList.rows) row.selected = true;

    EXPECT_EQ(UpDownClick(ServerUploadCommand).uploads, c.files);

    uint32_t value = 0, length = sizeof value;
    ASSERT_TRUE(
        InternetQueryOptionA(FtpConnection, INTERNET_OPTION_CONNECT_TIMEOUT, &value, &length));
    EXPECT_EQ(value, c.timeout);
    ASSERT_TRUE(
        InternetQueryOptionA(InternetSession, INTERNET_OPTION_CONNECT_TIMEOUT, &value, &length));
    EXPECT_EQ(value, 60000u) << "the session has its own back";
  }
}

TEST_F(UpDownTest, RowsWhoseNamesLeadOutOfTheSiteArePassedOver) {
  test::FtpServer server;
  Put(server.Root() + "outside/x.htm", kTen, "server");
  Put(server.Root() + "public_html/ok.htm", kTen, "fine");
  Connect(server);
  FlatListing = true;
  ServerList.flatStart = "public_html/";
  ServerList.rows = {{"public_html/", IgnoreDateIcon, true, false, false},
                     {"ok.htm", NotOnLocalIcon, false, false, true},
                     {"../outside/", NotOnLocalIcon, true, false, true},
                     {"x.htm", NotOnLocalIcon, false, false, true}};
  window_.rows = 3;

  EXPECT_EQ(UpDownClick(ServerDownloadCommand).downloads, 1);

  EXPECT_EQ(ReadFile(site_ + "public_html/ok.htm"), "fine");
  EXPECT_FALSE(fs::exists(site_ + "../outside"));
  EXPECT_THAT(Dialogs().Texts(),
              ElementsAre("../outside/\ris not within site " + site_ + "\rso it is passed over.",
                          "../outside/x.htm\ris not within site " + site_ +
                              "\rso it is passed over."));

  // In a folder of the tree a name is checked the same way.
  Dialogs().Clear();
  FlatListing = false;
  ServerList.folder = "public_html/";
  ServerList.rows = {{"..", NotOnLocalIcon, false, false, true}};
  EXPECT_EQ(UpDownClick(ServerDownloadCommand).downloads, 0);
  EXPECT_THAT(Dialogs().Texts(), ElementsAre(HasSubstr("public_html/..\ris not within site")));
}

TEST_F(UpDownTest, AFolderTheServerRefusesStopsTheUploadWithItsReply) {
  // The server holds a file where the local site has a folder.
  test::FtpServer server;
  Put(server.Root() + "public_html/sub", kTen, "a file");
  Put(site_ + "public_html/sub/a.htm", kTen, "a");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html", "sub"});
  ASSERT_EQ(Nodes(ServerList.tree.children[0])["sub"], FolderLocalOnly);

  Dialogs().Answer(mrCancel);  // the error box
  EXPECT_THROW(UpDownClick(ServerUploadCommand, {{"public_html", "sub"}}), EAbort);

  EXPECT_THAT(Dialogs().Texts().at(0), ::testing::StartsWith("Could not create folder\rpublic_html/sub/"));
  EXPECT_EQ(Count(server, "STOR"), 0);
  EXPECT_EQ(ReadFile(server.Root() + "public_html/sub"), "a file");
}

TEST_F(UpDownTest, AFailedUploadAfterAFolderWasMadeIsStillReported) {
  // The server makes folders but takes no files: the folder's "257" must not
  // pass the refused upload off as a success.
  test::FtpServer server({.perm = "elradfmMT"});
  Put(site_ + "public_html/new/a.htm", kTen, "a");
  Connect(server);
  fs::create_directories(server.Root() + "public_html");
  ShowDir(std::vector<std::string>{"public_html", "new"});

  Dialogs().Answer({mrYes, mrCancel});  // "Upload matching files?", the error box
  EXPECT_THROW(UpDownClick(ServerUploadCommand, {{"public_html", "new"}}), EAbort);

  EXPECT_TRUE(fs::is_directory(server.Root() + "public_html/new"));
  ASSERT_EQ(Dialogs().Texts().size(), 2u);
  EXPECT_THAT(Dialogs().Texts()[1], HasSubstr("Could not upload file to server."));
  EXPECT_EQ(FileAge(site_ + "public_html/new/a.htm"), kTen) << "not dated as uploaded";
}

TEST_F(UpDownTest, AListedFolderOnlyLocalIsMadeOnTheServerWhenTheUserSaysSo) {
  struct Case {
    int answer;
    bool made;
  } cases[] = {{mrNo, false}, {mrYes, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    test::FtpServer server;
    Put(site_ + "drafts/d.htm", kTen, "draft");
    Connect(server);
    ShowDir(std::vector<std::string>{"drafts"});
    Select({"d.htm"});
    Dialogs().Clear();
    Dialogs().Answer(c.answer);

    UpDownClick(ServerUploadCommand);

    EXPECT_THAT(Dialogs().Texts(), ElementsAre("drafts/\rFolder not on server.  Create it?"));
    EXPECT_EQ(fs::exists(server.Root() + "drafts/d.htm"), c.made);
    if (c.made) {
      // Listed again from the root, where the folder is now on both sides.
      EXPECT_TRUE(ServerList.chosenNode.empty());
      EXPECT_EQ(Nodes(ServerList.tree)["drafts"], FolderOnBoth);
    }
  }
}

TEST_F(UpDownTest, FlatFolderRowsAreMadeOnTheSideThatLacksThem) {
  test::FtpServer server;
  Put(site_ + "public_html/drafts/d.htm", kTen, "draft");
  Put(server.Root() + "public_html/img/logo.png", kTen, "png");
  Put(site_ + "public_html/index.htm", kTen, "page");
  Put(server.Root() + "public_html/index.htm", kTen, "page");
  Connect(server);
  FlatListing = true;
  ListFlat();
  ASSERT_EQ(Icons()["public_html/drafts/"], NotOnServerIcon);
  ASSERT_EQ(Icons()["public_html/img/"], NotOnLocalIcon);

  Select({"public_html/drafts/"});
  UpDownClick(ServerUploadCommand);
  EXPECT_TRUE(fs::is_directory(server.Root() + "public_html/drafts"));
  EXPECT_EQ(Icons()["public_html/drafts/"], IgnoreDateIcon) << "listed again, on both sides";

  Select({"public_html/img/"});
  UpDownClick(ServerDownloadCommand);
  EXPECT_TRUE(fs::is_directory(site_ + "public_html/img"));
  EXPECT_EQ(Icons()["public_html/img/"], IgnoreDateIcon);
  EXPECT_FALSE(fs::exists(site_ + "public_html/img/logo.png")) << "the folder, not its files";
}

TEST_F(UpDownTest, SynchroniseUploadsTheLocalNewerAndDownloadsTheServerNewer) {
  test::FtpServer server;
  Put(server.Root() + "public_html/up.htm", kTen - 3 * kHour, "old");
  Put(site_ + "public_html/up.htm", kTen, "newer here");
  Put(server.Root() + "public_html/down.htm", kTen + 3 * kHour, "newer there");
  Put(site_ + "public_html/down.htm", kTen, "old");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  Select({"up.htm", "down.htm"});

  const TUpDownResult result = UpDownClick(SynchroniseCommand);

  EXPECT_EQ(result.uploads, 1);
  EXPECT_EQ(result.downloads, 1);
  EXPECT_EQ(ReadFile(server.Root() + "public_html/up.htm"), "newer here");
  EXPECT_EQ(ReadFile(site_ + "public_html/down.htm"), "newer there");
  EXPECT_EQ(Icons(), (std::map<std::string, int>{{"down.htm", SameDateIcon},
                                                 {"up.htm", SameDateIcon}}));
}

TEST_F(UpDownTest, AnUploadedFileIsToBeComparedAgainInEveryTabThatShowsIt) {
  test::FtpServer server;
  Put(site_ + "public_html/page.htm", kTen, "page");
  fs::create_directories(server.Root() + "public_html");
  Connect(server);
  ShowDir(std::vector<std::string>{"public_html"});
  Select({"page.htm"});
  const int shown = AddDocument(site_ + "public_html/page.htm");
  const int other = AddDocument(site_ + "public_html/other.htm");
  DocumentAt(shown)->ServerFileDate = 45000.5;
  DocumentAt(other)->ServerFileDate = 45000.5;

  UpDownClick(ServerUploadCommand);

  EXPECT_EQ(DocumentAt(shown)->ServerFileDate, ServerDateUnknown);
  EXPECT_EQ(DocumentAt(other)->ServerFileDate, 45000.5);
}

}  // namespace
}  // namespace quorrel
