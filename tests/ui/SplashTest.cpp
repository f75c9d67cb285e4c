#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "support/ScriptedDialogs.h"
#include "ui/shell/SplashForm.h"

namespace quorrel {
namespace {

class SplashTest : public ::testing::Test {
 protected:
  void TearDown() override { ProgramDir = savedProgramDir; }

  const std::string savedProgramDir = ProgramDir;
};

TEST_F(SplashTest, FirstShowingByProgramFolderAndSwitch) {
  struct Case {
    std::string programDir;
    QStringList parameters;
    QString name;
    int height;
    bool notepad;
  } cases[] = {
      {"/usr/bin/", {}, "Quorrel", 80, false},
      {"/usr/bin/", {"/R"}, "Reformatter", 100, false},
      {"/usr/bin/", {"/r", "page.htm"}, "Reformatter", 100, false},
      {"/usr/bin/", {"/root/page.htm"}, "Quorrel", 80, false},
      {"/usr/bin/", {"page.htm", "/R"}, "Quorrel", 80, false},
      {"/opt/notepad/", {}, "Notepad", 80, true},
  };
  for (const auto& c : cases) {
    ProgramDir = c.programDir;
    NotepadMode = false;
    TSplashForm splash;
    splash.ShowSplash(c.parameters);
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.ProgName->text(), c.name) << c.parameters.join(" ").toStdString();
    EXPECT_EQ(splash.height(), c.height) << c.name.toStdString();
    EXPECT_EQ(NotepadMode, c.notepad) << c.programDir;
    EXPECT_EQ(splash.Title->text(), "Varek Dask's");
    EXPECT_FALSE(splash.VInfo->isVisible());
    EXPECT_FALSE(splash.OKBtn->isVisible());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    QRect area = splash.screen()->availableGeometry();
    EXPECT_LE((splash.frameGeometry().center() - area.center()).manhattanLength(), 2);
  }
}

TEST_F(SplashTest, OrdinaryScreenKeepsTheFontScaleAndSaysNothing) {
  TSplashForm splash;
  splash.ShowSplash({});
  double dpi = splash.screen()->logicalDotsPerInchY();
  ASSERT_LT(dpi, 101) << "the offscreen screen is expected at ordinary resolution";
  EXPECT_EQ(FontScale, 4);
  EXPECT_TRUE(test::Dialogs().Calls().empty());
}

TEST_F(SplashTest, LaterShowingsAreTheAboutBox) {
  TSplashForm splash;
  splash.ShowSplash({});
  splash.hide();
  int height = 0;
  bool versionShown = false, okShown = false;
  QString version;
  QTimer::singleShot(0, &splash, [&] {
    height = splash.height();
    versionShown = splash.VInfo->isVisible();
    okShown = splash.OKBtn->isVisible();
    version = splash.VInfo->text();
    splash.OKBtn->click();
  });
  EXPECT_EQ(splash.ShowAbout(), mrCancel);
  EXPECT_EQ(height, 140);
  EXPECT_TRUE(versionShown);
  EXPECT_TRUE(okShown);
  EXPECT_EQ(version, "Version 1.921, 16-Jun-26");
  EXPECT_EQ(splash.ProgName->text(), "Quorrel");
  EXPECT_FALSE(splash.isVisible());
}

}  // namespace
}  // namespace quorrel
