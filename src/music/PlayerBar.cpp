#include "music/PlayerBar.h"

#include "music/AbcOptions.h"
#include "music/MyPlayer.h"
#include "platform/ResetRegistry.h"
#include "shell/Closing.h"
#include "shell/ShellState.h"

namespace quorrel {

int64_t PlayLength = 0;
bool StopRequested = false;

TPlayPnl& PlayPnl() {
  static TPlayPnl bar;
  return bar;
}

void TPlayPnl::SetVisible(bool visible) {
  visible_ = visible;
  Changed();
}

void TPlayPnl::SetSliderWidth(int width) {
  sliderWidth_ = width < 0 ? 0 : width;
  Changed();
}

void TPlayPnl::SetSecBVisible(bool visible) {
  secB_ = visible;
  Changed();
}

void TPlayPnl::SetABCBtnVisible(bool visible) {
  abcBtn_ = visible;
  Changed();
}

void TPlayPnl::SetSlowBtnVisible(bool visible) {
  slowBtn_ = visible;
  Changed();
}

void TPlayPnl::SetFastBtnVisible(bool visible) {
  fastBtn_ = visible;
  Changed();
}

void TPlayPnl::SetGaugeWidth(int width) {
  gaugeWidth_ = width < 0 ? 0 : width;
  Changed();
}

void TPlayPnl::SetRepLine(bool visible, int left, int width) {
  repLine_ = visible;
  repLeft_ = left;
  repWidth_ = width < 0 ? 0 : width;
  Changed();
}

void TPlayPnl::SetTimes(const std::string& elapsed, const std::string& total) {
  if (elapsed == elapsed_ && total == total_) return;
  elapsed_ = elapsed;
  total_ = total;
  Changed();
}

void TPlayPnl::Changed() {
  if (onChange_) onChange_();
}

void TPlayPnl::Reset() {
  visible_ = false;
  sliderWidth_ = 0;
  secB_ = false;
  abcBtn_ = false;
  slowBtn_ = true;
  fastBtn_ = true;
  repLine_ = false;
  repLeft_ = 0;
  repWidth_ = 0;
  elapsed_ = "0:00";
  total_ = "0:00";
  Changed();
}

void SetPanel() {
  TPlayPnl& bar = PlayPnl();
  bar.SetSlowBtnVisible(IsAbc && !AbcOption("Slow"));
  bar.SetFastBtnVisible(IsAbc);
  bar.SetVisible(true);
}

void PlayBtnClick() {
  Player.Play();
}

void PauseBtnClick() {
  if (Player.GetMode() == PlayerPaused) {
    // Restart the sequencer cleanly from the paused position.
    uint32_t position = Player.GetPosition();
    Player.SeekTo(int64_t(position) + 100);
    PlayerSleep(static_cast<uint32_t>(PlayLength > 0 ? PlayLength / 600 : 0));
    Player.SeekTo(position);
  }
  Player.PauseResume();
}

void StopBtnClick() {
  StopRequested = true;
  try {
    Player.StopPlay();
  } catch (...) {
    StopRequested = false;
    throw;
  }
  StopRequested = false;
}

void ClosePClick() {
  Player.StopPlay();
  if (CurrentExt == ".MP3") CloseClick("CloseP");
}

void ResetPlayerBar() {
  PlayPnl().SetOnChange(nullptr);
  PlayPnl().Reset();
  PlayLength = 0;
  StopRequested = false;
}

namespace {
const TResetEntry resetPlayerBar(ResetPlayerBar);
}  // namespace

}  // namespace quorrel
