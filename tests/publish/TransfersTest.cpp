// Uploads to a real pyftpdlib server on loopback: condensed or as they are, the
// local file re-dated to its server copy, hidden names, refused uploads, and
// "Stop NOW" in the middle of a large one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "ConnectionTestSupport.h"
#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/Download.h"
#include "publish/FtpErrors.h"
#include "publish/Transfers.h"
#include "shell/Backups.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/FtpServer.h"
#include "support/RecordingServerWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "support/UnixUserFtp.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::ReadFile;
using ::testing::HasSubstr;

constexpr int64_t kMay6 = 1746515290;  // 6 May 2025 07:08:10 UTC
const std::string kPage =
    "<html>\n<head>\n<title>T</title>\n</head>\n<body>\n<p>the quick\nbrown "
    "fox</p>\n</body>\n</html>\n";
const std::string kCondensed =
    "<html><head><title>T</title></head><body><p>the quick brown fox</p></body></html>\n";

std::string RandomBytes(size_t size) {
  return test::RandomBytes(size, 7);
}

// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

int Count(const std::vector<std::string>& commands, const std::string& command) {
  return static_cast<int>(std::count(commands.begin(), commands.end(), command));
}

class TransfersTest : public test::ConnectionTestBase {
 protected:
  void SetUp() override {
    ConnectionTestBase::SetUp();
    folder_ = test::TestHome() + "transfers/";
    fs::create_directories(folder_);
    SetServerWindowView(&window_);
    SetHelpViewer([this](int context) { helps_.push_back(context); });
  }
  void TearDown() override {
    SetHelpViewer(nullptr);
    SetServerWindowView(nullptr);
    fs::remove_all(folder_);
    ConnectionTestBase::TearDown();
  }
  void Connect(test::FtpServer& server) {
    ASSERT_TRUE(server.Running()) << server.Problem();
    UseServer(server.Port(), server.User(), server.Password());
    LastConnectTime = 0;
    EnsureConnected();
    ASSERT_TRUE(FtpConnected());
  }
  std::string Local(const std::string& name, const std::string& bytes) {
    const std::string path = folder_ + name;
    test::WriteFile(path, bytes);
    SetFileTime(path, kMay6);
    return path;
  }

  std::string folder_;
  test::RecordingServerWindow window_;
  std::vector<int> helps_;
};

TEST_F(TransfersTest, AnUploadIsCondensedWhenAskedAndTheLocalFileTakesTheServerTime) {
  test::FtpServer server;
  Connect(server);
  struct Case {
    const char* what;
    bool condense;
    std::string sent;
  } cases[] = {{"condensed", true, kCondensed}, {"as it is", false, kPage}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainMenu().SetChecked("Condense", c.condense);
    const std::string local = Local("index.htm", kPage);
    UploadFile(local, "/index.htm");
    EXPECT_EQ(ReadFile(server.Root() + "index.htm"), c.sent);
    EXPECT_EQ(ReadFile(local), kPage);
    // The two copies show the same time, to the second.
    EXPECT_EQ(FileAge(local), FileAge(server.Root() + "index.htm"));
    EXPECT_NE(FileAge(local), kMay6);
    EXPECT_FALSE(fs::exists(TempFolder() + "Temp.HTM")) << "the work copy goes";
    EXPECT_TRUE(Dialogs().Calls().empty());
    EXPECT_EQ(window_.gaugeShows, 0) << "small files show no gauge";
  }
}

TEST_F(TransfersTest, UploadedUnderAnotherNameTheLocalFileKeepsItsDate) {
  test::FtpServer server;
  Connect(server);
  const std::string local = Local("draft.htm", kPage);
  UploadFile(local, "/final.htm", false);
  EXPECT_TRUE(fs::exists(server.Root() + "final.htm"));
  EXPECT_EQ(FileAge(local), kMay6);
}

