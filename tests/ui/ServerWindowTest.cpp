// The server files window on the real main window: Web > Server on a site whose
// "Data.FTP" names a real FTP server on loopback, the question about going
// on-line, the tree, the rows with their icons, and a folder chosen in the tree.
#include <QtCore/qtestsupport_core.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "commands/CompositionRoot.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/PasswordCodec.h"
#include "publish/ServerDates.h"
#include "publish/ServerListing.h"
#include "publish/SiteDetails.h"
#include "shell/Backups.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/MyException.h"
#include "shell/ProgUnit.h"
#include "shell/Settings.h"
#include "shell/StatusBar.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "support/TimeZone.h"
#include "support/TestWindow.h"
#include "ui/publish/SDetForm.h"
#include "ui/publish/ServForm.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

constexpr int64_t kTen = 1746525600;  // 6 May 2025 10:00 UTC

const std::string kPage = "<html>\r\n<head>\r\n</head>\r\n<body>Hello</body>\r\n</html>\r\n";

void Put(const std::string& path, int64_t time) {
  test::WriteFile(path, kPage);
  timespec times[2] = {{static_cast<time_t>(time), 0}, {static_cast<time_t>(time), 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Names and icons of the rows the window shows.
std::map<std::string, int> Rows(QTreeWidget* list) {
  std::map<std::string, int> rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list->topLevelItem(i);
    rows[QStringToAnsi(item->text(0))] = item->data(0, Qt::UserRole).toInt();
  }
  return rows;
}

// A click of the left mouse button, as the user gives it.
void Click(QWidget* widget, QPoint at) {
  const QPointF local(at), global(widget->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, {}, {});
  QApplication::sendEvent(widget, &release);
}

// A press of the right mouse button and the context menu it asks for.
void RightClick(QWidget* viewport, QPoint at) {
  const QPointF local(at), global(viewport->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::RightButton, Qt::RightButton, {});
  QApplication::sendEvent(viewport, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::RightButton, {}, {});
  QApplication::sendEvent(viewport, &release);
  QContextMenuEvent menu(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
  QApplication::sendEvent(viewport, &menu);
}

QTreeWidgetItem* Child(QTreeWidgetItem* node, const QString& name) {
  for (int i = 0; i < node->childCount(); ++i)
    if (node->child(i)->text(0) == name) return node->child(i);
  return nullptr;
}

QTreeWidgetItem* Row(QTreeWidget* list, const QString& name) {
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->text(0) == name) return list->topLevelItem(i);
  return nullptr;
}

std::map<std::string, int> Children(QTreeWidgetItem* node) {
  std::map<std::string, int> children;
  for (int i = 0; i < node->childCount(); ++i)
    children[QStringToAnsi(node->child(i)->text(0))] =
        node->child(i)->data(0, Qt::UserRole).toInt();
  return children;
}

class ServerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv(ConnectedStateVariable, "1", 1);
    site_ = test::SiteTestFolder() + "server-window/";
    fs::remove_all(site_);
    fs::create_directories(site_);
    SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "settings.ini");
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    InstallHandlers();
    InstallServerDetailsForm();
    servForm_ = CreateServForm(form_.get());
    AppPhase = PhaseRunning;
  }
  void TearDown() override {
    ResetConnection();
    EXPECT_TRUE(QTest::qWaitFor([] { return ConnectThreadsRunning() == 0; }, 15000));
    QApplication::processEvents();
    delete servForm_;
    test::CloseTestWindow(form_);
    unsetenv(ConnectedStateVariable);
  }

  // The site: details naming the server, pages on both sides, the page opened.
  void MakeSite(const test::FtpServer& server) {
    test::WriteServerDetails(site_, server, "public_html");
    ServerPort = server.Port();
    Put(server.Root() + "public_html/index.htm", kTen);
    Put(server.Root() + "public_html/new.htm", kTen);
    Put(server.Root() + "img/logo.png", kTen);
    Put(site_ + "public_html/index.htm", kTen);
    Put(site_ + "notes.txt", kTen);
    fs::create_directories(site_ + "drafts");

    SetOnline(false);
    Dialogs().AnswerPath(site_ + "public_html/index.htm");
    form_->Action("OpenTab")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(SiteHasServer);
    ASSERT_FALSE(OnlineChecked());
  }

  // Chooses Web > Server and runs `look` once the window has listed the site.
  void OpenServerWindow(const std::function<void()>& look) {
    bool looked = false;
    // Polled from the event loops that run meanwhile (the connect's, the window's).
    std::function<void(int)> poll = [&](int triesLeft) {
      const bool listed =
          servForm_->isVisible() && servForm_->windowTitle().startsWith("Files for");
      if (!listed && triesLeft > 0) {
        QTimer::singleShot(10, qApp, [&poll, triesLeft] { poll(triesLeft - 1); });
        return;
      }
      EXPECT_TRUE(listed);
      if (listed) look();
      looked = true;
      servForm_->reject();
    };
    QTimer::singleShot(0, qApp, [&poll] { poll(1500); });
    form_->Action("ServerM")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return looked; }, 1000));
    EXPECT_FALSE(servForm_->isVisible());
  }

  // Lists a folder of the root as the user does, with a click on it in the tree.
  void ChooseFolder(const QString& name) {
    QTreeWidgetItem* folder = Child(servForm_->Tree->topLevelItem(0), name);
    ASSERT_NE(folder, nullptr);
    Click(servForm_->Tree->viewport(), servForm_->Tree->visualItemRect(folder).center());
  }
  // Opens the pop-up menu over a row of the list.
  void PopupOverRow(const QString& name) {
    QTreeWidgetItem* row = Row(servForm_->ListView, name);
    ASSERT_NE(row, nullptr);
    RightClick(servForm_->ListView->viewport(), servForm_->ListView->visualItemRect(row).center());
    EXPECT_TRUE(servForm_->Popup->isVisible());
  }
  void SelectRows(std::initializer_list<QString> names) {
    servForm_->ListView->clearSelection();
    for (const QString& name : names) {
      QTreeWidgetItem* row = Row(servForm_->ListView, name);
      ASSERT_NE(row, nullptr) << name.toStdString();
      row->setSelected(true);
    }
  }

  std::string site_;
  std::unique_ptr<TWebForm> form_;
  TServForm* servForm_ = nullptr;
  test::TimeZone utc_{"UTC"};
};

