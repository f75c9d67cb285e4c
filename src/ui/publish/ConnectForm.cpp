#include "ui/publish/ConnectForm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "publish/FtpErrors.h"

namespace quorrel {

namespace {

constexpr int kTimerMs = 10;

// Kept for the whole run, like the program's other forms; never freed, since the
// application object goes first.
TConnect*& Form() {
  static TConnect* form = nullptr;
  return form;
}

// Finds the window when it exists, so that a wait can be installed before any
// widget is made.
class TConnectFormWait : public TConnectWait {
 public:
  bool ShowModal(const std::function<void()>& start) override {
    if (!Form()) Form() = new TConnect;
    return Form()->ShowModal(start);
  }
  void Finish() override {
    if (Form()) Form()->Finish();
  }
};

}  // namespace

TConnect::TConnect(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("Connect");
  setModal(true);

  InfoLab = new QLabel("Connecting...", this);
  InfoLab->setObjectName("InfoLab");
  InfoLab->setAlignment(Qt::AlignCenter);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(CancelBtn);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(InfoLab);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(200, 80)));

  Timer = new QTimer(this);
  Timer->setObjectName("Timer");
  Timer->setSingleShot(true);
  Timer->setInterval(kTimerMs);
  connect(Timer, &QTimer::timeout, this, &TConnect::TimerTick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TConnect::ShowModal(const std::function<void()>& start) {
  start_ = start;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  const int result = exec();
  Timer->stop();
  start_ = nullptr;
  return result == QDialog::Accepted;
}

void TConnect::Finish() {
  if (isVisible()) accept();
}

void TConnect::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Timer->start();
}

void TConnect::TimerTick() {
  if (start_) start_();
}

TConnect* ConnectForm() {
  return Form();
}

void InstallConnectForm() {
  static TConnectFormWait wait;
  SetConnectWait(&wait);
  SetErrorClipboard([](const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
      clipboard->setText(AnsiToQString(text));
    }
  });
}

}  // namespace quorrel
