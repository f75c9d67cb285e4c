// The publishing commands as a new user meets them from the menus: the Server
// Details item, a page opened with On-line ticked and compared with its copy on a
// real FTP server, the daily report, and the status line after opening.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <filesystem>
#include <fstream>
#include <memory>

#include "commands/CompositionRoot.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/PasswordCodec.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "publish/SiteDetailsDialog.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ProgUnit.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"
#include "support/LoopbackServer.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "support/TimeZone.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr int64_t kMay6 = 1746515290;  // 6 May 2025 07:08:10 UTC
constexpr int64_t kDay = 86400;
constexpr char kDownloadQuestion[] = "Download newer version from server?";

// A page whose head begins a line, so that opening it does not re-format it.
const std::string kPage = "<html>\r\n<head>\r\n</head>\r\n<body>Hello</body>\r\n</html>\r\n";

void SetFileTime(const std::string& path, int64_t seconds) {
  timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

void Write(const std::string& path, const std::string& bytes, int64_t time) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  SetFileTime(path, time);
}

bool AnyTextHas(const std::string& part) {
  for (const std::string& text : Dialogs().Texts()) {
    if (text.find(part) != std::string::npos) return true;
  }
  return false;
}

class ServerCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv(ConnectedStateVariable, "1", 1);
    ASSERT_TRUE(server_.Running()) << server_.Problem();
    // Outside the temporary folders, so that the pages count as a site's.
    char pattern[] = "/dev/shm/quorrel-server-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    site_ = std::string(made) + "/";
    page_ = site_ + "public_html/index.htm";
    SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "server-settings.ini");
    SetMainWindow(&window_);
    InstallHandlers();
    AppPhase = PhaseRunning;
    ServerPort = server_.Port();
  }
  void TearDown() override {
    ResetConnection();
    // The results of connect threads still running are closed on arrival.
    QElapsedTimer waited;
    waited.start();
    while (ConnectThreadsRunning() > 0 && waited.elapsed() < 15000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QCoreApplication::processEvents();
    SetServerDetailsForm(nullptr);
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    // Close all wrote the main settings file: the next test starts afresh.
    MainIni.reset();
    fs::remove(DocumentsFolder() + MainIniName);
    SettingsIni.reset();
    fs::remove(test::TestHome() + "server-settings.ini");
    fs::remove_all(site_);
    unsetenv(ConnectedStateVariable);
  }

  // The site's details as the dialog writes them, naming the test's server.
  void WriteDetails() { test::WriteServerDetails(site_, server_); }
  void OnServer(const std::string& name, const std::string& bytes, int64_t time) {
    Write(server_.Root() + "public_html/" + name, bytes, time);
  }
  // File > Open Tab..., the page chosen in its dialog.
  void OpenTab(const std::string& path) {
    Dialogs().AnswerPath(path);
    MainMenu().Click("OpenTab");
  }
  std::vector<std::string> ReportLines() const {
    std::vector<std::string> lines = ProgBoxState().lines;
    if (!lines.empty()) lines.pop_back();  // the count
    return lines;
  }

  test::FtpServer server_;
  test::MemoryMainWindow window_;
  std::string site_;
  std::string page_;
  // The dates in the texts are UTC.
  test::TimeZone utc_{"UTC"};
};