TEST_F(ServerWindowTest, TheServerMenuListsTheSiteAndItsFolders) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  MakeSite(server);

  Dialogs().Answer(mrYes);  // "Do you want to go online?"
  OpenServerWindow([&] {
    EXPECT_EQ(QStringToAnsi(servForm_->windowTitle()),
              "Files for " + site_ + "  on server  127.0.0.1  in folder  [Root]");
    QTreeWidgetItem* root = servForm_->Tree->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "[Root]");
    EXPECT_EQ(Children(root), (std::map<std::string, int>{{"drafts", FolderLocalOnly},
                                                          {"img", FolderServerOnly},
                                                          {"public_html", FolderOnBoth}}));
    // The root holds the details and a note, both only here; "Data.FTP" is never
    // missing from the server.
    EXPECT_EQ(Rows(servForm_->ListView), (std::map<std::string, int>{{"notes.txt", 0}}));
    for (QFrame* legend : servForm_->Legends) EXPECT_TRUE(legend->isVisible());

    // A folder chosen in the tree.
    QTreeWidgetItem* folder = nullptr;
    for (int i = 0; i < root->childCount(); ++i)
      if (root->child(i)->text(0) == "public_html") folder = root->child(i);
    ASSERT_NE(folder, nullptr);
    Click(servForm_->Tree->viewport(), servForm_->Tree->visualItemRect(folder).center());
    EXPECT_EQ(Rows(servForm_->ListView), (std::map<std::string, int>{{"index.htm", SameDateIcon},
                                                                     {"new.htm", NotOnLocalIcon}}));
    EXPECT_EQ(QStringToAnsi(servForm_->windowTitle()),
              "Files for " + site_ + "  on server  127.0.0.1  in folder  public_html/");
    EXPECT_EQ(servForm_->Tree->currentItem()->text(0), "public_html");
  });
  EXPECT_TRUE(OnlineChecked());
  EXPECT_EQ(Dialogs().Texts().front(), "Do you want to go online?");
  // The main window has its own title back once the window has gone.
  EXPECT_TRUE(CurrentCommand.empty());
}

