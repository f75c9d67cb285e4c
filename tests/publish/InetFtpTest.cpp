// The FTP connection against a real pyftpdlib server: login, directories, names
// on the wire, server commands, errors and threads.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTcpServer>
#include <filesystem>
#include <thread>

#include "platform/Inet.h"
#include "platform/InetInternal.h"
#include "support/FtpServer.h"

namespace quorrel {
namespace {

using test::FtpServer;
using test::ReadFile;
using test::WriteFile;

class InetFtpTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new FtpServer(); }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(server->Running()) << server->Problem();
    session = InternetOpenA("Quorrel");
    ASSERT_NE(session, nullptr);
    connection = test::ConnectTo(session, *server);
    ASSERT_NE(connection, nullptr) << GetLastError() << " " << InternetLastResponseText();
  }
  void TearDown() override {
    if (connection) InternetCloseHandle(connection);
    InternetCloseHandle(session);
  }
  // A folder of the server's root for one test, holding the given files.
  std::string Folder(const std::string& name, const std::vector<std::string>& files = {}) {
    std::string path = server->Root() + name + "/";
    std::filesystem::create_directories(path);
    for (const std::string& f : files) WriteFile(path + f, "content of " + f);
    return path;
  }
  std::string LocalDir() {
    std::string dir = dirs.emplace_back().path().toStdString() + "/";
    return dir;
  }

  static FtpServer* server;
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  std::vector<QTemporaryDir> dirs;
};

FtpServer* InetFtpTest::server = nullptr;

TEST_F(InetFtpTest, ConnectStartsInTheHomeFolderAndTracksTheCurrentDirectory) {
  Folder("dirs/inner");
  EXPECT_EQ(FtpCurrentDirectory(connection), "/");

  char buffer[MAX_PATH];
  uint32_t length = 0;
  EXPECT_FALSE(FtpGetCurrentDirectoryA(connection, buffer, &length));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(length, 2u);  // "/" and its NUL
  length = sizeof buffer;
  ASSERT_TRUE(FtpGetCurrentDirectoryA(connection, buffer, &length));
  EXPECT_STREQ(buffer, "/");

  ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, "dirs"));
  EXPECT_EQ(FtpCurrentDirectory(connection), "/dirs");
  ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, "inner"));
  EXPECT_EQ(FtpCurrentDirectory(connection), "/dirs/inner");
  // The server's own spelling once ".." is resolved.
  ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, ".."));
  EXPECT_EQ(FtpCurrentDirectory(connection), "/dirs");
  ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, "/"));
  EXPECT_EQ(FtpCurrentDirectory(connection), "/");
}

TEST_F(InetFtpTest, RelativeNamesAreTakenInTheCurrentDirectory) {
  Folder("rel", {"here.htm"});
  ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, "/rel"));
  EXPECT_EQ(test::Names(test::FindAll(connection, "*.*")), std::vector<std::string>{"here.htm"});
  ASSERT_TRUE(FtpRenameFileA(connection, "here.htm", "there.htm"));
  EXPECT_TRUE(std::filesystem::exists(server->Root() + "rel/there.htm"));
  ASSERT_TRUE(FtpDeleteFileA(connection, "there.htm"));
  EXPECT_FALSE(std::filesystem::exists(server->Root() + "rel/there.htm"));
}

TEST_F(InetFtpTest, LoginFailureGivesTheServersReply) {
  HINTERNET refused = InternetConnectA(session, "127.0.0.1", server->Port(), server->User(),
                                       "wrong", INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);

  // The length first, then the text, as callers of the library do.
  uint32_t code = 0, length = 0;
  EXPECT_FALSE(InternetGetLastResponseInfoA(&code, nullptr, &length));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  std::string text(length, '\0');
  ASSERT_TRUE(InternetGetLastResponseInfoA(&code, text.data(), &length));
  text.resize(length);
  EXPECT_EQ(code, 530u);
  EXPECT_EQ(text, "530 Authentication failed.");
}

