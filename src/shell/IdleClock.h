#pragma once
// The clock of the idle passes, which the status bar's blinking messages also
// keep time by. Tests drive it.
#include <cstdint>
#include <functional>

namespace quorrel {

// Milliseconds on the idle passes' clock.
int64_t IdleNow();
// Tests drive the clock (nullptr: the real one again).
void SetIdleClockForTests(std::function<int64_t()> clock);

}  // namespace quorrel