TEST_F(ServerWindowTest, FlatListsEveryFolderUnderItsHeaderAndRefreshKeepsTheSelection) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  MakeSite(server);

  Dialogs().Answer(mrYes);  // "Do you want to go online?"
  OpenServerWindow([&] {
    Click(servForm_->Flat, servForm_->Flat->rect().center());
    EXPECT_TRUE(FlatListing);
    EXPECT_FALSE(servForm_->Tree->isVisible());
    std::vector<std::string> rows;
    for (int i = 0; i < servForm_->ListView->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = servForm_->ListView->topLevelItem(i);
      rows.push_back(QStringToAnsi(item->text(0)) + ":" +
                     std::to_string(item->data(0, Qt::UserRole).toInt()));
    }
    const std::string out(1, OutsideWebRootMark);
    EXPECT_EQ(rows, (std::vector<std::string>{"[Root]:5", out + "notes.txt:0", "drafts/:0",
                                              "img/:4", out + "logo.png:4", "public_html/:5",
                                              "index.htm:1", "new.htm:4"}));
    EXPECT_EQ(QStringToAnsi(servForm_->windowTitle()),
              "Files for " + site_ + "  on server  127.0.0.1");

    // Refresh lists again and selects the same rows by position.
    servForm_->ListView->topLevelItem(2)->setSelected(true);
    servForm_->ListView->topLevelItem(6)->setSelected(true);
    servForm_->RefreshClick(false);
    std::vector<int> selected;
    for (QTreeWidgetItem* item : servForm_->ListView->selectedItems())
      selected.push_back(servForm_->ListView->indexOfTopLevelItem(item));
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, (std::vector<int>{2, 6}));

    // Unticked: the tree again.
    Click(servForm_->Flat, servForm_->Flat->rect().center());
    EXPECT_FALSE(FlatListing);
    EXPECT_TRUE(servForm_->Tree->isVisible());
    EXPECT_EQ(Rows(servForm_->ListView), (std::map<std::string, int>{{"notes.txt", 0}}));
  });
}

TEST_F(ServerWindowTest, UploadFromThePopupMenuBringsLocalNewerRowsToTheSameDate) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  MakeSite(server);
  for (const char* name : {"a.htm", "b.htm", "c.htm"}) {
    Put(server.Root() + "public_html/" + name, kTen - 3 * 3600);
    Put(site_ + "public_html/" + name, kTen);
  }

  Dialogs().Answer(mrYes);  // "Do you want to go online?"
  OpenServerWindow([&] {
    ChooseFolder("public_html");
    for (const char* name : {"a.htm", "b.htm", "c.htm"})
      ASSERT_EQ(Rows(servForm_->ListView)[name], LocalNewerIcon) << name;
    SelectRows({"a.htm", "b.htm", "c.htm"});
    PopupOverRow("b.htm");
    ASSERT_TRUE(servForm_->Upload->isEnabled());
    servForm_->Upload->trigger();
    servForm_->Popup->hide();

    for (const char* name : {"a.htm", "b.htm", "c.htm"}) {
      EXPECT_EQ(Rows(servForm_->ListView)[name], SameDateIcon) << name;
      // The local copy took the date of its new server copy.
      struct stat uploaded {};
      ASSERT_EQ(stat((server.Root() + "public_html/" + name).c_str(), &uploaded), 0);
      EXPECT_EQ(FileAge(site_ + "public_html/" + name), uploaded.st_mtime) << name;
    }
    EXPECT_TRUE(servForm_->ListView->selectedItems().isEmpty());
    EXPECT_FALSE(servForm_->StopBtn->isVisible());
    EXPECT_EQ(QStringToAnsi(servForm_->windowTitle()),
              "Files for " + site_ + "  on server  127.0.0.1  in folder  public_html/");
  });
  EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
}

// The other transfer items of the pop-up menu, each on a row of its own.
TEST_F(ServerWindowTest, DownloadDownloadToAndUnarchiveRunFromThePopupMenu) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  MakeSite(server);
  Put(server.Root() + "public_html/newer.htm", kTen + 3 * 3600);
  Put(site_ + "public_html/newer.htm", kTen);
  test::WriteFile(server.Root() + "Archive/index.htm", "archived");
  const std::string copy = test::TestHome() + "copy of new.htm";

  struct Case {
    QAction* TServForm::*item;
    const char* row;
    std::function<void()> check;
  } cases[] = {
      {&TServForm::Download, "newer.htm",
       [&] {
         EXPECT_EQ(Rows(servForm_->ListView)["newer.htm"], SameDateIcon);
         EXPECT_EQ(test::ReadFile(site_ + "public_html/newer.htm.Bak"), kPage);
       }},
      {&TServForm::DownloadTo, "new.htm",
       [&] {
         EXPECT_EQ(test::ReadFile(copy), kPage);
         EXPECT_FALSE(fs::exists(site_ + "public_html/new.htm"));
       }},
      {&TServForm::Unarchive, "index.htm",
       [&] { EXPECT_EQ(test::ReadFile(server.Root() + "public_html/index.htm"), "archived"); }},
  };
  Dialogs().Answer(mrYes);  // "Do you want to go online?"
  Dialogs().AnswerPath(copy);
  OpenServerWindow([&] {
    ChooseFolder("public_html");
    // Without a row chosen the transfers are greyed.
    servForm_->ListView->clearSelection();
    RightClick(servForm_->ListView->viewport(), QPoint(5, servForm_->ListView->height() - 10));
    for (QAction* item : {servForm_->Upload, servForm_->Download, servForm_->DownloadTo,
                          servForm_->Unarchive})
      EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    servForm_->Popup->hide();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.row);
      SelectRows({c.row});
      PopupOverRow(c.row);
      QAction* item = servForm_->*c.item;
      ASSERT_TRUE(item->isEnabled());
      item->trigger();
      servForm_->Popup->hide();
      c.check();
    }
  });
  EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
  ASSERT_FALSE(Dialogs().PathCalls().empty());
  EXPECT_EQ(Dialogs().PathCalls().back().call.title, "Download to...");
}

