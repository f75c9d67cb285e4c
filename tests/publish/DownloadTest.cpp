// Downloads from a real pyftpdlib server on loopback: the previous version kept as
// the ".Bak", the local copy dated as the server's, a save-as copy left undated,
// condensed pages laid out again, and failures that leave the local file and its
// back-up exactly as they were.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "ConnectionTestSupport.h"
#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "publish/Condense.h"
#include "publish/Connection.h"
#include "publish/Download.h"
#include "publish/Transfers.h"
#include "shell/Backups.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"
#include "support/MemoryMainWindow.h"
#include "support/ReadOnlyFolder.h"
#include "support/RecordingServerWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::ReadFile;
using ::testing::HasSubstr;

constexpr int64_t kMay6 = 1746515290;         // 6 May 2025 07:08:10 UTC
constexpr int64_t kMay7 = kMay6 + 86400 + 1;  // an odd second
const std::string kServerPage =
    "<html>\n<head>\n<title>New</title>\n</head>\n<body>\n<p>new</p>\n</body>\n</html>\n";

std::string RandomBytes(size_t size) {
  return test::RandomBytes(size, 11);
}

class DownloadTest : public test::ConnectionTestBase {
 protected:
  void SetUp() override {
    ConnectionTestBase::SetUp();
    site_ = test::SiteTestFolder() + "download/";
    fs::remove_all(site_);
    fs::create_directories(site_ + "public_html");
    SiteFolder = site_;
    SetMainWindow(&window_);
    SetServerWindowView(&serverWindow_);
    SetHelpViewer([this](int context) { helps_.push_back(context); });
  }
  void TearDown() override {
    SetHelpViewer(nullptr);
    SetServerWindowView(nullptr);
    SetMainWindow(nullptr);
    fs::remove_all(test::SiteTestFolder());
    ConnectionTestBase::TearDown();
  }
  void Connect(test::FtpServer& server) {
    ASSERT_TRUE(server.Running()) << server.Problem();
    UseServer(server.Port(), server.User(), server.Password());
    SetOnline(true);  // a lost server turns it off
    LastConnectTime = 0;
    EnsureConnected();
    ASSERT_TRUE(FtpConnected());
  }
  // A file on both sides: the local one older.
  std::string Both(test::FtpServer& server, const std::string& name, const std::string& local,
                   const std::string& remote) {
    test::WriteFile(server.Root() + "public_html/" + name, remote);
    SetFileTime(server.Root() + "public_html/" + name, kMay7);
    test::WriteFile(site_ + "public_html/" + name, local);
    SetFileTime(site_ + "public_html/" + name, kMay6);
    return site_ + "public_html/" + name;
  }
  // The names in the local folder.
  std::vector<std::string> LocalNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(site_ + "public_html")) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string site_;
  test::MemoryMainWindow window_;
  test::RecordingServerWindow serverWindow_;
  std::vector<int> helps_;
};

TEST_F(DownloadTest, TheServerCopyReplacesTheFileWhichBecomesItsBackUp) {
  test::FtpServer server;
  Connect(server);
  struct Case {
    std::string name;
    std::string local;
    std::string remote;
  } cases[] = {
      {"index.htm", "<p>old page</p>\n", kServerPage},
      {"logo.png", "old image", RandomBytes(70000)},
      {"my page.htm", "<p>old</p>\n", kServerPage},  // reached from its folder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string local = Both(server, c.name, c.local, c.remote);
    test::WriteFile(local + ".Bak", "an older back-up");
    DownloadFile(local);
    EXPECT_EQ(ReadFile(local), c.remote);
    EXPECT_EQ(ReadFile(local + ".Bak"), c.local);
    EXPECT_EQ(FileAge(local), kMay7) << "the server's time, to the second";
    EXPECT_TRUE(Dialogs().Calls().empty());
    EXPECT_EQ(FtpCurrentDirectory(FtpConnection), "/") << "the server folder is set back";
  }
  EXPECT_EQ(LocalNames(),
            (std::vector<std::string>{"index.htm", "index.htm.Bak", "logo.png", "logo.png.Bak",
                                      "my page.htm", "my page.htm.Bak"}));
}

TEST_F(DownloadTest, ASaveAsCopyIsNotRedatedAndTheFileStaysAsItWas) {
  test::FtpServer server;
  Connect(server);
  const std::string local = Both(server, "index.htm", "<p>old</p>\n", kServerPage);
  const std::string copy = site_ + "copies/sub/index.htm";
  DownloadFile(local, copy);
  EXPECT_EQ(ReadFile(copy), kServerPage);
  EXPECT_NE(FileAge(copy), kMay7);
  EXPECT_EQ(ReadFile(local), "<p>old</p>\n");
  EXPECT_EQ(FileAge(local), kMay6);
  EXPECT_FALSE(fs::exists(local + ".Bak"));
}

