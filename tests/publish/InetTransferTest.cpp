// Uploads and downloads against a real pyftpdlib server: progress through the
// status callback, a stop asked by the callback, a server that goes away, and
// what becomes of the local file each time.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Inet.h"
#include "support/FtpServer.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

using test::FtpServer;
using test::ReadFile;
using test::WriteFile;

constexpr uintptr_t kUpload = 12345;
constexpr uintptr_t kDownload = 54321;
constexpr size_t kFiveMb = 5 * 1024 * 1024;

std::string RandomBytes(size_t size) {
  return test::RandomBytes(size, 20240601);
}

// What the status callback saw.
struct Progress {
  uint64_t bytes = 0;
  int calls = 0;
  std::vector<uint32_t> statuses;
  std::vector<uintptr_t> contexts;
};

INTERNET_STATUS_CALLBACK Recorder(Progress& p, std::function<bool(const Progress&)> goOn = {}) {
  return
      [&p, goOn](HINTERNET, uintptr_t context, uint32_t status, const void* info, uint32_t length) {
        ++p.calls;
        p.statuses.push_back(status);
        p.contexts.push_back(context);
        if (info && length == sizeof(uint32_t)) p.bytes += *static_cast<const uint32_t*>(info);
        return goOn ? goOn(p) : true;
      };
}

// Files beside the target other than the target itself: left-over work files.
std::vector<std::string> Others(const std::string& folder, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename() != keep) names.push_back(entry.path().filename());
  return names;
}

class InetTransferTest : public ::testing::Test {
 protected:
  void Start(test::FtpServerOptions options = {}) {
    server = std::make_unique<FtpServer>(options);
    ASSERT_TRUE(server->Running()) << server->Problem();
    session = InternetOpenA("Quorrel");
    connection = test::ConnectTo(session, *server);
    ASSERT_NE(connection, nullptr) << GetLastError();
    local = dir.path().toStdString() + "/";
  }
  void TearDown() override {
    if (connection) InternetCloseHandle(connection);
    if (session) InternetCloseHandle(session);
  }
  bool Get(const std::string& remote, const std::string& target) {
    return FtpGetFileA(connection, remote, target, false, FILE_ATTRIBUTE_NORMAL,
                       FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, kDownload);
  }
  bool Put(const std::string& source, const std::string& remote) {
    return FtpPutFileA(connection, source, remote, FTP_TRANSFER_TYPE_BINARY, kUpload);
  }

  std::unique_ptr<FtpServer> server;
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  QTemporaryDir dir;
  std::string local;
};

TEST_F(InetTransferTest, FiveMegabytesGoUpAndComeBackWithProgress) {
  Start();
  std::string bytes = RandomBytes(kFiveMb);
  WriteFile(local + "big.bin", bytes);

  Progress up;
  ASSERT_TRUE(InternetSetStatusCallback(connection, Recorder(up)));
  ASSERT_TRUE(Put(local + "big.bin", "/big.bin")) << GetLastError();
  EXPECT_EQ(ReadFile(server->Root() + "big.bin"), bytes);
  EXPECT_EQ(up.bytes, kFiveMb);
  EXPECT_GT(up.calls, 1);
  for (uint32_t s : up.statuses) EXPECT_EQ(s, INTERNET_STATUS_REQUEST_SENT);
  for (uintptr_t c : up.contexts) EXPECT_EQ(c, kUpload);

  Progress down;
  ASSERT_TRUE(InternetSetStatusCallback(connection, Recorder(down)));
  ASSERT_TRUE(Get("/big.bin", local + "back.bin"));
  EXPECT_EQ(ReadFile(local + "back.bin"), bytes);
  EXPECT_EQ(down.bytes, kFiveMb);
  for (uint32_t s : down.statuses) EXPECT_EQ(s, INTERNET_STATUS_RESPONSE_RECEIVED);
  for (uintptr_t c : down.contexts) EXPECT_EQ(c, kDownload);

  // Without a callback nothing is reported, and binary stays binary.
  ASSERT_TRUE(InternetSetStatusCallback(connection, nullptr));
  WriteFile(local + "crlf.txt", "a\r\nb\nc\r");
  ASSERT_TRUE(Put(local + "crlf.txt", "/crlf.txt"));
  EXPECT_EQ(ReadFile(server->Root() + "crlf.txt"), "a\r\nb\nc\r");
}

