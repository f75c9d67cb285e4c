#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/ProgUnit.h"
#include "support/ScriptedDialogs.h"
#include "ui/shell/ProgBox.h"

namespace quorrel {
namespace {

using test::Dialogs;

// Runs step once the box shows modally (from inside its own event loop).
// Runs step once the box is the modal window; with exposed, also once the window
// system has shown it, which a loaded machine may deliver a little later.
void WhenModal(TProgBox* box, std::function<void()> step, bool exposed = false,
               int triesLeft = 400) {
  QTimer::singleShot(triesLeft == 400 ? 0 : 5, qApp, [=] {
    const bool ready = QApplication::activeModalWidget() == box &&
                       (!exposed || (box->windowHandle() && box->windowHandle()->isExposed()));
    if (!ready && triesLeft > 0) {
      WhenModal(box, step, exposed, triesLeft - 1);
      return;
    }
    step();
  });
}

QStringList Lines(TProgBox* box) {
  return box->ProgText()->toPlainText().split('\n', Qt::SkipEmptyParts);
}

class ProgBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box_ = CreateProgBox();
    // A fault must not leave a modal box hanging the run.
    watchdog_.setSingleShot(true);
    QObject::connect(&watchdog_, &QTimer::timeout, [this] {
      if (box_->isVisible()) {
        ADD_FAILURE() << "The progress box was left open";
        box_->done(0);
      }
    });
    watchdog_.start(10000);
  }
  void TearDown() override {
    watchdog_.stop();
    delete box_;
  }

  // Presses the box's button once the final modal box is up, noting what it shows.
  void PressOkAtTheEnd() {
    WhenModal(box_, [this] {
      modalSeen_ = true;
      finalLines_ = Lines(box_);
      printVisible_ = box_->PrintBtn()->isVisible();
      cancelText_ = box_->CancelBtn()->text();
      scrollPolicy_ = box_->ProgText()->verticalScrollBarPolicy();
      box_->CancelBtn()->click();
    });
  }

  TProgBox* box_ = nullptr;
  QTimer watchdog_;
  bool modalSeen_ = false;
  QStringList finalLines_;
  bool printVisible_ = false;
  QString cancelText_;
  Qt::ScrollBarPolicy scrollPolicy_ = Qt::ScrollBarAsNeeded;
};

// The box with its frame lies in the screen's work area, as high as it allows: a
// box whose client area was as high as the work area had its buttons cut off.
// Before it is shown no frame is known yet, and room is left for a title bar.
void ExpectFitsTheScreen(const TProgBox* box) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(area.contains(box->frameGeometry())) << box->frameGeometry().height();
  EXPECT_EQ(box->pos(), area.topLeft());
  EXPECT_GT(box->height(), area.height() / 2);
  if (!box->isVisible()) {
    EXPECT_GE(area.height() - box->geometry().height(), 16) << box->geometry().height();
  }
}