TEST_F(TransfersTest, ANameBeginningWithADotUploads) {
  test::FtpServer server;
  Connect(server);
  const std::string local = Local(".htaccess", "Options -Indexes\n");
  UploadFile(local, "/.htaccess");
  EXPECT_EQ(ReadFile(server.Root() + ".htaccess"), "Options -Indexes\n");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(TransfersTest, ARefusedUploadIsReportedAndNothingIsRedated) {
  test::FtpServerOptions readOnly;
  readOnly.perm = "elr";
  test::FtpServer server(readOnly);
  Connect(server);
  test::WriteFile(server.Root() + "index.htm", "old");
  struct Case {
    const char* what;
    uint32_t waiting;  // a code an earlier call left
  } cases[] = {{"fresh", 0}, {"after a folder was made", 257}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dialogs().Clear();
    const std::string local = Local("index.htm", kPage);
    InternetErrorCode = c.waiting;
    Dialogs().Answer(mrCancel);
    EXPECT_THROW(UploadFile(local, "/index.htm"), EAbort);
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_THAT(Dialogs().Last().text,
                HasSubstr(local + "\rCould not upload file to server.\rError code: 550"));
    EXPECT_EQ(FileAge(local), kMay6);
    EXPECT_EQ(ReadFile(server.Root() + "index.htm"), "old");
    EXPECT_FALSE(fs::exists(TempFolder() + "Temp.HTM"));
  }
}

TEST_F(TransfersTest, StopNowLeavesNoPartOfTheFileOnTheServer) {
  test::FtpServerOptions slow;
  slow.throttle = 256 * 1024;
  test::FtpServer server(slow);
  Connect(server);
  const std::string local = Local("big.bin", RandomBytes(2 * 1024 * 1024));
  window_.onProgress = NowBtnClick;
  EXPECT_THROW(UploadFile(local, "/big.bin"), EAbort);
  EXPECT_TRUE(StopTransfer);
  EXPECT_EQ(window_.gaugeShows, 1);
  EXPECT_FALSE(window_.gaugeShown);
  EXPECT_EQ(helps_, std::vector<int>{StopTransferHelp});
  EXPECT_TRUE(Dialogs().Calls().empty()) << "the user stopped it: no message";
  EXPECT_FALSE(fs::exists(server.Root() + "big.bin"));
  EXPECT_EQ(FileAge(local), kMay6);
  EXPECT_LT(TransferredBytes, 2 * 1024 * 1024);
}

TEST_F(TransfersTest, ALargeUploadMovesTheGaugeOnlyWhileTheServerWindowIsActive) {
  test::FtpServer server;
  Connect(server);
  const std::string bytes = RandomBytes(600000);
  const std::string local = Local("big.bin", bytes);
  struct Case {
    bool active;
    int shows;
  } cases[] = {{false, 0}, {true, 1}};
  for (const Case& c : cases) {
    window_ = test::RecordingServerWindow();
    window_.active = c.active;
    UploadFile(local, "/big.bin");
    EXPECT_EQ(ReadFile(server.Root() + "big.bin"), bytes);
    EXPECT_EQ(window_.gaugeShows, c.shows);
    EXPECT_FALSE(window_.gaugeShown);
    if (c.active) {
      ASSERT_FALSE(window_.widths.empty());
      EXPECT_EQ(window_.widths.front(), 1);
      EXPECT_EQ(window_.widths.back(), 200) << "full at the end";
      EXPECT_TRUE(std::is_sorted(window_.widths.begin(), window_.widths.end()));
    }
  }
}

// A program path spells its name in Windows-1252; on disk, and on a UTF-8 server,
// it is UTF-8. Both ways the file arrives under its own name and no work file stays.
TEST_F(TransfersTest, ANameWithLettersBeyondAsciiGoesBothWaysAndLeavesNothingBehind) {
  test::FtpServer server;
  Connect(server);
  MainMenu().SetChecked("Condense", false);
  const std::string name = "caf\xE9 #1 100%.html";
  const std::string native = "caf\xC3\xA9 #1 100%.html";
  ASSERT_EQ(NativePath(name), native);
  test::WriteFile(folder_ + native, kPage);
  SetFileTime(folder_ + native, kMay6);

  UploadFile(folder_ + name, "/" + name);
  EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
  EXPECT_EQ(ReadFile(server.Root() + native), kPage);
  EXPECT_EQ(FileAge(folder_ + name), FileAge(server.Root() + name));
  EXPECT_EQ(NamesIn(server.Root()), std::vector<std::string>{native});

  const std::string changed = "<p>changed on the server</p>\n";
  test::WriteFile(server.Root() + native, changed);
  SetFileTime(server.Root() + native, kMay6);
  DownloadServerFile("/" + name, folder_ + name);
  EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
  EXPECT_EQ(ReadFile(folder_ + native), changed);
  EXPECT_EQ(ReadFile(folder_ + native + ".Bak"), kPage);
  EXPECT_EQ(FileAge(folder_ + name), kMay6);
  EXPECT_EQ(NamesIn(folder_), (std::vector<std::string>{native, native + ".Bak"}));
  EXPECT_EQ(NamesIn(server.Root()), std::vector<std::string>{native});
}

// However an upload ends early, the site keeps serving the old copy whole; the part
// that did reach the server is not left under the page's name.
TEST_F(TransfersTest, AnUploadThatEndsEarlyLeavesTheOldServerCopyInPlace) {
  const std::string old = "<p>the page the site serves</p>\n";
  struct Case {
    const char* what;
    bool kill;  // else "Stop NOW"
  } cases[] = {{"Stop NOW", false}, {"server killed", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FtpServerOptions slow;
    slow.throttle = 256 * 1024;
    test::FtpServer server(slow);
    Connect(server);
    Dialogs().Clear();
    helps_.clear();
    window_ = test::RecordingServerWindow();
    test::WriteFile(server.Root() + "big.bin", old);
    const std::string local = Local("big.bin", RandomBytes(2 * 1024 * 1024));
    if (c.kill) {
      window_.onProgress = [&server] { server.Kill(); };
      Dialogs().Answer(mrCancel);  // the report
      Dialogs().Answer(mrCancel);  // the reconnect that finds no server
    } else {
      window_.onProgress = NowBtnClick;
    }
    EXPECT_THROW(UploadFile(local, "/big.bin"), EAbort);
    EXPECT_EQ(ReadFile(server.Root() + "big.bin"), old);
    EXPECT_EQ(FileAge(local), kMay6);
    EXPECT_FALSE(fs::exists(TempFolder() + "Temp.BIN"));
    if (c.kill) {
      ASSERT_FALSE(Dialogs().Calls().empty());
      EXPECT_THAT(Dialogs().Calls().front().text,
                  HasSubstr(local + "\rCould not upload file to server.\rError code: "));
    } else {
      EXPECT_TRUE(Dialogs().Calls().empty());
      EXPECT_EQ(helps_, std::vector<int>{StopTransferHelp});
      EXPECT_EQ(NamesIn(server.Root()), std::vector<std::string>{"big.bin"}) << "no work file";
    }
  }
}

// A server that takes the upload but will not let it replace the old copy: the old
// copy stays, and the message says where the new one is.
TEST_F(TransfersTest, ARefusedRenameNamesTheUploadedWorkFile) {
  test::FtpServerOptions noRename;
  noRename.perm = "elradmwMT";  // no "f": RNFR and RNTO refused
  test::FtpServer server(noRename);
  Connect(server);
  test::WriteFile(server.Root() + "page.htm", "old");
  MainMenu().SetChecked("Condense", false);
  const std::string local = Local("page.htm", kPage);
  Dialogs().Answer(mrCancel);
  EXPECT_THROW(UploadFile(local, "/page.htm"), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("/page.htm\r"));
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("on the server as /.page.htm.upload"));
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("Error code: 550"));
  EXPECT_EQ(ReadFile(server.Root() + "page.htm"), "old");
  EXPECT_EQ(ReadFile(server.Root() + ".page.htm.upload"), kPage);
  EXPECT_EQ(FileAge(local), kMay6);
}

