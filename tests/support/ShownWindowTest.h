#pragma once
// The real main window, shown and active, with a document opened in it as the
// command line opens one and its editor holding the keyboard focus: for tests that
// press real keys. Each fixture has its own folder in the test site.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "commands/StartUp.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"
#include "shell/BlinkJob.h"
#include "shell/ShellState.h"
#include "support/SiteFolder.h"
#include "ui/platform/QtDesktop.h"
#include "ui/shell/WebForm.h"

namespace quorrel::test {

class ShownWindowTest : public ::testing::Test {
 protected:
  explicit ShownWindowTest(std::string folder) : folder_(std::move(folder)) {}

  void SetUp() override {
    site = SiteTestFolder() + folder_;
    std::filesystem::create_directories(site);
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    std::filesystem::remove_all(SiteTestFolder());
    std::filesystem::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  void OpenFile(const std::string& name, const std::string& bytes) {
    const std::string path = site + name;
    std::ofstream(path, std::ios::binary) << bytes;
    StartParameters = {path};
    FormActivate();
    ASSERT_EQ(CurrentFileName, path);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
    Editor()->setFocus();
    // A key ends the blink that an open may start, and the blink takes the
    // selection with it: the tests select once it is over.
    if (Blinking()) StopBlink(false);
  }
  QWidget* Editor() const { return form->PC()->currentWidget(); }

  std::string site;
  std::unique_ptr<TWebForm> form;

 private:
  std::string folder_;
};

// The same, with the Qt desktop installed: the system clipboard and the printer.
class ShownDesktopWindowTest : public ShownWindowTest {
 protected:
  using ShownWindowTest::ShownWindowTest;

  void SetUp() override {
    ShownWindowTest::SetUp();
    InstallQtDesktop();
  }
  void TearDown() override {
    SetDesktop(nullptr);
    ShownWindowTest::TearDown();
  }
};

}  // namespace quorrel::test
