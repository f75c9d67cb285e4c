// Uploads to a real pyftpdlib server on loopback: condensed or as they are, the
// local file re-dated to its server copy, hidden names, refused uploads, and
// "Stop NOW" in the middle of a large one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "ConnectionTestSupport.h"
#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
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
