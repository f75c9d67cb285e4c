// The Server menu command before the window shows: the question about going
// on-line, the commands that go on-line without asking, and the details dialog in
// place of the window when the site's server cannot be used.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ServerListingTestSupport.h"
#include "publish/ServerWindow.h"
#include "shell/CommandNames.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;

class ServerMenuCommandTest : public test::ServerListingTestBase {
 protected:
  void SetUp() override {
    ServerListingTestBase::SetUp();
    SetServerView(&view_);
  }

  struct TCountingView : test::TestServerView {
    void ShowModal() override { ++shown; }
    int shown = 0;
  } view_;
};

TEST_F(ServerMenuCommandTest, GoingOnLineBeforeTheWindowShows) {
  struct Case {
    const char* what;
    const char* sender;
    bool online;      // On-line ticked before
    bool siteServer;  // the site's details were found
    int answer;       // to "Do you want to go online?"; 0: not asked
    bool onlineAfter;
    bool windowShown;  // otherwise the details dialog is offered
  };
  const Case cases[] = {
      {"the menu asks, Yes", ServerWindowCommand, false, true, mrYes, true, true},
      {"the menu asks, No", ServerWindowCommand, false, true, mrNo, false, true},
      {"a download goes on-line unasked", DownloadSiteCommand, false, true, 0, true, true},
      {"on-line without usable details", ServerWindowCommand, true, false, 0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FtpServer server;
    ASSERT_TRUE(server.Running()) << server.Problem();
    UseServer(server.Port());
    SiteHasServer = c.siteServer;
    SetOnline(c.online);
    LastConnectTime = 0;
    Dialogs().Clear();
    view_.shown = 0;
    if (c.answer) Dialogs().Answer(c.answer);
    if (!c.windowShown) Dialogs().Answer(mrOk);  // "No path for server details."

    ServerMClick(c.sender);

    std::vector<std::string> expected;
    if (c.answer) expected.push_back("Do you want to go online?");
    if (!c.windowShown) expected.push_back("No path for server details.");
    std::vector<std::string> texts;
    for (const DialogCall& call : Dialogs().Calls()) texts.push_back(call.text);
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(OnlineChecked(), c.onlineAfter);
    EXPECT_EQ(view_.shown, c.windowShown ? 1 : 0);
    if (c.windowShown) {
      EXPECT_EQ(FtpConnected(), c.onlineAfter);
    }
    test::EndConnections();
  }
}

TEST_F(ServerMenuCommandTest, ASiteWithoutServerShowsTheWindowAtOnce) {
  ServerName = "None";
  SetOnline(false);
  ServerMClick(ServerWindowCommand);
  EXPECT_EQ(view_.shown, 1);
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_TRUE(CurrentCommand.empty());
}

}  // namespace
}  // namespace quorrel
