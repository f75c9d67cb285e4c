#pragma once
// Media devices opened by file name, shaped like the media control interface the
// player was written against: a device id per open file, commands that answer an
// error code (0 for success), times in milliseconds, and modes as numbers. MIDI files
// play on our sequencer; other back ends (MP3) register for their extensions.
// Call everything from the main thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quorrel {

// Error codes; MciGetErrorText gives their texts.
constexpr uint32_t MciErrNone = 0;
constexpr uint32_t MciErrInvalidDeviceId = 257;
constexpr uint32_t MciErrFileNotFound = 258;
constexpr uint32_t MciErrFileRead = 259;
constexpr uint32_t MciErrNotMidiFile = 260;
constexpr uint32_t MciErrTruncatedFile = 261;
constexpr uint32_t MciErrDamagedFile = 262;
constexpr uint32_t MciErrUnsupportedFile = 263;
constexpr uint32_t MciErrExtensionNotFound = 264;
constexpr uint32_t MciErrOutOfRange = 265;
constexpr uint32_t MciErrNoSynthesizer = 266;
constexpr uint32_t MciErrUnknownItem = 267;
constexpr uint32_t MciErrBadSoundFile = 268;  // a back end could not decode the file
constexpr uint32_t MciErrNoSoundModule = 269;  // the back end for the file's type is missing

// Modes as the status command reports them.
constexpr uint32_t MciModeNotReady = 524;
constexpr uint32_t MciModeStop = 525;
constexpr uint32_t MciModePlay = 526;
constexpr uint32_t MciModeRecord = 527;
constexpr uint32_t MciModeSeek = 528;
constexpr uint32_t MciModePause = 529;
constexpr uint32_t MciModeOpen = 530;

enum MciStatusItem : uint32_t {
  MciStatusLength = 1,    // milliseconds
  MciStatusPosition = 2,  // milliseconds
  MciStatusMode = 4,
};

// One open file on one back end. Opening happens once, before any other command;
// destruction closes. Times are milliseconds from the start of the file.
class MciDevice {
 public:
  virtual ~MciDevice() = default;
  virtual uint32_t Open(const std::string& fileName) = 0;
  // Plays from the current position, or from `from`, to the end or to `to`, and then
  // stops there. Both must lie within the file, `to` not before the start.
  virtual uint32_t Play(std::optional<uint32_t> from, std::optional<uint32_t> to) = 0;
  virtual uint32_t Pause() = 0;   // only while playing; keeps the position
  virtual uint32_t Resume() = 0;  // only while paused
  virtual uint32_t Stop() = 0;    // keeps the position
  // Moves to a position within the file. Playing stops; a paused device stays paused.
  virtual uint32_t Seek(uint32_t ms) = 0;
  virtual uint32_t Length() const = 0;
  virtual uint32_t Position() const = 0;
  virtual uint32_t Mode() const = 0;  // MciModeStop, MciModePlay or MciModePause
};

// Opens a file on the device its extension names (".mid" and ".midi" play on the MIDI
// sequencer), stopped at position 0. On failure deviceId is 0. The name is a program
// path in Windows-1252, like every other path.
uint32_t MciOpen(const std::string& elementName, uint16_t& deviceId);
uint32_t MciClose(uint16_t deviceId);
uint32_t MciPlay(uint16_t deviceId, std::optional<uint32_t> fromMs = std::nullopt,
                 std::optional<uint32_t> toMs = std::nullopt);
uint32_t MciPause(uint16_t deviceId);
uint32_t MciResume(uint16_t deviceId);
uint32_t MciStop(uint16_t deviceId);
uint32_t MciSeek(uint16_t deviceId, uint32_t ms);
// Sets value (0 on failure).
uint32_t MciStatus(uint16_t deviceId, MciStatusItem item, uint32_t& value);
// The text of an error code; false (and "") for a code we do not know.
bool MciGetErrorText(uint32_t error, std::string& text);
// Closes every open device.
void MciCloseAll();

// Back ends for other kinds of file, by extension (".mp3"; case does not matter).
using MciDeviceFactory = std::function<std::unique_ptr<MciDevice>()>;
void RegisterMciDevice(const std::string& extension, MciDeviceFactory factory);

// Tests: closes every device and MIDI output, sets the default sound font and puts the
// synthesizer on the manual clock, so that nothing plays until a test renders.
void ResetMciForTests();

}  // namespace quorrel
