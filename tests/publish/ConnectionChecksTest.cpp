// The daily report of unwanted and non-matching server files, and the check of the
// current document against its server copy, with real files on both sides.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "ConnectionTestSupport.h"
#include "platform/IniFile.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/ProgUnit.h"
#include "shell/ShellState.h"
#include "support/FtpServer.h"
#include "support/MemoryRich.h"
#include "support/OpenDocuments.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TimeZone.h"

namespace quorrel {
namespace {

using test::Dialogs;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr int64_t kMay6 = 1746515290;  // 6 May 2025 07:08:10 UTC
constexpr int64_t kDay = 86400;

std::string Today() {
  return FormatLongDate(NowDateTime()).substr(0, 11);
}

class ConnectionChecksTest : public test::ConnectionTestBase {
 protected:
  void SetUp() override {
    // Dates in the texts below are UTC.
    ConnectionTestBase::SetUp();
    ASSERT_TRUE(server_.Running()) << server_.Problem();
    site_ =
        test::TestHome() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::create_directories(site_);
    SiteFolder = site_;
    SiteWebRoot = "public_html";
    WebRootPath = "public_html/";
    SettingsIni = std::make_unique<TIniFile>(site_ + "Quorrel.Ini");
    UseServer(server_.Port());
  }
  void TearDown() override {
    CurrentEditor = nullptr;
    ConnectionTestBase::TearDown();
  }

  void OnServer(const std::string& name, const std::string& bytes, int64_t time) {
    test::WriteFile(server_.Root() + "public_html/" + name, bytes);
    SetFileTime(server_.Root() + "public_html/" + name, time);
  }
  void Local(const std::string& name, const std::string& bytes, int64_t time) {
    test::WriteFile(site_ + "public_html/" + name, bytes);
    SetFileTime(site_ + "public_html/" + name, time);
  }
  void Connect() {
    EnsureConnected();
    ASSERT_TRUE(FtpConnected());
  }
  // The current document, in tab slot 2.
  void OpenDocument(const std::string& name) {
    editor_.SetTag(2);
    test::RecordOfSlot(2);
    CurrentEditor = &editor_;
    CurrentFileName = site_ + "public_html/" + name;
  }
  std::vector<std::string> ReportLines() {
    std::vector<std::string> lines = ProgBoxState().lines;
    if (!lines.empty()) lines.pop_back();  // the count
    return lines;
  }

