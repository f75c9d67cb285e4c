// Transfers on the real main window against a real FTP server: Web | Upload this
// file on an open page of a site whose "Data.FTP" names the server, and the server
// window's "Stop NOW" in the middle of a large upload.
#include <QtCore/qtestsupport_core.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <random>

#include "commands/CompositionRoot.h"
#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "publish/Condense.h"
#include "publish/Connection.h"
#include "publish/PasswordCodec.h"
#include "publish/SiteDetails.h"
#include "publish/Transfers.h"
#include "shell/Backups.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"
#include "support/MasterRtf.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "support/TestWindow.h"
#include "ui/publish/ServForm.h"
#include "ui/publish/TransferGauge.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::ReadFile;

constexpr int64_t kMay6 = 1746515290;  // 6 May 2025 07:08:10 UTC
const std::string kPage =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Home</title>\n"
    "</head>\n<body>\n<h1>Home</h1>\n<p>Hello\nthere</p>\n</body>\n</html>\n";

void SetTime(const std::string& path, int64_t seconds) {
  timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

class TransferEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv(ConnectedStateVariable, "1", 1);
    ASSERT_TRUE(server_.Running()) << server_.Problem();
    site_ = test::SiteTestFolder() + "transfers/";
    fs::remove_all(site_);
    fs::create_directories(site_);
    page_ = site_ + "public_html/index.htm";
    SettingsIni = std::make_unique<TIniFile>(site_ + "settings.ini");
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    InstallHandlers();
    AppPhase = PhaseRunning;
    ServerPort = server_.Port();
    test::WriteServerDetails(site_, server_);
    fs::create_directories(server_.Root() + "public_html");
    SetOnline(true);
  }
  void TearDown() override {
    ResetConnection();
    EXPECT_TRUE(QTest::qWaitFor([] { return ConnectThreadsRunning() == 0; }, 15000));
    QApplication::processEvents();
    servForm_.reset();
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
  void OpenTab(const std::string& path) {
    Dialogs().AnswerPath(path);
    Choose("OpenTab");
    ASSERT_EQ(CurrentFileName, path);
  }
  std::string Status() const { return form_->StatusPanel(MessagePanel)->text().toStdString(); }
  int64_t TabFileAge() const { return FileAges[CurrentEditor->Tag()]; }

  test::FtpServer server_{[] {
    test::FtpServerOptions options;
    options.throttle = 512 * 1024;  // a large file takes a few seconds
    return options;
  }()};
  std::unique_ptr<TWebForm> form_;
  std::unique_ptr<TServForm> servForm_;
  std::string site_;
  std::string page_;
};

TEST_F(TransferEndToEndTest, UploadThisFileSendsTheOpenPageCondensedAndRedatesIt) {
  test::WriteFile(page_, kPage);
  SetTime(page_, kMay6);
  OpenTab(page_);
  MainMenu().SetChecked("Condense", true);
  Dialogs().Clear();

  EXPECT_EQ(form_->IndicatorPanel()->text().toStdString(), "Not on server");
  Choose("Upload");
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
  EXPECT_EQ(Status(), "  index.htm  uploaded");
  // The indicator shows the two copies with one date.
  const std::string indicator = form_->IndicatorPanel()->text().toStdString();
  ASSERT_EQ(indicator.size(), std::string("Local: 06-May-25 07.08  Server: 06-May-25 07.08").size())
      << indicator;
  EXPECT_EQ(indicator.substr(7, 15), indicator.substr(32, 15)) << indicator;
  const std::string serverCopy = server_.Root() + "public_html/index.htm";
  // The page as the save left it, condensed on the server.
  const std::string saved = ReadFile(page_);
  const std::string sent = ReadFile(serverCopy);
  EXPECT_EQ(sent, CondensePage(saved));
  EXPECT_GT(std::count(saved.begin(), saved.end(), '\n'), 8);
  EXPECT_EQ(std::count(sent.begin(), sent.end(), '\n'), 1);
  EXPECT_THAT(sent, ::testing::HasSubstr("<h1>Home</h1><p>Hello there"));
  EXPECT_EQ(FileAge(page_), FileAge(serverCopy));
  EXPECT_EQ(TabFileAge(), FileAge(serverCopy)) << "no time-stamp question follows";
  EXPECT_FALSE(Uploading);
}