TEST_F(DownloadTest, AFailedDownloadLeavesTheFileAndItsBackUpAsTheyWere) {
  test::FtpServerOptions slow;
  slow.throttle = 256 * 1024;
  const std::string big = RandomBytes(2 * 1024 * 1024);
  struct Case {
    const char* what;
    std::string name;
    bool onServer;
    std::function<void(test::FtpServer&)> during;  // once the bar has moved
    bool readOnly;
    int boxes;            // the error boxes that ask which button
    std::string message;  // "" = none, the command ends silently
  } cases[] = {
      {"missing on the server", "gone.htm", false, nullptr, false, 0,
       "File public_html/gone.htm\ris not on the server.\rIf you doubt this, switch tabs and "
       "back."},
      {"hidden name", ".htpasswd", false, nullptr, false, 0,
       "public_html/.htpasswd is a hidden file so you can't download it.  Sorry!"},
      {"read-only local folder", "index.htm", true, nullptr, true, 1,
       "Could not transfer file from server:\rpublic_html/index.htm\rError code: 5"},
      {"server killed mid-transfer", "big.bin", true, [](test::FtpServer& s) { s.Kill(); }, false,
       2, "Could not transfer file from server:\rpublic_html/big.bin\rError code: 12031"},
      {"Stop NOW", "big.bin", true, [](test::FtpServer&) { NowBtnClick(); }, false, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FtpServer server(slow);
    Connect(server);
    Dialogs().Clear();
    helps_.clear();
    const std::string local = site_ + "public_html/" + c.name;
    test::WriteFile(local, "the good copy");
    SetFileTime(local, kMay6);
    test::WriteFile(local + ".Bak", "an older back-up");
    if (c.onServer) test::WriteFile(server.Root() + "public_html/" + c.name, big);
    serverWindow_.onProgress = c.during ? [&] { c.during(server); } : std::function<void()>();
    for (int i = 0; i < c.boxes; ++i) Dialogs().Answer(mrCancel);
    {
      std::unique_ptr<test::ReadOnlyFolder> readOnly;
      if (c.readOnly) {
        readOnly = std::make_unique<test::ReadOnlyFolder>(site_ + "public_html/");
        if (!readOnly->Holds()) GTEST_SKIP() << "the folder cannot be made read-only here";
      }
      EXPECT_THROW(DownloadFile(local), EAbort);
    }
    EXPECT_EQ(ReadFile(local), "the good copy");
    EXPECT_EQ(ReadFile(local + ".Bak"), "an older back-up");
    EXPECT_EQ(FileAge(local), kMay6);
    EXPECT_EQ(LocalNames(), (std::vector<std::string>{c.name, c.name + ".Bak"}));
    if (c.message.empty()) {
      EXPECT_TRUE(Dialogs().Calls().empty());
      EXPECT_EQ(helps_, std::vector<int>{StopTransferHelp});
    } else {
      ASSERT_FALSE(Dialogs().Calls().empty());
      EXPECT_THAT(Dialogs().Calls().front().text, HasSubstr(c.message));
    }
    EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
    fs::remove(local);
    fs::remove(local + ".Bak");
    test::EndConnections();
  }
}

TEST_F(DownloadTest, AMissingFileIsPassedOverWhenSeveralRowsAreChosen) {
  test::FtpServer server;
  Connect(server);
  serverWindow_.rows = 2;
  const std::string local = site_ + "public_html/gone.htm";
  test::WriteFile(local, "kept");
  DownloadFile(local);
  EXPECT_EQ(ReadFile(local), "kept");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(DownloadTest, WithoutAServerForTheSiteNothingIsTried) {
  const std::string local = site_ + "public_html/index.htm";
  test::WriteFile(local, "kept");
  SiteHasServer = false;
  EXPECT_THROW(DownloadFile(local), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("Cannot connect to server."));
  EXPECT_EQ(ReadFile(local), "kept");
  EXPECT_FALSE(fs::exists(local + ".Bak"));
}

TEST_F(DownloadTest, APlaceOutsideTheSiteIsRefused) {
  test::FtpServer server;
  Connect(server);
  test::WriteFile(server.Root() + "evil.htm", "x");
  CurrentCommand = "DownloadTo";  // server paths taken as they stand
  EXPECT_THROW(DownloadFile(site_ + "public_html/../../evil.htm"), EAbort);
  CurrentCommand.clear();
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("is not within site"));
  EXPECT_FALSE(fs::exists(test::SiteTestFolder() + "evil.htm"));
}

class DownloadReformatTest : public DownloadTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DownloadReformatTest, ACondensedPageComesBackLaidOutUnlessAskedNotTo) {
  const bool reformat = GetParam();
  const std::string path = "/usr/share/doc/libxslt1-dev/html/index.html";
  ASSERT_TRUE(fs::exists(path)) << "libxslt1-dev is installed by scripts/install-deps";
  const std::string condensed = CondensePage(ReplaceAll(ReadFile(path), "\r\n", "\n", true));
  ASSERT_TRUE(LooksCondensed(condensed, false));
  test::FtpServer server;
  Connect(server);
  const std::string local = Both(server, "index.html", "<p>old</p>\n", condensed);
  // The user's document is another one, and stays as it is.
  TMyRich* editor = window_.NewTab();
  editor->SetText("my own text\r\n");
  CurrentEditor = editor;
  CurrentFileName = site_ + "notes.txt";
  CurrentText = "my own text\r\n";
  ReformatDownloads = reformat;

  DownloadFile(local);
  const std::string got = ReadFile(local);
  if (reformat) {
    EXPECT_FALSE(LooksCondensed(got, false));
    EXPECT_GT(std::count(got.begin(), got.end(), '\n'), 20);
  } else {
    EXPECT_EQ(got, condensed);
  }
  EXPECT_EQ(FileAge(local), kMay7);
  EXPECT_EQ(editor->GetText(), "my own text\r\n");
  EXPECT_EQ(CurrentEditor, editor);
  EXPECT_EQ(CurrentFileName, site_ + "notes.txt");
  EXPECT_FALSE(IsHtml);
  CurrentEditor = nullptr;
  ReformatDownloads = true;
}

INSTANTIATE_TEST_SUITE_P(Both, DownloadReformatTest, ::testing::Bool());

}  // namespace
}  // namespace quorrel
