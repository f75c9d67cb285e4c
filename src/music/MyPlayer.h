#pragma once
// The MIDI player control: plays one file on the media device its extension names
// (MIDI files on our sequencer, MP3 files on the back end the ui registers) and
// reports length, position and mode in milliseconds. It switches the main form's
// timer between the player's 25 ms and the blink job's 500 ms, and keeps the
// player bar's buttons in step. Main thread only.
#include <cstdint>
#include <functional>
#include <string>

namespace quorrel {

// Player modes: the media device's mode minus 524.
constexpr int PlayerNotReady = 0;
constexpr int PlayerStopped = 1;
constexpr int PlayerPlaying = 2;
constexpr int PlayerRecording = 3;
constexpr int PlayerSeeking = 4;
constexpr int PlayerPaused = 5;
constexpr int PlayerOpen = 6;

// The help topic of playing tunes, which the MIDI directive editor shows while
// the player plays.
constexpr int PlayingHelp = 55400;

class TMyPlayer {
 public:
  TMyPlayer() = default;
  TMyPlayer(const TMyPlayer&) = delete;
  TMyPlayer& operator=(const TMyPlayer&) = delete;
  ~TMyPlayer();

  // Opens FileName (a .MIDI document through its copy in the work folder); a file
  // that cannot be opened ends the command with a message.
  void OpenFile();
  // Closes the device; the timer stops until the caret refresh is scheduled.
  void CloseDevice();
  // Plays from the start, or from PlayStart, with the timer on its 25 ms.
  void Play();
  // Stops and closes; the bar hides unless StopRequested.
  void StopPlay();
  // Pauses while playing; otherwise goes on playing.
  void PauseResume();
  // Moves to a position; a negative one is ignored.
  void SeekTo(int64_t milliseconds);
  uint32_t GetPosition() const;
  uint32_t GetLength() const;
  int GetMode() const;  // PlayerNotReady when no device is open
  std::string GetErrorText() const;

  // A start or end position for the next play, each used once.
  bool UseFrom = false;
  bool UseTo = false;
  uint16_t DeviceId = 0;
  uint32_t ToPos = 0;
  uint32_t FromPos = 0;
  uint32_t LastError = 0;  // of the last open or close
  std::string FileName;
  bool IsOpen = false;
  bool IsPaused = false;

 private:
  bool midiFormHelpSaved_ = false;
  int midiFormHelp_ = 0;
};

// The one player. Start-up connects it to the rest of the program; the exit
// closes its device.
extern TMyPlayer Player;
void CreatePlayer();
void FreePlayer();

// Plays a .MID, .MIDI or .MP3 document: the bar shows and playing begins.
void OpenInPlayer(const std::string& path);

// The player's short waits between seeks. They block, so that nothing else
// happens in between.
void PlayerSleep(uint32_t milliseconds);
// Tests: receive the waits in place of sleeping (nullptr sleeps again).
void SetPlayerSleepForTests(std::function<void(uint32_t milliseconds)> sleeper);

// Closes the player's device, clears its fields and forgets the test hooks.
void ResetPlayer();

}  // namespace quorrel
