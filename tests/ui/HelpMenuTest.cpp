// Help | Check for updates on the shown main window: the download page goes to the
// browser and the window leaves the menu it was chosen from; a desktop that cannot
// show the page says so.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/Launcher.h"
#include "support/ScopedVariable.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"

namespace quorrel {
namespace {

class HelpMenuTest : public test::ShownWindowTest {
 protected:
  HelpMenuTest() : ShownWindowTest("help-menu/") {}
  void TearDown() override {
    SetShellOpener(nullptr);
    ShownWindowTest::TearDown();
  }
};

TEST_F(HelpMenuTest, CheckForUpdatesOpensTheDownloadPageAndLeavesTheMenu) {
  std::vector<std::string> launched;
  SetShellOpener([&](const std::string& target) {
    launched.push_back(target);
    return true;
  });
  OpenFile("notes.txt", "one\r\n");
  QMenu* help = form->Menu("HelpMenu");
  ASSERT_NE(help, nullptr);
  // The Help menu open, as a click on it leaves it.
  form->menuBar()->setActiveAction(help->menuAction());
  ASSERT_TRUE(QTest::qWaitFor([&] { return help->isVisible(); }, 2000));
  ASSERT_EQ(QApplication::activePopupWidget(), help);

  form->Action("Updates")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(launched, std::vector<std::string>{"https://quorrel.org/download/"});
  EXPECT_FALSE(help->isVisible());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(form->menuBar()->activeAction(), nullptr);
}

// A desktop with no browser: the real opener starts, finds no program for a web
// address and ends with an error. The user is told, the opener named, instead of
// nothing happening.
TEST_F(HelpMenuTest, AnOpenerThatCannotShowThePageSaysSo) {
  const std::string none = site + "no-desktop/";
  std::filesystem::create_directories(none);
  std::vector<std::unique_ptr<test::ScopedVariable>> desktop;
  for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                           "GNOME_DESKTOP_SESSION_ID", "DISPLAY", "WAYLAND_DISPLAY"}) {
    desktop.push_back(std::make_unique<test::ScopedVariable>(name, std::nullopt));
  }
  // No program registered for web addresses, and a browser that is not there.
  for (const char* name :
       {"XDG_DATA_DIRS", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
    desktop.push_back(std::make_unique<test::ScopedVariable>(name, none));
  }
  desktop.push_back(std::make_unique<test::ScopedVariable>("BROWSER", "quorrel-test-no-browser"));
  OpenFile("notes.txt", "one\r\n");

  struct Case {
    const char* item;
    std::string target;
  };
  std::vector<Case> cases = {{"Updates", "https://quorrel.org/download/"}};
  // Ghostscript's manual, where it is installed, is a file another viewer may show.
  if (!std::filesystem::exists("/usr/share/doc/ghostscript/Use.htm")) {
    cases.push_back({"GsHelp", "https://ghostscript.com/releases/"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    test::Dialogs().Clear();
    form->Action(c.item)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([] { return !test::Dialogs().Calls().empty(); }, 20000));
    const std::string message = test::Dialogs().Last().text;
    EXPECT_NE(message.find("xdg-open could not open " + c.target + ":\r"), std::string::npos)
        << message;
    EXPECT_NE(message.find("no method available"), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace quorrel
