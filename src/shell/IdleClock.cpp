#include "shell/IdleClock.h"

#include <chrono>

#include "platform/ResetRegistry.h"

namespace quorrel {

namespace {

std::function<int64_t()> testClock;

const TResetEntry resetIdleClock([] { testClock = nullptr; });

}  // namespace

int64_t IdleNow() {
  if (testClock) return testClock();
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SetIdleClockForTests(std::function<int64_t()> clock) {
  testClock = std::move(clock);
}

}  // namespace quorrel