TEST_F(InetFtpTest, MissingFolderGives550AndKeepsTheDirectory) {
  ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, "/"));
  EXPECT_FALSE(FtpSetCurrentDirectoryA(connection, "/no such folder"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
  EXPECT_EQ(InternetLastResponseText().substr(0, 4), "550 ");
  EXPECT_EQ(FtpCurrentDirectory(connection), "/");

  TFindData data;
  EXPECT_EQ(FtpFindFirstFileA(connection, "/no such folder/*.*", &data, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
  EXPECT_EQ(InternetLastResponseText()[0], '5');
}

// Names reach the server's disk in its encoding (UTF-8) and come back as we spell
// them, whatever the characters URLs and commands treat specially.
TEST_F(InetFtpTest, AwkwardNamesGoUpListAndComeBackExactly) {
  struct Case {
    std::string name;    // ours, Windows-1252
    std::string onDisk;  // the server's file name
  };
  const Case cases[] = {
      {"a b.htm", "a b.htm"},
      {"x#y.htm", "x#y.htm"},
      {"100%.htm", "100%.htm"},
      {"what?.htm", "what?.htm"},
      {"semi;colon&amp.htm", "semi;colon&amp.htm"},
      {"caf\xE9.htm", "caf\xC3\xA9.htm"},
      {"na\xEFve \x80 \x9C.htm", "na\xC3\xAFve \xE2\x82\xAC \xC5\x93.htm"},
  };
  Folder("names");
  std::string local = LocalDir();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(local + "up", "bytes of " + c.name);
    ASSERT_TRUE(
        FtpPutFileA(connection, local + "up", "/names/" + c.name, FTP_TRANSFER_TYPE_BINARY, 0))
        << GetLastError() << " " << InternetLastResponseText();
    EXPECT_EQ(ReadFile(server->Root() + "names/" + c.onDisk), "bytes of " + c.name);

    std::vector<TFindData> found = test::FindAll(connection, "/names/" + c.name);
    ASSERT_EQ(test::Names(found), std::vector<std::string>{c.name});
    EXPECT_EQ(FindDataSize(found[0]), ("bytes of " + c.name).size());

    ASSERT_TRUE(FtpGetFileA(connection, "/names/" + c.name, local + "down", false,
                            FILE_ATTRIBUTE_NORMAL, FTP_TRANSFER_TYPE_BINARY, 0));
    EXPECT_EQ(ReadFile(local + "down"), "bytes of " + c.name);
  }
  std::vector<std::string> listed = test::Names(test::FindAll(connection, "/names/*.*"));
  EXPECT_EQ(listed.size(), std::size(cases));
  for (const Case& c : cases)
    EXPECT_NE(std::find(listed.begin(), listed.end(), c.name), listed.end());
}

TEST_F(InetFtpTest, FoldersWithAwkwardNamesCanBeEnteredCreatedAndRemoved) {
  Folder("made");
  for (std::string name : {"with blank", "hash#", "pct%20", "\xE9t\xE9"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(FtpCreateDirectoryA(connection, "/made/" + name));
    // A folder made is a success, although the server answers 257.
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(InternetLastResponseText().substr(0, 4), "257 ");
    ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, "/made/" + name));
    EXPECT_EQ(FtpCurrentDirectory(connection), "/made/" + name);
    ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, "/"));
    ASSERT_TRUE(FtpRemoveDirectoryA(connection, "/made/" + name));
  }
  EXPECT_TRUE(std::filesystem::is_empty(server->Root() + "made"));
}

// Bytes that are not UTF-8 on a UTF-8 server are kept as they are, so the file
// can still be fetched; names Windows-1252 cannot hold are set aside.
TEST_F(InetFtpTest, NamesThatAreNotWindows1252AreHandledWithoutLoss) {
  std::string folder = Folder("raw");
  WriteFile(folder + "old\xE9.htm", "latin-1 name");
  WriteFile(folder + "\xE6\x97\xA5.htm", "cjk name");
  WriteFile(folder + "plain.htm", "plain");

  TFindData data;
  HINTERNET find = FtpFindFirstFileA(connection, "/raw/*.*", &data, 0, 0);
  ASSERT_NE(find, nullptr);
  std::vector<std::string> names{data.cFileName};
  while (InternetFindNextFileA(find, &data)) names.push_back(data.cFileName);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"old\xE9.htm", "plain.htm"}));
  EXPECT_EQ(FtpFindRejectedNames(find), std::vector<std::string>{"\xE6\x97\xA5.htm"});
  InternetCloseHandle(find);

  std::string local = LocalDir() + "got";
  ASSERT_TRUE(FtpGetFileA(connection, "/raw/old\xE9.htm", local, false, FILE_ATTRIBUTE_NORMAL,
                          FTP_TRANSFER_TYPE_BINARY, 0));
  EXPECT_EQ(ReadFile(local), "latin-1 name");
}

