// Publishing from the menus alone, as a new user meets it on the real main window:
// File > Open Tab..., Web > Server Details with its dialog, On-line, the open
// page compared with its copy on a real FTP server, the daily report; and the
// internet error box's Help button.
#include <QtCore/qtestsupport_core.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "commands/CompositionRoot.h"
#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/FtpErrors.h"
#include "publish/PasswordCodec.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ProgUnit.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TimeZone.h"
#include "support/UnixUserFtp.h"
#include "support/TestWindow.h"
#include "ui/platform/QtDialogs.h"
#include "ui/publish/SDetForm.h"
#include "ui/shell/DBox3Form.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using ::testing::Contains;
using ::testing::HasSubstr;

constexpr int64_t kMay6 = 1746515290;  // 6 May 2025 07:08:10 UTC
constexpr int64_t kDay = 86400;
const std::string kPage = "<html>\r\n<head>\r\n</head>\r\n<body>Hello</body>\r\n</html>\r\n";

void Write(const std::string& path, const std::string& bytes, int64_t time) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  timespec times[2] = {{static_cast<time_t>(time), 0}, {static_cast<time_t>(time), 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Runs step on the modal window as soon as it shows (from inside its own loop).
void OnModal(std::function<void(QWidget*)> step, int triesLeft = 400) {
  QTimer::singleShot(triesLeft == 400 ? 0 : 5, qApp, [step, triesLeft] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box && triesLeft > 0) {
      OnModal(step, triesLeft - 1);
      return;
    }
    step(box);
  });
}

class ServerMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv(ConnectedStateVariable, "1", 1);
    site_ = test::SiteTestFolder() + "server-menu/";
    fs::remove_all(site_);
    fs::create_directories(site_);
    page_ = site_ + "public_html/index.htm";
    SettingsIni = std::make_unique<TIniFile>(site_ + "settings.ini");
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    InstallHandlers();
    InstallServerDetailsForm();
    AppPhase = PhaseRunning;
  }
  void TearDown() override {
    ResetConnection();
    EXPECT_TRUE(QTest::qWaitFor([] { return ConnectThreadsRunning() == 0; }, 15000));
    QApplication::processEvents();
    test::CloseTestWindow(form_);
    unsetenv(ConnectedStateVariable);
  }

  void Choose(const char* item) {
    QAction* action = form_->Action(item);
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
    QApplication::processEvents();
  }

  // The new user's road, against a server holding `serverRoot` for this user: the
  // page opened, the details entered, the page compared, the daily report.
  void FromTheMenus(const std::string& serverRoot, const std::string& user,
                    const std::string& password) {
    Write(page_, kPage, kMay6);
    Write(serverRoot + "public_html/index.htm", kPage, kMay6 + kDay);
    Write(serverRoot + "public_html/onlyserver.htm", "only", kMay6);

    // File > Open Tab...: the status line shows the page's date, size and lines.
    Dialogs().AnswerPath(page_);
    Choose("OpenTab");
    ASSERT_EQ(CurrentFileName, page_);
    EXPECT_EQ(form_->StatusPanel(2)->text().toStdString(),
              "      06-May-25  07.08  " + std::to_string(kPage.size()) + " B     5 lines");
    EXPECT_FALSE(form_->IndicatorPanel()->isVisible());

    // Web > Server Details: the dialog, filled in and saved in the site's top folder.
    bool dialogShown = false;
    OnModal([&](QWidget* window) {
      auto* dialog = qobject_cast<TSDetForm*>(window);
      ASSERT_NE(dialog, nullptr);
      dialogShown = true;
      dialog->FtpAddr->setText("127.0.0.1");
      dialog->UserName->setText(QString::fromStdString(user));
      dialog->Password->setText(QString::fromStdString(password));
      dialog->WebSite->setText("www.example.org");
      dialog->WebRoot->setText("public_html");
      dialog->OkBtn->click();
    });
    Dialogs().AnswerPath(site_ + ServerDetailsFile);
    Dialogs().Answer(mrNo);  // "Download newer version from server?"
    Choose("SDets");
    ASSERT_TRUE(dialogShown);
    TIniFile details(site_ + ServerDetailsFile);
    EXPECT_EQ(details.ReadString("1", "FTPAddr", ""), "127.0.0.1");
    EXPECT_EQ(details.ReadString("1", "User", ""), user);
    EXPECT_EQ(DecodeServerPassword(details.ReadString("1", "Password", "")), password);
    EXPECT_EQ(details.ReadString("1", "WWWAddr", ""), "http://www.example.org/");

    // On-line now, the page compared with its newer server copy.
    EXPECT_TRUE(form_->Action("Online")->isChecked());
    EXPECT_TRUE(SiteHasServer);
    EXPECT_THAT(Dialogs().Texts(), Contains(HasSubstr("Download newer version from server?")));
    EXPECT_TRUE(form_->IndicatorPanel()->isVisibleTo(form_.get()));
    EXPECT_EQ(form_->IndicatorPanel()->text().toStdString(),
              "Local: 06-May-25 07.08  Server: 07-May-25 07.08");
    // The daily report, once.
    std::vector<std::string> report = ProgBoxState().lines;
    EXPECT_THAT(report, Contains("onlyserver.htm is on server but not local"));
    EXPECT_EQ(SettingsIni->ReadString("System", "RunDate", ""),
              FormatLongDate(NowDateTime()).substr(0, 11));

    // Off-line and on-line again from the menu: the comparison goes and comes back.
    Choose("Online");
    EXPECT_FALSE(form_->IndicatorPanel()->isVisibleTo(form_.get()));
    Dialogs().Answer(mrNo);
    Choose("Online");
    EXPECT_TRUE(form_->IndicatorPanel()->isVisibleTo(form_.get()));
    EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
  }

  std::string site_;
  std::string page_;
  std::unique_ptr<TWebForm> form_;
  // The dates in the texts are UTC.
  test::TimeZone utc_{"UTC"};
};

TEST_F(ServerMenuTest, ANewUserPublishesFromTheMenusAlone) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  ServerPort = server.Port();
  FromTheMenus(server.Root(), server.User(), server.Password());
  ResetConnection();
}

// The same road on Debian's vsftpd with a real Unix user of this machine, logged in
// through the system's password check, as a hosting account is.
TEST_F(ServerMenuTest, ANewUserPublishesToARealUnixAccount) {
  if (const std::string why = test::UnixUserFtpServer::Impossible(); !why.empty()) {
    GTEST_SKIP() << why;
  }
  test::UnixUserFtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  ServerPort = server.Port();
  FromTheMenus(server.Root(), server.User(), server.Password());
  ResetConnection();
}

TEST_F(ServerMenuTest, TheInternetErrorBoxStopsTheCommandWhateverTheButton) {
  InstallQtDialogs();
  std::vector<int> helps;
  SetHelpViewer([&](int context) { helps.push_back(context); });
  TDBox3Form& box = DBox3Form();
  bool openAfterHelp = true;
  OnModal([&](QWidget*) {
    box.Button2->click();
    openAfterHelp = box.isVisible();
  });
  InternetErrorCode = 530;
  InternetErrorText = "530 Login incorrect.";
  EXPECT_THROW(ReportInternetError("Cannot connect to server."), EAbort);
  EXPECT_FALSE(openAfterHelp);
  EXPECT_EQ(helps, std::vector<int>{70400});
  SetHelpViewer(nullptr);
  SetUserDialogs(&test::Dialogs());
}

}  // namespace
}  // namespace quorrel
