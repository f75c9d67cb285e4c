// The runs over the whole site: on-line validation against replies recorded from
// Debian's markup validator and played back on loopback, the archive and
// Synchronise against a real pyftpdlib server, and "Stop after this one", which
// ends fetches only while such a run goes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "ServerListingTestSupport.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "publish/BulkRun.h"
#include "publish/FetchUrl.h"
#include "publish/ServerDates.h"
#include "publish/ServerWindow.h"
#include "publish/UpDown.h"
#include "publish/ValidationReplies.h"
#include "shell/Backups.h"
#include "shell/CommandNames.h"
#include "shell/MenuModel.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "support/HttpServer.h"
#include "support/MemoryMainWindow.h"
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
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The texts of the boxes shown, without the blanks that centre short ones.
std::vector<std::string> Shown() {
  return Dialogs().UncentredTexts();
}

std::string Fixture(const std::string& name) {
  return ReadFile(std::string(QUORREL_FIXTURES) + "/validator/" + name);
}

// ---- replies of the service ------------------------------------------------------

TEST(ValidationReplyTest, EachFormOfReplyIsReadAsThePagesResult) {
  struct Case {
    const char* what;
    std::string reply;
    bool styleSheet;
    TReplyKind kind;
    std::string reportStart;
    int items;  // "<UL>" lists in the report
  } cases[] = {
      {"a valid page", Fixture("valid-page.html"), false, TReplyKind::Valid, "", 0},
      {"a page with errors", Fixture("faulty-page.html"), false, TReplyKind::Errors,
       "<UL><li class=\"msg_err\">", 2},
      {"a faulty style sheet", Fixture("css-errors.html"), true, TReplyKind::Errors, "<table>", 0},
      {"a refusal", Fixture("abuse.html"), false, TReplyKind::Abused, "", 0},
      {"nothing", "", false, TReplyKind::Errors, "<H3>Blank page returned by validator!</H3>", 0},
      {"a page of another kind", "<html><BODY class=x>Busy</body></html>", false,
       TReplyKind::Errors,
       "<H2>Returned page not as Quorrel expected!&nbsp; Whole page follows:</H2>Busy", 0},
      {"a sheet's reply of another kind", "<html><body>Busy</body></html>", true,
       TReplyKind::Errors, "<H2>Returned page not as expected!&nbsp; Whole page follows:</H2>Busy",
       0},
      // "error" items are taken before "msg_err" ones; obsolete elements are no errors.
      {"items of both kinds", "<li class=\"msg_err\">a</li><li class=\"error\">b</li>"
       "<li class=\"error\">c element is obsolete</li>", false, TReplyKind::Errors,
       "<UL><li class=\"error\">b</li></ul>\n", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TValidationReply result = ReadValidationReply(c.reply, c.styleSheet);
    EXPECT_EQ(result.kind, c.kind);
    EXPECT_THAT(result.report, StartsWith(c.reportStart));
    int lists = 0;
    for (size_t at = result.report.find("<UL>"); at != std::string::npos;
         at = result.report.find("<UL>", at + 1))
      ++lists;
    EXPECT_EQ(lists, c.items);
  }
  const std::string sheet = ReadValidationReply(Fixture("css-errors.html"), true).report;
  EXPECT_THAT(sheet, EndsWith("</table>"));
  EXPECT_THAT(sheet, HasSubstr("Property “colour” doesn't exist"));
  const std::string page = ReadValidationReply(Fixture("faulty-page.html"), false).report;
  EXPECT_THAT(page, HasSubstr("element &quot;CENTER&quot; undefined"));
}

TEST(ValidationReplyTest, ThePageAddressReachesTheServiceAsOneParameter) {
  const std::string page = "http://www.example.org/" + EncodeUrlPath("my page&x#1?.htm");
  EXPECT_EQ(page, "http://www.example.org/my%20page&x%231%3F.htm");
  EXPECT_EQ(ValidationRequest("https://validator.w3.org/check", page),
            "https://validator.w3.org/check?uri="
            "http%3A%2F%2Fwww.example.org%2Fmy%2520page%26x%25231%253F.htm");
}

// ---- runs over a site ------------------------------------------------------------

// The window as a run sees it: shown without waiting, the Flat box, closed at the end.
class RunWindow : public test::TestServerView {
 public:
  void TickFlat(bool ticked) override { flat = ticked; }
  void ShowWithoutWaiting() override { ++shown; }
  bool FlatTicked() const override { return flat; }
  void RowsChanged() override { captions.push_back(ServerList.caption + " | " + ApplicationTitle); }
  bool flat = false;
  int shown = 0;
  std::vector<std::string> captions;
};

class BulkRunTest : public test::ServerListingTestBase {
 protected:
  void SetUp() override {
    ServerListingTestBase::SetUp();
    fs::remove_all(site_);
    site_ = test::SiteTestFolder() + "bulk/";
    fs::remove_all(site_);
    fs::create_directories(site_ + "public_html");
    SiteFolder = site_;
    WebRootPath = "public_html/";
    SiteWebAddress = "http://www.example.org/";
    SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "bulk.ini");
    SetMainWindow(&main_);
    SetServerView(&window_);
    SetServerWindowView(&transfers_);
    SetShellOpener([this](const std::string& target) {
      opened_.push_back(target);
      return true;
    });
    InstallBulkRunCommands();
    MainMenu().SetChecked("Condense", false);
  }
  void TearDown() override {
    SetShellOpener(nullptr);
    SetServerWindowView(nullptr);
    SetMainWindow(nullptr);
    SettingsIni.reset();
    fs::remove_all(test::SiteTestFolder());
    ServerListingTestBase::TearDown();
  }
  std::string Status() const { return main_.StatusText(MessagePanel); }
  static int Count(const test::FtpServer& server, const std::string& command) {
    const std::vector<std::string> commands = server.Commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
  }
  // A page on both sides of the same date, for the service to be asked about.
  void Page(const test::FtpServer& server, const std::string& name) {
    Put(server.Root() + "public_html/" + name, kTen, "<p>" + name + "</p>");
    Put(site_ + "public_html/" + name, kTen, "<p>" + name + "</p>");
  }
  // The validation service on loopback, with a recorded reply for a page name.
  void Service(test::HttpServer& http, const std::map<std::string, std::string>& replies) {
    ASSERT_TRUE(http.Running()) << http.Problem();
    for (const auto& [page, fixture] : replies)
      test::WriteFile(http.Root() + "replies/" + page, Fixture(fixture));
    SettingsIni->WriteString("System", ValidatorAddressKey, http.Url("/check"));
  }
  static std::vector<std::string> Checked(const test::HttpServer& http) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(http.Root() + "checks.log"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  test::MemoryMainWindow main_;
  RunWindow window_;
  test::RecordingServerWindow transfers_;
  std::vector<std::string> opened_;
};

TEST_F(BulkRunTest, OnlineValidateAllCountsEachPageAndWritesTheResultsPage) {
  test::FtpServer server;
  Page(server, "good.htm");
  Page(server, "bad.htm");
  Page(server, "style.css");
  Page(server, "my page&x#.htm");
  Put(server.Root() + "public_html/logo.png", kTen, "png");  // no page: not asked about
  Page(server, "google1234/verify.htm");  // an exempt folder: passed over
  test::HttpServer http;
  Service(http, {{"good.htm", "valid-page.html"},
                 {"bad.htm", "faulty-page.html"},
                 {"style.css", "css-errors.html"},
                 {"my page&x#.htm", "valid-page.html"}});
  Connect(server);
  CurrentFileName = site_ + "public_html/good.htm";
  Dialogs().Answer({mrYes, mrNo});  // go on although it may not work; not from the current file

  ASSERT_TRUE(MainMenu().Click(OnlineValidateAllCommand));

  EXPECT_THAT(Dialogs().Texts(), ElementsAre("This probably won't work correctly!\rDo you want "
                                             "to continue?",
                                             "Start from current file?"));
  EXPECT_EQ(Dialogs().Calls()[1].helpContext, StartFromCurrentHelp);
  EXPECT_THAT(Checked(http), ElementsAre("http://www.example.org/bad.htm",
                                         "http://www.example.org/good.htm",
                                         "http://www.example.org/my%20page&x%23.htm",
                                         "http://www.example.org/style.css"));
  const std::string results = ReadFile(TempFolder() + "Validate.htm");
  EXPECT_THAT(results, StartsWith("<html>"));
  EXPECT_THAT(results, HasSubstr("<title>Validation Results</title>"));
  EXPECT_THAT(results, HasSubstr("<Base href=\"" + http.Url("/check") + "\">"));
  EXPECT_THAT(results, HasSubstr("<HR><Center><Big><B>bad.htm</B></Big></Center><HR><P>\n<UL>"));
  EXPECT_THAT(results, HasSubstr("<HR><Center><Big><B>style.css</B></Big></Center><HR><P>\n<table>"));
  EXPECT_THAT(results, EndsWith("<p>\n<h2>OK: 2 &nbsp; &nbsp; <font color=Red>Errors: 2"
                                "</font></h2></body></html>"));
  EXPECT_EQ(opened_, std::vector<std::string>{TempFolder() + "Validate.htm"});
  EXPECT_THAT(window_.captions,
              ::testing::Contains("Validating 3 of 4: my page&x#.htm | Validating 3 of 4: my "
                                  "page&x#.htm"));
  EXPECT_EQ(ApplicationTitle, "Quorrel") << "boxes have their own title back";
  EXPECT_THAT(Status(), ::testing::Not(HasSubstr("No validation errors")));
  // The run has ended: the window closed, back to normal listings.
  EXPECT_EQ(window_.shown, 1);
  EXPECT_EQ(window_.closed, 1);
  EXPECT_FALSE(window_.flat);
  EXPECT_FALSE(FlatListing);
  EXPECT_EQ(BulkRunMode, ' ');
  EXPECT_FALSE(BulkRunActive);
}

TEST_F(BulkRunTest, ValidationStartsFromTheCurrentFileWhenAskedAndSaysWhenItIsMissing) {
  struct Case {
    const char* current;
    std::vector<std::string> asked;
    std::vector<std::string> messages;
  } cases[] = {
      {"b.htm", {"http://www.example.org/b.htm", "http://www.example.org/c.htm"}, {}},
      {"gone.htm",
       {"http://www.example.org/a.htm", "http://www.example.org/b.htm",
        "http://www.example.org/c.htm"},
       {"Error: gone.htm not found"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.current);
    test::FtpServer server;
    for (const char* name : {"a.htm", "b.htm", "c.htm"}) Page(server, name);
    test::HttpServer http;
    Service(http, {{"a.htm", "valid-page.html"}, {"b.htm", "valid-page.html"},
                   {"c.htm", "valid-page.html"}});
    Connect(server);
    CurrentFileName = site_ + "public_html/" + c.current;
    Dialogs().Clear();
    Dialogs().Answer({mrYes, mrYes});

    ASSERT_TRUE(MainMenu().Click(OnlineValidateAllCommand));

    EXPECT_EQ(Checked(http), c.asked);
    std::vector<std::string> texts = Shown();
    texts.erase(texts.begin(), texts.begin() + 2);
    EXPECT_EQ(texts, c.messages);
    EXPECT_EQ(Status(), "  No validation errors");
  }
}

TEST_F(BulkRunTest, ARefusalFromTheServiceEndsTheRunWithoutClaimingSuccess) {
  test::FtpServer server;
  Page(server, "a.htm");
  Page(server, "b.htm");
  test::HttpServer http;
  Service(http, {{"a.htm", "abuse.html"}, {"b.htm", "valid-page.html"}});
  Connect(server);
  Dialogs().Answer({mrYes, mrNo});

  ASSERT_TRUE(MainMenu().Click(OnlineValidateAllCommand));

  EXPECT_EQ(Checked(http), std::vector<std::string>{"http://www.example.org/a.htm"});
  EXPECT_EQ(Dialogs().Texts().back(), "IP address blocked.  You may have to try again later.");
  EXPECT_THAT(Status(), ::testing::Not(HasSubstr("No validation errors")));
  EXPECT_THAT(ReadFile(TempFolder() + "Validate.htm"),
              EndsWith("OK: 0 &nbsp; &nbsp; <font color=Red>Errors: 0</font></h2></body></html>"));
}

TEST_F(BulkRunTest, OnlineValidateOneAsksAboutTheCurrentPageOnly) {
  test::FtpServer server;
  Page(server, "a.htm");
  Page(server, "sub/b.htm");
  test::HttpServer http;
  Service(http, {{"b.htm", "faulty-page.html"}});
  Connect(server);
  CurrentFileName = site_ + "public_html/sub/b.htm";

  ASSERT_TRUE(MainMenu().Click(OnlineValidateOneCommand));

  EXPECT_TRUE(Dialogs().Texts().empty()) << "nothing asked";
  EXPECT_EQ(Checked(http), std::vector<std::string>{"http://www.example.org/sub/b.htm"});
  EXPECT_THAT(ReadFile(TempFolder() + "Validate.htm"), HasSubstr("Errors: 1"));

  // Off-line the listing is empty, and so is the run.
  SetOnline(false);
  fs::remove(http.Root() + "checks.log");
  ASSERT_TRUE(MainMenu().Click(OnlineValidateOneCommand));
  EXPECT_EQ(Shown(), std::vector<std::string>{"You are not online"});
  EXPECT_TRUE(Checked(http).empty());
}

// A web root within a folder of the account puts its own folder's name in front
// of each address.
TEST_F(BulkRunTest, AWebRootWithinAFolderLendsItsInnerNameToTheAddresses) {
  test::FtpServer server;
  WebRootPath = "www/html/";
  Put(server.Root() + "www/html/sub/a.htm", kTen, "<p>a</p>");
  Put(site_ + "www/html/sub/a.htm", kTen, "<p>a</p>");
  test::HttpServer http;
  Service(http, {{"a.htm", "valid-page.html"}});
  Connect(server);
  CurrentFolder = site_ + "www/html/sub/";
  Dialogs().Answer({mrYes, mrNo});

  ASSERT_TRUE(MainMenu().Click(OnlineValidateAllCommand));

  EXPECT_EQ(Checked(http), std::vector<std::string>{"http://www.example.org/html/sub/a.htm"});
  EXPECT_EQ(Status(), "  No validation errors");
}

TEST_F(BulkRunTest, ArchiveCopiesNewPagesOnceAndASecondRunTransfersNothing) {
  test::FtpServer server;
  Page(server, "index.htm");
  Page(server, "sub/a.htm");
  Connect(server);
  SettingsIni->WriteString("System", "ArchDate", "01-Jan-2026");

  Dialogs().Answer(mrYes);
  BulkServerRun(ArchiveCommand);

  EXPECT_EQ(ReadFile(server.Root() + "Archive/index.htm"), "<p>index.htm</p>");
  EXPECT_EQ(ReadFile(server.Root() + "Archive/sub/a.htm"), "<p>sub/a.htm</p>");
  EXPECT_EQ(Status(), "  Website archived");
  EXPECT_EQ(SettingsIni->ReadString("System", "ArchDate", ""),
            FormatLongDate(NowDateTime()).substr(0, 11));
  const int stored = Count(server, "STOR"), fetched = Count(server, "RETR");
  EXPECT_EQ(stored, 2);

  Dialogs().Answer(mrYes);
  BulkServerRun(ArchiveCommand);
  EXPECT_EQ(Count(server, "STOR"), stored) << "nothing sent the second time";
  EXPECT_EQ(Count(server, "RETR"), fetched) << "nothing fetched the second time";
  EXPECT_FALSE(fs::exists(server.Root() + "Archive/Archive"));
  EXPECT_FALSE(fs::exists(site_ + "public_html/index.htm.Bak"));
}

TEST_F(BulkRunTest, SynchroniseWithNothingToDoAsksWithNoughtsAndSaysSo) {
  test::FtpServer server;
  Page(server, "index.htm");
  Connect(server);
  Dialogs().Answer({mrYes, mrYes});

  ASSERT_TRUE(MainMenu().Click(SynchroniseCommand));

  EXPECT_THAT(Dialogs().Texts(),
              ElementsAre("This probably won't work correctly!\rDo you want to continue?",
                          "Files to upload (white or yellow):  0\rFiles to download (black or "
                          "red):  0"));
  EXPECT_EQ(Status(), "  Files synchronised: 0");
  EXPECT_EQ(Count(server, "STOR") + Count(server, "RETR"), 0);
}

TEST_F(BulkRunTest, SynchroniseMovesEachNewerFileItsWayAndKeepsTheBackUp) {
  test::FtpServer server;
  Put(server.Root() + "public_html/up.htm", kTen - 3 * kHour, "old");
  Put(site_ + "public_html/up.htm", kTen, "newer here");
  Put(server.Root() + "public_html/down.htm", kTen + 3 * kHour, "newer there");
  Put(site_ + "public_html/down.htm", kTen, "old here");
  Put(site_ + "public_html/new/only.htm", kTen, "new folder");
  Connect(server);
  Dialogs().Answer({mrYes, mrYes});

  ASSERT_TRUE(MainMenu().Click(SynchroniseCommand));

  EXPECT_EQ(Dialogs().Texts().at(1),
            "Files to upload (white or yellow):  3\rFiles to download (black or red):  1");
  EXPECT_EQ(ReadFile(server.Root() + "public_html/up.htm"), "newer here");
  EXPECT_EQ(ReadFile(server.Root() + "public_html/new/only.htm"), "new folder");
  EXPECT_EQ(ReadFile(site_ + "public_html/down.htm"), "newer there");
  EXPECT_EQ(ReadFile(site_ + "public_html/down.htm.Bak"), "old here");
  EXPECT_EQ(Status(), "  Files synchronised: 3");
}

// "Stop after this one" ends a fetch only during a run; pressed in the window and
// left set, it stops no later fetch.
TEST_F(BulkRunTest, StopAfterThisOneStopsFetchesOnlyWhileARunGoes) {
  test::HttpServer http;
  ASSERT_TRUE(http.Running()) << http.Problem();
  test::WriteFile(http.Root() + "page.htm", "<p>the page</p>");

  class StoppedWindow : public RunWindow {
   public:
    void ShowModal() override { StopAfterThisClick(); }
  } stopped;
  SetServerView(&stopped);
  ServerMClick(ServerWindowCommand);
  EXPECT_EQ(FetchUrl(http.Url("/page.htm"), ""), "<p>the page</p>");

  struct Case {
    bool running;
    bool stop;
    std::string text;
  } cases[] = {
      {false, true, "<p>the page</p>"},
      {true, false, "<p>the page</p>"},
      {true, true, ""},
  };
  for (const Case& c : cases) {
    BulkRunActive = c.running;
    StopAfterThis = c.stop;
    EXPECT_EQ(FetchUrl(http.Url("/page.htm"), ""), c.text) << c.running << c.stop;
  }
  BulkRunActive = false;
  StopAfterThis = false;
}

}  // namespace
}  // namespace quorrel