TEST_F(TransferEndToEndTest, UploadingABlankDocumentOrWithoutDetailsIsRefused) {
  struct Case {
    const char* what;
    std::string text;
    bool details;
    std::string message;
  } cases[] = {
      {"blank document", "", true, "Cannot upload blank file."},
      {"no server details", kPage, false, "You first need to set up your server details."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A site of its own, without details.
    const std::string path =
        c.details ? site_ + "public_html/blank.htm" : test::SiteTestFolder() + "bare/other.htm";
    test::WriteFile(path, c.text);
    OpenTab(path);
    Dialogs().Clear();
    form_->Action("Upload")->trigger();
    QApplication::processEvents();
    ASSERT_FALSE(Dialogs().Calls().empty());
    EXPECT_THAT(Dialogs().Last().text, ::testing::HasSubstr(c.message));
    EXPECT_FALSE(Uploading);
  }
  // Download this file on the same page: no details, nothing to fetch from.
  Dialogs().Clear();
  form_->Action("Download")->trigger();
  QApplication::processEvents();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_THAT(Dialogs().Last().text,
              ::testing::HasSubstr("You first need to set up your server details."));
  EXPECT_FALSE(fs::exists(server_.Root() + "public_html/blank.htm"));
  EXPECT_FALSE(fs::exists(server_.Root() + "other.htm"));
}

// A page-building master sends the page it builds around the caret, and itself first
// when the page lands in its own folder.
TEST_F(TransferEndToEndTest, UploadThisFileOnAMasterSendsThePageItBuilds) {
  struct Case {
    std::string master;  // relative to the site
    bool masterSent;
  } cases[] = {{"public_html/master.rtf", true}, {"master.rtf", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.master);
    fs::remove_all(server_.Root() + "public_html");
    fs::create_directories(server_.Root() + "public_html");
    const std::string master = site_ + c.master;
    test::WriteFile(
        master, test::Master({".PG one|First", ".BO", "<H1>First</H1>", "Some \\b bold\\b0  text.",
                              ".PG two|Second", ".BO", "<H1>Second</H1>", "More."}));
    OpenTab(master);
    ASSERT_TRUE(IsDotPage);
    CurrentEditor->Select(0, 0);
    Dialogs().Clear();

    Choose("Upload");
    EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
    EXPECT_EQ(Status(), "  one.htm  uploaded");
    const std::string page = ReadFile(server_.Root() + "public_html/one.htm");
    EXPECT_THAT(page, ::testing::HasSubstr("<Title>First</Title>"));
    EXPECT_EQ(page, CondensePage(ReadFile(site_ + "public_html/one.htm")));
    EXPECT_FALSE(fs::exists(server_.Root() + "public_html/two.htm")) << "one section only";
    EXPECT_EQ(fs::exists(server_.Root() + "public_html/master.rtf"), c.masterSent);
    Choose("CloseAll");
  }
}

// The page in its saved layout, and an older server copy that reads otherwise, so
// that opening the page asks nothing.
std::string ServerVersion() {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n  <title>Home</title>\n</head>\n<body>\n"
         "<h1>Home</h1>\n<p>From the server\n</body>\n</html>\n";
}

TEST_F(TransferEndToEndTest, DownloadThisFileShowsTheServerTextWithTheCaretKept) {
  test::WriteFile(page_, kPage);
  SetTime(page_, kMay6);
  const std::string serverCopy = server_.Root() + "public_html/index.htm";
  test::WriteFile(serverCopy, ServerVersion());
  SetTime(serverCopy, kMay6 - 86400);
  OpenTab(page_);
  CurrentEditor->Select(20, 0);
  Dialogs().Clear();

  Choose("Download");
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
  EXPECT_EQ(CurrentEditor->GetText(), ReplaceAll(ServerVersion(), "\n", "\r\n", true));
  EXPECT_EQ(CurrentEditor->SelStart(), 20u);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Status(), "  Downloaded");
  EXPECT_EQ(FileAge(page_), kMay6 - 86400);
  EXPECT_EQ(TabFileAge(), kMay6 - 86400);
  EXPECT_EQ(ReadFile(page_ + ".Bak"), kPage);
}

