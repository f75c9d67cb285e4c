#include "music/MyPlayer.h"

#include <QFile>
#include <QThread>
#include <algorithm>

#include "music/AbcWorkFiles.h"
#include "music/MidiFormState.h"
#include "music/PlayTunes.h"
#include "music/PlayerBar.h"
#include "music/ReportView.h"
#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Mci.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"

namespace quorrel {

TMyPlayer Player;

namespace {

std::function<void(uint32_t)> sleeper;

// "MID" from the second character of the extension: .MID and .MIDI documents.
bool IsMidiDocument() {
  return CurrentExt.size() >= 4 && CurrentExt.compare(1, 3, "MID") == 0;
}

// The .MIDI copy: the old work file goes first, so that a copy that fails leaves
// nothing behind to be played in its place.
std::string CopyToWorkFile(const std::string& path) {
  std::string copy = TempMidiFile();
  if (path == copy) return copy;
  DeleteWorkFile(copy);
  QFile::copy(AnsiToQString(path), AnsiToQString(copy));
  return copy;
}

void PausePlaying() {
  if (Player.IsOpen && !Player.IsPaused) Player.PauseResume();
}

}  // namespace

// The exit has closed the device through FreePlayer; this only makes sure that no
// device outlives the player, without touching a shell that may be gone.
TMyPlayer::~TMyPlayer() {
  if (DeviceId != 0) MciClose(DeviceId);
}

void TMyPlayer::OpenFile() {
  if (CurrentExt == ".MIDI") FileName = CopyToWorkFile(FileName);
  if (DeviceId != 0) CloseDevice();
  PlayPnl().SetABCBtnVisible(IsMidiDocument());
  uint16_t id = 0;
  LastError = MciOpen(FileName, id);
  if (LastError != MciErrNone) {
    ShowErrorAndAbort("Quorrel could not open file\r" + FileName + "\r" + GetErrorText());
  }
  IsOpen = true;
  DeviceId = id;
}

void TMyPlayer::CloseDevice() {
  if (DeviceId == 0) return;
  Timer().SetEnabled(false);
  LastError = MciClose(DeviceId);
  IsOpen = false;
  IsPaused = false;  // a closed device is not paused
  DeviceId = 0;
  ScheduleTimerRefresh();
  if (midiFormHelpSaved_) {
    if (MidiFormOpen) MidiFormHelpContext = midiFormHelp_;
    midiFormHelpSaved_ = false;
  }
}

void TMyPlayer::Play() {
  if (MidiFormOpen) {
    if (!midiFormHelpSaved_) midiFormHelp_ = MidiFormHelpContext;
    midiFormHelpSaved_ = true;
    MidiFormHelpContext = PlayingHelp;
  }
  if (!IsOpen) OpenFile();
  PlayLength = GetLength();
  // Preliminary seeks, so that the sequencer starts cleanly where it is asked to.
  if (PlayStart != 0) {
    SeekTo(PlayStart + 100);
    // A start beyond the end (a damaged setting) cannot be sought; it must not
    // hold the program for hours either.
    int64_t start = std::clamp<int64_t>(PlayStart, 0, PlayLength);
    PlayerSleep(static_cast<uint32_t>(start / 150));
    SeekTo(PlayStart);
  } else if (GetPosition() != 0) {
    SeekTo(0);
    PlayerSleep(100);
  }
  if (PlayEnd != 0) PlayPnl().SetSecBVisible(true);
  Timer().SetInterval(PlayerTimerInterval);
  Timer().SetEnabled(true);
  std::optional<uint32_t> from, to;
  if (UseFrom) from = FromPos;
  if (UseTo) to = ToPos;
  UseFrom = false;
  UseTo = false;
  IsPaused = false;
  GoRepeat();
  MciPlay(DeviceId, from, to);
}

void TMyPlayer::StopPlay() {
  if (!StopRequested) PlayPnl().SetVisible(false);
  if (!IsOpen) return;
  Timer().SetInterval(BlinkTimerInterval);
  PlayPnl().SetSliderWidth(0);
  MciStop(DeviceId);
  CloseDevice();
}

void TMyPlayer::PauseResume() {
  if (!IsOpen) OpenFile();
  if (GetMode() == PlayerPlaying) {
    Timer().SetInterval(BlinkTimerInterval);
    IsPaused = true;
    MciPause(DeviceId);
    return;
  }
  // A paused tune goes on where it stopped. The blink job switches the timer off
  // within half a second of a pause, so the timer cannot tell a paused tune from
  // one that never played.
  const bool paused = IsPaused || GetMode() == PlayerPaused;
  Timer().SetInterval(PlayerTimerInterval);
  IsPaused = false;
  if (paused) {
    Timer().SetEnabled(true);
    MciPlay(DeviceId);
  } else if (!Timer().Enabled()) {
    Play();
  } else {
    MciPlay(DeviceId);
  }
}

void TMyPlayer::SeekTo(int64_t milliseconds) {
  if (milliseconds < 0 || milliseconds > UINT32_MAX) return;
  MciSeek(DeviceId, static_cast<uint32_t>(milliseconds));
}

uint32_t TMyPlayer::GetPosition() const {
  uint32_t value = 0;
  MciStatus(DeviceId, MciStatusPosition, value);
  return value;
}

uint32_t TMyPlayer::GetLength() const {
  uint32_t value = 0;
  MciStatus(DeviceId, MciStatusLength, value);
  return value;
}

int TMyPlayer::GetMode() const {
  uint32_t value = 0;
  if (MciStatus(DeviceId, MciStatusMode, value) != MciErrNone) return PlayerNotReady;
  return static_cast<int>(value) - static_cast<int>(MciModeNotReady);
}

std::string TMyPlayer::GetErrorText() const {
  std::string text;
  if (!MciGetErrorText(LastError, text)) text = "Unknown error code";
  return text;
}

void CreatePlayer() {
  // A jump from the report viewer to a tune's line pauses the tune.
  SetReportJumpHooks(PausePlaying, ScheduleTimerRefresh);
  InstallPlayCommands();
}

void FreePlayer() {
  Player.CloseDevice();
}

void OpenInPlayer(const std::string& path) {
  Player.FileName = path;
  try {
    Player.OpenFile();
  } catch (const EAbort&) {
    // Nothing to control: the bar of an earlier file goes too.
    PlayPnl().SetVisible(false);
    throw;
  }
  SetPanel();
  Player.Play();
}

void PlayerSleep(uint32_t milliseconds) {
  if (sleeper) {
    sleeper(milliseconds);
  } else if (milliseconds > 0) {
    QThread::msleep(milliseconds);
  }
}

void SetPlayerSleepForTests(std::function<void(uint32_t)> newSleeper) {
  sleeper = std::move(newSleeper);
}

void ResetPlayer() {
  Player.CloseDevice();
  Player.UseFrom = false;
  Player.UseTo = false;
  Player.ToPos = 0;
  Player.FromPos = 0;
  Player.LastError = 0;
  Player.FileName.clear();
  sleeper = nullptr;
}

namespace {
const TResetEntry resetPlayer(ResetPlayer);
}  // namespace

}  // namespace quorrel
