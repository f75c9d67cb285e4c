#pragma once
// The one software synthesizer behind the MIDI player and MIDI output: FluidSynth with
// the General MIDI sound font. Whoever needs it acquires it; the last release frees it.
//
// All sound comes from one render function that moves time on in sample frames, so a
// player's position is exact: the sound server's callback drives it when there is a
// sound server or device, a silent clock thread when there is none, and tests drive it
// themselves. Acquire, Release and the players' commands belong to the main thread;
// only rendering runs elsewhere, and the mutex keeps the two apart.
#include <array>
#include <bitset>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct _fluid_synth_t;

namespace quorrel {

using FluidSynth = ::_fluid_synth_t;

constexpr int kMciSampleRate = 48000;
constexpr int kMciFramesPerMs = kMciSampleRate / 1000;  // so that every millisecond is a frame

// The notes a player has sounding, so that it can end its own notes and no others.
constexpr int kMidiChannels = 16;
constexpr int kMidiKeys = 128;
using MidiSoundingNotes = std::array<std::bitset<kMidiKeys>, kMidiChannels>;

enum class MciClock {
  Audio,   // the sound server, else ALSA; silent wall-clock timing when neither answers
  Silent,  // wall-clock timing, no sound
  Manual,  // time moves only when MciRenderForTest or MciAdvanceForTest is called
};

// Something that plays in sample time. Each slice of audio is rendered in three steps:
// every client's Prepare sends what is due and may shorten the slice to end at its
// next event; the slice is synthesized; every client's Advance moves on by it.
// Both run with the synthesizer's mutex held. With send false nothing reaches the
// synthesizer (timing only).
class MciRenderClient {
 public:
  virtual ~MciRenderClient() = default;
  virtual int64_t Prepare(FluidSynth* synth, int64_t frames, bool send) = 0;
  virtual void Advance(FluidSynth* synth, int64_t frames, bool send) = 0;
};

class MciSynth {
 public:
  static MciSynth& Instance();

  // Starts the synthesizer and its output on the first acquire. False when it cannot
  // start (the sound font is missing or unreadable); nothing is held then.
  bool Acquire();
  void Release();
  int Holders() const { return holders_; }
  // "pulseaudio", "alsa", "silent" or "manual" while running; "" otherwise.
  std::string OutputName() const { return outputName_; }

  // Guards the clients' playing state against the render thread.
  std::mutex& Mutex() { return mutex_; }
  // Both with the mutex held.
  void AddClient(MciRenderClient* client);
  void RemoveClient(MciRenderClient* client);
  FluidSynth* Synth() const { return synth_; }

  // Renders frames into the two channel buffers (either may be null when synthesize is
  // false) and moves every client on by as many frames.
  void Render(float* left, float* right, int64_t frames, bool synthesize);

 private:
  MciSynth() = default;
  bool Start();
  void Stop();
  void StartClockThread();
  void StopClockThread();
  void ClockThread();

  struct Impl;
  Impl* impl_ = nullptr;
  FluidSynth* synth_ = nullptr;
  int holders_ = 0;
  std::string outputName_;
  std::mutex mutex_;
  std::vector<MciRenderClient*> clients_;
};

// Sends one channel message (status 0x80 to 0xEF with its data bytes) to the synthesizer.
void SendMidiMessage(FluidSynth* synth, uint8_t status, uint8_t data1, uint8_t data2);

// How the next start of the synthesizer keeps time (Audio unless set).
void SetMciClock(MciClock clock);
MciClock GetMciClock();

// The General MIDI sound font, read at the next start of the synthesizer.
extern const char* const kDefaultSoundFont;  // "/usr/share/sounds/sf2/FluidR3_GM.sf2"
void SetMciSoundFont(const std::string& path);
std::string MciSoundFont();

// Tests, on the manual clock: render ms milliseconds as the sound card would get them
// (interleaved left and right samples), or only move time on without synthesizing.
std::vector<float> MciRenderForTest(uint32_t ms);
void MciAdvanceForTest(uint32_t ms);

}  // namespace quorrel
