// Going on-line, connecting, cancelling and reconnecting, against a real pyftpdlib
// server on loopback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "ConnectionTestSupport.h"
#include "platform/Abort.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/FtpServer.h"
#include "support/OpenDocuments.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char kCannotConnect[] =
    "Cannot connect to server.\nUse Web | Server details to correct these if necessary.";

double SecondsAgo(double seconds) {
  return NowDateTime() - seconds / 86400.0;
}

class ConnectionTest : public test::ConnectionTestBase {
 protected:
  void SetUp() override {
    ConnectionTestBase::SetUp();
    ASSERT_TRUE(server_.Running()) << server_.Problem();
    UseServer(server_.Port());
  }

  test::FtpServer server_;
};

TEST_F(ConnectionTest, ConnectsInTheLoginsHomeOrInTheStartFolder) {
  test::WriteFile(server_.Root() + "www/sub/index.htm", "<p>");
  struct Case {
    std::string startDir;
    std::string serverFolder;
  } cases[] = {{"", "/"}, {"www", "/www"}, {"www/sub", "/www/sub"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.startDir);
    UseServer(server_.Port(), "user", "secret", c.startDir);
    LastConnectTime = 0;
    EnsureConnected();
    ASSERT_TRUE(FtpConnected());
    EXPECT_EQ(ServerFolder, c.serverFolder);
    EXPECT_EQ(FtpCurrentDirectory(FtpConnection), c.serverFolder);
  }
  EXPECT_EQ(Logins(server_), 3);
  EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());
}

TEST_F(ConnectionTest, CommandsWithinASecondShareOneConnectionAndAStaleOneIsReplaced) {
  EnsureConnected();
  ASSERT_TRUE(FtpConnected());
  EXPECT_TRUE(CheckConnection(false));
  EnsureConnected();
  EXPECT_EQ(Logins(server_), 1);

  LastConnectTime = SecondsAgo(2);  // fresh enough for a command
  EXPECT_TRUE(CheckConnection(false));
  EXPECT_EQ(Logins(server_), 1);

  LastConnectTime = SecondsAgo(31);
  EXPECT_TRUE(CheckConnection(false));
  EXPECT_EQ(Logins(server_), 2);
  EXPECT_TRUE(FtpConnected());
}

TEST_F(ConnectionTest, ARefusedConnectionIsReportedAndTurnsOnLineOff) {
  uint16_t closedPort;
  {
    test::FtpServer gone;
    closedPort = gone.Port();
  }
  struct Case {
    std::string what;
    uint16_t port;
    std::string password;
    std::string text;
  } cases[] = {
      {"wrong password", server_.Port(), "wrong",
       std::string(kCannotConnect) + "\rError code: 530\r530 Authentication failed."},
      {"nobody listening", closedPort, "secret",
       std::string(kCannotConnect) +
           "\rError code: 12029\rA connection with the server could not be established.\r"
           "A connection with the server could not be established"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dialogs().Clear();
    SetOnline(true);
    LastConnectTime = 0;
    UseServer(c.port, "user", c.password);
    Dialogs().Answer(mrCancel);
    EXPECT_THROW(EnsureConnected(), EAbort);
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    const DialogCall& box = Dialogs().Last();
    EXPECT_EQ(box.kind, DialogKind::Custom);
    EXPECT_EQ(box.text, c.text);
    EXPECT_THAT(box.buttons, ElementsAre("&Copy message", "&Help", "&Cancel"));
    // No topic of the box's own: its Help button answers, and the command stops.
    EXPECT_EQ(box.helpContext, 0);
    EXPECT_FALSE(OnlineChecked());
    EXPECT_FALSE(FtpConnected());
    EXPECT_EQ(InternetErrorCode, 0u);  // reported, so not left to mislead a later report

    // The next command does not try again until the user ticks On-line.
    const int logins = Logins(server_);
    LastConnectTime = 0;
    EXPECT_FALSE(CheckConnection(false));
    EXPECT_EQ(Logins(server_), logins);
  }
  EXPECT_EQ(Logins(server_), 1);
}

TEST_F(ConnectionTest, CancelEndsTheWaitAtOnceAndTheLateConnectionIsDiscarded) {
  test::TcpRelay relay(server_.Port());
  relay.Hold(true);  // the server's greeting never comes while held
  UseServer(relay.Port());
  test::TestConnectWait wait;
  wait.cancelWhen = [&] { return relay.Accepted() == 1; };
  SetConnectWait(&wait);

  const auto start = std::chrono::steady_clock::now();
  EnsureConnected();
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_LT(waited, std::chrono::seconds(3));  // the connect's own time-out is a minute
  EXPECT_EQ(wait.shown, 1);
  EXPECT_FALSE(OnlineChecked());
  EXPECT_FALSE(FtpConnected());
  EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());  // the user knows: no message
  EXPECT_EQ(InternetErrorCode, ERROR_INTERNET_OPERATION_CANCELLED);
  EXPECT_EQ(ConnectThreadsRunning(), 1);  // the attempt goes on unseen

  // The server answers after all: the attempt logs in, and its connection is closed.
  relay.Release(0);
  ASSERT_TRUE(test::WaitUntil([&] { return relay.Closed(0); }));
  EXPECT_EQ(Logins(server_), 1);
  EXPECT_FALSE(FtpConnected());
  EXPECT_EQ(wait.finished, 0);
  EXPECT_EQ(ConnectThreadsRunning(), 0);
}

