#include "ui/shell/RepForm.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>

#include "commands/FindState.h"
#include "platform/UserDialogs.h"
#include "shell/Documents.h"
#include "ui/shell/WebForm.h"

namespace quorrel {

namespace {

constexpr int PromptHeight = 19;
constexpr int PromptLeft = 392;  // from the status bar's left edge

// The answer a key gives; mrNone for the keys the prompt ignores.
int AnswerOf(int key) {
  switch (key) {
    case Qt::Key_Y:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      return mrYes;
    case Qt::Key_N:
      return mrNo;
    case Qt::Key_A:
      return mrAll;
    case Qt::Key_C:
    case Qt::Key_Escape:
      return mrCancel;
    default:
      return mrNone;
  }
}

}  // namespace

TRepForm::TRepForm(QMainWindow* owner) : QFrame(owner), owner_(owner) {
  setObjectName("RepForm");
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  Label = new QLabel(ReplacePromptText, this);
  Label->setObjectName("RepLabel");
  QFont font = Label->font();
  font.setBold(true);
  Label->setFont(font);
  QPalette palette = Label->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  Label->setPalette(palette);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 0, 2, 0);
  layout->addWidget(Label);
  hide();
  owner_->installEventFilter(this);
}

void TRepForm::Place() {
  const int width = Label->sizeHint().width() + 8;
  QStatusBar* bar = owner_->statusBar();
  const QRect client = owner_->rect();
  int x = bar->x() + PromptLeft;
  if (x + width > client.width()) x = std::max(0, client.width() - width);
  int y = bar->y() - PromptHeight;
  if (y < 0) y = 0;
  setGeometry(x, y, std::min(width, client.width()), PromptHeight);
}

bool TRepForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == owner_ && event->type() == QEvent::Resize && isVisible()) Place();
  return QFrame::eventFilter(watched, event);
}

int TRepForm::Ask() {
  Place();
  show();
  raise();
  setFocus();
  answer_ = mrNone;
  QEventLoop loop;
  loop_ = &loop;
  QPointer<TRepForm> self(this);
  loop.exec();
  if (!self) return mrCancel;
  loop_ = nullptr;
  hide();
  // Hidden, the prompt would leave the keys with whatever Qt focuses next (the
  // tab bar); the user goes on typing in the text.
  FocusEditor();
  return answer_;
}

bool TRepForm::event(QEvent* event) {
  // Its keys are the answers: no menu's shortcut takes them first (Esc is Exit's).
  if (event->type() == QEvent::ShortcutOverride &&
      AnswerOf(static_cast<QKeyEvent*>(event)->key()) != mrNone) {
    event->accept();
    return true;
  }
  return QFrame::event(event);
}

void TRepForm::keyPressEvent(QKeyEvent* event) {
  const int answer = AnswerOf(event->key());
  event->accept();  // other keys are ignored
  if (answer == mrNone || !loop_) return;
  answer_ = answer;
  loop_->quit();
}

void TRepForm::focusOutEvent(QFocusEvent* event) {
  // The prompt keeps the keys while it waits.
  QFrame::focusOutEvent(event);
  if (loop_ && isVisible()) setFocus();
}

int AskReplacePrompt() {
  static QPointer<TRepForm> form;
  if (!WebForm) return mrCancel;
  if (!form) form = new TRepForm(WebForm);
  return form->Ask();
}

}  // namespace quorrel
