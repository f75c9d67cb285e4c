// The main form's timer on a real Qt timer.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <stdexcept>

#include "shell/Commands.h"
#include "shell/Timer.h"
#include "support/ScriptedDialogs.h"

namespace quorrel::test {
namespace {

// Lets events run until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 2000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

TEST(TimerTest, StartsStoppedAtTheBlinkInterval) {
  EXPECT_FALSE(Timer().Enabled());
  EXPECT_EQ(Timer().Interval(), BlinkTimerInterval);
}

TEST(TimerTest, TicksOnlyWhileEnabled) {
  int ticks = 0;
  Timer().SetOnTimer([&] { ++ticks; });
  Timer().SetInterval(PlayerTimerInterval);
  EXPECT_FALSE(WaitFor([&] { return ticks > 0; }, 100)) << "a disabled timer never ticks";
  Timer().SetEnabled(true);
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(WaitFor([&] { return ticks >= 4; }, 60000));
  EXPECT_GE(clock.elapsed(), 3 * PlayerTimerInterval);
  Timer().SetEnabled(false);
  int stopped = ticks;
  EXPECT_FALSE(WaitFor([&] { return ticks > stopped; }, 100));
}

TEST(TimerTest, NewIntervalTakesEffectWhileRunning) {
  int ticks = 0;
  Timer().SetOnTimer([&] { ++ticks; });
  // An hour: a tick during the test can only come from the new interval, however
  // slow the machine.
  Timer().SetInterval(3600000);
  Timer().SetEnabled(true);
  Timer().SetInterval(PlayerTimerInterval);
  EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }, 60000));
}

TEST(TimerTest, ErrorInTheHandlerStaysInsideTheTick) {
  Timer().SetOnTimer([] { throw std::runtime_error("Tick failed"); });
  Timer().Tick();
  ASSERT_EQ(Dialogs().Texts().size(), 1u);
  EXPECT_NE(Dialogs().Texts()[0].find("Tick failed"), std::string::npos);
}

}  // namespace
}  // namespace quorrel::test