TEST_F(ServerCommandsTest, OpeningAPageOnLineComparesItWithItsServerCopy) {
  struct Case {
    const char* what;
    int64_t serverTime;  // 0: not on the server
    bool asked;
    std::string indicator;
    int colour;
  } cases[] = {
      {"server copy newer", kMay6 + kDay, true, "Local: 06-May-25 07.08  Server: 07-May-25 07.08",
       0x0000FF},
      {"local copy newer", kMay6 - kDay, false, "Local: 06-May-25 07.08  Server: 05-May-25 07.08",
       0x0080FF},
      {"same date", kMay6, false, "Local: 06-May-25 07.08  Server: 06-May-25 07.08", 0x00FF00},
      {"not on the server", 0, false, "Not on server", 0xFFFFFF},
  };
  WriteDetails();
  Write(page_, kPage, kMay6);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(server_.Root() + "public_html");
    fs::create_directories(server_.Root() + "public_html");
    if (c.serverTime != 0) OnServer("index.htm", kPage, c.serverTime);
    MainMenu().Click("CloseAll");
    SetOnline(true);
    Dialogs().Clear();
    if (c.asked) Dialogs().Answer(mrNo);

    OpenTab(page_);
    ASSERT_EQ(CurrentFileName, page_);
    EXPECT_TRUE(SiteHasServer);
    EXPECT_EQ(AnyTextHas(kDownloadQuestion), c.asked);
    if (c.asked) {
      EXPECT_EQ(Dialogs().Last().text,
                "Local file\tupdated 06-May-2025 07.08.10\rServer file\tupdated 07-May-2025 "
                "07.08.10\rDownload newer version from server?");
    }
    EXPECT_EQ(window_.Indicator(), c.indicator);
    EXPECT_EQ(window_.IndicatorColour(), c.colour);

    // Off-line the comparison is not shown.
    MainMenu().Click("Online");
    EXPECT_EQ(window_.Indicator(), "");
  }
}

TEST_F(ServerCommandsTest, ANewerServerCopyComesIntoTheEditorWhenTheUserSaysYes) {
  const std::string newer = "<html>\r\n<head>\r\n</head>\r\n<body>Newer</body>\r\n</html>\r\n";
  WriteDetails();
  Write(page_, kPage, kMay6);
  OnServer("index.htm", newer, kMay6 + kDay);
  SetOnline(true);
  Dialogs().Answer(mrYes);

  OpenTab(page_);
  ASSERT_TRUE(AnyTextHas(kDownloadQuestion));
  EXPECT_EQ(CurrentEditor->GetText(), newer);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(test::ReadFile(page_ + ".Bak"), kPage);
  EXPECT_EQ(FileAge(page_), kMay6 + kDay);
  EXPECT_EQ(window_.Indicator(), "Local: 07-May-25 07.08  Server: 07-May-25 07.08");
  EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
  // Asked once: the copy now in the editor is the server's.
  const std::vector<std::string> texts = Dialogs().Texts();
  EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                          [](const std::string& t) {
                            return t.find(kDownloadQuestion) != std::string::npos;
                          }),
            1);
}

TEST_F(ServerCommandsTest, TheFirstPageOnLineEachDayReportsServerOnlyFiles) {
  WriteDetails();
  Write(page_, kPage, kMay6);
  Write(site_ + "public_html/same.htm", "same", kMay6);
  OnServer("index.htm", kPage, kMay6);
  OnServer("same.htm", "same", kMay6);
  OnServer("onlyserver.htm", "only", kMay6);
  SetOnline(true);

  OpenTab(page_);
  EXPECT_THAT(ReportLines(), ::testing::ElementsAre("onlyserver.htm is on server but not local"));
  EXPECT_EQ(ProgBoxState().helpContext, 101250);
  EXPECT_EQ(SettingsIni->ReadString("System", "RunDate", ""),
            FormatLongDate(NowDateTime()).substr(0, 11));
}