TEST_F(ConnectionTest, ACancelledAttemptNeverEndsALaterWait) {
  test::TcpRelay relay(server_.Port());
  relay.Hold(true);
  UseServer(relay.Port());
  test::TestConnectWait wait;
  SetConnectWait(&wait);
  wait.cancelWhen = [&] { return relay.Accepted() == 1; };
  EnsureConnected();
  ASSERT_FALSE(OnlineChecked());

  // A second attempt; while it waits, the first one's server answers.
  SetOnline(true);
  LastConnectTime = 0;
  wait.cancelWhen = nullptr;
  int step = 0;
  bool openWhenFirstWasClosed = false;
  wait.whileWaiting = [&] {
    if (step == 0 && relay.Accepted() == 2) {
      relay.Release(0);
      step = 1;
    } else if (step == 1 && relay.Closed(0)) {
      openWhenFirstWasClosed = wait.finished == 0;
      relay.Release(1);
      step = 2;
    }
  };
  EnsureConnected();
  EXPECT_EQ(step, 2);
  EXPECT_TRUE(openWhenFirstWasClosed);
  EXPECT_EQ(wait.shown, 2);
  EXPECT_EQ(wait.finished, 1);
  ASSERT_TRUE(FtpConnected());
  EXPECT_TRUE(OnlineChecked());
  EXPECT_FALSE(relay.Closed(1));
  EXPECT_EQ(Logins(server_), 2);
  EXPECT_EQ(ServerFolder, "/");
}

TEST_F(ConnectionTest, AfterTheServerRestartsTheStaleConnectionIsReplaced) {
  auto first = std::make_unique<test::FtpServer>();
  test::TcpRelay relay(first->Port());
  UseServer(relay.Port());
  EnsureConnected();
  ASSERT_TRUE(FtpConnected());

  first->Kill();
  ASSERT_TRUE(test::WaitUntil([&] { return relay.Closed(0); }));
  test::FtpServer second;
  ASSERT_TRUE(second.Running()) << second.Problem();
  test::WriteFile(second.Root() + "back.htm", "<p>");
  relay.SetBackend(second.Port());

  LastConnectTime = SecondsAgo(31);  // the user comes back later
  EXPECT_TRUE(CheckConnection(false));
  EXPECT_TRUE(FtpFindFirst("back.htm"));
  EXPECT_EQ(CurrentFindName(), "back.htm");
  EXPECT_EQ(Logins(second), 1);
  EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());
}

TEST_F(ConnectionTest, AResetConnectionIsMadeAgainAfterItsReport) {
  EnsureConnected();
  ASSERT_TRUE(FtpConnected());
  const HINTERNET old = FtpConnection;
  // What a transfer leaves when the server goes away in the middle of it.
  SetLastError(ERROR_INTERNET_CONNECTION_RESET);
  Dialogs().Answer(mrCancel);
  EXPECT_THROW(ReportInternetError("Upload failed"), EAbort);
  EXPECT_EQ(Dialogs().Last().text,
            "Upload failed\rError code: 12031\rThe connection with the server was reset.\r"
            "Internet connection reset - please try again.");
  ASSERT_TRUE(FtpConnected());
  EXPECT_NE(FtpConnection, old);
  EXPECT_EQ(Logins(server_), 2);
  EXPECT_TRUE(OnlineChecked());
}