TEST_F(ProgBoxTest, ShowsARunAndItsErrors) {
  ExpectFitsTheScreen(box_);
  EXPECT_TRUE(box_->windowTitle().isEmpty());

  TProgress progress("Possible errors", 0, false, true);
  progress.SetWidth(460);
  EXPECT_EQ(box_->width(), ScaleForFont(460));
  EXPECT_FALSE(box_->isVisible());  // nothing to show yet
  progress.Add("index.htm");
  EXPECT_TRUE(box_->isVisible());
  EXPECT_FALSE(box_->isModal());
  EXPECT_EQ(box_->windowTitle(), "Possible errors");
  EXPECT_FALSE(box_->PrintBtn()->isVisible());
  EXPECT_EQ(box_->CancelBtn()->text(), "Cancel");
  EXPECT_EQ(box_->ELabel()->text(), "");
  progress.Error("index.htm: missing </p>");
  progress.Error("index.htm: bad link");
  EXPECT_EQ(box_->ELabel()->text(), "Errors: 2");
  EXPECT_EQ(box_->ProgText()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

  PressOkAtTheEnd();
  progress.Destroy();
  EXPECT_TRUE(modalSeen_);
  EXPECT_EQ(finalLines_, (QStringList{"index.htm", "index.htm: missing </p>", "index.htm: bad link",
                                      "*** ERRORS: 2"}));
  EXPECT_TRUE(printVisible_);
  EXPECT_EQ(cancelText_, "OK");
  EXPECT_EQ(scrollPolicy_, Qt::ScrollBarAlwaysOff);
  EXPECT_FALSE(box_->isVisible());
  EXPECT_TRUE(box_->windowTitle().isEmpty());
}

// The build's warnings and the server check's report, each shown modally at its
// end: mapped, in front and inside the screen with its frame.
TEST_F(ProgBoxTest, ReportsFitTheScreenWhenShownModally) {
  struct Case {
    const char* caption;
    int width;
  };
  for (const Case& c : {Case{"Possible errors", 460}, Case{"Unwanted and non-matching files", 0}}) {
    SCOPED_TRACE(c.caption);
    TProgress progress(c.caption, 0, false, true);
    if (c.width > 0) progress.SetWidth(c.width);
    progress.Add("first line");
    progress.Add("second line");
    bool shown = false;
    WhenModal(box_, [&] {
      shown = box_->isVisible() && box_->windowHandle() && box_->windowHandle()->isExposed() &&
              QApplication::activeModalWidget() == box_;
      ExpectFitsTheScreen(box_);
      box_->CancelBtn()->click();
    }, /*exposed=*/true);
    progress.Destroy();
    EXPECT_TRUE(shown);
  }
}

TEST_F(ProgBoxTest, ScrollBarAfterTwentyNineLines) {
  TProgress progress("Build", 0, false, true);
  for (int i = 0; i < 30; ++i) progress.Add("page" + std::to_string(i) + ".htm");
  PressOkAtTheEnd();
  progress.Destroy();
  EXPECT_EQ(finalLines_.size(), 31);
  EXPECT_EQ(finalLines_.back(), "End of processing.");
  EXPECT_EQ(scrollPolicy_, Qt::ScrollBarAlwaysOn);
}

TEST_F(ProgBoxTest, ASingleLineIsNotKeptUp) {
  TProgress progress("Build", 0, false, true);
  progress.Destroy();  // would hang here if the box were shown modally
  EXPECT_FALSE(box_->isVisible());
  EXPECT_EQ(Lines(box_), QStringList{"End of processing."});
}

TEST_F(ProgBoxTest, CancelStopsTheRunBetweenFiles) {
  const std::vector<std::string> files = {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"};
  std::vector<std::string> done;
  TProgress progress("Build", 0, false, true);
  for (const auto& file : files) {
    if (RunCancelled) break;
    if (file == "b.htm") {
      // The user presses Cancel while b.htm is processed and confirms.
      Dialogs().Answer(mrYes);
      QTimer::singleShot(0, box_->CancelBtn(), &QPushButton::click);
    }
    progress.Add(file);  // lets the click through
    done.push_back(file);
  }
  EXPECT_EQ(done, (std::vector<std::string>{"a.htm", "b.htm"}));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "Cancel the run?");
  EXPECT_EQ(box_->CancelBtn()->text(), "OK");
  EXPECT_TRUE(box_->isVisible());  // the box stays up until the run ends

  PressOkAtTheEnd();
  progress.Destroy();
  EXPECT_EQ(finalLines_, (QStringList{"a.htm", "b.htm", "End of processing."}));
}

TEST_F(ProgBoxTest, AnsweringNoOrClosingTheWindowLeavesTheRunGoing) {
  TProgress progress("Build", 0, false, true);
  progress.Add("a.htm");
  Dialogs().Answer(mrNo);
  box_->CancelBtn()->click();
  Dialogs().Answer(mrNo);
  box_->close();  // closing the window asks the same question
  EXPECT_EQ(Dialogs().Texts(), (std::vector<std::string>{"Cancel the run?", "Cancel the run?"}));
  EXPECT_FALSE(RunCancelled);
  EXPECT_TRUE(box_->isVisible());
  EXPECT_EQ(box_->CancelBtn()->text(), "Cancel");

  PressOkAtTheEnd();
  progress.Add("b.htm");
  progress.Destroy();
  EXPECT_TRUE(modalSeen_);
}

TEST_F(ProgBoxTest, OkAfterCancelClosesTheBoxUntilTheNextLine) {
  TProgress progress("Build", 0, false, true);
  progress.Add("a.htm");
  Dialogs().Answer(mrYes);
  box_->CancelBtn()->click();
  EXPECT_TRUE(box_->isVisible());
  box_->CancelBtn()->click();  // now "OK": closes without asking
  EXPECT_FALSE(box_->isVisible());
  progress.Add("stopping after a.htm");  // a run finishing its file shows it again
  EXPECT_TRUE(box_->isVisible());
  PressOkAtTheEnd();
  progress.Destroy();
  EXPECT_EQ(finalLines_, (QStringList{"a.htm", "stopping after a.htm", "End of processing."}));
}

TEST_F(ProgBoxTest, PrintGoesToThePrintCommand) {
  QString printed;
  box_->SetPrintCommand([&](const QString& text) { printed = text; });
  TProgress progress("Build", 0, false, true);
  progress.Add("a.htm");
  progress.Error("a.htm: broken");
  WhenModal(box_, [this] {
    box_->PrintBtn()->click();
    box_->CancelBtn()->click();
  });
  progress.Destroy();
  EXPECT_EQ(printed, "a.htm\na.htm: broken\n*** ERRORS: 1");
}

TEST_F(ProgBoxTest, ASecondRunIsRefusedWhileTheBoxIsInUse) {
  TProgress first("Build &Web pages", 0, false, true);
  first.Add("a.htm");
  EXPECT_THROW(TProgress("Possible errors", 0, false, true), EAbort);
  EXPECT_NE(Dialogs().Last().text.find("is still running"), std::string::npos);
  EXPECT_EQ(box_->windowTitle(), "Build &Web pages");
  EXPECT_EQ(Lines(box_), QStringList{"a.htm"});
  PressOkAtTheEnd();
  first.Add("b.htm");
  first.Destroy();
  EXPECT_EQ(finalLines_, (QStringList{"a.htm", "b.htm", "End of processing."}));
}

}  // namespace
}  // namespace quorrel