TEST_F(ServerCommandsTest, TheStatusLineShowsTheDocumentOnceOpened) {
  const std::string other = site_ + "notes.txt";
  Write(page_, kPage, kMay6);
  Write(other, "one\r\ntwo\r\n", kMay6);
  struct Case {
    const char* item;
    std::string path;
    std::string status;
  } cases[] = {
      {"OpenTab", page_, "06-May-25  07.08  " + std::to_string(kPage.size()) + " B     5 lines"},
      {"Open", other, "06-May-25  07.08  10 B     2 lines"},
      {"Reload", other, "06-May-25  07.08  10 B     2 lines"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    if (std::string(c.item) != "Reload") Dialogs().AnswerPath(c.path);
    MainMenu().Click(c.item);
    ASSERT_EQ(CurrentFileName, c.path);
    EXPECT_EQ(StatusText, c.status);
  }
}

TEST_F(ServerCommandsTest, ServerDetailsItemOpensTheDialogForTheCurrentSite) {
  // Nothing open and nothing closed: no path to look up.
  ASSERT_TRUE(MainMenu().Item("SDets").enabled);
  ASSERT_TRUE(MainMenu().Available(MainMenu().Item("SDets")));
  int shown = 0;
  SetServerDetailsForm([&] {
    ++shown;
    return false;
  });
  Dialogs().Answer(mrYes);
  MainMenu().Click("SDets");
  EXPECT_EQ(Dialogs().Last().text, "No path for server details.");
  EXPECT_EQ(Dialogs().Last().helpContext, NoPathForDetailsHelp);
  EXPECT_EQ(shown, 0);

  // A page of a site without details yet: Cancel ends the command without a word.
  Write(page_, kPage, kMay6);
  OnServer("index.htm", kPage, kMay6 + kDay);
  OpenTab(page_);
  Dialogs().Clear();
  std::string caption;
  SetServerDetailsForm([&] {
    ++shown;
    caption = ServerDetailsCaption();
    return false;
  });
  EXPECT_FALSE(MainMenu().Click("SDets"));
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(caption, "Server details for " + site_ + "public_html/");
  EXPECT_TRUE(Dialogs().Calls().empty());

  // OK: the fields checked, a test connection, the save dialog; the details take
  // effect on the open tab, which is compared with the server at once.
  SetServerDetailsForm([&] {
    TServerFields fields{"127.0.0.1", server_.User(), server_.Password(), "www.example.org",
                         "public_html"};
    return AcceptServerDetails(fields, 1);
  });
  Dialogs().AnswerPath(site_ + ServerDetailsFile);
  Dialogs().Answer(mrNo);  // the newer server copy is not downloaded
  EXPECT_TRUE(MainMenu().Click("SDets"));
  TIniFile written(site_ + ServerDetailsFile);
  EXPECT_EQ(written.ReadString("1", "FTPAddr", ""), "127.0.0.1");
  EXPECT_EQ(written.ReadString("1", "WWWAddr", ""), "http://www.example.org/");
  EXPECT_EQ(DecodeServerPassword(written.ReadString("1", "Password", "")), server_.Password());
  EXPECT_TRUE(SiteHasServer);
  EXPECT_TRUE(OnlineChecked());
  EXPECT_THAT(Dialogs().Texts(), Contains(HasSubstr(kDownloadQuestion)));
  EXPECT_EQ(window_.Indicator(), "Local: 06-May-25 07.08  Server: 07-May-25 07.08");
  EXPECT_THAT(Dialogs().Texts(), Not(Contains(HasSubstr("Error in Data.FTP"))));
}

TEST_F(ServerCommandsTest, ServerDetailsWithNoDocumentOpenUsesTheFileClosedLast) {
  // Details without an address yet are no error while the details are entered.
  TIniFile(site_ + ServerDetailsFile).WriteString("System", "Section", "1");
  Write(page_, kPage, kMay6);
  SettingsIni->WriteString("Closed", "0", page_ + "|12");
  std::string caption;
  SetServerDetailsForm([&] {
    caption = ServerDetailsCaption();
    return false;
  });
  EXPECT_FALSE(MainMenu().Click("SDets"));
  EXPECT_EQ(caption, "Server details for " + site_);
  EXPECT_EQ(DataFtpPath, site_ + ServerDetailsFile);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ServerCommandsTest, DetailsThatCannotConnectCanStillBeCorrected) {
  // On-line, with details naming a port where nothing answers.
  WriteDetails();
  Write(page_, kPage, kMay6);
  test::RefusingPort refusing;
  ASSERT_NE(refusing.Port(), 0);
  ServerPort = refusing.Port();
  SettingsIni->WriteString("Closed", "0", page_ + "|0");
  SetOnline(true);
  int shown = 0;
  SetServerDetailsForm([&] {
    ++shown;
    return false;
  });
  EXPECT_FALSE(MainMenu().Click("SDets"));
  EXPECT_EQ(shown, 1);
  EXPECT_THAT(Dialogs().Texts(), Not(Contains(HasSubstr("Cannot connect to server."))));
}

}  // namespace
}  // namespace quorrel