// A path with no file name (a page the site does not place on the server) sends
// nothing at all, not even a work file.
TEST_F(TransfersTest, AServerPathWithoutANameSendsNothing) {
  test::FtpServer server;
  Connect(server);
  const std::string local = Local("page.htm", kPage);
  for (const char* serverPath : {"", "/", "/sub/"}) {
    SCOPED_TRACE(serverPath);
    Dialogs().Clear();
    Dialogs().Answer(mrCancel);
    EXPECT_THROW(UploadFile(local, serverPath), EAbort);
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_THAT(Dialogs().Last().text, HasSubstr(local + "\rCould not upload file to server."));
    EXPECT_TRUE(NamesIn(server.Root()).empty());
    EXPECT_EQ(FileAge(local), kMay6);
  }
}

// A server folder on a full file system, as a hosting account meets it (Debian's
// vsftpd, a real Unix user): the server's own reason is reported, not a dropped
// line to try again, and the old copy is still served whole.
TEST_F(TransfersTest, AFullDiskOnTheServerIsReportedByTheServersReply) {
  if (const std::string why = test::UnixUserFtpServer::Impossible(); !why.empty()) {
    GTEST_SKIP() << why;
  }
  test::UnixUserFtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  const std::string full = server.Root() + "full";
  fs::create_directories(full);
  if (::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=256k,mode=0755") != 0) {
    GTEST_SKIP() << "no small file system can be mounted here: " << std::strerror(errno);
  }
  struct Unmount {
    std::string dir;
    ~Unmount() { ::umount2(dir.c_str(), MNT_DETACH); }
  } unmount{full};
  test::WriteFile(full + "/page.bin", "old");
  const passwd* user = getpwnam(server.User().c_str());
  ASSERT_NE(user, nullptr);
  ASSERT_EQ(chown(full.c_str(), user->pw_uid, user->pw_gid), 0);
  ASSERT_EQ(chown((full + "/page.bin").c_str(), user->pw_uid, user->pw_gid), 0);
  UseServer(server.Port(), server.User(), server.Password());
  LastConnectTime = 0;
  EnsureConnected();
  ASSERT_TRUE(FtpConnected());
  struct Case {
    const char* what;
    size_t size;
  } cases[] = {
      // The server answers once all is sent.
      {"within what the sockets hold", 1024 * 1024},
      // The server stops reading long before the end and answers as the line drops.
      {"far more", 16 * 1024 * 1024},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dialogs().Clear();
    const std::string local = Local("page.bin", RandomBytes(c.size));
    Dialogs().Answer(mrCancel);
    EXPECT_THROW(UploadFile(local, "full/page.bin"), EAbort);
    ASSERT_EQ(Dialogs().Calls().size(), 1u) << "no reconnect: the line was not dropped";
    const std::string& text = Dialogs().Last().text;
    EXPECT_THAT(text, HasSubstr(local + "\rCould not upload file to server.\rError code: 451"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("reset")));
    EXPECT_EQ(ReadFile(full + "/page.bin"), "old");
    EXPECT_EQ(NamesIn(full), std::vector<std::string>{"page.bin"}) << "the part went";
    EXPECT_EQ(FileAge(local), kMay6);
  }
}