TEST_F(ConnectionTest, NothingReachesTheServerWhileOnLineIsOff) {
  test::WriteFile(server_.Root() + "index.htm", "<p>");
  EnsureConnected();
  ASSERT_TRUE(FtpConnected());
  const size_t commands = server_.Commands().size();

  SetOnline(false);
  EXPECT_FALSE(FtpFindFirst("index.htm"));
  EXPECT_FALSE(CheckConnection(false));
  LastConnectTime = 0;
  EnsureConnected();
  ServerFileDate = 5;
  ReadServerFileDate();
  EXPECT_EQ(ServerFileDate, 0);
  EXPECT_EQ(server_.Commands().size(), commands);

  // A command that needs the server puts it back on-line and reconnects.
  EXPECT_TRUE(CheckConnection(true));
  EXPECT_TRUE(OnlineChecked());
  EXPECT_EQ(Logins(server_), 2);
  EXPECT_TRUE(FtpFindFirst("index.htm"));
}

TEST_F(ConnectionTest, GoingOnLineOffTheNetworkAsksFirstExceptFromTheServerMenu) {
  setenv(ConnectedStateVariable, "0", 1);
  struct Case {
    std::string command;
    int answer;  // mrNone: no question expected
    bool online;
  } cases[] = {{"", mrYes, true}, {"", mrNo, false}, {"ServerM", mrNone, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command + " " + std::to_string(c.answer));
    CloseInternet();
    Dialogs().Clear();
    SetOnline(true);
    CurrentCommand = c.command;
    InternetErrorCode = 12002;
    if (c.answer != mrNone) Dialogs().Answer(c.answer);
    EnsureOnline();
    EXPECT_EQ(InternetErrorCode, 0u);
    EXPECT_EQ(OnlineChecked(), c.online);
    EXPECT_EQ(InternetSession != nullptr, c.online);
    if (c.answer == mrNone) {
      EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());
    } else {
      ASSERT_EQ(Dialogs().Calls().size(), 1u);
      EXPECT_EQ(Dialogs().Last().kind, DialogKind::YesNo);
      EXPECT_THAT(Dialogs().Last().text, HasSubstr("Do you want to go online?"));
    }
  }
  // The session is opened once: a later call asks nothing.
  Dialogs().Clear();
  EnsureOnline();
  EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());
}

TEST_F(ConnectionTest, AServerNamedNoneOrLeftBlankIsNotConnectedTo) {
  ServerName = "None";
  Dialogs().Answer(mrYes);  // OK
  EnsureConnected();
  EXPECT_EQ(Dialogs().Last().text, "You have specified FTP address \"None\".");
  EXPECT_EQ(Dialogs().Last().helpContext, 31700);
  EXPECT_FALSE(OnlineChecked());

  SetOnline(true);
  ServerName.clear();
  EXPECT_THROW(EnsureConnected(), EAbort);
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("Server is blank but Online is ticked."));
  EXPECT_EQ(Logins(server_), 0);
}

TEST_F(ConnectionTest, TheOnLineCommandConnectsAndForgetsTheServerDates) {
  InstallConnectionCommands();
  for (int slot = 0; slot < MaxTabs; ++slot) test::RecordOfSlot(slot).ServerFileDate = 46000.5;
  SetOnline(false);
  MainMenu().Click("Online");
  EXPECT_TRUE(OnlineChecked());
  EXPECT_EQ(Documents[0].ServerFileDate, ServerDateUnknown);
  EXPECT_EQ(Documents[MaxTabs - 1].ServerFileDate, ServerDateUnknown);
  EXPECT_TRUE(FtpConnected());
  EXPECT_EQ(Logins(server_), 1);

  MainMenu().Click("Online");
  EXPECT_FALSE(OnlineChecked());
  EXPECT_TRUE(FtpConnected());  // the handles stay until a new connection or the end
}

}  // namespace
}  // namespace quorrel
