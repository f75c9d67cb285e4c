#include "ui/music/PlayerBarForm.h"

#include <QBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>

#include "music/PlayerBar.h"
#include "music/PlayerSections.h"
#include "shell/Commands.h"
#include "shell/ShellState.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/WebForm.h"

namespace quorrel {

namespace {

constexpr int kGaugeHeight = 12;

// A button that runs a command of the bar.
void Connect(QToolButton* button, const char* name, void (*handler)()) {
  QObject::connect(button, &QToolButton::clicked, button,
                   [name, handler] { RunCommand(name, handler); });
}

}  // namespace

TPlayerBar::TPlayerBar(QWidget* parent) : QWidget(parent) {
  setObjectName("PlayPnl");
  // Inset as the bar always was: 10 pixels from the left, 25 from the right.
  auto* inset = new QHBoxLayout(this);
  inset->setContentsMargins(10, 2, 25, 2);
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  inset->addWidget(panel);
  auto* rows = new QVBoxLayout(panel);
  rows->setContentsMargins(4, 4, 4, 4);
  rows->setSpacing(4);

  auto* top = new QHBoxLayout;
  top->setSpacing(4);
  gauge_ = new QFrame(panel);
  gauge_->setObjectName("MGauge");
  gauge_->setFrameShape(QFrame::Box);
  gauge_->setFixedHeight(kGaugeHeight);
  slider_ = new QFrame(gauge_);
  slider_->setObjectName("Slider");
  slider_->setAutoFillBackground(true);
  QPalette palette = slider_->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Highlight));
  slider_->setPalette(palette);
  slider_->setGeometry(0, 0, 0, kGaugeHeight);
  repLine_ = new QFrame(gauge_);
  repLine_->setObjectName("RepLine");
  repLine_->setFrameShape(QFrame::HLine);
  repLine_->hide();
  top->addWidget(gauge_, 1);
  QToolButton* closeP = AddButton(panel, "CloseP", "", "Close");
  closeP->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  top->addWidget(closeP);
  rows->addLayout(top);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(2);
  elapsed_ = new QLabel("0:00", panel);
  elapsed_->setObjectName("LEDElapsed");
  total_ = new QLabel("0:00", panel);
  total_->setObjectName("LEDTLen");
  bottom->addWidget(elapsed_);
  bottom->addWidget(new QLabel("/", panel));
  bottom->addWidget(total_);
  bottom->addSpacing(8);
  struct Item {
    const char* name;
    QStyle::StandardPixmap icon;
    const char* text;
    const char* hint;
  };
  const Item items[] = {
      {"PlayBtn", QStyle::SP_MediaPlay, "", "Play from start (or start of repeated section)"},
      {"PauseBtn", QStyle::SP_MediaPause, "", "Pause / Resume"},
      {"StopBtn", QStyle::SP_MediaStop, "", "Stop"},
      {"SecA", QStyle::SP_CustomBase, "A", "Start repeated section"},
      {"SecB", QStyle::SP_CustomBase, "B", "End repeated section"},
      {"SecE", QStyle::SP_CustomBase, "E", "Repeat to end of tune"},
      {"Sec0", QStyle::SP_CustomBase, "0", "Cancel repeated section"},
      {"SlowBtn", QStyle::SP_CustomBase, "\u00BD", "Play at half speed"},
      {"FastBtn", QStyle::SP_CustomBase, "1", "Back to normal speed"},
      {"ABCBtn", QStyle::SP_CustomBase, "ABC", "Convert from MIDI to ABC"},
  };
  for (const Item& item : items) {
    QToolButton* button = AddButton(panel, item.name, QString::fromUtf8(item.text), item.hint);
    if (item.icon != QStyle::SP_CustomBase) button->setIcon(style()->standardIcon(item.icon));
    bottom->addWidget(button);
  }
  bottom->addStretch(1);
  rows->addLayout(bottom);

  Connect(Button("PlayBtn"), "PlayBtn", PlayBtnClick);
  Connect(Button("PauseBtn"), "PauseBtn", PauseBtnClick);
  Connect(Button("StopBtn"), "StopBtn", StopBtnClick);
  Connect(closeP, "CloseP", ClosePClick);
  Connect(Button("SecA"), "SecA", SecAClick);
  Connect(Button("SecB"), "SecB", SecBClick);
  Connect(Button("SecE"), "SecE", SecEClick);
  Connect(Button("Sec0"), "Sec0", Sec0Click);
  Connect(Button("SlowBtn"), "SlowBtn", SlowBtnClick);
  Connect(Button("FastBtn"), "FastBtn", SlowBtnClick);
  // A click on the gauge, or on the slider over it, seeks.
  gauge_->installEventFilter(this);
  slider_->installEventFilter(this);
  repLine_->installEventFilter(this);

  PlayPnl().SetOnChange([this] { Refresh(); });
  Refresh();
}

