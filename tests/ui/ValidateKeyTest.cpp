// F10 and Shift+F10 on the real main window: the keys reach the Validation menu's
// commands, which hand the current document to the dispatcher (a scripted
// validator stands in for the real ones) and report on the message bar.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/TestEnvironment.h"
#include "ui/shell/WebForm.h"
#include "validate/ValTestKit.h"
#include "validate/Validators.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

class ValidateKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::SiteTestFolder() + "keys/";
    fs::create_directories(site);
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    SetValidatorStandIn(
        [this](TValidatorKind, const std::string& sender) { senders.push_back(sender); });
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    fs::remove_all(test::SiteTestFolder());
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  // The key as the user types it into the editor.
  void Press(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* editor = form->PC()->currentWidget();
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(editor, &press);
    QApplication::sendEvent(editor, &release);
  }

  std::string site;
  std::unique_ptr<TWebForm> form;
  std::vector<std::string> senders;
};

TEST_F(ValidateKeyTest, F10ValidatesAndShiftF10ValidatesWithoutReformatting) {
  const std::string page = site + "page.htm";
  std::ofstream(page, std::ios::binary) << "<HTML>\n<Head>\n</Head>\n<Body>\n</Body>\n</HTML>\n";
  StartParameters = {page};
  FormActivate();
  ASSERT_EQ(CurrentFileName, page);
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
  senders.clear();

  EXPECT_EQ(form->Action("Validate")->shortcut(), QKeySequence(Qt::Key_F10));
  EXPECT_EQ(form->Action("NoReformat")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F10));
  Press(Qt::Key_F10, Qt::NoModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !senders.empty(); }, 2000));
  EXPECT_EQ(senders, std::vector<std::string>{"Validate"});
  EXPECT_EQ(form->StatusPanel(MessagePanel)->text().toStdString(), "  Validated");

  Press(Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return senders.size() == 2; }, 2000));
  EXPECT_EQ(senders[1], "NoReformat");
}

}  // namespace
}  // namespace quorrel
