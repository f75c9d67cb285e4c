// The marker list and the Go To dialog on real widgets: a marker set by a key in
// the list, kept while another tab is current, and gone to on return; Go To by the
// field last entered.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/Documents.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestWindow.h"
#include "ui/shell/GotoForm.h"
#include "ui/shell/MarkForm.h"
#include "ui/shell/SplashForm.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

void TypeInto(QWidget* widget, const QString& text, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
}

class MarkFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_ = test::SiteTestFolder() + "marks/";
    fs::create_directories(site_);
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    form_->SetSplash(new TSplashForm(form_.get()));
    FormActivate();
    InstallMarkForm();
    InstallGotoForm();
    QApplication::processEvents();
  }
  void TearDown() override {
    test::CloseTestWindow(form_);
  }
  void OpenTab(const std::string& name, const std::string& text) {
    std::ofstream(site_ + name, std::ios::binary) << text;
    Dialogs().AnswerPath(site_ + name);
    form_->Action("OpenTab")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(CurrentFileName, site_ + name);
  }
  // Runs a menu item whose modal form the step handles while it shows.
  template <class Form>
  void WithForm(const char* item, std::function<void(Form&)> step) {
    bool seen = false;
    QTimer::singleShot(0, qApp, [&] {
      auto* shown = qobject_cast<Form*>(QApplication::activeModalWidget());
      ASSERT_NE(shown, nullptr);
      seen = true;
      step(*shown);
      if (shown->isVisible()) shown->reject();
    });
    form_->Action(item)->trigger();
    EXPECT_TRUE(seen) << item;
  }

  std::string site_;
  std::unique_ptr<TWebForm> form_;
};

TEST_F(MarkFormTest, AMarkerSetByItsKeyIsThereAfterAnotherTab) {
  OpenTab("first.txt", "alpha\r\nbeta gamma\r\n");
  const size_t gamma = 12;  // "gamma" in the text on disk
  CurrentEditor->Select(EditorPosOf(gamma), 0);
  WithForm<TMarkForm>("SetMark", [](TMarkForm& marks) {
    EXPECT_EQ(marks.windowTitle(), "Set marker...");
    EXPECT_EQ(marks.DigitLabel(3)->text(), "3");
    TypeInto(&marks, "3", Qt::Key_3);
  });
  EXPECT_EQ(Markers[3].position, static_cast<long>(gamma));
  EXPECT_TRUE(form_->Action("ClearMark")->isEnabled());

  OpenTab("second.txt", "other\r\n");
  EXPECT_EQ(Markers[3].position, -1);
  form_->PC()->setCurrentIndex(0);
  QApplication::processEvents();
  ASSERT_EQ(CurrentFileName, site_ + "first.txt");
  EXPECT_EQ(Markers[3].position, static_cast<long>(gamma));

  CurrentEditor->Select(0, 0);
  WithForm<TMarkForm>("GotoMark", [](TMarkForm& marks) {
    EXPECT_EQ(marks.windowTitle(), "Goto marker...");
    EXPECT_EQ(marks.TextLabel(3)->text(), "gamma \u00BB ");
    EXPECT_EQ(marks.TextLabel(4)->text(), "");
    // A click on a label is its digit.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(marks.TextLabel(3), &release);
  });
  EXPECT_EQ(CurrentEditor->TextRange(CurrentEditor->SelStart(), 5), "gamma");
}

TEST_F(MarkFormTest, GoToFollowsTheFieldEntered) {
  OpenTab("lines.txt", "one\r\ntwo\r\nthree\r\n");
  CurrentEditor->Select(EditorPosOf(5), 0);
  WithForm<TGotoForm>("GotoM", [](TGotoForm& go) {
    EXPECT_EQ(go.windowTitle(), "Go To");
    EXPECT_EQ(go.LineNo->text(), "2");
    EXPECT_EQ(go.Offset->text(), "5");
    EXPECT_TRUE(go.GoLine->isDefault());
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(go.Offset, &in);
    EXPECT_TRUE(go.GoOff->isDefault());
    EXPECT_FALSE(go.GoLine->isDefault());
    go.Offset->setText("12");
    TypeInto(&go, "\r", Qt::Key_Return);
  });
  EXPECT_EQ(CurrentEditor->TextRange(CurrentEditor->SelStart(), 3), "ree");
}

}  // namespace
}  // namespace quorrel
