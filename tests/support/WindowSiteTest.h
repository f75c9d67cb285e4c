#pragma once
// The real main window over a folder of the test site, with F10 pressed into its
// editor as the user presses it: for the validators' tests in the window.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <fstream>
#include <string>

#include "support/ShownWindowTest.h"

namespace quorrel::test {

class WindowSiteTest : public ShownWindowTest {
 protected:
  using ShownWindowTest::ShownWindowTest;

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
};

}  // namespace quorrel::test
