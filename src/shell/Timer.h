#pragma once
// The main form's timer. One timer serves two jobs: while the MIDI player plays it
// ticks every 25 ms for the player's progress; otherwise every 500 ms for the
// caret's blink. Whoever owns a job sets the interval and switches it on or off;
// the form's tick handler decides which job runs. Main thread only.
#include <functional>

namespace quorrel {

constexpr int PlayerTimerInterval = 25;
constexpr int BlinkTimerInterval = 500;

class TTimer {
 public:
  int Interval() const { return interval_; }
  // A running timer starts its new period at once.
  void SetInterval(int milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // The tick handler (the main form's OnTimer); it runs guarded, so nothing it
  // throws leaves the event loop.
  void SetOnTimer(std::function<void()> handler);
  // Runs the handler once, as a tick does.
  void Tick();

 private:
  void Apply();
  int interval_ = BlinkTimerInterval;
  bool enabled_ = false;
  std::function<void()> onTimer_;
};

TTimer& Timer();

// Back to a stopped 500 ms timer without a handler.
void ResetTimer();

}  // namespace quorrel