TEST_F(TransferEndToEndTest, UnsavedEditsAreOfferedASaveFirstAndEndUpInTheBackUp) {
  test::WriteFile(page_, kPage);
  SetTime(page_, kMay6);
  const std::string serverCopy = server_.Root() + "public_html/index.htm";
  test::WriteFile(serverCopy, ServerVersion());
  SetTime(serverCopy, kMay6 - 86400);
  OpenTab(page_);
  CurrentEditor->Select(0, 0);
  CurrentEditor->SetSelText("<!-- my edit -->\r\n");
  CurrentEditor->SetModified(true);
  const std::string edited = CurrentEditor->GetText();

  // No: nothing happens to the edits or the file.
  Dialogs().Clear();
  Dialogs().Answer(mrNo);
  Choose("Download");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_THAT(Dialogs().Last().text, ::testing::HasSubstr("has changes that are not saved"));
  EXPECT_EQ(CurrentEditor->GetText(), edited);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(ReadFile(page_), kPage);
  EXPECT_FALSE(fs::exists(page_ + ".Bak"));

  // Yes: the edits are saved, and the download keeps them in the back-up.
  Dialogs().Answer(mrYes);
  Choose("Download");
  EXPECT_EQ(CurrentEditor->GetText(), ReplaceAll(ServerVersion(), "\n", "\r\n", true));
  EXPECT_THAT(ReadFile(page_ + ".Bak"), ::testing::HasSubstr("<!-- my edit -->"));
  EXPECT_EQ(Status(), "  Downloaded");
}

// A file whose path holds "/!" is the local copy of the server's PHP error log:
// Download this file fetches the log from where the settings say it is, over the
// copy, and shows it.
TEST_F(TransferEndToEndTest, DownloadThisFileOnTheErrorLogCopyFetchesTheServersLog) {
  struct Case {
    const char* setting;   // [System] "PhpErrorLog"; nullptr when there is none yet
    std::string copy;      // relative to the site
    std::string onServer;  // relative to the FTP root
  } cases[] = {
      {nullptr, "!PHP_errors.log", "logs/PHP_errors.log"},
      {"/var/log/php.log", "!logs/today.txt", "var/log/php.log"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.copy);
    const std::string copy = site_ + c.copy;
    const std::string older = "[09-Dec-2026 10:00:00 UTC] PHP Notice: old\n";
    test::WriteFile(copy, older);
    SetTime(copy, kMay6);
    const std::string log = "[10-Dec-2026 11:00:0" + std::to_string(++n) +
                            " UTC] PHP Warning: Undefined variable $x in index.php on line 3\n";
    test::WriteFile(server_.Root() + c.onServer, log);
    SetTime(server_.Root() + c.onServer, kMay6 + 3600 * n);
    if (c.setting) SettingsIni->WriteString("System", "PhpErrorLog", c.setting);
    OpenTab(copy);
    Dialogs().Clear();

    Choose("Download");
    EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
    EXPECT_EQ(CurrentEditor->GetText(), ReplaceAll(log, "\n", "\r\n", true));
    EXPECT_FALSE(CurrentEditor->Modified());
    EXPECT_EQ(Status(), "  Downloaded");
    EXPECT_EQ(ReadFile(copy), log);
    EXPECT_EQ(ReadFile(copy + ".Bak"), older);
    EXPECT_EQ(FileAge(copy), kMay6 + 3600 * n);
    EXPECT_EQ(TabFileAge(), kMay6 + 3600 * n) << "no time-stamp question follows";
    // The default is written out where the user can find and change it.
    EXPECT_EQ(SettingsIni->ReadString("System", "PhpErrorLog", ""),
              c.setting ? c.setting : "logs/PHP_errors.log");
    // Nothing of the site was fetched or sent in its place.
    EXPECT_FALSE(fs::exists(server_.Root() + c.copy));
    Choose("CloseAll");
  }
}

// The whole-site download is set up by the Open form, which is still to come:
// until then the item is greyed and choosing it runs nothing.
TEST_F(TransferEndToEndTest, DownloadEntireSiteWaitsForTheOpenForm) {
  Dialogs().Clear();
  EXPECT_FALSE(MainMenu().HasHandler("DownloadSite"));
  EXPECT_FALSE(MainMenu().Click("DownloadSite"));
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
}

