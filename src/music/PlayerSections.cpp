#include "music/PlayerSections.h"

#include <algorithm>
#include <string>

#include "music/AbcOptions.h"
#include "music/MyPlayer.h"
#include "music/PlayTunes.h"
#include "music/PlayerBar.h"
#include "platform/IniFile.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"

namespace quorrel {

bool GaugeSeeked = false;

namespace {

// Beyond this length (33 minutes) the permille times the length could overflow
// the rounding; a coarser product is taken.
constexpr int64_t kLongTune = 2000000;

void WriteSection() {
  if (!SettingsIni) return;
  SettingsIni->WriteString("System", "MStart", std::to_string(PlayStart));
  SettingsIni->WriteString("System", "MEnd", std::to_string(PlayEnd));
}

bool PlayerRunning() {
  return Timer().Interval() != BlinkTimerInterval;
}

}  // namespace

void GoRepeat() {
  TPlayPnl& bar = PlayPnl();
  if (PlayLength == 0) {
    Player.StopPlay();
    ShowMsg("Tune has no notes!");
    return;
  }
  try {
    if (PlayEnd > PlayLength) PlayEnd = PlayLength;
    if (PlayStart > PlayLength) PlayStart = 0;
    WriteSection();
    GaugeSeeked = false;
    const int64_t width = bar.GaugeWidth();
    const int64_t left = PlayStart * width / PlayLength;
    const int64_t length = (PlayEnd - PlayStart) * width / PlayLength;
    bar.SetRepLine(bar.SecBVisible(), static_cast<int>(left), static_cast<int>(length));
  } catch (const std::exception&) {
    PlayStart = 0;
    bar.SetRepLine(false, 0, 0);
  }
}

void SecAClick() {
  const int64_t position = Player.GetPosition();
  PlayStart = position;
  if (position == int64_t(Player.GetLength()) || !PlayerRunning()) {
    PlayStart = 0;
    Player.Play();
  }
  if (PlayStart >= PlayEnd) PlayEnd = Player.GetLength();
  PlayPnl().SetSecBVisible(true);
  GoRepeat();
}

void SecBClick() {
  PlayEnd = Player.GetPosition();
  GoRepeat();
}

void SecEClick() {
  PlayEnd = Player.GetLength();
  GoRepeat();
}

void Sec0Click() {
  PlayStart = 0;
  PlayEnd = 0;
  PlayPnl().SetSecBVisible(false);
  GoRepeat();
}

int64_t GaugeTarget(int x, int gaugeWidth, int64_t length) {
  if (gaugeWidth <= 0) return 0;
  const int64_t permille = (int64_t(x) * 1000 + 500) / gaugeWidth;
  const int64_t target =
      length > kLongTune ? permille * (length / 1000) : (permille * length + 500) / 1000;
  // The rounding of a click at the right edge must not point past the end.
  return std::clamp<int64_t>(target, 0, length);
}

void MGaugeClick(int x) {
  if (!Player.IsOpen) return;
  TPlayPnl& bar = PlayPnl();
  GaugeSeeked = true;
  const int oldSliderEnd = bar.SliderWidth();
  bar.SetSliderWidth(x);
  if (Player.GetMode() == PlayerPlaying) Player.PauseResume();
  const int64_t target = GaugeTarget(x, bar.GaugeWidth(), PlayLength);
  if (x > oldSliderEnd) {
    // A jump forward: the sequencer catches up with the notes it skips.
    Player.SeekTo(target + 100);
    BeginBusy();
    PlayerSleep(static_cast<uint32_t>(target / 250));
    StdCursor();
  }
  Player.SeekTo(target);
  Player.PauseResume();
}

void SlowClick() {
  TPlayPnl& bar = PlayPnl();
  if (AbcOption("Slow")) {
    PlayStart *= 2;
    PlayEnd *= 2;
    bar.SetSlowBtnVisible(false);
  } else {
    PlayStart /= 2;
    PlayEnd /= 2;
    bar.SetSlowBtnVisible(true);
  }
  WriteSection();
  if (!CurrentEditor) return;
  StopBtnClick();  // the bar stays for the play at the new speed
  PlayClick("Play");
}

void SlowBtnClick() {
  SetAbcOption("Slow", !AbcOption("Slow"));
  SlowClick();
}

void ResetPlayerSections() {
  GaugeSeeked = false;
}

namespace {
const TResetEntry resetPlayerSections(ResetPlayerSections);
}  // namespace

}  // namespace quorrel