TEST_F(InetFtpTest, ServerCommandsAndTheirRefusals) {
  std::string folder = Folder("cmd", {"old.htm"});
  ASSERT_TRUE(FtpRenameFileA(connection, "/cmd/old.htm", "/cmd/new name.htm"));
  EXPECT_TRUE(std::filesystem::exists(folder + "new name.htm"));
  ASSERT_TRUE(FtpCreateDirectoryA(connection, "/cmd/sub"));
  EXPECT_TRUE(std::filesystem::is_directory(folder + "sub"));

  struct Refusal {
    const char* what;
    std::function<bool()> call;
  };
  const Refusal refusals[] = {
      {"delete missing", [&] { return FtpDeleteFileA(connection, "/cmd/missing.htm"); }},
      {"rename missing", [&] { return FtpRenameFileA(connection, "/cmd/missing", "/cmd/x"); }},
      {"make existing", [&] { return FtpCreateDirectoryA(connection, "/cmd/sub"); }},
      {"remove missing", [&] { return FtpRemoveDirectoryA(connection, "/cmd/none"); }},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    EXPECT_FALSE(r.call());
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_EQ(InternetLastResponseText()[0], '5');
  }
  // A later success leaves no stale error behind.
  ASSERT_TRUE(FtpRemoveDirectoryA(connection, "/cmd/sub"));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  ASSERT_TRUE(FtpDeleteFileA(connection, "/cmd/new name.htm"));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(InetFtpTest, LineBreaksInNamesNeverReachTheServer) {
  std::string folder = Folder("inject", {"keep.htm"});
  EXPECT_FALSE(FtpDeleteFileA(connection, "/inject/x\r\nDELE /inject/keep.htm"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  EXPECT_FALSE(FtpSetCurrentDirectoryA(connection, "/inject\nRMD x"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  EXPECT_FALSE(FtpRenameFileA(connection, "/inject/keep.htm", "a\rb"));
  EXPECT_TRUE(std::filesystem::exists(folder + "keep.htm"));
}

TEST_F(InetFtpTest, HandlesAreCheckedBeforeUse) {
  Folder("h", {"a.htm"});
  TFindData data;
  HINTERNET find = FtpFindFirstFileA(connection, "/h/*.*", &data, 0, 0);
  ASSERT_NE(find, nullptr);
  // A search handle is not a connection.
  EXPECT_FALSE(FtpDeleteFileA(find, "/h/a.htm"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  // Closing the connection takes its search with it.
  ASSERT_TRUE(InternetCloseHandle(connection));
  EXPECT_FALSE(InternetFindNextFileA(find, &data));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FtpSetCurrentDirectoryA(connection, "/"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(InternetSetStatusCallback(connection, [](auto...) { return true; }));
  EXPECT_FALSE(InternetCloseHandle(connection));
  connection = nullptr;
}

TEST_F(InetFtpTest, TimeoutOptionTakesTheLowFourBytes) {
  uint16_t shortValue = 5;
  EXPECT_FALSE(InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &shortValue, 2));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_BAD_OPTION_LENGTH);
  uint32_t any = 1;
  EXPECT_FALSE(InternetSetOptionA(session, 77, &any, 4));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_OPTION);

  // The program's long time-out is an 8-byte number of which four bytes count:
  // 999999999999999999 becomes 2,808,348,671 ms.
  int64_t huge = 999999999999999999LL;
  ASSERT_TRUE(InternetSetOptionA(connection, INTERNET_OPTION_CONNECT_TIMEOUT, &huge, 8));
  auto c = inet::LookupAs<inet::Connection>(connection, inet::Kind::Connection);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->timeoutMs.load(), 2808348671u);
  EXPECT_TRUE(FtpSetCurrentDirectoryA(connection, "/"));

  // Read back: the connection's own value, the session's untouched.
  uint32_t value = 0, length = 2;
  EXPECT_FALSE(InternetQueryOptionA(connection, INTERNET_OPTION_CONNECT_TIMEOUT, &value, &length));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(length, 4u);
  ASSERT_TRUE(InternetQueryOptionA(connection, INTERNET_OPTION_CONNECT_TIMEOUT, &value, &length));
  EXPECT_EQ(value, 2808348671u);
  ASSERT_TRUE(InternetQueryOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &value, &length));
  EXPECT_EQ(value, 60000u);
  EXPECT_FALSE(InternetQueryOptionA(session, 77, &value, &length));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_OPTION);
}

TEST_F(InetFtpTest, UnreachableServersGiveTheirErrorNumbers) {
  uint32_t quick = 300;
  ASSERT_TRUE(InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &quick, 4));

  // A server that accepts but never greets.
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  EXPECT_EQ(InternetConnectA(session, "127.0.0.1", silent.serverPort(), "u", "p",
                             INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_TIMEOUT);

  // Nobody listening.
  test::RefusingPort closed;
  ASSERT_NE(closed.Port(), 0);
  EXPECT_EQ(InternetConnectA(session, "127.0.0.1", closed.Port(), "u", "p", INTERNET_SERVICE_FTP,
                             INTERNET_FLAG_PASSIVE, 0),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CANNOT_CONNECT);
  EXPECT_EQ(InternetLastResponseText(), "");
}

// A server that refuses at its greeting (pure-ftpd requiring TLS does so): the
// reply is the error's text.
TEST_F(InetFtpTest, ARefusingGreetingGivesItsReply) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 1), 0);
  socklen_t length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string greeting =
      "421 Sorry, cleartext sessions and weak ciphers are not accepted on this server.\r\n";
  std::thread refuser([&] {
    int peer = accept(listener, nullptr, nullptr);
    if (peer >= 0) {
      ssize_t sent = send(peer, greeting.data(), greeting.size(), MSG_NOSIGNAL);
      (void)sent;
      close(peer);
    }
  });
  EXPECT_EQ(InternetConnectA(session, "127.0.0.1", ntohs(address.sin_port), "u", "p",
                             INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0),
            nullptr);
  refuser.join();
  close(listener);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
  EXPECT_EQ(InternetLastResponseText(), greeting.substr(0, greeting.size() - 2));
}

