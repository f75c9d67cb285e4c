#include "shell/Timer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include "platform/ResetRegistry.h"
#include "shell/Commands.h"

namespace quorrel {

namespace {

// The Qt timer lives as long as the application object that owns it; a later
// application (tests make one per binary) gets a new one.
QPointer<QTimer> qtTimer;

QTimer* QtTimer() {
  if (!qtTimer && QCoreApplication::instance()) {
    qtTimer = new QTimer(QCoreApplication::instance());
    QObject::connect(qtTimer, &QTimer::timeout, [] { Timer().Tick(); });
  }
  return qtTimer;
}

}  // namespace

TTimer& Timer() {
  static TTimer timer;
  return timer;
}

void TTimer::SetInterval(int milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  interval_ = milliseconds;
  Apply();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Apply();
}

void TTimer::SetOnTimer(std::function<void()> handler) {
  onTimer_ = std::move(handler);
}

void TTimer::Tick() {
  if (onTimer_) RunGuarded(onTimer_);
}

void TTimer::Apply() {
  QTimer* timer = QtTimer();
  if (!timer) return;
  if (enabled_ && interval_ > 0) {
    timer->start(interval_);
  } else {
    timer->stop();
  }
}

void ResetTimer() {
  TTimer& timer = Timer();
  timer.SetOnTimer(nullptr);
  timer.SetEnabled(false);
  timer.SetInterval(BlinkTimerInterval);
}

namespace {
const TResetEntry resetTimer(ResetTimer);
}  // namespace

}  // namespace quorrel