// A text of about a megabyte: it takes the throttled server a few seconds.
std::string LargeText() {
  std::string text;
  for (int i = 0; text.size() < 1200000; ++i) {
    text += "Line " + std::to_string(i) + " of a long text that takes its time to upload.\r\n";
  }
  return text;
}

// A large upload started from the Web menu, with the server window nowhere, shows
// its gauge and "Stop NOW" in the main window; stopping it leaves the server copy.
TEST_F(TransferEndToEndTest, ALargeUploadShowsItsGaugeInTheMainWindowAndStopsThere) {
  const std::string notes = site_ + "public_html/notes.txt";
  test::WriteFile(notes, LargeText());
  test::WriteFile(server_.Root() + "public_html/notes.txt", "old");
  OpenTab(notes);
  Dialogs().Clear();
  std::vector<int> helps;
  SetHelpViewer([&](int context) { helps.push_back(context); });
  TTransferGaugeWidget* gauge = form_->TransferGauge();
  bool sawGauge = false;
  QTimer press;
  press.setInterval(20);
  QObject::connect(&press, &QTimer::timeout, [&] {
    if (gauge->isVisibleTo(form_.get()) && gauge->Filler->width() > 1) {
      sawGauge = true;
      gauge->NowBtn->click();
    }
  });
  press.start();
  Choose("Upload");
  press.stop();
  SetHelpViewer(nullptr);

  EXPECT_TRUE(sawGauge);
  EXPECT_FALSE(gauge->isVisibleTo(form_.get()));
  EXPECT_EQ(helps, std::vector<int>{StopTransferHelp});
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
  EXPECT_EQ(ReadFile(server_.Root() + "public_html/notes.txt"), "old");
  EXPECT_FALSE(fs::exists(server_.Root() + "public_html/.notes.txt.upload"));
  EXPECT_FALSE(TransferUnderWay());
}

// A command that needs the connection, started while a download runs, is refused
// with one message; the download goes on to its end.
TEST_F(TransferEndToEndTest, UploadDuringADownloadIsRefusedAndTheDownloadCompletes) {
  const std::string notes = site_ + "public_html/notes.txt";
  test::WriteFile(notes, "local\r\n");
  SetTime(notes, kMay6);
  const std::string serverText = LargeText();
  test::WriteFile(server_.Root() + "public_html/notes.txt", serverText);
  SetTime(server_.Root() + "public_html/notes.txt", kMay6 - 86400);
  OpenTab(notes);
  Dialogs().Clear();
  bool tried = false;
  QTimer meddle;
  meddle.setInterval(20);
  QObject::connect(&meddle, &QTimer::timeout, [&] {
    if (!tried && TransferUnderWay()) {
      tried = true;
      form_->Action("Upload")->trigger();
    }
  });
  meddle.start();
  Choose("Download");
  meddle.stop();

  EXPECT_TRUE(tried);
  ASSERT_EQ(Dialogs().Calls().size(), 1u) << ::testing::PrintToString(Dialogs().Texts());
  EXPECT_THAT(Dialogs().Last().text, ::testing::HasSubstr("A file transfer is under way."));
  EXPECT_EQ(ReadFile(notes), serverText);
  EXPECT_EQ(Status(), "  Downloaded");
  EXPECT_EQ(ReadFile(server_.Root() + "public_html/notes.txt"), serverText) << "nothing went up";
}

// A save that stops at a validation error uploads nothing, and says so.
TEST_F(TransferEndToEndTest, UploadSaysThePageWasNotUploadedWhenTheSaveStopsAtAnError) {
  MainMenu().SetChecked("ValSave", true);
  test::WriteFile(page_, kPage);
  OpenTab(page_);
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  CurrentEditor->SetSelText("<p>after the end</p>\r\n");
  Dialogs().Clear();
  Choose("Upload");
  EXPECT_FALSE(Dialogs().Calls().empty()) << "the validator shows the error";
  EXPECT_THAT(Status(), ::testing::HasSubstr("index.htm  not uploaded"));
  EXPECT_FALSE(fs::exists(server_.Root() + "public_html/index.htm"));
  EXPECT_FALSE(Uploading);
}

