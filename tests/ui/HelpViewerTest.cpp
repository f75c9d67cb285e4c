// The help window on the program's own help pages, and F1 on real widgets.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "platform/Help.h"
#include "shell/HelpSystem.h"
#include "support/PlatformKeys.h"
#include "support/ScriptedDialogs.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/SetForm.h"

namespace quorrel {
namespace {

using test::PressKey;

// Runs the event loop until the condition holds; false when it never does.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 2000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

class HelpViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallHelpViewer();  // hooks the help system too
    viewer = HelpViewerWindow();
    ASSERT_NE(viewer, nullptr);
    viewer->close();
  }
  void TearDown() override { CloseAllHelp(); }

  bool Shows(int helpContext) {
    return WaitFor([&] { return viewer->isVisible() && viewer->Context() == helpContext; });
  }

  THelpViewer* viewer = nullptr;
};

TEST_F(HelpViewerTest, EveryPageOfTheMapIsInTheResourcesWithATitle) {
  const std::map<int, QString> map = ReadHelpMap(HelpFile);
  ASSERT_GT(map.size(), 100u);
  for (const auto& [helpContext, page] : map) {
    SCOPED_TRACE(helpContext);
    QFile file(":/help/" + page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("<title>")) << page.toStdString();
  }
}

TEST_F(HelpViewerTest, EveryLinkOfThePagesLeadsToAPage) {
  const QRegularExpression link("href=\"([^\"#:]+)\"");
  for (const auto& [helpContext, page] : ReadHelpMap(HelpFile)) {
    QFile file(":/help/" + page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (auto it = link.globalMatch(text); it.hasNext();) {
      const QString target = it.next().captured(1);
      EXPECT_TRUE(QFile::exists(":/help/" + target))
          << page.toStdString() << " links to " << target.toStdString();
    }
  }
}

TEST_F(HelpViewerTest, AHelpRequestShowsItsTopicInFront) {
  ShowHelpContext(40000);
  ASSERT_TRUE(Shows(40000));
  EXPECT_EQ(viewer->Page(), "file-sets.html");
  EXPECT_EQ(viewer->Browser->documentTitle(), "Sets of files");
  EXPECT_TRUE(viewer->Browser->toPlainText().contains("Quorrel.Ini"));
  EXPECT_TRUE(viewer->windowTitle().contains("Sets of files"));
  EXPECT_TRUE(WaitFor([&] { return viewer->isActiveWindow(); }));

  // The same window shows the next topic.
  ShowHelpContext(21300);
  ASSERT_TRUE(Shows(21300));
  EXPECT_EQ(viewer->Browser->documentTitle(), "Exit");
  EXPECT_TRUE(test::Dialogs().Calls().empty());

  // A link of the page leads on.
  viewer->Browser->setSource(QUrl("contents.html"));
  EXPECT_EQ(viewer->Browser->documentTitle(), "Quorrel Help");
}

TEST_F(HelpViewerTest, AContextWithoutAPageSaysSo) {
  ShowHelpContext(99999);
  ASSERT_TRUE(Shows(99999));
  EXPECT_TRUE(viewer->Page().isEmpty());
  EXPECT_TRUE(viewer->Browser->toPlainText().contains("no help topic for context 99999"));
}

TEST_F(HelpViewerTest, CloseAllHelpClosesTheWindow) {
  ShowHelpContext(10000);
  ASSERT_TRUE(Shows(10000));
  CloseAllHelp();
  EXPECT_FALSE(viewer->isVisible());
}

TEST_F(HelpViewerTest, EscClosesTheWindow) {
  ShowHelpContext(40000);
  ASSERT_TRUE(Shows(40000));
  PressKey(viewer->Browser, Qt::Key_Escape);
  EXPECT_TRUE(WaitFor([&] { return !viewer->isVisible(); }));
}

// A page's location line names the menu only; notes for the help's authors are
// never shown to the user.
TEST_F(HelpViewerTest, TheFirstStartPageShowsNoNotesForItsAuthors) {
  QFile file(":/help/welcome.html");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains("Welcome to Quorrel"));
  EXPECT_FALSE(text.contains("shown once")) << text.toStdString();
  const QRegularExpression location("<p><i>([^<]*)</i></p>");
  for (const auto& [helpContext, page] : ReadHelpMap(HelpFile)) {
    QFile each(":/help/" + page);
    ASSERT_TRUE(each.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch m = location.match(QString::fromUtf8(each.readAll()));
    if (m.hasMatch()) {
      EXPECT_FALSE(m.captured(1).contains(';')) << page.toStdString();
    }
  }
}

TEST_F(HelpViewerTest, F1OnABoxWithAHelpContextOpensThatTopic) {
  // The sets dialog carries the Set menu's help context.
  TSetForm form;
  int shownWhileOpen = 0;
  QTimer::singleShot(0, qApp, [&] {
    QWidget* focus = QApplication::focusWidget();
    PressKey(focus ? focus : &form, Qt::Key_F1);
    shownWhileOpen = viewer->isVisible() ? viewer->Context() : 0;
    form.reject();
  });
  std::string name;
  EXPECT_FALSE(form.Choose(false, name));
  EXPECT_EQ(shownWhileOpen, 40000);
  EXPECT_EQ(viewer->Page(), "file-sets.html");
}

TEST_F(HelpViewerTest, F1TakesTheNearestHelpContextAroundTheControl) {
  QDialog box;
  SetHelpContext(&box, 31700);
  auto* plain = new QLineEdit(&box);
  auto* own = new QLineEdit(&box);
  SetHelpContext(own, 20200);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(plain);
  layout->addWidget(own);
  box.show();
  ASSERT_TRUE(WaitFor([&] { return box.isVisible(); }));

  PressKey(plain, Qt::Key_F1);
  ASSERT_TRUE(Shows(31700));
  PressKey(own, Qt::Key_F1);
  ASSERT_TRUE(Shows(20200));
  EXPECT_EQ(HelpContextFor(plain), 31700);
  EXPECT_EQ(HelpContextFor(own), 20200);

  // A window's owner lends it no help context.
  QDialog inner(&box);
  EXPECT_EQ(HelpContextFor(&inner), 0);
}

TEST_F(HelpViewerTest, F1OnAHighlightedMenuItemOpensItsTopic) {
  QMainWindow window;
  QMenu* menu = window.menuBar()->addMenu("&File");
  QAction* save = menu->addAction("Save");
  SetHelpContext(save, 20600);
  // An action of the main menu, named after its item, has the item's context.
  QAction* saveAs = menu->addAction("Save &as...");
  saveAs->setObjectName("SaveAs");
  window.show();
  ASSERT_TRUE(WaitFor([&] { return window.isVisible(); }));
  menu->popup(window.mapToGlobal(QPoint(10, 10)));
  ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
  menu->setActiveAction(save);
  PressKey(menu, Qt::Key_F1);
  EXPECT_TRUE(Shows(20600));
  menu->setActiveAction(saveAs);
  PressKey(menu, Qt::Key_F1);
  EXPECT_TRUE(Shows(20700));
  menu->close();
}

TEST_F(HelpViewerTest, WithoutAHelpContextF1IsLeftToItsShortcut) {
  QMainWindow window;
  auto* edit = new QLineEdit(&window);
  window.setCentralWidget(edit);
  QAction showHelp("Show Help", &window);
  showHelp.setShortcut(QKeySequence(Qt::Key_F1));
  window.addAction(&showHelp);
  int triggered = 0;
  QObject::connect(&showHelp, &QAction::triggered, [&] { ++triggered; });
  window.show();
  ASSERT_TRUE(WaitFor([&] { return window.isActiveWindow(); }));
  edit->setFocus();
  PressKey(edit, Qt::Key_F1);
  EXPECT_EQ(triggered, 1);
  EXPECT_FALSE(viewer->isVisible());

  // With a context on the control, F1 opens its topic instead of the shortcut.
  SetHelpContext(edit, 52200);
  PressKey(edit, Qt::Key_F1);
  EXPECT_TRUE(Shows(52200));
  EXPECT_EQ(triggered, 1);
}

}  // namespace
}  // namespace quorrel
