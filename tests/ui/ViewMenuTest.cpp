// "Maximise" and "Explore Temp Dir" from their items on the real main window.
#include <gtest/gtest.h>

#include <QAction>

#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "support/ShownWindowTest.h"

namespace quorrel {
namespace {

class ViewMenuTest : public test::ShownWindowTest {
 protected:
  ViewMenuTest() : ShownWindowTest("view-menu/") {}
  void TearDown() override {
    SetShellOpener(nullptr);
    ShownWindowTest::TearDown();
  }
};

TEST_F(ViewMenuTest, MaximiseTogglesWithTheNormalWindow) {
  OpenFile("notes.txt", "text\r\n");
  form->showNormal();
  const QRect normal = form->normalGeometry();
  form->Action("Maximise")->trigger();
  EXPECT_TRUE(form->isMaximized());
  form->Action("Maximise")->trigger();
  EXPECT_FALSE(form->isMaximized());
  EXPECT_EQ(form->normalGeometry(), normal);
}

TEST_F(ViewMenuTest, ExploreTempDirOpensTheProgramsWorkFolder) {
  OpenFile("notes.txt", "text\r\n");
  std::vector<std::string> opened;
  SetShellOpener([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  form->Action("ExploreTemp")->trigger();
  EXPECT_EQ(opened, std::vector<std::string>{TempFolder()});
}

}  // namespace
}  // namespace quorrel