TEST_F(InetTransferTest, ADownloadStoppedByTheCallbackLeavesTheOldFile) {
  Start();
  WriteFile(server->Root() + "big.bin", RandomBytes(kFiveMb));
  WriteFile(local + "page.bin", "the good copy");

  Progress p;
  InternetSetStatusCallback(connection,
                            Recorder(p, [](const Progress& p) { return p.bytes == 0; }));
  EXPECT_FALSE(Get("/big.bin", local + "page.bin"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_OPERATION_CANCELLED);
  EXPECT_EQ(ReadFile(local + "page.bin"), "the good copy");
  EXPECT_TRUE(Others(local, "page.bin").empty());

  // The connection is still good for the next command.
  InternetSetStatusCallback(connection, nullptr);
  ASSERT_TRUE(Get("/big.bin", local + "page.bin"));
  EXPECT_EQ(std::filesystem::file_size(local + "page.bin"), kFiveMb);
}

TEST_F(InetTransferTest, AnUploadStoppedByTheCallbackEndsCleanly) {
  Start();
  WriteFile(local + "big.bin", RandomBytes(kFiveMb));
  Progress p;
  InternetSetStatusCallback(connection,
                            Recorder(p, [](const Progress& p) { return p.bytes == 0; }));
  EXPECT_FALSE(Put(local + "big.bin", "/big.bin"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_OPERATION_CANCELLED);
  EXPECT_LT(std::filesystem::file_size(server->Root() + "big.bin"), kFiveMb);
  InternetSetStatusCallback(connection, nullptr);
  EXPECT_TRUE(FtpDeleteFileA(connection, "/big.bin"));
}

// A callback that throws (the program's silent abort) stops the transfer, and the
// exception comes out of the call once the work file is gone.
TEST_F(InetTransferTest, AnExceptionFromTheCallbackLeavesTheCallAfterCleaningUp) {
  Start();
  WriteFile(server->Root() + "big.bin", RandomBytes(kFiveMb));
  WriteFile(local + "keep.bin", "the good copy");
  struct Stop {};
  InternetSetStatusCallback(connection, [](auto...) -> bool { throw Stop(); });
  EXPECT_THROW(Get("/big.bin", local + "keep.bin"), Stop);
  EXPECT_EQ(ReadFile(local + "keep.bin"), "the good copy");
  EXPECT_TRUE(Others(local, "keep.bin").empty());
  // The connection was given back.
  InternetSetStatusCallback(connection, nullptr);
  EXPECT_TRUE(FtpSetCurrentDirectoryA(connection, "/"));
}

// The callback runs inside the transfer; a command on the same connection from
// there is refused, not run inside libcurl.
TEST_F(InetTransferTest, TheConnectionCannotBeUsedFromInsideItsOwnTransfer) {
  Start();
  WriteFile(server->Root() + "big.bin", RandomBytes(kFiveMb));
  uint32_t nested = 0;
  HINTERNET c = connection;
  InternetSetStatusCallback(connection, [&](auto...) {
    if (!nested) {
      TFindData data;
      EXPECT_EQ(FtpFindFirstFileA(c, "/*.*", &data, 0, 0), nullptr);
      nested = GetLastError();
    }
    return true;
  });
  EXPECT_TRUE(Get("/big.bin", local + "big.bin"));
  EXPECT_EQ(nested, ERROR_FTP_TRANSFER_IN_PROGRESS);
}

TEST_F(InetTransferTest, AServerThatGoesAwayMidTransferResetsTheConnection) {
  test::FtpServerOptions slow;
  slow.throttle = 1024 * 1024;
  Start(slow);
  WriteFile(server->Root() + "big.bin", RandomBytes(kFiveMb));
  WriteFile(local + "page.bin", "the good copy");

  Progress p;
  FtpServer* s = server.get();
  InternetSetStatusCallback(connection, Recorder(p, [s](const Progress& p) {
                              if (p.bytes > 0) s->Kill();
                              return true;
                            }));
  EXPECT_FALSE(Get("/big.bin", local + "page.bin"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CONNECTION_RESET);
  EXPECT_LT(p.bytes, kFiveMb);
  EXPECT_EQ(ReadFile(local + "page.bin"), "the good copy");
  EXPECT_TRUE(Others(local, "page.bin").empty());
}

TEST_F(InetTransferTest, AServerThatGoesAwayDuringAnUploadResetsTheConnection) {
  test::FtpServerOptions slow;
  slow.throttle = 1024 * 1024;
  Start(slow);
  WriteFile(local + "big.bin", RandomBytes(kFiveMb));
  Progress p;
  FtpServer* s = server.get();
  InternetSetStatusCallback(connection, Recorder(p, [s](const Progress& p) {
                              if (p.bytes > 0) s->Kill();
                              return true;
                            }));
  EXPECT_FALSE(Put(local + "big.bin", "/big.bin"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CONNECTION_RESET);
  EXPECT_EQ(std::filesystem::file_size(local + "big.bin"), kFiveMb);
}

TEST_F(InetTransferTest, LocalFilesAreHandledWithCare) {
  Start();
  WriteFile(server->Root() + "page.htm", "from the server");

  // Refused before the server is asked.
  WriteFile(local + "exists.htm", "mine");
  EXPECT_FALSE(FtpGetFileA(connection, "/page.htm", local + "exists.htm", true,
                           FILE_ATTRIBUTE_NORMAL, FTP_TRANSFER_TYPE_BINARY, 0));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_EQ(ReadFile(local + "exists.htm"), "mine");
  EXPECT_FALSE(Get("/page.htm", local + "no folder/page.htm"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(Put(local + "missing.htm", "/missing.htm"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  // A file missing on the server leaves the local one alone.
  EXPECT_FALSE(Get("/not there.htm", local + "exists.htm"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
  EXPECT_EQ(InternetLastResponseText().substr(0, 4), "550 ");
  EXPECT_EQ(ReadFile(local + "exists.htm"), "mine");
  EXPECT_TRUE(Others(local, "exists.htm").empty());

  // The replaced file keeps its mode; a link is followed to the file it names.
  chmod((local + "exists.htm").c_str(), 0640);
  ASSERT_TRUE(Get("/page.htm", local + "exists.htm"));
  EXPECT_EQ(ReadFile(local + "exists.htm"), "from the server");
  struct stat st;
  ASSERT_EQ(stat((local + "exists.htm").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  std::filesystem::create_symlink("exists.htm", local + "link.htm");
  WriteFile(server->Root() + "page.htm", "second version");
  ASSERT_TRUE(Get("/page.htm", local + "link.htm"));
  EXPECT_TRUE(std::filesystem::is_symlink(local + "link.htm"));
  EXPECT_EQ(ReadFile(local + "exists.htm"), "second version");

  // An empty file is a file.
  WriteFile(server->Root() + "empty.htm", "");
  ASSERT_TRUE(Get("/empty.htm", local + "empty.htm"));
  EXPECT_EQ(std::filesystem::file_size(local + "empty.htm"), 0u);
}

TEST_F(InetTransferTest, AReadOnlyLoginCannotUpload) {
  test::FtpServerOptions readOnly;
  readOnly.perm = "elr";
  Start(readOnly);
  WriteFile(local + "page.htm", "new");
  EXPECT_FALSE(Put(local + "page.htm", "/page.htm"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
  EXPECT_EQ(InternetLastResponseText().substr(0, 4), "550 ");
  EXPECT_FALSE(std::filesystem::exists(server->Root() + "page.htm"));
}

}  // namespace
}  // namespace quorrel
