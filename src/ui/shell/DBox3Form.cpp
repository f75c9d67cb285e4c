#include "ui/shell/DBox3Form.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "platform/Help.h"
#include "platform/UserDialogs.h"
#include "shell/ShellState.h"
#include "ui/platform/QtDialogs.h"

namespace quorrel {

namespace {

const char kHelpCaption[] = "&Help";

}  // namespace

TDBox3Form::TDBox3Form(QWidget* parent) : QDialog(parent) {
  setObjectName("DBox3Form");
  setModal(true);

  Msg = new QLabel(this);
  Msg->setObjectName("Msg");
  // Plain text: "&" and "<" are shown as they are, never as accelerators or markup.
  Msg->setTextFormat(Qt::PlainText);
  Msg->setWordWrap(true);
  Msg->setMinimumWidth(320);
  QFont serif("MS Serif");
  serif.setPixelSize(11);
  Msg->setFont(serif);

  HelpImg = new QLabel(this);
  HelpImg->setObjectName("HelpImg");
  HelpImg->hide();  // its glyph comes with the first Help button: icons load slowly at start

  Button1 = new QPushButton(this);
  Button1->setObjectName("Button1");
  Button1->setDefault(true);
  Button2 = new QPushButton(this);
  Button2->setObjectName("Button2");
  CancelBtn = new QPushButton(this);
  CancelBtn->setObjectName("CancelBtn");
  DontAsk = new QCheckBox("  &Don't ask/tell me this again.", this);
  DontAsk->setObjectName("DontAsk");
  DontAsk->hide();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  buttons->addWidget(CancelBtn);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Msg);
  layout->addWidget(DontAsk);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(Button1, &QPushButton::clicked, this, [this] { done(mrYes); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

int TDBox3Form::Ask(const std::string& message, const std::string& caption1,
                    const std::string& caption2, int helpContext, const std::string& caption3) {
  // A timer or idle handler asking while the box waits for the user must not
  // change the question the user is answering.
  if (showing_) return result() == mrNone ? mrCancel : result();

  Msg->setText(BoxText(message));
  Button1->setText(AnsiToQString(caption1));
  Button1->setVisible(true);
  Button2->setText(AnsiToQString(caption2));
  if (caption2 == kHelpCaption && HelpImg->pixmap().isNull()) {
    HelpImg->setPixmap(style()->standardIcon(QStyle::SP_DialogHelpButton).pixmap(16, 16));
  }
  Button2->setIcon(caption2 == kHelpCaption ? QIcon(HelpImg->pixmap()) : QIcon());
  Button2->setVisible(!caption2.empty());
  CancelBtn->setText(AnsiToQString(caption3));
  CancelBtn->setIcon(QIcon());
  CancelBtn->setVisible(true);
  helpContext_ = helpContext;

  FormActivate();
  CentreOnScreen();
  showing_ = true;
  setResult(mrNone);
  int modalResult = exec();
  showing_ = false;
  QCoreApplication::processEvents();
  helpContext_ = 0;
  return modalResult == mrNone ? mrCancel : modalResult;
}

void TDBox3Form::reject() {
  done(mrCancel);
}

void TDBox3Form::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TDBox3Form::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && helpContext_ > 0) {
    ShowHelpContext(helpContext_);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TDBox3Form::Button2Click() {
  if (helpContext_ > 0 && QStringToAnsi(Button2->text()) == kHelpCaption) {
    ShowHelpContext(helpContext_);  // the box stays open
    return;
  }
  done(mrNo);
}

void TDBox3Form::FormActivate() {
  setWindowTitle(AnsiToQString(ApplicationTitle));
  if (Button1->isVisible()) {
    Button1->setFocus();
  } else if (Button2->isVisible()) {
    Button2->setFocus();
  }
  QFont sans("MS Sans Serif");
  sans.setPixelSize(11);
  Msg->setFont(sans);
}

void TDBox3Form::CentreOnScreen() {
  adjustSize();
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect area = screen->availableGeometry();
  move(area.center() - rect().center());
}

TDBox3Form& DBox3Form() {
  static QPointer<TDBox3Form> form;
  if (!form) form = new TDBox3Form;
  return *form;
}

}  // namespace quorrel