// After a save the information panel gives the file's new size and lines; after a
// failed upload the indicator shows the saved local date against the server copy
// that is still there.
TEST_F(TransferEndToEndTest, PanelsShowTheFilesAsTheyAreAfterASaveAndAFailedUpload) {
  test::WriteFile(page_, kPage);
  SetTime(page_, kMay6);
  const std::string serverCopy = server_.Root() + "public_html/index.htm";
  test::WriteFile(serverCopy, kPage);
  SetTime(serverCopy, kMay6);
  OpenTab(page_);
  const std::string info = form_->StatusPanel(InfoPanel)->text().toStdString();
  const std::string compared = form_->IndicatorPanel()->text().toStdString();
  const size_t serverPart = compared.find("Server: ");
  ASSERT_NE(serverPart, std::string::npos) << compared;
  const auto InBody = [] {
    CurrentEditor->Select(CurrentEditor->OffsetToPos(CurrentEditor->GetText().find("<h1>")), 0);
  };
  InBody();
  CurrentEditor->SetSelText("<p>one</p>\r\n<p>two</p>\r\n");
  Choose("Save");
  const std::string saved = ReadFile(page_);
  const std::string after = form_->StatusPanel(InfoPanel)->text().toStdString();
  EXPECT_NE(after, info);
  EXPECT_THAT(after, ::testing::EndsWith(
                         std::to_string(std::count(saved.begin(), saved.end(), '\n')) + " lines"));
  EXPECT_THAT(after, ::testing::HasSubstr(std::to_string(saved.size())));

  // The upload's work name is taken by a folder: the server refuses the file.
  fs::create_directories(server_.Root() + "public_html/.index.htm.upload");
  InBody();
  CurrentEditor->SetSelText("<p>three</p>\r\n");
  Dialogs().Clear();
  Dialogs().Answer(mrCancel);
  Choose("Upload");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_THAT(Dialogs().Last().text, ::testing::HasSubstr("Could not upload file to server."));
  EXPECT_EQ(ReadFile(serverCopy), kPage);
  const std::string indicator = form_->IndicatorPanel()->text().toStdString();
  // The server side as it was; the local side as the save left it.
  ASSERT_EQ(indicator.size(), compared.size()) << indicator;
  EXPECT_EQ(indicator.substr(serverPart), compared.substr(serverPart));
  EXPECT_NE(indicator.substr(0, serverPart), compared.substr(0, serverPart));
}

TEST_F(TransferEndToEndTest, StopNowInTheServerWindowEndsALargeUpload) {
  std::mt19937 random(3);
  std::string bytes(2 * 1024 * 1024, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  const std::string big = site_ + "public_html/big.bin";
  test::WriteFile(big, bytes);
  SetTime(big, kMay6);
  servForm_ = std::make_unique<TServForm>();
  SetServerWindowView(servForm_.get());
  servForm_->show();
  QApplication::setActiveWindow(servForm_.get());
  ASSERT_TRUE(QTest::qWaitFor([this] { return servForm_->Active(); }, 5000));
  std::vector<int> helps;
  SetHelpViewer([&](int context) { helps.push_back(context); });

  // Pressed as soon as the gauge has moved.
  bool sawGauge = false;
  QTimer press;
  press.setInterval(20);
  QObject::connect(&press, &QTimer::timeout, [&] {
    if (servForm_->NowBtn->isVisible() && servForm_->Filler->width() > 1) {
      sawGauge = servForm_->Gauge->isVisible();
      servForm_->NowBtn->click();
    }
  });
  press.start();
  SiteHasServer = LoadServerDetails(big);
  ASSERT_TRUE(CheckConnection(true));
  EXPECT_THROW(UploadFile(big, "public_html/big.bin"), EAbort);
  press.stop();
  SetHelpViewer(nullptr);

  EXPECT_TRUE(sawGauge);
  EXPECT_FALSE(servForm_->Gauge->isVisible());
  EXPECT_FALSE(servForm_->NowBtn->isVisible());
  EXPECT_EQ(helps, std::vector<int>{StopTransferHelp});
  EXPECT_FALSE(fs::exists(server_.Root() + "public_html/big.bin"));
  EXPECT_EQ(FileAge(big), kMay6);
}

}  // namespace
}  // namespace quorrel