// Learning the new copy's date asks for that one file, not for its folder's listing.
TEST_F(TransfersTest, TheUploadedFilesDateIsAskedForAloneNotByListingItsFolder) {
  struct Case {
    const char* what;
    bool noMlsd;
    std::vector<std::string> asked;
  } cases[] = {{"MLST", false, {"MLST"}}, {"MDTM and SIZE", true, {"MDTM", "SIZE"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FtpServerOptions options;
    options.noMlsd = c.noMlsd;
    test::FtpServer server(options);
    Connect(server);
    fs::create_directories(server.Root() + "sub/folder");
    for (int i = 0; i < 20; ++i) test::WriteFile(server.Root() + "sub/f" + std::to_string(i), "x");
    const std::string local = Local("page.htm", kPage);
    UploadFile(local, "/sub/page.htm");
    EXPECT_EQ(FileAge(local), FileAge(server.Root() + "sub/page.htm"));
    const std::vector<std::string> commands = server.Commands();
    EXPECT_EQ(Count(commands, "MLSD"), 0);
    EXPECT_EQ(Count(commands, "LIST"), 0);
    for (const std::string& command : c.asked) EXPECT_EQ(Count(commands, command), 1) << command;
  }
}

TEST(TransferStatusCallbackTest, CountsSentAndReceivedBytesAgainstTheRightTotal) {
  test::RecordingServerWindow window;
  SetServerWindowView(&window);
  LocalFileSize = 1000;
  ServerFileSize = 4000;
  struct Case {
    uintptr_t context;
    uint32_t status;
    uint32_t bytes;
    int64_t transferred;
    int width;
  } cases[] = {
      {UploadContext, INTERNET_STATUS_REQUEST_SENT, 250, 250, 50},
      {UploadContext, 10, 999, 250, 50},  // another status: not counted
      {UploadContext, INTERNET_STATUS_REQUEST_SENT, 750, 1000, 200},
      {DownloadContext, INTERNET_STATUS_RESPONSE_RECEIVED, 1000, 2000, 100},
  };
  TransferredBytes = 0;
  StopTransfer = false;
  for (const Case& c : cases) {
    EXPECT_TRUE(TransferStatusCallback(nullptr, c.context, c.status, &c.bytes, sizeof c.bytes));
    EXPECT_EQ(TransferredBytes, c.transferred);
    EXPECT_EQ(window.widths.back(), c.width);
  }
  NowBtnClick();
  const uint32_t more = 1;
  EXPECT_FALSE(TransferStatusCallback(nullptr, UploadContext, INTERNET_STATUS_REQUEST_SENT, &more,
                                      sizeof more));
  SetServerWindowView(nullptr);
}

}  // namespace
}  // namespace quorrel
