// Server directories, searches and the dates of server files, against real
// pyftpdlib servers on loopback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

#include "ConnectionTestSupport.h"
#include "platform/Abort.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "shell/ShellState.h"
#include "support/FtpServer.h"
#include "support/MemoryRich.h"
#include "support/OpenDocuments.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;

class ConnectionSearchTest : public test::ConnectionTestBase {
 protected:
  void SetUp() override {
    ConnectionTestBase::SetUp();
    ASSERT_TRUE(server_.Running()) << server_.Problem();
  }
  void Connect(const std::string& startDir = "") {
    UseServer(server_.Port(), "user", "secret", startDir);
    LastConnectTime = 0;
    EnsureConnected();
    ASSERT_TRUE(FtpConnected());
  }

  test::FtpServer server_;
};

// The lines of a box that follow a heading line, split at CR.
std::vector<std::string> LinesAfter(const std::string& text, const std::string& heading) {
  std::vector<std::string> lines;
  size_t at = text.find(heading);
  if (at == std::string::npos) return lines;
  at += heading.size();
  while (at < text.size()) {
    size_t end = text.find('\r', at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

TEST_F(ConnectionSearchTest, AMissingStartFolderListsTheFoldersThatExist) {
  test::WriteFile(server_.Root() + "www/index.htm", "<p>");
  test::WriteFile(server_.Root() + "public_html/index.htm", "<p>");
  test::WriteFile(server_.Root() + "notes.txt", "text");
  std::filesystem::create_directory_symlink(server_.Root() + "www", server_.Root() + "web");

  Dialogs().Answer(mrYes);  // OK
  UseServer(server_.Port(), "user", "secret", "nosuch");
  LastConnectTime = 0;
  EXPECT_THROW(EnsureConnected(), EAbort);
  const DialogCall& box = Dialogs().Last();
  EXPECT_THAT(box.buttons, ElementsAre("&OK", "&Help", "Cancel"));
  EXPECT_EQ(box.helpContext, 31700);
  EXPECT_THAT(box.text, StartsWith("Could not set server directory to  /nosuch/\r550 "));
  // Folders only: not the file, and not the link that points at a folder.
  EXPECT_THAT(LinesAfter(box.text, "\rValid top-level directories are:\r"),
              UnorderedElementsAre("  /public_html/", "  /www/"));
  EXPECT_EQ(InternetErrorCode, 0u);
}

TEST_F(ConnectionSearchTest, AFolderThatCannotBeEnteredInAWholeSiteDownloadBlamesItsBlanks) {
  Connect();
  EntireRun = true;
  EXPECT_THROW(SetServerDir("/my folder/"), EAbort);
  EXPECT_EQ(Dialogs().Last().text,
            "/my folder/\rYou're asking for trouble using a directory name with spaces.\r"
            "Please use \"_\" instead.");
}

TEST_F(ConnectionSearchTest, ANameWithBlanksIsPickedOutByItsExactSpelling) {
  for (const char* name : {"my page.htm", "my_page.htm", "myXpage.htm"}) {
    test::WriteFile(server_.Root() + "www/" + name, name);
  }
  Connect("www");
  ASSERT_EQ(ServerFolder, "/www");
  struct Case {
    std::string path;
    bool found;
  } cases[] = {{"my page.htm", true},
               {"/www/my page.htm", true},
               {"my_page.htm", true},
               {"no such.htm", false},
               {"my  page.htm", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FtpFindFirst(c.path), c.found);
    EXPECT_EQ(FtpFind != nullptr, c.found);
    if (c.found) {
      EXPECT_EQ(c.path.substr(c.path.rfind('/') + 1), CurrentFindName());
    }
    EXPECT_EQ(FtpCurrentDirectory(FtpConnection), "/www");  // back where it was
  }
  EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());
}

TEST_F(ConnectionSearchTest, AnEntryOtherThanTheOneAskedForIsNotTakenForIt) {
  test::WriteFile(server_.Root() + "images/a.gif", "GIF89a");
  test::WriteFile(server_.Root() + "index.htm", "<p>");
  Connect();

  EXPECT_TRUE(FtpFindFirst("index.htm"));
  EXPECT_TRUE(FtpFindFirst("*.htm"));
  EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());

  // Naming a folder lists its contents: the first entry is not the folder.
  EXPECT_FALSE(FtpFindFirst("images"));
  EXPECT_EQ(FtpFind, nullptr);
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("Error - searched for images but found a.gif"));

  Dialogs().Clear();
  FlatListing = true;
  EXPECT_FALSE(FtpFindFirst("images"));
  EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());
}

