// What the idle pass keeps up to date on the main window: the message bar's colours,
// the lock and overwrite indicators, the markers beside their text, the caret, the
// folding tab strip and the banner shown with no document open.
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include "commands/KeyHooks.h"
#include "platform/CodePage.h"
#include "shell/Commands.h"
#include "shell/ShellState.h"
#include "ui/platform/LockKeys.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/KeyHook.h"
#include "ui/shell/Marker.h"
#include "ui/shell/SplashForm.h"
#include "ui/shell/WebForm.h"

namespace quorrel {

namespace {

// A new message's orange, 0x0080FF as the settings keep colours.
const QColor kOrange(255, 128, 0);
const QColor kPurple(128, 0, 128);
constexpr int kCaretWidth = 3;

QLabel* Indicator(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->hide();
  return label;
}

TRichEdit* RichOf(TMyRich* editor) {
  return dynamic_cast<TRichEdit*>(editor);
}

}  // namespace

void TWebForm::InstallIdleParts() {
  capsPanel_ = Indicator(this, "CapsPanel", "CAPS");
  numPanel_ = Indicator(this, "NumPanel", "NUM");
  ovrPanel_ = Indicator(this, "OvrPanel", " Ovr");
  for (QLabel* panel : {capsPanel_, numPanel_, ovrPanel_}) statusBar()->addPermanentWidget(panel);

  banner_ = new QLabel(
      QStringLiteral("No files.  Use File | Open, File | New, Web | Download entire site, or Set."),
      pc_);
  banner_->setObjectName("NoFiles");
  banner_->setTextFormat(Qt::PlainText);
  banner_->setAlignment(Qt::AlignCenter);
  QFont font = banner_->font();
  font.setPixelSize(20);
  font.setBold(true);
  banner_->setFont(font);
  QPalette palette = banner_->palette();
  palette.setColor(QPalette::WindowText, kPurple);
  banner_->setPalette(palette);
  banner_->hide();

  new TKeyHook(this);
}

void TWebForm::SetMessageColour(TMessageColour colour) {
  QLabel* bar = panels_[MessagePanel];
  if (colour == TMessageColour::Normal) {
    bar->setAutoFillBackground(false);
    bar->setPalette(QPalette());
    return;
  }
  QPalette palette = bar->palette();
  palette.setColor(QPalette::Window, colour == TMessageColour::Orange ? kOrange : Qt::red);
  palette.setColor(QPalette::WindowText, colour == TMessageColour::Orange ? Qt::black : Qt::white);
  bar->setPalette(palette);
  bar->setAutoFillBackground(true);
}

void TWebForm::SetKeyIndicators(bool capsLock, bool numLock, bool overwrite) {
  if (capsPanel_->isHidden() == capsLock) capsPanel_->setVisible(capsLock);
  if (numPanel_->isHidden() == numLock) numPanel_->setVisible(numLock);
  if (ovrPanel_->isHidden() == overwrite) ovrPanel_->setVisible(overwrite);
}

bool TWebForm::LockKeyState(bool& capsLock, bool& numLock) const {
  return QueryLockKeys(capsLock, numLock);
}

bool TWebForm::IsActiveForm() const {
  return isActiveWindow();
}

bool TWebForm::LeftButtonDown() const {
  return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

bool TWebForm::Terminating() const {
  return QCoreApplication::closingDown();
}

void TWebForm::FitTabStrip(bool showTabs) {
  QTabBar* strip = pc_->tabBar();
  auto unfold = [&] {
    strip->setMinimumHeight(0);
    strip->setMaximumHeight(QWIDGETSIZE_MAX);
    tabStripFolded_ = false;
  };
  if (showTabs || pc_->count() == 0) {
    if (tabStripFolded_) unfold();
    return;
  }
  // The tab strip has one row. The pointer's height is measured from the top of
  // the window's client area.
  const int rows = 1;
  const int y = centralWidget()->mapFromGlobal(QCursor::pos()).y();
  if (!tabStripFolded_ && y > 48 + 16 * rows) {
    strip->setFixedHeight(1);
    tabStripFolded_ = true;
  } else if (tabStripFolded_ && y <= 20 + 16 * rows) {
    unfold();
  }
}

void TWebForm::PlaceMarker(int digit, long position) {
  if (digit < 0 || digit >= static_cast<int>(markers_.size())) return;
  TMarker* marker = markers_[digit];
  TRichEdit* rich = RichOf(CurrentEditor);
  if (position < 0 || !rich || !rich->isVisible()) {
    if (!marker->isHidden()) marker->hide();
    return;
  }
  QTextCursor cursor(rich->document());
  cursor.setPosition(
      static_cast<int>(std::min<size_t>(static_cast<size_t>(position), rich->TextLength())));
  const QRect place = rich->cursorRect(cursor);
  const int fontHeight = rich->fontMetrics().height();
  QPoint at = rich->viewport()->mapTo(pc_, place.topLeft());
  at += QPoint(3, fontHeight * 3 / 2 - 16);
  if (marker->pos() != at) marker->move(at);
  if (marker->isHidden()) marker->show();
  marker->raise();
}

void TWebForm::ShowCaret(bool visible) {
  TRichEdit* rich = RichOf(CurrentEditor);
  if (!rich) return;
  const int width = visible ? kCaretWidth : 0;
  if (rich->cursorWidth() != width) rich->setCursorWidth(width);
}

void TWebForm::RedrawActiveTab() {
  // A tab's caption colour follows its document's modified state.
  pc_->tabBar()->update();
}

void TWebForm::SetNoBorder(bool noBorder) {
  if (windowFlags().testFlag(Qt::FramelessWindowHint) == noBorder) return;
  // Changing the frame hides a shown window: it comes back at once.
  const bool shown = isVisible();
  setWindowFlag(Qt::FramelessWindowHint, noBorder);
  if (shown) show();
}

void TWebForm::ShowNoDocument(bool show) {
  if (!show) {
    if (!banner_->isHidden()) banner_->hide();
    return;
  }
  const int height = banner_->sizeHint().height();
  const QRect place(0, pc_->height() / 2 - 30 - height / 2, pc_->width(), height);
  if (banner_->geometry() != place) banner_->setGeometry(place);
  if (banner_->isHidden()) banner_->show();
  banner_->raise();
}

void TWebForm::ShowEditor() {
  TRichEdit* rich = RichOf(CurrentEditor);
  if (!rich || !rich->isHidden() || pc_->currentWidget() != rich) return;
  rich->show();
  rich->setFocus(Qt::OtherFocusReason);
}

void TWebForm::Maximise() {
  showMaximized();
}

int TWebForm::ClientWidth() const {
  // A window just maximised may not have its new size yet: the screen tells it.
  QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!isMaximized() || !s) return width();
  const int frame = frameGeometry().width() - geometry().width();
  return s->availableGeometry().width() - frame;
}

void TWebForm::SetSplashText(const std::string& text) {
  if (splash_) splash_->VInfo->setText(AnsiToQString(text));
}

void TWebForm::CloseForm() {
  close();
}

void TWebForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RunGuarded(FormResize);
}

}  // namespace quorrel
