#include "shell/BlinkJob.h"

#include <algorithm>
#include <string>

#include "platform/ResetRegistry.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"

namespace quorrel {

long BlinkStart = -1;
size_t BlinkLength = 0;
bool BlinkExact = false;
int TimerJob = 0;
bool BlinkHold = false;

namespace {

bool findInFiles = false;

void EndJob() {
  Timer().SetEnabled(false);
  TimerJob = 0;
  BlinkStart = -1;
  BlinkExact = false;
  BlinkHold = false;
}

// A few characters round the caret, within its line where the line allows: a
// budget of five steps, at most three of them backwards first.
void SelectAround(TMyRich& editor, size_t caret) {
  const size_t total = editor.TextLength();
  const size_t from = caret > 8 ? caret - 8 : 0;
  // One character per line end: CR LF of the read-out becomes "\n".
  std::string text = editor.TextRange(from, std::min<size_t>(total - std::min(total, from), 17));
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  auto at = [&](size_t pos) {
    return pos >= from && pos - from < text.size() ? text[pos - from] : '\0';
  };
  int budget = 5;
  size_t start = caret;
  for (int back = 0; back < 3 && budget > 0 && start > 1 && at(start - 1) != '\n'; ++back) {
    --start;
    --budget;
  }
  size_t end = caret + 1;
  while (budget > 0 && end < total && at(end) != '\n') {
    ++end;
    --budget;
  }
  while (budget > 0 && start > 1 && at(start - 1) != '\n') {
    --start;
    --budget;
  }
  editor.Select(start, std::max<size_t>(end - start - 1, 5));
}

}  // namespace

void StartBlink(size_t position, size_t length, bool exact, int halfPeriods) {
  BlinkStart = static_cast<long>(position);
  BlinkLength = length;
  BlinkExact = exact;
  BlinkHold = false;
  TimerJob = halfPeriods;
  Timer().SetEnabled(true);
}

bool Blinking() {
  return TimerJob > 0 && !BlinkHold && Timer().Enabled() &&
         Timer().Interval() == BlinkTimerInterval;
}

void BlinkJob() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if ((TimerJob <= 0 || BlinkHold) && CurrentExt != ".MP3") {
    EndJob();
    return;
  }
  if (BlinkStart >= 0) editor->Select(static_cast<size_t>(BlinkStart), 0);
  --TimerJob;
  if (TimerJob % 2 == 1) {
    const size_t caret = editor->SelStart();
    if (BlinkExact) {
      editor->Select(caret, BlinkLength);
    } else {
      SelectAround(*editor, caret);
    }
  }
}

void StopBlink(bool toEnd) {
  if (TMyRich* editor = CurrentEditor) {
    const size_t start = BlinkStart >= 0 ? static_cast<size_t>(BlinkStart) : editor->SelStart();
    size_t end = start;
    if (BlinkExact) {
      end = start + BlinkLength;
    } else if (editor->SelLength() > 0) {
      end = editor->SelStart() + editor->SelLength();
    }
    editor->Select(toEnd ? end : start, 0);
  }
  EndJob();
}

void ScheduleTimerRefresh() {
  if (!CurrentEditor || CurrentEditor->SelLength() > 0 || findInFiles) return;
  StartBlink(CurrentEditor->SelStart(), 0, false, CaretRefreshJob);
}

void ResetBlinkJob() {
  BlinkStart = -1;
  BlinkLength = 0;
  BlinkExact = false;
  TimerJob = 0;
  BlinkHold = false;
  findInFiles = false;
}

TFindInFilesRun::TFindInFilesRun() : outer_(findInFiles) {
  findInFiles = true;
}

TFindInFilesRun::~TFindInFilesRun() {
  findInFiles = outer_;
}

bool FindInFilesRunning() {
  return findInFiles;
}

namespace {
const TResetEntry resetBlinkJob(ResetBlinkJob);
}  // namespace

}  // namespace quorrel
