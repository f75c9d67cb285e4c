// The main window on real widgets: the menu bar drawn from the menu model, tabs
// with real editors, start-up from a command line, a second running program.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"
#include "platform/Paths.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/Marker.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

// Lets events run until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 2000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class WebFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::TestHome() + "uisite/";
    fs::create_directories(site);
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
  }
  void TearDown() override {
    form.reset();
    fs::remove_all(site);
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(site + name, std::ios::binary) << text;
    return site + name;
  }
  std::string site;
  std::unique_ptr<TWebForm> form;
};

TEST_F(WebFormTest, TheMenuBarShowsTheMenuModel) {
  QStringList titles;
  for (QAction* action : form->menuBar()->actions()) {
    if (action->isVisible()) titles << action->text();
  }
  EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&Text", "&Validation", "&Web", "&Options",
                                 "View", "&Set", "&PHP/ASP", "&Help"}));
  QAction* find = form->Action("Find");
  ASSERT_NE(find, nullptr);
  EXPECT_EQ(find->objectName(), "Find");
  EXPECT_EQ(find->text(), "&Find");
  EXPECT_EQ(find->shortcut(), QKeySequence("Ctrl+F"));
  EXPECT_FALSE(find->isEnabled()) << "a command not built yet is shown disabled";
  QAction* option = form->Action("CheckRefs");
  EXPECT_TRUE(option->isEnabled());
  EXPECT_TRUE(option->isCheckable());
  EXPECT_TRUE(option->isChecked());
  EXPECT_EQ(form->Menu("ValidationMenu")->objectName(), "ValidationMenu");
  EXPECT_EQ(form->Action("CheckAmp")->text(), "Check \"&&\"");
  EXPECT_FALSE(form->Action("ABCMenu")->isVisible());
  EXPECT_FALSE(form->Action("Sections")->isVisible());
}

TEST_F(WebFormTest, ModelChangesReachTheScreenAndChoicesReachTheModel) {
  MainMenu().SetCaption("Zoom", "Zoom:   120%");
  EXPECT_EQ(form->Action("Zoom")->text(), "Zoom:   120%");
  MainMenu().SetVisible("ABCMenu", true);
  EXPECT_TRUE(form->Action("ABCMenu")->isVisible());
  std::string ran;
  MainMenu().SetHandler("Find", [&](const TMenuItem&) { ran = CurrentCommand; });
  EXPECT_TRUE(form->Action("Find")->isEnabled()) << "built commands can be chosen";
  form->Action("Find")->trigger();
  EXPECT_EQ(ran, "Find");
  // An option is toggled once, however the menu and the model both keep its state.
  form->Action("SmartQuotes")->trigger();
  EXPECT_TRUE(MainMenu().Checked("SmartQuotes"));
  EXPECT_TRUE(form->Action("SmartQuotes")->isChecked());
  // A radio item chosen again stays checked.
  form->Action("BrowserI")->trigger();
  EXPECT_TRUE(MainMenu().Checked("BrowserI"));
  EXPECT_TRUE(form->Action("BrowserI")->isChecked());
  form->Action("BrowserD")->trigger();
  EXPECT_FALSE(form->Action("BrowserI")->isChecked());
}

TEST_F(WebFormTest, RunTimeMenusAreRebuilt) {
  TMenuItem item;
  item.name = "Recent0";
  item.caption = "&0  a.htm";
  MainMenu().AddItem("Recent", std::move(item));
  ASSERT_TRUE(WaitFor([&] { return form->Action("Recent0") != nullptr; }));
  EXPECT_EQ(form->Menu("Recent")->actions().size(), 1);
  MainMenu().ClearItems("Recent");
  ASSERT_TRUE(WaitFor([&] { return form->Action("Recent0") == nullptr; }));
  EXPECT_TRUE(form->Menu("Recent")->actions().isEmpty());
}

TEST_F(WebFormTest, StartUpOpensTheNamedDocumentsInTabs) {
  Write("some.html", "<!DOCTYPE html>\r\n<html>\r\n<p>Hi</p>\r\n</html>\r\n");
  Write("other.css", "body {\r\n  color: navy;\r\n}\r\n");
  fs::path previous = fs::current_path();
  fs::current_path(site);
  StartParameters = {"some.html", "other.css"};
  FormActivate();
  fs::current_path(previous);
  QTabWidget* pc = form->PC();
  ASSERT_EQ(pc->count(), 2);
  EXPECT_EQ(pc->tabText(0), "some.html");
  EXPECT_EQ(pc->tabText(1), "other.css");
  EXPECT_EQ(pc->currentIndex(), 1);
  EXPECT_EQ(form->windowTitle().toStdString(),
            site + "other.css - Quorrel v. " QUORREL_VERSION ", 16-Jun-26");
  EXPECT_NE(form->StatusPanel(InfoPanel)->text().indexOf("3 lines"), -1);
  EXPECT_TRUE(form->isVisible());
  auto* editor = qobject_cast<TRichEdit*>(pc->widget(1));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->GetText(), "body {\r\n  color: navy;\r\n}\r\n");
  EXPECT_FALSE(editor->Modified());

  // A click on the first tab makes its document current.
  pc->setCurrentIndex(0);
  EXPECT_EQ(CurrentFileName, site + "some.html");
  EXPECT_TRUE(IsHtml);
  EXPECT_EQ(CurrentText, "<!DOCTYPE html>\n<html>\n<p>Hi</p>\n</html>\n");
  form->Action("NextTab")->trigger();
  EXPECT_EQ(pc->currentIndex(), 1);
  EXPECT_EQ(CurrentExt, ".CSS");
}