// Upload on a folder of the tree, stopped with "Stop after this one" while the run
// asks about files of the same date.
TEST_F(ServerWindowTest, StopAfterThisOneEndsAFolderUploadAfterItsFirstFile) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  MakeSite(server);
  Put(site_ + "public_html/a.htm", kTen);
  Put(site_ + "public_html/b.htm", kTen);

  Dialogs().Answer(mrYes);  // "Do you want to go online?"
  OpenServerWindow([&] {
    QTreeWidgetItem* folder = Child(servForm_->Tree->topLevelItem(0), "public_html");
    ASSERT_NE(folder, nullptr);
    RightClick(servForm_->Tree->viewport(), servForm_->Tree->visualItemRect(folder).center());
    EXPECT_EQ(servForm_->Tree->currentItem(), folder) << "the press chose the folder";
    EXPECT_TRUE(servForm_->Popup->isVisible());
    ASSERT_TRUE(servForm_->Upload->isEnabled());
    bool stopShown = false;
    Dialogs().whileShowing = [&](const DialogCall& call) {
      if (call.text != "Upload matching files?") return;
      stopShown = servForm_->StopBtn->isVisible();
      Click(servForm_->StopBtn, servForm_->StopBtn->rect().center());
      // The run keeps its list: neither another folder nor Flat makes a new one.
      QTreeWidgetItem* root = servForm_->Tree->topLevelItem(0);
      Click(servForm_->Tree->viewport(), servForm_->Tree->visualItemRect(root).center());
      Click(servForm_->Flat, servForm_->Flat->rect().center());
    };
    Dialogs().Answer(mrNo);
    servForm_->Upload->trigger();
    servForm_->Popup->hide();
    Dialogs().whileShowing = nullptr;

    EXPECT_TRUE(stopShown);
    EXPECT_FALSE(servForm_->Flat->isChecked());
    EXPECT_FALSE(FlatListing);
    EXPECT_TRUE(fs::exists(server.Root() + "public_html/a.htm"));
    EXPECT_FALSE(fs::exists(server.Root() + "public_html/b.htm"));
    EXPECT_FALSE(servForm_->StopBtn->isVisible());
    EXPECT_EQ(Rows(servForm_->ListView),
              (std::map<std::string, int>{{"a.htm", SameDateIcon},
                                          {"b.htm", NotOnServerIcon},
                                          {"index.htm", SameDateIcon},
                                          {"new.htm", NotOnLocalIcon}}));
  });
  EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
}

