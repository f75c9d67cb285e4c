// The file-list form on the real main window: File | Open Tab, Open and Next, and
// Link (F4) with nothing selected, as the user reaches them; the mask, the root one
// level up, Grab and the platform's open dialog from the form's own buttons; and
// Upload from the list's pop-up menu against a real FTP server.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/CompositionRoot.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Sound.h"
#include "publish/Connection.h"
#include "publish/OpenUnit.h"
#include "publish/SiteFileList.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/FtpServer.h"
#include "support/PlatformKeys.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TestFiles.h"
#include "support/TestWindow.h"
#include "ui/publish/OpenForm.h"

namespace quorrel {
namespace {

using test::Dialogs;

std::string Page(const std::string& title) {
  return "<html>\n<head>\n<title>" + title +
         "</title>\n</head>\n<body>\n<p>x</p>\n</body>\n</html>\n";
}

// The lines of the form's list as the user sees them, in Windows-1252.
std::vector<std::string> Lines(const TOpenForm& open) {
  std::vector<std::string> lines;
  for (int row = 0; row < open.FileList->count(); ++row) {
    lines.push_back(QStringToAnsi(open.FileList->item(row)->text()));
  }
  return lines;
}

int RowOf(const TOpenForm& open, const std::string& line) {
  const std::vector<std::string> lines = Lines(open);
  for (size_t row = 0; row < lines.size(); ++row) {
    if (lines[row] == line) return static_cast<int>(row);
  }
  return -1;
}

// A double click on a row, as the mouse makes it.
void DoubleClick(QListWidget* list, int row) {
  QWidget* viewport = list->viewport();
  const QPoint at = list->visualItemRect(list->item(row)).center();
  const QPoint global = viewport->mapToGlobal(at);
  struct Step {
    QEvent::Type type;
    Qt::MouseButtons held;
  } steps[] = {{QEvent::MouseButtonPress, Qt::LeftButton},
               {QEvent::MouseButtonRelease, Qt::NoButton},
               {QEvent::MouseButtonDblClick, Qt::LeftButton},
               {QEvent::MouseButtonRelease, Qt::NoButton}};
  for (const Step& step : steps) {
    QMouseEvent event(step.type, at, global, Qt::LeftButton, step.held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
  }
}

const std::string kRaquo = "\xBB";

class OpenFormTest : public test::ShownWindowTest {
 protected:
  OpenFormTest() : ShownWindowTest("open-form/") {}
  void SetUp() override {
    ShownWindowTest::SetUp();
    open = CreateOpenForm(form.get());
    test::WriteFile(site + "news/item.htm", Page("News item"));
    test::WriteFile(site + "style.css", "p { color: red }\n");
    test::WriteFile(site + "pic.png", "\x89PNG\r\n");
    OpenFile("index.htm", Page("Home"));
  }
  void TearDown() override {
    driver.stop();
    SetOpenForm(nullptr);
    ShownWindowTest::TearDown();
  }
  // Acts on the form each time it has shown and finished listing; act returns
  // false once it has closed the form or started another listing.
  void WhileListed(std::function<void(TOpenForm&)> act) {
    driver.setInterval(5);
    QObject::disconnect(acting);
    acting = QObject::connect(&driver, &QTimer::timeout, [this, act] {
      if (!open->isVisible() || busy) return;
      if (!open->FileMsg->text().endsWith("(Total)") || open->FileList->count() == 0) return;
      busy = true;
      act(*open);
      busy = false;
    });
    driver.start();
  }
  void Choose(const char* item) {
    QAction* action = form->Action(item);
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
    QApplication::processEvents();
  }
  std::string Status() const { return QStringToAnsi(form->StatusPanel(MessagePanel)->text()); }

  TOpenForm* open = nullptr;
  QTimer driver;
  QMetaObject::Connection acting;
  bool busy = false;
};

TEST_F(OpenFormTest, OpenTabListsTheSiteAndADoubleClickOpensTheEntryInATab) {
  std::string rootShown;
  std::vector<std::string> shown;
  int selected = -1;
  WhileListed([&](TOpenForm& f) {
    rootShown = QStringToAnsi(f.RootDir->currentText());
    shown = Lines(f);
    selected = f.FileList->currentRow();
    driver.stop();
    DoubleClick(f.FileList, RowOf(f, "news/ item.htm " + kRaquo + " News item"));
  });
  Choose("OpenTab");
  EXPECT_EQ(rootShown, site);
  EXPECT_EQ(shown, (std::vector<std::string>{" index.htm " + kRaquo + " Home", " style.css",
                                             "news/ item.htm " + kRaquo + " News item"}));
  EXPECT_EQ(selected, 0) << "the current document's entry";
  EXPECT_FALSE(open->isVisible());
  EXPECT_EQ(CurrentFileName, site + "news/item.htm");
  EXPECT_EQ(form->PC()->count(), 2);

  // Next goes on from the entry chosen; after the last it says so and stays.
  Choose("NextFile");
  EXPECT_TRUE(FileListEnded);
  EXPECT_EQ(CurrentFileName, site + "news/item.htm");
  EXPECT_NE(Status().find("\x95\x95\x95 End of file list \x95\x95\x95"), std::string::npos)
      << Status();
}

TEST_F(OpenFormTest, OpenWithEnterReplacesTheDocumentAndCancelKeepsIt) {
  WhileListed([&](TOpenForm& f) {
    driver.stop();
    f.CancelBtn->click();
  });
  Choose("Open");
  EXPECT_EQ(CurrentFileName, site + "index.htm");

  WhileListed([&](TOpenForm& f) {
    driver.stop();
    f.FileList->setCurrentRow(RowOf(f, " style.css"));
    test::PressKey(f.FileList, Qt::Key_Return);
  });
  Choose("Open");
  EXPECT_EQ(CurrentFileName, site + "style.css");
  EXPECT_EQ(form->PC()->count(), 1);
}

TEST_F(OpenFormTest, F4WithNothingSelectedLinksThePageChosenWithItsTitle) {
  EXPECT_EQ(form->Action("Link")->shortcut(), QKeySequence(Qt::Key_F4));
  // The caret after the paragraph's "x": an editor position counts a line end once.
  const std::string text = CurrentEditor->GetText();
  const size_t offset = text.find("x</p>") + 1;
  CurrentEditor->Select(offset - std::count(text.begin(), text.begin() + offset, '\r'), 0);
  WhileListed([&](TOpenForm& f) {
    driver.stop();
    f.FileList->setCurrentRow(RowOf(f, "news/ item.htm " + kRaquo + " News item"));
    f.OpenBtn->click();
  });
  test::PressKey(Editor(), Qt::Key_F4);
  QApplication::processEvents();
  EXPECT_NE(CurrentEditor->GetText().find("<p>x<A Href=\"news/item.htm\">News item</A></p>"),
            std::string::npos)
      << CurrentEditor->GetText();
}

TEST_F(OpenFormTest, TheMaskTheRootOneLevelUpAndGrab) {
  int step = 0;
  std::vector<std::vector<std::string>> lists;
  QString maskColour, emptyMaskColour;
  WhileListed([&](TOpenForm& f) {
    switch (step++) {
      case 0:
        f.FileMask->setText("*.css");  // lists again once the typing stops
        break;
      case 1:
        lists.push_back(Lines(f));
        maskColour = f.FileMask->palette().color(QPalette::Base).name();
        f.FileMask->clear();
        emptyMaskColour = f.FileMask->palette().color(QPalette::Base).name();
        f.RootDir->setEditText(AnsiToQString(site + "news"));
        f.ListBtn->click();
        break;
      case 2:
        lists.push_back(Lines(f));
        lists.push_back({QStringToAnsi(f.RootDir->currentText())});
        f.UpLevel->click();
        break;
      case 3:
        lists.push_back(Lines(f));
        driver.stop();
        f.GrabBtn->click();
        break;
    }
  });
  Choose("Open");
  ASSERT_EQ(lists.size(), 4u);
  EXPECT_EQ(lists[0], (std::vector<std::string>{" style.css"}));
  EXPECT_EQ(maskColour, "#ffff8c");
  EXPECT_EQ(emptyMaskColour, "#ffffff");
  EXPECT_EQ(lists[1], (std::vector<std::string>{" item.htm " + kRaquo + " News item"}));
  EXPECT_EQ(lists[2], (std::vector<std::string>{site + "news/"}));
  EXPECT_EQ(lists[3].size(), 3u);
  EXPECT_FALSE(open->isVisible());
  // Grab leaves the list in an "Untitled" document and opens nothing else.
  EXPECT_EQ(CurrentFileName.rfind("Untitled", 0), 0u) << CurrentFileName;
  EXPECT_EQ(CurrentEditor->GetText(), "index.htm\r\nstyle.css\r\nnews/item.htm\r\n");
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(OpenFormTest, SubDirsListsTheRootAloneAndIsTheMenusOption) {
  ASSERT_TRUE(MainMenu().Checked("SubDirs"));
  int step = 0;
  std::vector<std::vector<std::string>> lists;
  WhileListed([&](TOpenForm& f) {
    lists.push_back(Lines(f));
    if (step++ == 0) {
      f.SubDirs->click();
    } else {
      driver.stop();
      f.CancelBtn->click();
    }
  });
  Choose("Open");
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0].size(), 3u);
  EXPECT_EQ(lists[1], (std::vector<std::string>{" index.htm " + kRaquo + " Home", " style.css"}));
  EXPECT_FALSE(MainMenu().Checked("SubDirs"));
  MainMenu().SetChecked("SubDirs", true);
}

TEST_F(OpenFormTest, CancelDuringAScanStopsItSaysSoAndSounds) {
  for (int i = 0; i < 200; ++i) test::WriteFile(site + "many/f" + std::to_string(i) + ".txt", "x");
  MainMenu().SetChecked("ShowTitles", false);
  std::vector<std::string> sounds;
  SetSoundPlayer([&](const std::string& name) { sounds.push_back(name); });
  open->show();
  open->RootDir->setEditText(AnsiToQString(site + "many"));
  // Pressed as soon as the scan first lets the screen follow it.
  QTimer::singleShot(0, open, [this] { open->CancelBtn->click(); });
  open->ListClick();
  SetSoundPlayer(nullptr);
  MainMenu().SetChecked("ShowTitles", true);
  EXPECT_EQ(open->FileMsg->text(), "Files:  1 (interrupted)");
  EXPECT_EQ(sounds, (std::vector<std::string>{"SystemHand"}));
  EXPECT_LT(open->FileList->count(), 200);
  EXPECT_FALSE(open->isVisible());
}

TEST_F(OpenFormTest, ThePlatformOpenDialogChoosesAFileAndItsFolderBecomesTheRoot) {
  Dialogs().AnswerPath(site + "news/item.htm");
  WhileListed([&](TOpenForm& f) {
    driver.stop();
    f.WinOpen->click();
  });
  Choose("OpenTab");
  EXPECT_EQ(Dialogs().PathCalls().back().call.title, "File to be opened");
  EXPECT_EQ(CurrentFileName, site + "news/item.htm");
  EXPECT_EQ(SiteFileList.root, site + "news/");
}

TEST_F(OpenFormTest, TheFilesOwnDeleteAndRenameAreNotOfferedYet) {
  for (const char* name : {"DelItem", "RenItem"}) {
    QAction* item = open->ListMenu->findChild<QAction*>(name);
    ASSERT_NE(item, nullptr) << name;
    EXPECT_FALSE(item->isEnabled()) << name;
  }
  EXPECT_TRUE(open->UploadItem->isEnabled());
  EXPECT_EQ(open->WinOpen->toolTip(), "Standard Windows Open Dialogue");
  EXPECT_EQ(open->UpLevel->toolTip(), "Up One Level");
}

// Upload from the list's pop-up menu sends the selected file to its place on a
// real FTP server.
class OpenFormUploadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv(ConnectedStateVariable, "1", 1);
    ASSERT_TRUE(server_.Running()) << server_.Problem();
    site_ = test::SiteTestFolder() + "open-upload/";
    std::filesystem::remove_all(site_);
    std::filesystem::create_directories(site_);
    std::filesystem::create_directories(server_.Root() + "public_html/news");
    SettingsIni = std::make_unique<TIniFile>(test::SiteTestFolder() + "settings.ini");
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    InstallHandlers();
    AppPhase = PhaseRunning;
    ServerPort = server_.Port();
    test::WriteServerDetails(site_, server_);
    SetOnline(true);
    open_ = CreateOpenForm(form_.get());
  }
  void TearDown() override {
    SetOpenForm(nullptr);
    ResetConnection();
    EXPECT_TRUE(QTest::qWaitFor([] { return ConnectThreadsRunning() == 0; }, 15000));
    QApplication::processEvents();
    test::CloseTestWindow(form_);
    unsetenv(ConnectedStateVariable);
  }

