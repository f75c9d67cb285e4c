// The "Connecting..." window on the offscreen platform: it waits while the connect
// runs, closes itself when the connect ends, and Cancel or Esc ends the wait at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTcpServer>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "commands/OpenDocs.h"
#include "commands/ValidateCommands.h"
#include "publish/Connection.h"
#include "publish/SiteDetails.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/FtpServer.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestFiles.h"
#include "ui/publish/ConnectForm.h"
#include "validate/Validators.h"

namespace quorrel {
namespace {

using Clock = std::chrono::steady_clock;

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 15000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::yield();
  }
  return true;
}

class ConnectFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* connected = std::getenv(ConnectedStateVariable);
    savedConnected_ = connected ? connected : "";
    setenv(ConnectedStateVariable, "1", 1);
    InstallConnectForm();
    SetOnline(true);
    ServerName = "127.0.0.1";
    ServerUser = "user";
    ServerPassword = "secret";
    // Accepts connections (the system does, into its backlog) and never answers.
    ASSERT_TRUE(silent_.listen(QHostAddress::LocalHost, 0));
  }
  void TearDown() override {
    ResetConnection();
    EXPECT_TRUE(WaitUntil([] { return ConnectThreadsRunning() == 0; }));
    QCoreApplication::processEvents();
    SetConnectWait(nullptr);
    SetErrorClipboard(nullptr);
    if (savedConnected_.empty()) {
      unsetenv(ConnectedStateVariable);
    } else {
      setenv(ConnectedStateVariable, savedConnected_.c_str(), 1);
    }
  }

  // Runs a step once the window shows (and, unless told otherwise, its connect
  // thread has started).
  void WhenWaiting(const std::function<void(TConnect&)>& step, bool needThread = true) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, step, needThread] {
      TConnect* form = ConnectForm();
      if (!form || !form->isVisible() || (needThread && ConnectThreadsRunning() == 0)) return;
      timer->stop();
      timer->deleteLater();
      step(*form);
    });
    timer->start(2);
  }

  QTcpServer silent_;
  std::string savedConnected_;
};

TEST_F(ConnectFormTest, CancelEndsTheWaitAtOnceAndTurnsOnLineOff) {
  ServerPort = silent_.serverPort();
  bool checked = false;
  Clock::time_point clicked;
  WhenWaiting([&](TConnect& form) {
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.InfoLab->text(), "Connecting...");
    EXPECT_EQ(form.CancelBtn->text(), "Cancel");
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_LE((form.geometry().center() - screen.center()).manhattanLength(), 4);
    checked = true;
    clicked = Clock::now();
    form.CancelBtn->click();
  });
  DoConnect();
  const auto returned = Clock::now();
  ASSERT_TRUE(checked);
  EXPECT_LT(returned - clicked, std::chrono::milliseconds(500));
  EXPECT_FALSE(ConnectForm()->isVisible());
  EXPECT_FALSE(OnlineChecked());
  EXPECT_FALSE(FtpConnected());
  EXPECT_EQ(ConnectThreadsRunning(), 1);  // still waiting for a greeting, unseen
  EXPECT_TRUE(test::Dialogs().Calls().empty());
}

TEST_F(ConnectFormTest, EscIsCancel) {
  ServerPort = silent_.serverPort();
  WhenWaiting([](TConnect& form) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&form, &escape);
  });
  const auto start = Clock::now();
  DoConnect();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(OnlineChecked());
  EXPECT_FALSE(FtpConnected());
}

TEST_F(ConnectFormTest, TheWindowClosesItselfWhenTheConnectionIsMadeAndIsKept) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  ServerPort = server.Port();
  bool shown = false;
  WhenWaiting([&](TConnect&) { shown = true; }, false);
  DoConnect();
  EXPECT_TRUE(shown);
  ASSERT_TRUE(FtpConnected());
  EXPECT_TRUE(OnlineChecked());
  TConnect* form = ConnectForm();
  EXPECT_FALSE(form->isVisible());

  // A refused login also ends the wait by itself; the same window serves again.
  ServerPassword = "wrong";
  DoConnect();
  EXPECT_EQ(ConnectForm(), form);
  EXPECT_FALSE(FtpConnected());
  EXPECT_EQ(InternetErrorCode, 530u);
  EXPECT_EQ(InternetErrorText, "530 Authentication failed.");
  EXPECT_TRUE(OnlineChecked());  // not cancelled: the caller reports the refusal
}

// A validation that runs while a connect waits (the window is modal, but a command
// can still be set off meanwhile) closes the window: the wait ends without the
// connection, and without On-line going off, since nobody cancelled.
TEST_F(ConnectFormTest, ValidatingClosesTheWindowWithoutCancelling) {
  ServerPort = silent_.serverPort();
  test::MemoryMainWindow window;
  SetMainWindow(&window);
  const std::string page = test::SiteTestFolder() + "connect/page.htm";
  test::WriteFile(page, "<HTML>\n<Head>\n</Head>\n<Body>\n</Body>\n</HTML>\n");
  OpenInNewTab(page);
  PCChange();
  // The tab change has put away the server of the fixture: this page's site has none.
  ServerName = "127.0.0.1";
  ServerUser = "user";
  ServerPassword = "secret";
  std::vector<std::string> senders;
  SetValidatorStandIn(
      [&](TValidatorKind, const std::string& sender) { senders.push_back(sender); });
  InstallValidationCommands();

  bool validated = false;
  bool stillShown = true;
  WhenWaiting([&](TConnect& form) {
    validated = MainMenu().Click("Validate");
    stillShown = form.isVisible();
    // A window left open would wait for the silent server: end it the user's way.
    if (stillShown) form.CancelBtn->click();
  });
  DoConnect();
  EXPECT_TRUE(validated);
  EXPECT_FALSE(stillShown);
  EXPECT_EQ(senders, std::vector<std::string>{"Validate"});
  EXPECT_FALSE(ConnectForm()->isVisible());
  EXPECT_FALSE(FtpConnected());
  EXPECT_TRUE(OnlineChecked());
  EXPECT_TRUE(test::Dialogs().Calls().empty());

  // With no connect waiting there is no window to close.
  EXPECT_TRUE(MainMenu().Click("Validate"));
  EXPECT_FALSE(ConnectForm()->isVisible());

  SetValidatorStandIn(nullptr);
  SetMainWindow(nullptr);
  CurrentEditor = nullptr;
  std::filesystem::remove_all(test::SiteTestFolder());
}

}  // namespace
}  // namespace quorrel
