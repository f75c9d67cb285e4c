#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <vector>

#include "platform/Help.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "ui/platform/QtDialogs.h"
#include "ui/shell/DBox3Form.h"

namespace quorrel {
namespace {

// Runs step on the modal box as soon as it shows (from inside its own event loop).
void OnModal(std::function<void(QWidget*)> step, int triesLeft = 200) {
  QTimer::singleShot(triesLeft == 200 ? 0 : 5, qApp, [step, triesLeft] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box && triesLeft > 0) {
      OnModal(step, triesLeft - 1);
      return;
    }
    step(box);
  });
}

void PressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

QPushButton* StandardButton(QWidget* box, QDialogButtonBox::StandardButton which) {
  auto* buttons = box ? box->findChild<QDialogButtonBox*>() : nullptr;
  return buttons ? buttons->button(which) : nullptr;
}

// Real Qt boxes for the length of a test; a box left open is closed after a while
// so that a fault cannot hang the run.
class QtBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallQtDialogs();
    SetHelpViewer([this](int context) { helpShown.push_back(context); });
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
      hung = true;
      while (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    watchdog.start(10000);
  }
  void TearDown() override {
    watchdog.stop();
    EXPECT_FALSE(hung) << "a box stayed open";
    SetHelpViewer(nullptr);
    SetUserDialogs(&test::Dialogs());
  }

  std::vector<int> helpShown;
  QTimer watchdog;
  bool hung = false;
};

