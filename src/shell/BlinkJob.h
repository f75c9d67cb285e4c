#pragma once
// The blink job of the main form's timer: every 500 ms the caret's place (or a
// range a command found) is selected and deselected in turn, so that the eye finds
// it, until the job's half-periods are used up or a key or the mouse stops it.
// Positions are the current editor's. Main thread only.
#include <cstddef>

namespace quorrel {

// Where the blinking is (-1: at the caret as it stands), how long an exact range
// is, whether the range is exact (else a few characters round the place), and the
// half-periods left.
extern long BlinkStart;
extern size_t BlinkLength;
extern bool BlinkExact;
extern int TimerJob;
// Set by a mouse press or wheel turn in the editor: the job ends at its next tick.
extern bool BlinkHold;

// Half-periods of the caret refresh (four blinks).
constexpr int CaretRefreshJob = 8;

// Starts blinking at an editor position: the range of length when exact, else a
// few characters round it.
void StartBlink(size_t position, size_t length, bool exact, int halfPeriods);

// Whether a blink job is going on (and not held).
bool Blinking();

// One tick of the job (the main form's timer at 500 ms).
void BlinkJob();

// Stops the job at once, leaving the caret where a key puts it: at the end of the
// blinking range (toEnd) or at its start, with nothing selected.
void StopBlink(bool toEnd);

// Back to no job.
void ResetBlinkJob();

// A find-in-files run, for its length: each file it opens would otherwise start a
// caret refresh that blinks over the next file's search. Left however the run ends.
class TFindInFilesRun {
 public:
  TFindInFilesRun();
  ~TFindInFilesRun();
  TFindInFilesRun(const TFindInFilesRun&) = delete;
  TFindInFilesRun& operator=(const TFindInFilesRun&) = delete;

 private:
  bool outer_;
};
bool FindInFilesRunning();

}  // namespace quorrel