  test::FtpServer server_;
  std::unique_ptr<TWebForm> form_;
  TOpenForm* open_ = nullptr;
  std::string site_;
};

TEST_F(OpenFormUploadTest, UploadFromTheListSendsTheSelectedFile) {
  test::WriteFile(site_ + "public_html/index.htm", Page("Home"));
  test::WriteFile(site_ + "public_html/news/item.css", "p { color: red }\n");
  Dialogs().AnswerPath(site_ + "public_html/index.htm");
  QAction* openTab = form_->Action("OpenTab");
  SetOpenForm(nullptr);  // the page comes in through the open dialog
  openTab->trigger();
  ASSERT_EQ(CurrentFileName, site_ + "public_html/index.htm");
  SetOpenForm(open_);
  QTimer driver;
  driver.setInterval(5);
  bool done = false;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    if (done || !open_->isVisible() || !open_->FileMsg->text().endsWith("(Total)")) return;
    done = true;
    driver.stop();
    open_->FileList->setCurrentRow(RowOf(*open_, "news/ item.css"));
    Q_EMIT open_->FileList->customContextMenuRequested(QPoint(1, 1));
    open_->ListMenu->hide();
    open_->UploadItem->trigger();
    open_->CancelBtn->click();
  });
  driver.start();
  openTab->trigger();
  ASSERT_TRUE(done);
  // Sent, and condensed on the way as every upload is.
  EXPECT_EQ(test::ReadFile(server_.Root() + "public_html/news/item.css"), "p{ color:red }");
}

}  // namespace
}  // namespace quorrel
