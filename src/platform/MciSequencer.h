#pragma once
// The MIDI sequencer device: plays one standard MIDI file on the shared synthesizer,
// sending each event at its exact sample frame, so that position, seeks, pauses and
// the end of play land on the millisecond the tempo map gives.
#include <vector>

#include "platform/Mci.h"
#include "platform/MciSynth.h"
#include "platform/MidiFile.h"

namespace quorrel {

class MciSequencer : public MciDevice, private MciRenderClient {
 public:
  MciSequencer() = default;
  MciSequencer(const MciSequencer&) = delete;
  MciSequencer& operator=(const MciSequencer&) = delete;
  ~MciSequencer() override;

  uint32_t Open(const std::string& fileName) override;
  uint32_t Play(std::optional<uint32_t> from, std::optional<uint32_t> to) override;
  uint32_t Pause() override;
  uint32_t Resume() override;
  uint32_t Stop() override;
  uint32_t Seek(uint32_t ms) override;
  uint32_t Length() const override { return lengthMs_; }
  uint32_t Position() const override;
  uint32_t Mode() const override;

 private:
  enum class State { Stopped, Playing, Paused };

  int64_t Prepare(FluidSynth* synth, int64_t frames, bool send) override;
  void Advance(FluidSynth* synth, int64_t frames, bool send) override;
  // The rest run with the synthesizer's mutex held.
  void MoveTo(int64_t frame);
  void Dispatch(FluidSynth* synth, const MidiEvent& event);
  void Chase(FluidSynth* synth);
  void Silence(FluidSynth* synth);
  void Finish(FluidSynth* synth, bool send);

  bool open_ = false;
  MidiFile file_;
  std::vector<int64_t> eventFrames_;  // of file_.Events(), in order
  uint32_t lengthMs_ = 0;
  int64_t lengthFrames_ = 0;
  uint16_t channelsUsed_ = 0;  // a bit per channel the file sends to

  // Shared with the render thread.
  State state_ = State::Stopped;
  int64_t position_ = 0;  // frames
  size_t next_ = 0;       // the first event not yet sent
  int64_t endFrame_ = 0;  // where this play stops
  bool chase_ = true;     // the channels must be set as the file has them at position_
  MidiSoundingNotes sounding_;
};

}  // namespace quorrel
