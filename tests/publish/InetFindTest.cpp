// Directory searches against real servers: pyftpdlib with and without its machine
// listings, and vsftpd.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/Inet.h"
#include "platform/InetListing.h"
#include "support/FtpServer.h"

namespace quorrel {
namespace {

using test::FindAll;
using test::FtpServer;
using test::Names;
using test::WriteFile;

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

const TFindData* Entry(const std::vector<TFindData>& records, const std::string& name) {
  for (const TFindData& r : records)
    if (name == r.cFileName) return &r;
  return nullptr;
}

// Sets a file's modification time (UTC seconds), without following links.
void SetTime(const std::string& path, int64_t seconds) {
  struct timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

int64_t Count(const std::vector<std::string>& commands, const std::string& verb) {
  return std::count(commands.begin(), commands.end(), verb);
}

// The same searches against a server that offers MLSD and one that offers only
// LIST (with MDTM for the seconds).
class InetFindTest : public ::testing::TestWithParam<bool> {
 protected:
  static void SetUpTestSuite() {
    machine = new FtpServer();
    FtpServerOptions listOnly;
    listOnly.noMlsd = true;
    plain = new FtpServer(listOnly);
  }
  static void TearDownTestSuite() {
    delete machine;
    delete plain;
  }
  using FtpServerOptions = test::FtpServerOptions;
  FtpServer& Server() { return GetParam() ? *machine : *plain; }
  void SetUp() override {
    ASSERT_TRUE(Server().Running()) << Server().Problem();
    session = InternetOpenA("Quorrel");
    connection = test::ConnectTo(session, Server());
    ASSERT_NE(connection, nullptr) << GetLastError();
  }
  void TearDown() override {
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
  }
  std::string Folder(const std::string& name) {
    std::string path = Server().Root() + name + "/";
    std::filesystem::create_directories(path);
    return path;
  }

  static FtpServer* machine;
  static FtpServer* plain;
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
};

FtpServer* InetFindTest::machine = nullptr;
FtpServer* InetFindTest::plain = nullptr;

INSTANTIATE_TEST_SUITE_P(Servers, InetFindTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Mlsd" : "ListOnly"; });

TEST_P(InetFindTest, AFolderOfTwoThousandFilesIsListedInOneRoundTrip) {
  std::string folder = Folder("many");
  std::vector<std::string> expected;
  for (int i = 0; i < 2000; ++i) {
    std::string name = "page " + std::to_string(i) + ".htm";
    WriteFile(folder + name, std::string(i % 7, 'x'));
    expected.push_back(name);
  }
  size_t before = Server().Commands().size();
  std::vector<TFindData> records = FindAll(connection, "/many/*.*");
  std::vector<std::string> commands = Server().Commands();
  commands.erase(commands.begin(), commands.begin() + before);

  EXPECT_EQ(Sorted(Names(records)), Sorted(expected));
  for (const TFindData& r : records) {
    EXPECT_EQ(r.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FindDataSize(r), uint64_t(std::stoi(r.cFileName + 5) % 7)) << r.cFileName;
  }
  EXPECT_EQ(Count(commands, "MLSD") + Count(commands, "LIST"), 1);
  EXPECT_EQ(Count(commands, "MDTM"), 0);
}

// A link to a folder must never be taken for a folder: the server window would
// walk into it (without end, for a link to an ancestor) and delete through it.
TEST_P(InetFindTest, SymbolicLinksAreNeverFolders) {
  std::string folder = Folder("links");
  std::filesystem::create_directories(folder + "real");
  WriteFile(folder + "file.htm", "target");
  std::filesystem::create_directory_symlink("real", folder + "toReal");
  std::filesystem::create_directory_symlink(".", folder + "loop");
  std::filesystem::create_symlink("file.htm", folder + "toFile.htm");

  std::vector<TFindData> records = FindAll(connection, "/links/*.*");
  ASSERT_EQ(Sorted(Names(records)),
            (std::vector<std::string>{"file.htm", "loop", "real", "toFile.htm", "toReal"}));
  EXPECT_EQ(Entry(records, "real")->dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(Entry(records, "file.htm")->dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
  for (const char* link : {"toReal", "loop"}) {
    SCOPED_TRACE(link);
    EXPECT_EQ(Entry(records, link)->dwFileAttributes, FILE_ATTRIBUTE_REPARSE_POINT);
  }
  // A machine listing may describe a link to a file as the file; either way it is
  // no folder.
  EXPECT_EQ(Entry(records, "toFile.htm")->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  // Searching for a link by name finds the link, not what it points to.
  EXPECT_EQ(Names(FindAll(connection, "/links/loop")), std::vector<std::string>{"loop"});
}

TEST_P(InetFindTest, TimesAreUtcToTheSecond) {
  std::string folder = Folder("times");
  const int64_t recent = time(nullptr) - 3 * 86400 - 17;          // "Mmm dd hh:mm" in LIST
  const int64_t old = inet::UtcSeconds(2019, 2, 28, 23, 59, 58);  // "Mmm dd  yyyy" in LIST
  WriteFile(folder + "recent.htm", "r");
  WriteFile(folder + "old.htm", "o");
  std::filesystem::create_directories(folder + "sub");
  SetTime(folder + "recent.htm", recent);
  SetTime(folder + "old.htm", old);

  std::vector<TFindData> records = FindAll(connection, "/times/*.*");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(FileTimeToUnixTime(Entry(records, "recent.htm")->ftLastWriteTime), recent);
  EXPECT_EQ(FileTimeToUnixTime(Entry(records, "old.htm")->ftLastWriteTime), old);

  // The same through a search for the one file.
  std::vector<TFindData> one = FindAll(connection, "/times/old.htm");
  ASSERT_EQ(one.size(), 1u);
  uint16_t date, clock;
  ASSERT_TRUE(FileTimeToDosDateTime(one[0].ftLastWriteTime, &date, &clock));
  EXPECT_EQ(date, ((2019 - 1980) << 9) | (2 << 5) | 28);
  EXPECT_EQ(clock, (23 << 11) | (59 << 5) | (58 / 2));
}

TEST_P(InetFindTest, WildcardsFollowTheWindowsRulesWhateverTheServerDoes) {
  std::string folder = Folder("wild");
  for (const char* name : {"Index.htm", "page.HTML", "style.css", "noext", "a b.htm", "x.htmx"})
    WriteFile(folder + name, "w");
  struct Case {
    const char* pattern;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"*.*", {"Index.htm", "a b.htm", "noext", "page.HTML", "style.css", "x.htmx"}},
      {"*", {"Index.htm", "a b.htm", "noext", "page.HTML", "style.css", "x.htmx"}},
      {"*.htm", {"Index.htm", "a b.htm", "page.HTML", "x.htmx"}},
      {"?NDEX.*", {"Index.htm"}},
      {"a?b.htm", {"a b.htm"}},
      {"index.htm", {"Index.htm"}},  // letter case aside, as the program expects
      {"*.CSS", {"style.css"}},
      {"no*", {"noext"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Sorted(Names(FindAll(connection, std::string("/wild/") + c.pattern))), c.expected);
  }
  TFindData data;
  EXPECT_EQ(FtpFindFirstFileA(connection, "/wild/*.gif", &data, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
}

TEST_P(InetFindTest, ANameDifferingOnlyInCaseComesAfterTheExactOne) {
  std::string folder = Folder("cases");
  WriteFile(folder + "readme.htm", "lower");
  WriteFile(folder + "README.htm", "upper");
  EXPECT_EQ(Names(FindAll(connection, "/cases/README.htm")).front(), "README.htm");
  EXPECT_EQ(Names(FindAll(connection, "/cases/readme.htm")).front(), "readme.htm");
}

TEST_P(InetFindTest, AFolderNameListsTheFolder) {
  std::string folder = Folder("outer");
  WriteFile(folder + "inner/one.htm", "1");
  WriteFile(folder + "inner/two.htm", "2");
  EXPECT_EQ(Sorted(Names(FindAll(connection, "/outer/inner"))),
            (std::vector<std::string>{"one.htm", "two.htm"}));
  ASSERT_TRUE(FtpSetCurrentDirectoryA(connection, "/outer"));
  EXPECT_EQ(Names(FindAll(connection, "")), std::vector<std::string>{"inner"});
  EXPECT_EQ(Sorted(Names(FindAll(connection, "inner/*.*"))),
            (std::vector<std::string>{"one.htm", "two.htm"}));
}

TEST_P(InetFindTest, AnEmptyFolderHasNoMoreFiles) {
  Folder("empty");
  TFindData data;
  EXPECT_EQ(FtpFindFirstFileA(connection, "/empty/*.*", &data, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
}

TEST_P(InetFindTest, OneSearchAtATimeWhileOtherCommandsGoOn) {
  std::string folder = Folder("one");
  WriteFile(folder + "a.htm", "a");
  WriteFile(folder + "b.htm", "b");
  TFindData data;
  HINTERNET first = FtpFindFirstFileA(connection, "/one/*.*", &data, 0, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(FtpFindFirstFileA(connection, "/one/*.*", &data, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FTP_TRANSFER_IN_PROGRESS);

  // The open search does not hold the connection up.
  QTemporaryDir local;
  ASSERT_TRUE(FtpGetFileA(connection, "/one/a.htm", local.path().toStdString() + "/a", false,
                          FILE_ATTRIBUTE_NORMAL, FTP_TRANSFER_TYPE_BINARY, 0));
  EXPECT_TRUE(InternetFindNextFileA(first, &data));
  EXPECT_FALSE(InternetFindNextFileA(first, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);

  ASSERT_TRUE(InternetCloseHandle(first));
  HINTERNET second = FtpFindFirstFileA(connection, "/one/b.htm", &data, 0, 0);
  ASSERT_NE(second, nullptr);
  EXPECT_STREQ(data.cFileName, "b.htm");
  InternetCloseHandle(second);
}

// Names that cannot be files of ours are left out of the search and reported.
TEST_P(InetFindTest, NamesThatCannotBeLocalFilesAreSetAside) {
  std::string folder = Folder("odd");
  WriteFile(folder + "fine.htm", "ok");
  WriteFile(folder + "back\\slash.htm", "bs");
  WriteFile(folder + "tab\there.htm", "tab");
  TFindData data;
  HINTERNET find = FtpFindFirstFileA(connection, "/odd/*.*", &data, 0, 0);
  ASSERT_NE(find, nullptr);
  EXPECT_STREQ(data.cFileName, "fine.htm");
  EXPECT_FALSE(InternetFindNextFileA(find, &data));
  EXPECT_EQ(Sorted(FtpFindRejectedNames(find)),
            (std::vector<std::string>{"back\\slash.htm", "tab\there.htm"}));
  InternetCloseHandle(find);
}

// IIS lists in the DOS style, each name at a fixed column: blanks at a name's
// start, inside it and at its end belong to it, and the name as listed fetches
// the file.
TEST(InetDosListingTest, NamesWithBlanksAreListedAsTheyAreAndCanBeFetched) {
  test::FtpServerOptions options;
  options.noMlsd = true;
  options.dosList = true;
  FtpServer server(options);
  ASSERT_TRUE(server.Running()) << server.Problem();
  const std::vector<std::string> files = {" lead.txt", "double  blank.txt", "trail.txt "};
  for (const std::string& name : files) WriteFile(server.Root() + "dos/" + name, "[" + name + "]");
  std::filesystem::create_directories(server.Root() + "dos/ lead dir");

  HINTERNET session = InternetOpenA("Quorrel");
  HINTERNET connection = test::ConnectTo(session, server);
  ASSERT_NE(connection, nullptr) << GetLastError();
  std::vector<TFindData> records = FindAll(connection, "/dos/*.*");
  EXPECT_EQ(Sorted(Names(records)), (std::vector<std::string>{" lead dir", " lead.txt",
                                                              "double  blank.txt", "trail.txt "}));
  ASSERT_NE(Entry(records, " lead dir"), nullptr);
  EXPECT_EQ(Entry(records, " lead dir")->dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(Count(server.Commands(), "MLSD"), 0);

  QTemporaryDir local;
  for (const std::string& name : files) {
    SCOPED_TRACE("\"" + name + "\"");
    ASSERT_NE(Entry(records, name), nullptr);
    EXPECT_EQ(FindDataSize(*Entry(records, name)), name.size() + 2);
    const std::string target = local.path().toStdString() + "/got";
    ASSERT_TRUE(FtpGetFileA(connection, "/dos/" + name, target, false, FILE_ATTRIBUTE_NORMAL,
                            FTP_TRANSFER_TYPE_BINARY, 0))
        << InternetLastResponseText();
    EXPECT_EQ(test::ReadFile(target), "[" + name + "]");
  }
  InternetCloseHandle(connection);
  InternetCloseHandle(session);
}

// Debian's vsftpd lists in its own way (numeric owners, LIST only, dot-files
// hidden); the same records must come out.
TEST(InetVsftpdTest, ListingsOfASecondServerGiveTheSameRecords) {
  test::VsftpdServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  std::string root = server.Root();
  WriteFile(root + "site/a b.htm", "blank");
  WriteFile(root + "site/caf\xC3\xA9.htm", "utf8");
  WriteFile(root + "site/.hidden", "dot");
  WriteFile(root + "site/big.bin", std::string(70000, 'b'));
  std::filesystem::create_directories(root + "site/folder");
  std::filesystem::create_directory_symlink("folder", root + "site/link");
  const int64_t old = inet::UtcSeconds(2018, 7, 4, 10, 11, 12);
  SetTime(root + "site/a b.htm", old);
  for (const char* f : {"site/a b.htm", "site/caf\xC3\xA9.htm", "site/big.bin"})
    chmod((root + f).c_str(), 0644);

  HINTERNET session = InternetOpenA("Quorrel");
  HINTERNET connection = InternetConnectA(session, "127.0.0.1", server.Port(), "", "",
                                          INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
  ASSERT_NE(connection, nullptr) << GetLastError() << " " << InternetLastResponseText();
  std::vector<TFindData> records = FindAll(connection, "/site/*.*");
  EXPECT_EQ(Sorted(Names(records)),
            (std::vector<std::string>{"a b.htm", "big.bin", "caf\xE9.htm", "folder", "link"}));
  ASSERT_NE(Entry(records, "a b.htm"), nullptr);
  EXPECT_EQ(FileTimeToUnixTime(Entry(records, "a b.htm")->ftLastWriteTime), old);
  EXPECT_EQ(FindDataSize(*Entry(records, "big.bin")), 70000u);
  EXPECT_EQ(Entry(records, "folder")->dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(Entry(records, "link")->dwFileAttributes, FILE_ATTRIBUTE_REPARSE_POINT);

  QTemporaryDir local;
  std::string target = local.path().toStdString() + "/got";
  ASSERT_TRUE(FtpGetFileA(connection, "/site/caf\xE9.htm", target, false, FILE_ATTRIBUTE_NORMAL,
                          FTP_TRANSFER_TYPE_BINARY, 0));
  EXPECT_EQ(test::ReadFile(target), "utf8");
  EXPECT_FALSE(FtpSetCurrentDirectoryA(connection, "/missing"));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_EXTENDED_ERROR);
  EXPECT_EQ(InternetLastResponseText().substr(0, 4), "550 ");
  InternetCloseHandle(connection);
  InternetCloseHandle(session);
}

}  // namespace
}  // namespace quorrel