TEST_F(ConnectionSearchTest, FindingNothingLeavesNoSearchOpen) {
  test::WriteFile(server_.Root() + "index.htm", "<p>");
  Connect();
  ASSERT_TRUE(FtpFindFirst("index.htm"));
  const HINTERNET found = FtpFind;
  EXPECT_FALSE(FtpFindFirst("missing.htm"));
  EXPECT_EQ(FtpFind, nullptr);
  EXPECT_FALSE(InternetFindNextFileA(found, &FtpFindData));  // the earlier one was closed
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(ConnectionSearchTest, SplittingAServerPath) {
  ServerFolder = "/home/site/";
  struct Case {
    std::string path, name, folder;
  } cases[] = {{"www/a b.htm", "a b.htm", "www/"},
               {"/www/sub/x.htm", "x.htm", "/www/sub/"},
               {"index.htm", "index.htm", "/home/site/"},
               {"www/", "", "www/"}};
  for (const Case& c : cases) {
    std::string name = "?", folder = "?";
    SplitServerPath(c.path, name, folder);
    EXPECT_EQ(name, c.name) << c.path;
    EXPECT_EQ(folder, c.folder) << c.path;
  }
}

// Local wall time of a moment, at the two-second grain of server dates.
double LocalDate(int64_t seconds) {
  return UnixToDateTime(seconds - seconds % 2);
}

class ServerDateTest : public test::ConnectionTestBase, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    ConnectionTestBase::SetUp();
    test::FtpServerOptions options;
    options.noMlsd = GetParam();
    server_ = std::make_unique<test::FtpServer>(options);
    ASSERT_TRUE(server_->Running()) << server_->Problem();
    UseServer(server_->Port());
    EnsureConnected();
    ASSERT_TRUE(FtpConnected());
  }
  void Dated(const std::string& name, const std::string& bytes, int64_t seconds) {
    test::WriteFile(server_->Root() + name, bytes);
    SetFileTime(server_->Root() + name, seconds);
  }

  std::unique_ptr<test::FtpServer> server_;
};

TEST_P(ServerDateTest, DatesAndSizesAreTheOnesTheFilesWereGiven) {
  const int64_t now = time(nullptr);
  const int64_t old = 1709634031;                          // 5 March 2024 10:20:31 UTC
  const int64_t recent = now - 3 * 86400 + 1 - (now % 2);  // an odd second, days ago
  Dated("old.htm", "12345", old);
  Dated("recent.htm", std::string(70000, 'x'), recent);
  Dated("ancient.htm", "x", 157766400);  // 1975: before DOS dates begin

  struct Case {
    std::string name;
    double date;
    int64_t size;
  } cases[] = {{"old.htm", LocalDate(old), 5},
               {"recent.htm", LocalDate(recent), 70000},
               {"ancient.htm", 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(FtpFindFirst(c.name));
    ServerFileDate = -5;
    ReadServerFileDate();
    EXPECT_EQ(FormatLongDate(ServerFileDate), FormatLongDate(c.date));
    EXPECT_NEAR(ServerFileDate, c.date, 1e-9);
    EXPECT_EQ(ServerFileSize, c.size);
  }
}

TEST_P(ServerDateTest, TheDocumentsTabKeepsTheDateOfItsOwnNameOnly) {
  Dated("a.htm", "a", 1709634031);
  Dated("Data.htm", "d", 1709634031 + 86400);
  test::MemoryRich editor;
  editor.SetTag(3);
  test::RecordOfSlot(3);
  CurrentEditor = &editor;
  CurrentFileName = test::TestHome() + "site/data.htm";
  ForgetServerFileDates();

  ASSERT_TRUE(FtpFindFirst("a.htm"));
  ReadServerFileDate();
  EXPECT_EQ(Documents[3].ServerFileDate, ServerDateUnknown);  // "a.htm" is not "data.htm"

  ASSERT_TRUE(FtpFindFirst("Data.htm"));
  ReadServerFileDate();
  EXPECT_EQ(Documents[3].ServerFileDate, ServerFileDate);  // the same name, whatever its case
  EXPECT_EQ(Documents[2].ServerFileDate, ServerDateUnknown);
  CurrentEditor = nullptr;
}

INSTANTIATE_TEST_SUITE_P(ListingKinds, ServerDateTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "List" : "Mlsd"; });

}  // namespace
}  // namespace quorrel