  test::FtpServer server_;
  std::string site_;
  test::MemoryRich editor_;
  // The dates in the texts are UTC.
  test::TimeZone utc_{"UTC"};
};

TEST_F(ConnectionChecksTest, TheDailyReportListsUnwantedAndNonMatchingFilesOnceADay) {
  OnServer("same.htm", "same", kMay6);
  Local("same.htm", "same", kMay6);
  OnServer("newer.htm", "newer", kMay6 + kDay);
  Local("newer.htm", "newer", kMay6);
  OnServer("hour.htm", "hour", kMay6 + 3600);  // a clock change, not a newer copy
  Local("hour.htm", "hour", kMay6);
  OnServer("Case.htm", "case", kMay6);
  Local("case.htm", "case", kMay6);
  OnServer("index.htm", "index", kMay6 + kDay);  // the document itself is not reported
  Local("index.htm", "index", kMay6);
  OnServer("onlyserver.htm", "only", kMay6);
  OnServer("web.config", "<configuration/>", kMay6);
  OnServer(".user.ini", "x=1", kMay6);
  OnServer("junk.txt", "junk", kMay6);
  OnServer("JUNK2.TXT", "junk", kMay6);
  OnServer("images/a.gif", "GIF89a", kMay6);
  Local("local.htm", "local", kMay6);
  SettingsIni->WriteString("Unwanted", "1", "junk.txt");
  SettingsIni->WriteString("Unwanted", "2", "junk2.txt");
  OpenDocument("index.htm");
  Connect();

  EXPECT_TRUE(CheckConnection(false));
  EXPECT_THAT(ReportLines(), UnorderedElementsAre("onlyserver.htm is on server but not local",
                                                  "newer.htm time-stamp discrepancy -\r\n"
                                                  "    Local:   06-May-25  07.08  5 B \r"
                                                  "Server: 07-May-25   07.08  5 B "));
  EXPECT_EQ(ProgBoxState().lines.back(), "*** ERRORS: 2");
  EXPECT_EQ(ProgBoxState().helpContext, 101250);
  EXPECT_EQ(ProgBoxState().width, ScaleForFont(460));
  EXPECT_EQ(SettingsIni->ReadString("System", "RunDate", ""), Today());

  // Once a day.
  ResetProgUnit();
  LastConnectTime = 0;
  EXPECT_TRUE(CheckConnection(false));
  EXPECT_THAT(ProgBoxState().lines, IsEmpty());

  // A new day.
  SettingsIni->WriteString("System", "RunDate", "05-May-2025");
  EXPECT_TRUE(CheckConnection(false));
  EXPECT_EQ(ProgBoxState().lines.back(), "*** ERRORS: 2");
}

TEST_F(ConnectionChecksTest, TheDailyReportWaitsForItsConditions) {
  OnServer("onlyserver.htm", "only", kMay6);
  Local("index.htm", "index", kMay6);
  Connect();
  struct Case {
    std::string what;
    std::function<void()> arrange;
  } cases[] = {
      {"option off", [] { MainMenu().SetChecked("Unwanted", false); }},
      {"document outside the web root", [&] { CurrentFileName = site_ + "notes.txt"; }},
      {"whole-site download", [] { EntireRun = true; }},
      {"another run has the box", [] { new TProgress("Building", 0, false, true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainMenu().SetChecked("Unwanted", true);
    EntireRun = false;
    OpenDocument("index.htm");
    c.arrange();
    EXPECT_TRUE(CheckConnection(false));
    EXPECT_EQ(SettingsIni->ReadString("System", "RunDate", "none"), "none");
    if (ActiveProgress) {
      delete ActiveProgress;
    } else {
      EXPECT_THAT(ProgBoxState().lines, IsEmpty());
    }
  }
}

class ServerCopyTest : public ConnectionChecksTest {
 protected:
  void SetUp() override {
    ConnectionChecksTest::SetUp();
    MainMenu().SetChecked("Unwanted", false);
    AppPhase = 1;
    Local("page.htm", "local", kMay6);
    OpenDocument("page.htm");
    SetCurrentFileDownloader([this] { ++downloads_; });
  }

  int downloads_ = 0;
};

TEST_F(ServerCopyTest, ANewerServerCopyIsOfferedForDownload) {
  struct Case {
    int64_t serverTime;
    int answer;  // mrNone: no question
    int downloads;
  } cases[] = {{kMay6 + kDay, mrYes, 1},
               {kMay6 + kDay, mrNo, 0},
               {kMay6 + 600, mrYes, 1},
               {kMay6 + 3600, mrNone, 0},
               {kMay6 - kDay, mrNone, 0}};
  Connect();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.serverTime - kMay6);
    Dialogs().Clear();
    downloads_ = 0;
    OnServer("page.htm", "server", c.serverTime);
    if (c.answer != mrNone) Dialogs().Answer(c.answer);
    CheckServerCopy();
    EXPECT_EQ(downloads_, c.downloads);
    EXPECT_NEAR(Documents[2].ServerFileDate, UnixToDateTime(c.serverTime), 1e-9);
    if (c.answer == mrNone) {
      EXPECT_THAT(Dialogs().Calls(), IsEmpty());
    } else {
      ASSERT_EQ(Dialogs().Calls().size(), 1u);
      EXPECT_EQ(Dialogs().Last().text,
                "Local file\tupdated 06-May-2025 07.08.10\r"
                "Server file\tupdated " +
                    FormatLongDate(UnixToDateTime(c.serverTime)) +
                    "\rDownload newer version from server?");
    }
  }
}

TEST_F(ServerCopyTest, AReloadThatMustNotAskLeavesTheServerCopyAlone) {
  OnServer("page.htm", "server", kMay6 + kDay);
  Connect();
  TimeStampQuestionSuppressed = true;
  CheckServerCopy();
  EXPECT_THAT(Dialogs().Calls(), IsEmpty());
  EXPECT_EQ(downloads_, 0);
  EXPECT_GT(Documents[2].ServerFileDate, 0);
}

TEST_F(ServerCopyTest, AFileNotOnTheServerIsMarkedSoWithoutReconnecting) {
  OnServer("other.htm", "other", kMay6);
  Connect();
  CheckServerCopy();
  EXPECT_EQ(Documents[2].ServerFileDate, ServerDateNotOnServer);
  EXPECT_EQ(Logins(server_), 1);
  EXPECT_THAT(Dialogs().Calls(), IsEmpty());
}

TEST_F(ServerCopyTest, SomeDocumentsAreNeverCompared) {
  OnServer("page.htm", "server", kMay6 + kDay);
  Connect();
  struct Case {
    std::string what;
    std::function<void()> arrange;
  } cases[] = {
      {"raw view", [] { MainMenu().SetChecked("Raw", true); }},
      {"start-up not complete", [] { AppPhase = 0; }},
      {"re-formatter start", [] { StartMode = 'X'; }},
      {"web address", [] { CurrentFileName = "http://example.org/public_html/page.htm"; }},
      {"off-line", [] { SetOnline(false); }},
      // The check reads the details afresh; this site has no Data.FTP.
      {"no server details",
       [] {
         SiteHasServer = false;
         SiteFolder = "?";
       }},
  };
  const size_t commands = server_.Commands().size();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainMenu().SetChecked("Raw", false);
    AppPhase = 1;
    StartMode = ' ';
    SetOnline(true);
    SiteHasServer = true;
    OpenDocument("page.htm");
    c.arrange();
    test::RecordOfSlot(2).ServerFileDate = 46000;
    CheckServerCopy();
    EXPECT_EQ(Documents[2].ServerFileDate, ServerDateUnknown);
  }
  EXPECT_EQ(server_.Commands().size(), commands);
  EXPECT_THAT(Dialogs().Calls(), IsEmpty());
}

TEST_F(ServerCopyTest, AfterTheServerRestartsTheLookUpIsMadeOnANewConnection) {
  test::TcpRelay relay(server_.Port());
  UseServer(relay.Port());
  Connect();
  server_.Kill();
  ASSERT_TRUE(test::WaitUntil([&] { return relay.Closed(0); }));
  test::FtpServer second;
  ASSERT_TRUE(second.Running()) << second.Problem();
  test::WriteFile(second.Root() + "public_html/page.htm", "server");
  SetFileTime(second.Root() + "public_html/page.htm", kMay6 - kDay);
  relay.SetBackend(second.Port());

  LastConnectTime = NowDateTime() - 31.0 / 86400;  // the user comes back later
  CheckServerCopy();
  EXPECT_NEAR(Documents[2].ServerFileDate, UnixToDateTime(kMay6 - kDay), 1e-9);
  EXPECT_EQ(Logins(second), 1);
  EXPECT_THAT(Dialogs().Calls(), IsEmpty());
}

TEST_F(ServerCopyTest, ALookUpThatFailsIsMadeOnceMoreOnANewConnection) {
  test::FtpServerOptions options;
  options.perm = "e";  // may log in and change folders, but not list them
  test::FtpServer server(options);
  ASSERT_TRUE(server.Running()) << server.Problem();
  test::WriteFile(server.Root() + "public_html/page.htm", "server");
  UseServer(server.Port());
  Connect();
  CheckServerCopy();
  EXPECT_EQ(Logins(server), 2);
  EXPECT_EQ(Documents[2].ServerFileDate, ServerDateNotOnServer);
  EXPECT_THAT(Dialogs().Calls(), IsEmpty());
}

}  // namespace
}  // namespace quorrel
