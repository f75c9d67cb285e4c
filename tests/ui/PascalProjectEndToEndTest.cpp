// The Pascal formatter in the real window: F10 on a project runs through its
// units and ends on the project's tab, and the width limit comes from the
// maximised main window on screens of other sizes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTabBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/DBoxUnit.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TestEnvironment.h"
#include "support/TypeInto.h"
#include "ui/shell/WebForm.h"
#include "validate/Validators.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

const std::string kExamples = "/usr/share/doc/fp-units-base/3.2.2/examples/pasjpeg/";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PascalProjectEndToEndTest : public test::ShownWindowTest {
 protected:
  PascalProjectEndToEndTest() : ShownWindowTest("project/") {}
};

TEST_F(PascalProjectEndToEndTest, F10OnAProjectEndsOnItsTab) {
  const std::string project =
      test::InstalledFile(kExamples + "testproj.dpr", "fp-units-base-3.2.2");
  const std::string unit = test::InstalledFile(kExamples + "test1.pas", "fp-units-base-3.2.2");
  ASSERT_FALSE(unit.empty());
  std::ofstream(site + "test1.pas", std::ios::binary) << unit;
  std::ofstream(site + "TESTPROJ.RES", std::ios::binary) << "resource";
  OpenFile("testproj.dpr", project);

  test::PressKey(Editor(), Qt::Key_F10);
  QApplication::processEvents();

  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_NE(ReadFile(site + "test1.pas"), unit) << "the unit is re-indented on disk";
  EXPECT_TRUE(fs::exists(site + "testproj.res"));
  QTabWidget* tabs = form->PC();
  ASSERT_EQ(tabs->count(), 1);
  EXPECT_EQ(tabs->tabText(tabs->currentIndex()).toStdString(), "testproj.Dpr");
  EXPECT_FALSE(tabs->tabBar()->isHidden()) << "the tabs are shown again";
  EXPECT_EQ(CurrentFileName, site + "testproj.Dpr");
  EXPECT_EQ(form->StatusPanel(MessagePanel)->text().toStdString(), "  Validated");
}

// A unit with a comment line 150 characters long under a trailing comment: in a
// window 200 characters wide it joins the comment column, in one 150 wide it
// moves left to fit.
const char kWideComment[] = "x := 1; { a }\r\n";
std::string WideUnit() {
  return kWideComment + ("{" + std::string(148, 'c') + "}\r\n");
}

// Run by the test below in a program of its own, on a screen of the size it sets.
TEST(PascalWidthLimitChild, DISABLED_MeasuresTheMaximisedWindow) {
  const char* expected = std::getenv("QUORREL_EXPECTED_LIMIT");
  ASSERT_NE(expected, nullptr);
  TWebForm form;
  SetMainWindow(&form);
  form.show();
  const int limit = MeasurePascalWidthLimit();
  EXPECT_TRUE(form.isMaximized());
  SetMainWindow(nullptr);
  // The window's frame takes a few pixels of the screen.
  EXPECT_LE(limit, std::atoi(expected));
  EXPECT_GE(limit, std::atoi(expected) - 2);

  TPage page;
  page.text = WideUnit();
  page.kind = TDocumentKind::Pascal;
  const TValidation verdict = ValidatePascal(page, limit);
  ASSERT_TRUE(verdict.text);
  const size_t comment = verdict.text->find("\r\n") + 2;
  const int column = static_cast<int>(verdict.text->find('{', comment) - comment) + 1;
  EXPECT_EQ(column, limit >= 179 ? 30 : 1);
}

struct TScreenRun {
  int exitCode = -1;
  std::string output;
};

TScreenRun RunOnScreen(int width, int height, int expectedLimit) {
  const std::string config = test::TestHome() + "screen-" + std::to_string(width) + ".json";
  std::ofstream(config) << "{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, \"width\": "
                        << width << ", \"height\": " << height
                        << ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}";
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", QString::fromStdString("offscreen:configfile=" + config));
  env.insert("QUORREL_EXPECTED_LIMIT", QString::number(expectedLimit));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QString::fromStdString(fs::read_symlink("/proc/self/exe").string()),
              {"--gtest_also_run_disabled_tests",
               "--gtest_filter=PascalWidthLimitChild.DISABLED_MeasuresTheMaximisedWindow"});
  TScreenRun run;
  if (!child.waitForFinished(60000)) return run;
  run.exitCode = child.exitCode();
  run.output = child.readAll().toStdString();
  return run;
}

TEST(PascalWidthLimit, FollowsTheScreenOfTheMaximisedWindow) {
  for (const auto& [width, limit] : {std::pair{1366, 200}, std::pair{1024, 150}}) {
    const TScreenRun run = RunOnScreen(width, 768, limit);
    EXPECT_EQ(run.exitCode, 0) << width << " pixels wide:\n" << run.output;
    EXPECT_NE(run.output.find("[  PASSED  ] 1 test"), std::string::npos) << run.output;
  }
}

TEST(PascalWidthLimit, WithoutAWindowItIsTheDefault) {
  SetMainWindow(nullptr);
  EXPECT_EQ(MeasurePascalWidthLimit(), 150);
  TWebForm form;
  SetMainWindow(&form);
  StartMode = StartReformatting;
  EXPECT_EQ(MeasurePascalWidthLimit(), 150) << "the re-formatter's run has no window to measure";
  EXPECT_FALSE(form.isMaximized());
  StartMode = StartNormal;
  SetMainWindow(nullptr);
}

}  // namespace
}  // namespace quorrel