TEST(InetErrorMapping, CurlFailuresBecomeTheLibrarysNumbers) {
  struct Case {
    CURLcode code;
    uint32_t expected;
  };
  const Case cases[] = {
      {CURLE_COULDNT_RESOLVE_HOST, ERROR_INTERNET_NAME_NOT_RESOLVED},
      {CURLE_COULDNT_CONNECT, ERROR_INTERNET_CANNOT_CONNECT},
      {CURLE_OPERATION_TIMEDOUT, ERROR_INTERNET_TIMEOUT},
      {CURLE_RECV_ERROR, ERROR_INTERNET_CONNECTION_RESET},
      {CURLE_PARTIAL_FILE, ERROR_INTERNET_CONNECTION_RESET},
      {CURLE_ABORTED_BY_CALLBACK, ERROR_INTERNET_OPERATION_CANCELLED},
      {CURLE_PEER_FAILED_VERIFICATION, ERROR_INTERNET_INVALID_CA},
      {CURLE_UNSUPPORTED_PROTOCOL, ERROR_INTERNET_UNRECOGNIZED_SCHEME},
  };
  for (const Case& c : cases) EXPECT_EQ(inet::ErrorFromCurl(c.code), c.expected) << c.code;
  EXPECT_EQ(SystemErrorText(ERROR_NO_MORE_FILES), "There are no more files");
  EXPECT_EQ(SystemErrorText(12345), "");
}

TEST_F(InetFtpTest, AConnectionMadeOnAWorkerIsUsedOnTheMainThread) {
  Folder("threads", {"t.htm"});
  HINTERNET made = nullptr;
  uint32_t workerError = 1;
  std::thread worker([&] {
    made = test::ConnectTo(session, *server);
    workerError = GetLastError();
    // A failure on the worker is the worker's own last error.
    FtpSetCurrentDirectoryA(made, "/nowhere");
  });
  worker.join();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(workerError, ERROR_SUCCESS);
  SetLastError(0);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(test::Names(test::FindAll(made, "/threads/*.*")), std::vector<std::string>{"t.htm"});
  std::string local = LocalDir() + "t";
  EXPECT_TRUE(FtpGetFileA(made, "/threads/t.htm", local, false, FILE_ATTRIBUTE_NORMAL,
                          FTP_TRANSFER_TYPE_BINARY, 0));
  InternetCloseHandle(made);
}

TEST_F(InetFtpTest, ClosingTheSessionStopsAConnectBlockedInAnotherThread) {
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  uint16_t port = silent.serverPort();
  HINTERNET blocked = InternetOpenA("Quorrel");
  HINTERNET result = reinterpret_cast<HINTERNET>(1);
  uint32_t error = 0;
  std::thread worker([&] {
    result = InternetConnectA(blocked, "127.0.0.1", port, "u", "p", INTERNET_SERVICE_FTP,
                              INTERNET_FLAG_PASSIVE, 0);
    error = GetLastError();
  });
  // The worker is waiting for a greeting that never comes (60 s by default).
  ASSERT_TRUE(silent.waitForNewConnection(10000));
  auto begin = std::chrono::steady_clock::now();
  InternetCloseHandle(blocked);
  worker.join();
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(error, ERROR_INTERNET_OPERATION_CANCELLED);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
}

}  // namespace
}  // namespace quorrel