TEST_F(WebFormTest, LongNamesAndAmpersandsInTabs) {
  std::string path = Write("abcdefghijklm.html", "<p>x</p>\r\n");
  Write("R&D.txt", "x\r\n");
  StartParameters = {path, site + "R&D.txt"};
  FormActivate();
  EXPECT_EQ(form->PC()->tabText(0), "abcdefgh...html");
  EXPECT_EQ(form->PC()->tabToolTip(0).toStdString(), path);
  EXPECT_EQ(form->TabCaption(1), "R&D.txt");
  EXPECT_EQ(form->PC()->tabText(1), "R&&D.txt") << "shown with its ampersand";
}

TEST_F(WebFormTest, MarkersAndBusyCursor) {
  for (int digit = 0; digit < 10; ++digit) {
    TMarker* marker = form->Marker(digit);
    EXPECT_EQ(marker->parent(), form->PC());
    EXPECT_EQ(marker->size(), QSize(12, 16));
    EXPECT_TRUE(marker->isHidden());
    EXPECT_EQ(marker->Label()->text(), QString::number(digit));
    EXPECT_EQ(marker->Label()->palette().color(QPalette::Window), QColor(Qt::red));
  }
  std::string path = Write("a.txt", "x\r\n");
  StartParameters = {path};
  FormActivate();
  BeginBusy();
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(form->PC()->widget(0)->updatesEnabled());
  StdCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(form->PC()->widget(0)->updatesEnabled());
}

TEST_F(WebFormTest, ATabTooManyIsRefused) {
  for (int i = 0; i < MaxTabs; ++i) NewDocumentTab(site + std::to_string(i) + ".txt");
  EXPECT_EQ(form->PC()->count(), MaxTabs);
  EXPECT_THROW(NewDocumentTab(site + "more.txt"), EAbort);
  EXPECT_EQ(form->PC()->count(), MaxTabs);
}

// The program itself, started as a second process on the offscreen platform.
class RunningProgram {
 public:
  explicit RunningProgram(const QStringList& arguments) {
    process_.setProgram(QCoreApplication::applicationDirPath() + "/quorrel");
    process_.setArguments(arguments);
    process_.start();
  }
  ~RunningProgram() {
    process_.kill();
    process_.waitForFinished();
  }
  bool Started() { return process_.waitForStarted(); }
  void Kill() {
    process_.kill();
    process_.waitForFinished();
  }

 private:
  QProcess process_;
};

TEST_F(WebFormTest, ASecondInstanceDoesNotAskTheCrashQuestion) {
  ASSERT_TRUE(fs::exists(QCoreApplication::applicationDirPath().toStdString() + "/quorrel"))
      << "the program is not built beside the tests";
  std::string path = Write("a.txt", "text\r\n");
  {
    TIniFile ini(DocumentsFolder() + "Quorrel.Ini");
    ini.WriteString("System", "Running", "1");
    ini.WriteString("System", "Version", QUORREL_VERSION);
  }
  RunningProgram first({QString::fromStdString(path)});
  ASSERT_TRUE(first.Started());
  // The first instance is listed once its window exists.
  ASSERT_TRUE(WaitFor([] { return OtherLiveInstances() == 1; }, 20000));
  StartParameters.clear();
  FormActivate();
  EXPECT_TRUE(test::Dialogs().Calls().empty()) << "another instance runs: no crash question";

  // Once that instance has gone (even without a word), the next start asks.
  first.Kill();
  EXPECT_EQ(OtherLiveInstances(), 0);
  test::ResetAllState();
  auto second = std::make_unique<TWebForm>();
  SetMainWindow(second.get());
  {
    TIniFile ini(DocumentsFolder() + "Quorrel.Ini");
    ini.WriteString("System", "Running", "1");
  }
  test::Dialogs().Answer(mrNo);
  FormActivate();
  EXPECT_EQ(test::Dialogs().Last().text,
            "Quorrel did not terminate properly.  Start with no files open?");
}

}  // namespace
}  // namespace quorrel
