#include "music/PlayerJob.h"

#include <cstdint>

#include "music/MyPlayer.h"
#include "music/PlayerBar.h"
#include "music/PlayerSections.h"
#include "platform/Mci.h"
#include "shell/BlinkJob.h"
#include "shell/FileRoutines.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"

namespace quorrel {

void PlayerJob() {
  int64_t position = Player.GetPosition();
  const int64_t length = Player.GetLength();
  if (PlayEnd != 0 && position >= PlayEnd && position <= length && !GaugeSeeked) {
    // The end of the repeated section: round again from its start.
    Player.SeekTo(PlayStart);
    MciPlay(Player.DeviceId);
    return;
  }
  if (length < position) {
    Player.StopPlay();
    position = 0;
  }
  TPlayPnl& bar = PlayPnl();
  bar.SetTimes(FormatMinSec(position), FormatMinSec(PlayLength));
  bar.SetSliderWidth(PlayLength > 0 ? static_cast<int>(position * bar.GaugeWidth() / PlayLength)
                                    : 0);
}

void OnTimer() {
  const bool midiDocument = CurrentExt.starts_with(".MID") || CurrentExt == ".MP3";
  if (!CurrentEditor && !midiDocument) return;
  if (Timer().Interval() < BlinkTimerInterval) {
    PlayerJob();
  } else {
    BlinkJob();
  }
}

}  // namespace quorrel
