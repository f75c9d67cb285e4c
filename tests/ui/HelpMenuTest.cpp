// Help | Check for updates on the shown main window: the download page goes to the
// browser and the window leaves the menu it was chosen from.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "platform/Launcher.h"
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

}  // namespace
}  // namespace quorrel
