#include "ui/shell/ProgBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "commands/PrintCommand.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "shell/CommandNames.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"

namespace quorrel {

TProgBox* ProgBox = nullptr;

TProgBox::TProgBox(QWidget* parent) : QDialog(parent) {
  setObjectName("ProgBox");
  setModal(false);

  QFont bold("MS Sans Serif");
  bold.setPixelSize(11);
  bold.setBold(true);

  progText_ = new QPlainTextEdit(this);
  progText_->setObjectName("ProgText");
  progText_->setReadOnly(true);
  progText_->setFrameShape(QFrame::NoFrame);
  progText_->setFont(bold);
  progText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  progText_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  eLabel_ = new QLabel(this);
  eLabel_->setObjectName("ELabel");
  eLabel_->setFont(bold);
  eLabel_->setTextFormat(Qt::PlainText);
  cancelBtn_ = new QPushButton("Cancel", this);
  cancelBtn_->setObjectName("CancelBtn");
  printBtn_ = new QPushButton("&Print", this);
  printBtn_->setObjectName("PrintBtn");
  printBtn_->setVisible(false);
  printBtn_->setAutoDefault(false);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(eLabel_, 1);
  bottom->addWidget(printBtn_);
  bottom->addWidget(cancelBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 4);
  layout->addWidget(progText_, 1);
  layout->addLayout(bottom);

  connect(cancelBtn_, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
  connect(printBtn_, &QPushButton::clicked, this, [this] { PrintBtnClick(); });

  resize(ScaleForFont(250), height());
  FitToScreen();
  setWindowTitle("");
}

TProgBox::~TProgBox() {
  if (ProgBox == this) {
    SetProgressView(nullptr);
    ProgBox = nullptr;
  }
}

void TProgBox::SetPrintCommand(std::function<void(const QString& text)> command) {
  printCommand_ = std::move(command);
}

void TProgBox::RunPrepared() {
  progText_->clear();
  StateChanged();
  cancelBtn_->setFocus();
}

void TProgBox::LineAdded(const std::string& line) {
  progText_->appendPlainText(AnsiToQString(line));
  progText_->repaint();
}

void TProgBox::StateChanged() {
  const TProgBoxState& state = ProgBoxState();
  setWindowTitle(AnsiToQString(state.caption));
  eLabel_->setText(AnsiToQString(state.errorLabel));
  cancelBtn_->setText(AnsiToQString(state.cancelCaption));
  printBtn_->setVisible(state.printVisible);
  progText_->setVerticalScrollBarPolicy(state.scrollBar ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
  if (state.width > 0 && state.width != width()) {
    resize(state.width, height());
    FitToScreen();
  }
}

void TProgBox::FitToScreen() {
  QScreen* screen = windowHandle() && windowHandle()->screen() ? windowHandle()->screen()
                                                               : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  // The window manager's frame once the box is mapped; before that, a title bar
  // and borders as the style draws them.
  const QRect outer = frameGeometry(), inner = geometry();
  QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                 outer.right() - inner.right(), outer.bottom() - inner.bottom());
  if (frame.isNull()) {
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    frame = QMargins(border, title + border, border, border);
  }
  fittedFrame_ = frame;
  const int w = std::min(width(), area.width() - frame.left() - frame.right());
  const int h = area.height() - frame.top() - frame.bottom();
  resize(std::max(w, 1), std::max(h, 1));
  // A window's position is its frame's.
  move(area.topLeft());
}

void TProgBox::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  // The window manager framed the box after it was fitted: fitted again with its frame.
  const QRect outer = frameGeometry(), inner = geometry();
  const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                       outer.right() - inner.right(), outer.bottom() - inner.bottom());
  if (!frame.isNull() && frame != fittedFrame_) FitToScreen();
}

void TProgBox::ShowBox() {
  show();
  FitToScreen();
  raise();
}

void TProgBox::HideBox() {
  if (!modal_) hide();
}

void TProgBox::ShowModalBox() {
  modal_ = true;
  // The run hid the box just before: a window manager may still be withdrawing
  // that window when it is mapped again and leave it unmapped, with the program
  // waiting for it. A new native window has no such past.
  if (!isVisible() && testAttribute(Qt::WA_WState_Created)) destroy();
  // Shown by the event loop itself, so that the box is modal; once mapped its
  // frame is known: fitted again and brought in front, so that the box the loop
  // waits for is one the user can see and answer.
  FitToScreen();
  QTimer::singleShot(0, this, [this] {
    FitToScreen();
    raise();
    activateWindow();
  });
  exec();
  modal_ = false;
}

void TProgBox::ProcessMessages() {
  QCoreApplication::processEvents();
}

void TProgBox::PrintLines(const std::vector<std::string>& lines) {
  QString text;
  for (const auto& line : lines) text += AnsiToQString(line) + "\n";
  Print(text);
}

void TProgBox::CancelBtnClick() {
  if (ProgBoxCancelClick()) CloseBox();
}

void TProgBox::PrintBtnClick() {
  Print(progText_->toPlainText());
}

void TProgBox::closeEvent(QCloseEvent* event) {
  // Closing the window is the Cancel button; it closes only when that says so.
  event->ignore();
  CancelBtnClick();
}

void TProgBox::reject() {
  CancelBtnClick();
}

void TProgBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && ProgBoxState().helpContext != 0) {
    ShowHelpContext(ProgBoxState().helpContext);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TProgBox::Print(const QString& text) {
  if (printCommand_) {
    printCommand_(text);
    return;
  }
  RunCommand(PrintCommand, [&] { PrintProgressText(QStringToAnsi(text)); });
}

void TProgBox::CloseBox() {
  if (modal_) {
    done(QDialog::Accepted);
  } else {
    hide();
  }
}

TProgBox* CreateProgBox(QWidget* parent) {
  ProgBox = new TProgBox(parent);
  SetProgressView(ProgBox);
  return ProgBox;
}

}  // namespace quorrel