// Web > Synchronise on a site with one file newer on each side.
TEST_F(ServerWindowTest, SynchroniseFromTheMenuBringsBothSidesToTheSameDate) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  test::WriteServerDetails(site_, server, "public_html");
  ServerPort = server.Port();
  Put(server.Root() + "public_html/up.htm", kTen - 3 * 3600);
  Put(site_ + "public_html/up.htm", kTen);
  Put(server.Root() + "public_html/down.htm", kTen + 3 * 3600);
  Put(site_ + "public_html/down.htm", kTen);
  SetOnline(false);
  Dialogs().AnswerPath(site_ + "public_html/up.htm");
  form_->Action("OpenTab")->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(SiteHasServer);
  SetOnline(true);

  std::string question;
  bool windowShown = false, stopShown = false;
  Dialogs().whileShowing = [&](const DialogCall& call) {
    if (call.text.starts_with("Files to upload")) {
      question = call.text;
      windowShown = servForm_->isVisible() && servForm_->Flat->isChecked();
      stopShown = servForm_->StopBtn->isVisible();
    }
  };
  Dialogs().Answer({mrYes, mrYes});  // go on although it may not work; synchronise
  QAction* item = form_->Action("Synchronise");
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  Dialogs().whileShowing = nullptr;

  EXPECT_EQ(question, "Files to upload (white or yellow):  1\rFiles to download (black or red):  1");
  EXPECT_TRUE(windowShown) << "the run shows the whole site flat";
  EXPECT_TRUE(stopShown) << "the run can be stopped";
  for (const char* name : {"up.htm", "down.htm"}) {
    struct stat onServer {};
    ASSERT_EQ(stat((server.Root() + "public_html/" + name).c_str(), &onServer), 0);
    EXPECT_EQ(FileAge(site_ + "public_html/" + name), onServer.st_mtime) << name;
  }
  EXPECT_EQ(form_->StatusText(MessagePanel), "  Files synchronised: 2");
  EXPECT_FALSE(servForm_->isVisible());
  EXPECT_FALSE(servForm_->Flat->isChecked());
  EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
}

TEST_F(ServerWindowTest, StayingOffLineShowsTheLocalSideOnly) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  MakeSite(server);

  Dialogs().Answer(mrNo);
  OpenServerWindow([&] {
    EXPECT_EQ(Rows(servForm_->ListView), (std::map<std::string, int>{{"notes.txt", 0}}));
    QTreeWidgetItem* root = servForm_->Tree->topLevelItem(0);
    EXPECT_EQ(Children(root), (std::map<std::string, int>{{"drafts", FolderLocalOnly},
                                                          {"public_html", FolderLocalOnly}}));
  });
  EXPECT_FALSE(OnlineChecked());
  EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
}

}  // namespace
}  // namespace quorrel

namespace quorrel {
namespace {

// Coming back to the program, and an error, list the server window again while it
// is the active window: on-line only for the first; hidden, never. The window's own
// refresh is wrapped to count its runs.
TEST_F(ServerWindowTest, ActivationAndErrorsListTheActiveWindowAgain) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  MakeSite(server);
  int refreshes = 0;
  TActivationWindows windows = ActivationWindows();
  ASSERT_TRUE(windows.serverWindowActive && windows.refreshServerWindow);
  windows.refreshServerWindow = [&refreshes, refresh = windows.refreshServerWindow] {
    ++refreshes;
    refresh();
  };
  SetActivationWindows(windows);
  const auto comeBack = [] { Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive); };
  int onLine = -1, offLine = -1, afterError = -1;
  Dialogs().Answer(mrYes);  // "Do you want to go online?"
  // The runs each step adds, once the window system has told of the window's showing.
  const auto runsOf = [&](const std::function<void()>& step) {
    QApplication::processEvents();
    const int before = refreshes;
    step();
    return refreshes - before;
  };
  OpenServerWindow([&] {
    ServerList.rows.clear();
    onLine = runsOf(comeBack);
    EXPECT_FALSE(ServerList.rows.empty()) << "listed again";
    MainMenu().SetChecked("Online", false);
    offLine = runsOf(comeBack);
    MainMenu().SetChecked("Online", true);
    afterError = runsOf([] { MyException("Access violation"); });
  });
  EXPECT_EQ(onLine, 1);
  EXPECT_EQ(offLine, 0);
  EXPECT_EQ(afterError, 1);
  EXPECT_EQ(runsOf(comeBack), 0) << "the window is gone";
  EXPECT_EQ(runsOf([] { MyException("Access violation"); }), 0) << "the window is gone";
}

// The browser's part of the activation stays as the browser set it when the server
// window is made.
TEST_F(ServerWindowTest, TheWindowKeepsTheBrowsersPartOfTheActivation) {
  int focused = 0;
  TActivationWindows windows = ActivationWindows();
  windows.browserActive = [] { return true; };
  windows.focusBrowser = [&focused] { ++focused; };
  SetActivationWindows(windows);
  delete servForm_;
  servForm_ = CreateServForm(form_.get());
  const TActivationWindows& now = ActivationWindows();
  ASSERT_TRUE(now.browserActive && now.focusBrowser && now.serverWindowActive);
  EXPECT_TRUE(now.browserActive());
  now.focusBrowser();
  EXPECT_EQ(focused, 1);
  EXPECT_FALSE(now.serverWindowActive()) << "not shown";
}

}  // namespace
}  // namespace quorrel
