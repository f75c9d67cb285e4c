#pragma once
// The real main window over a folder of the test site, with F10 pressed into its
// editor as the user presses it: for the validators' tests in the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/SiteFolder.h"
#include "ui/shell/WebForm.h"

namespace quorrel::test {

class WindowSiteTest : public ::testing::Test {
 protected:
  explicit WindowSiteTest(std::string folder) : folder_(std::move(folder)) {}

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
  // F10 as the user types it into the editor; returns once the command is over.
  void PressF10() {
    QWidget* editor = form->PC()->currentWidget();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier);
    QApplication::sendEvent(editor, &press);
    QApplication::sendEvent(editor, &release);
    QApplication::processEvents();
  }
  std::string Status() const { return form->StatusPanel(MessagePanel)->text().toStdString(); }
  // A page written into the site and opened as the command line opens it.
  void OpenNewPage(const std::string& name, const std::string& text) {
    const std::string page = site + name;
    std::ofstream(page, std::ios::binary) << text;
    StartParameters = {page};
    FormActivate();
    ASSERT_EQ(CurrentFileName, page);
    form->show();
  }

  std::string site;
  std::unique_ptr<TWebForm> form;

 private:
  std::string folder_;
};

}  // namespace quorrel::test