TEST_F(QtBoxes, TimedBoxClosesItselfAndTheNextOneWaitsForTheUser) {
  QString timedTitle, timedText;
  int timedButtons = 0;
  OnModal([&](QWidget* box) {
    auto* message = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(message, nullptr);
    timedTitle = message->windowTitle();
    timedText = message->text();
    timedButtons = message->buttons().size();
  });
  ApplicationTitle = "/site/index.htm - Quorrel v. 1.921, 16-Jun-26";
  MessageTimeout = 60;
  QElapsedTimer clock;
  clock.start();
  ShowMsg("Uploaded");
  EXPECT_GE(clock.elapsed(), 50);
  EXPECT_FALSE(hung);
  EXPECT_EQ(timedTitle, "Quorrel");
  EXPECT_EQ(timedText.trimmed(), "Uploaded");
  EXPECT_EQ(timedButtons, 1);

  // No new setting: the plain box is still there well after the old timeout.
  bool stillOpen = false;
  QString plainTitle;
  OnModal([&](QWidget* box) {
    plainTitle = box->windowTitle();
    QTimer::singleShot(300, box, [&, box] {
      stillOpen = box->isVisible();
      static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
  });
  ShowMsg("Done");
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(plainTitle.toStdString(), ApplicationTitle);
}

TEST_F(QtBoxes, MessagesShowTheirTextAsItStandsWithLineBreaks) {
  struct Case {
    std::string message;
    QString shown;
  } cases[] = {
      {"Fish & chips <b>and</b> \x80 5", QString::fromUtf8("Fish & chips <b>and</b> \u20ac 5")},
      {"/site/pics\rFolder does not exist.", "/site/pics\nFolder does not exist."},
      {"one\r\ntwo\r\rthree", "one\ntwo\n\nthree"},
  };
  for (const auto& c : cases) {
    QString text;
    Qt::TextFormat format = Qt::RichText;
    OnModal([&](QWidget* box) {
      auto* message = qobject_cast<QMessageBox*>(box);
      text = message->text();
      format = message->textFormat();
      message->button(QMessageBox::Ok)->click();
    });
    ShowMsg(c.message);
    EXPECT_EQ(text.trimmed(), c.shown);
    EXPECT_EQ(format, Qt::PlainText);
  }
}

TEST_F(QtBoxes, QuestionBoxesOfferTheirButtonsAndReturnTheAnswer) {
  enum Ask { kYesNo, kYesNoHelp, kYesNoCancel, kYesNoCancelHelp };
  struct Case {
    Ask ask;
    QDialogButtonBox::StandardButton click;  // NoButton: close with Esc
    int result;
  } cases[] = {
      {kYesNo, QDialogButtonBox::Yes, mrYes},
      {kYesNo, QDialogButtonBox::No, mrNo},
      {kYesNo, QDialogButtonBox::NoButton, mrNo},
      {kYesNoHelp, QDialogButtonBox::Yes, mrYes},
      {kYesNoCancel, QDialogButtonBox::No, mrNo},
      {kYesNoCancel, QDialogButtonBox::Cancel, mrCancel},
      {kYesNoCancel, QDialogButtonBox::NoButton, mrCancel},
      {kYesNoCancelHelp, QDialogButtonBox::Yes, mrYes},
      {kYesNoCancelHelp, QDialogButtonBox::NoButton, mrCancel},
  };
  ApplicationTitle = "Quorrel";
  for (const auto& c : cases) {
    bool hasCancel = false, hasHelp = false;
    QString title, text;
    OnModal([&](QWidget* box) {
      ASSERT_NE(box, nullptr);
      title = box->windowTitle();
      text = box->findChild<QLabel*>()->text();
      hasCancel = StandardButton(box, QDialogButtonBox::Cancel) != nullptr;
      hasHelp = StandardButton(box, QDialogButtonBox::Help) != nullptr;
      if (c.click == QDialogButtonBox::NoButton) {
        PressKey(box, Qt::Key_Escape);
      } else {
        StandardButton(box, c.click)->click();
      }
    });
    int result = 0;
    switch (c.ask) {
      case kYesNo:
        result = AskYesNo("Tom & Jerry?") ? mrYes : mrNo;
        break;
      case kYesNoHelp:
        result = AskYesNoHelp("Tom & Jerry?", 77) ? mrYes : mrNo;
        break;
      case kYesNoCancel:
        result = AskYesNoCancel("Tom & Jerry?");
        break;
      case kYesNoCancelHelp:
        result = AskYesNoCancelHelp("Tom & Jerry?", 77);
        break;
    }
    EXPECT_EQ(result, c.result) << c.ask << " " << c.click;
    EXPECT_EQ(hasCancel, c.ask == kYesNoCancel || c.ask == kYesNoCancelHelp) << c.ask;
    EXPECT_EQ(hasHelp, c.ask == kYesNoHelp || c.ask == kYesNoCancelHelp) << c.ask;
    EXPECT_EQ(title, "Quorrel");
    EXPECT_EQ(text, "Tom & Jerry?");
  }
  EXPECT_FALSE(hung);
}

TEST_F(QtBoxes, HelpOnAQuestionOpensTheTopicAndKeepsAsking) {
  bool openAfterHelp = false;
  OnModal([&](QWidget* box) {
    StandardButton(box, QDialogButtonBox::Help)->click();
    PressKey(box, Qt::Key_F1);
    openAfterHelp = box->isVisible();
    StandardButton(box, QDialogButtonBox::No)->click();
  });
  EXPECT_EQ(AskYesNoCancelHelp("Convert?", 100750), mrNo);
  EXPECT_TRUE(openAfterHelp);
  EXPECT_EQ(helpShown, (std::vector<int>{100750, 100750}));
}

TEST_F(QtBoxes, ThreeButtonBoxReturnsTheButtonPressed) {
  struct Case {
    std::string caption2;
    const char* press;  // object name of the button, "Enter", or "" to close the window
    int result;
  } cases[] = {
      {"&All tunes", "Button1", mrYes},
      {"&All tunes", "Button2", mrNo},
      {"&All tunes", "CancelBtn", mrCancel},
      {"&All tunes", "", mrCancel},
      {"", "Button1", mrYes},
      {"&All tunes", "Enter", mrYes},
  };
  ApplicationTitle = "tune.abc - Quorrel v. 1.921, 16-Jun-26";
  TDBox3Form& form = DBox3Form();
  for (const auto& c : cases) {
    QString title, message, caption1, caption2, caption3;
    bool button2Visible = false, checkVisible = true, button1Focused = false;
    OnModal([&](QWidget* box) {
      ASSERT_EQ(box, &form);
      title = form.windowTitle();
      message = form.Msg->text();
      caption1 = form.Button1->text();
      caption2 = form.Button2->text();
      caption3 = form.CancelBtn->text();
      button2Visible = form.Button2->isVisible();
      checkVisible = form.DontAsk->isVisible();
      button1Focused = form.focusWidget() == form.Button1;
      if (std::string(c.press) == "Enter") {
        PressKey(form.focusWidget(), Qt::Key_Return);
      } else if (*c.press) {
        form.findChild<QPushButton*>(c.press)->click();
      } else {
        form.close();
      }
    });
    int result = AskCustom("What do you want to print?\r\rTom & Jerry", "&This tune", c.caption2, 0,
                           "&Source text");
    EXPECT_EQ(result, c.result) << c.press;
    EXPECT_EQ(title.toStdString(), ApplicationTitle);
    EXPECT_EQ(message, "What do you want to print?\n\nTom & Jerry");
    EXPECT_EQ(caption1, "&This tune");
    EXPECT_EQ(caption2.toStdString(), c.caption2);
    EXPECT_EQ(caption3, "&Source text");
    EXPECT_EQ(button2Visible, !c.caption2.empty());
    EXPECT_FALSE(checkVisible);
    EXPECT_TRUE(button1Focused);
    EXPECT_FALSE(form.isVisible());
  }
  EXPECT_EQ(form.Msg->textFormat(), Qt::PlainText);
}

TEST_F(QtBoxes, HelpButtonWithATopicOpensItAndStaysOpen) {
  TDBox3Form& form = DBox3Form();
  bool openAfterHelp = false, hasGlyph = false;
  int contextWhileShown = 0;
  OnModal([&](QWidget*) {
    contextWhileShown = form.HelpContext();
    hasGlyph = !form.Button2->icon().isNull();
    form.Button2->click();
    PressKey(&form, Qt::Key_F1);
    openAfterHelp = form.isVisible();
    form.Button1->click();
  });
  EXPECT_EQ(AskOkHelpCancel("Copy the message?", 2050), mrYes);
  EXPECT_TRUE(openAfterHelp);
  EXPECT_TRUE(hasGlyph);
  EXPECT_EQ(contextWhileShown, 2050);
  EXPECT_EQ(helpShown, (std::vector<int>{2050, 2050}));
  EXPECT_EQ(form.HelpContext(), 0);
}

TEST_F(QtBoxes, HelpButtonWithoutATopicClosesWithNo) {
  TDBox3Form& form = DBox3Form();
  OnModal([&](QWidget*) { form.Button2->click(); });
  EXPECT_EQ(AskOkHelpCancel("Copy the message?", 0), mrNo);
  EXPECT_TRUE(helpShown.empty());

  // Only the exact caption "&Help" asks for help; any other second button answers No.
  OnModal([&](QWidget*) {
    EXPECT_TRUE(form.Button2->icon().isNull());
    form.Button2->click();
  });
  EXPECT_EQ(AskCustom("Style exists", "&Overwrite", "Help", 300, "Cancel"), mrNo);
  EXPECT_TRUE(helpShown.empty());
}

TEST_F(QtBoxes, AskingAgainWhileTheBoxShowsLeavesTheQuestionAlone) {
  TDBox3Form& form = DBox3Form();
  int nested = -1;
  QString textAfterNested, captionAfterNested;
  OnModal([&](QWidget*) {
    nested = AskCustom("Something else?", "&Run", "&Open as text", 0, "&Save");
    textAfterNested = form.Msg->text();
    captionAfterNested = form.Button1->text();
    form.Button1->click();
  });
  EXPECT_EQ(AskCustom("Overwrite?", "&Yes", "&No", 0, "Cancel"), mrYes);
  EXPECT_EQ(nested, mrCancel);
  EXPECT_EQ(textAfterNested, "Overwrite?");
  EXPECT_EQ(captionAfterNested, "&Yes");
}

TEST_F(QtBoxes, InputBoxReturnsTheTextOrCancel) {
  struct Case {
    bool password;
    bool accept;
    std::string typed;
    bool result;
    std::string value;
  } cases[] = {
      {false, true, "caf\xe9 & co", true, "caf\xe9 & co"},
      {false, false, "ignored", false, "old"},
      {true, true, "s3cret", true, "s3cret"},
  };
  for (const auto& c : cases) {
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    QString label;
    OnModal([&](QWidget* box) {
      auto* input = qobject_cast<QInputDialog*>(box);
      ASSERT_NE(input, nullptr);
      echo = input->textEchoMode();
      label = input->labelText();
      input->setTextValue(QString::fromLatin1(c.typed.c_str()));
      if (c.accept) {
        input->accept();
      } else {
        input->reject();
      }
    });
    std::string value = "old";
    EXPECT_EQ(UserDialogs().InputQuery("Quorrel", "Enter link text", value, c.password), c.result);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(echo, c.password ? QLineEdit::Password : QLineEdit::Normal);
    EXPECT_EQ(label, "Enter link text");
  }
}

}  // namespace
}  // namespace quorrel