TPlayerBar::~TPlayerBar() {
  PlayPnl().SetOnChange(nullptr);
}

QToolButton* TPlayerBar::AddButton(QWidget* panel, const char* name, const QString& text,
                                   const char* hint) {
  auto* button = new QToolButton(panel);
  button->setObjectName(name);
  button->setText(text);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  return button;
}

QToolButton* TPlayerBar::Button(const char* name) const {
  return findChild<QToolButton*>(name);
}

bool TPlayerBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() == Qt::LeftButton) {
      const int x = static_cast<QWidget*>(watched)->mapTo(gauge_, press->position().toPoint()).x();
      RunCommand("MGauge", [x] { MGaugeClick(x); });
      return true;
    }
  } else if (event->type() == QEvent::Resize && watched == gauge_) {
    PlayPnl().SetGaugeWidth(gauge_->width());
  }
  return QWidget::eventFilter(watched, event);
}

void TPlayerBar::Refresh() {
  const TPlayPnl& model = PlayPnl();
  slider_->setGeometry(0, 0, model.SliderWidth(), kGaugeHeight);
  repLine_->setGeometry(model.RepLineLeft(), kGaugeHeight / 2 - 1, model.RepLineWidth(), 3);
  repLine_->setVisible(model.RepLineVisible());
  elapsed_->setText(QString::fromStdString(model.Elapsed()));
  total_->setText(QString::fromStdString(model.TotalLength()));
  Button("SecB")->setVisible(model.SecBVisible());
  // "Repeat to end of tune" and "Cancel repeated section" go with "End repeated section".
  Button("SecE")->setVisible(model.SecBVisible());
  Button("Sec0")->setVisible(model.SecBVisible());
  Button("ABCBtn")->setVisible(model.ABCBtnVisible());
  Button("SlowBtn")->setVisible(model.SlowBtnVisible());
  Button("FastBtn")->setVisible(model.FastBtnVisible());
  if (model.Visible() && isHidden()) {
    Appear();
  } else {
    setVisible(model.Visible());
  }
}

void TPlayerBar::Appear() {
  // The bar takes its height from the editor: a caret line that showed at the foot
  // of the editor must not end up behind it.
  TRichEdit* editor = dynamic_cast<TRichEdit*>(CurrentEditor);
  const bool caretShown = editor && editor->isVisible() &&
                          editor->viewport()->rect().contains(editor->cursorRect().center());
  show();
  if (!caretShown) return;
  if (QLayout* layout = parentWidget() ? parentWidget()->layout() : nullptr) layout->activate();
  editor->ScrollCaret();
}

void TPlayerBar::MyMouseDown(int y) {
  dragOffset_ = y;
}

void TPlayerBar::MyMouseMove(int parentY) {
  QWidget* owner = parentWidget();
  if (!Dragging() || !owner) return;
  // Out of the window's column of widgets: the bar lies where the user puts it.
  if (QLayout* layout = owner->layout(); layout && layout->indexOf(this) >= 0) {
    layout->removeWidget(this);
    raise();
  }
  const int top = std::clamp(parentY - dragOffset_, 0, std::max(owner->height() - height(), 0));
  setGeometry(0, top, owner->width(), height());
}

void TPlayerBar::MyMouseUp() {
  dragOffset_ = -1;
}

void TPlayerBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  MyMouseDown(event->position().toPoint().y());
  event->accept();
}

void TPlayerBar::mouseMoveEvent(QMouseEvent* event) {
  if (!Dragging()) return QWidget::mouseMoveEvent(event);
  MyMouseMove(mapToParent(event->position().toPoint()).y());
  event->accept();
}

void TPlayerBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) MyMouseUp();
  QWidget::mouseReleaseEvent(event);
}

TPlayerBar* InstallPlayerBar(TWebForm* form) {
  QWidget* central = form->centralWidget();
  auto* bar = new TPlayerBar(central);
  if (auto* layout = qobject_cast<QBoxLayout*>(central->layout())) {
    layout->insertWidget(layout->indexOf(form->PC()) + 1, bar);
  }
  return bar;
}

}  // namespace quorrel
