#include "platform/MciSequencer.h"

#include <fluidsynth.h>

#include <algorithm>

namespace quorrel {

namespace {

uint32_t OpenError(MidiLoadResult result) {
  switch (result) {
    case MidiLoadResult::Ok:
      return MciErrNone;
    case MidiLoadResult::NotFound:
      return MciErrFileNotFound;
    case MidiLoadResult::Unreadable:
      return MciErrFileRead;
    case MidiLoadResult::NotMidi:
      return MciErrNotMidiFile;
    case MidiLoadResult::Truncated:
      return MciErrTruncatedFile;
    case MidiLoadResult::Damaged:
      return MciErrDamagedFile;
    case MidiLoadResult::Unsupported:
      return MciErrUnsupportedFile;
  }
  return MciErrDamagedFile;
}

bool IsNote(uint8_t status) {
  uint8_t kind = status & 0xF0;
  return kind == 0x80 || kind == 0x90 || kind == 0xA0;
}

}  // namespace

MciSequencer::~MciSequencer() {
  if (!open_) return;
  MciSynth& synth = MciSynth::Instance();
  {
    std::lock_guard<std::mutex> lock(synth.Mutex());
    if (state_ != State::Stopped) Silence(synth.Synth());
    synth.RemoveClient(this);
  }
  synth.Release();
}

uint32_t MciSequencer::Open(const std::string& fileName) {
  if (open_) return MciErrNone;
  uint32_t error = OpenError(file_.Load(fileName));
  if (error != MciErrNone) return error;
  MciSynth& synth = MciSynth::Instance();
  if (!synth.Acquire()) return MciErrNoSynthesizer;

  lengthMs_ = file_.LengthMs();
  lengthFrames_ = int64_t(lengthMs_) * kMciFramesPerMs;
  eventFrames_.reserve(file_.Events().size());
  for (const MidiEvent& event : file_.Events()) {
    eventFrames_.push_back(file_.TickToFrame(event.tick, kMciFramesPerMs));
    if (event.status != 0xF0) channelsUsed_ |= uint16_t(1u << (event.status & 0x0F));
  }
  std::lock_guard<std::mutex> lock(synth.Mutex());
  synth.AddClient(this);
  open_ = true;
  return MciErrNone;
}

void MciSequencer::MoveTo(int64_t frame) {
  position_ = frame;
  next_ = std::lower_bound(eventFrames_.begin(), eventFrames_.end(), frame) - eventFrames_.begin();
  chase_ = true;
}

uint32_t MciSequencer::Play(std::optional<uint32_t> from, std::optional<uint32_t> to) {
  if (!open_) return MciErrInvalidDeviceId;
  if ((from && *from > lengthMs_) || (to && *to > lengthMs_)) return MciErrOutOfRange;
  MciSynth& synth = MciSynth::Instance();
  std::lock_guard<std::mutex> lock(synth.Mutex());
  int64_t start = from ? int64_t(*from) * kMciFramesPerMs : position_;
  int64_t end = to ? int64_t(*to) * kMciFramesPerMs : lengthFrames_;
  if (end < start) return MciErrOutOfRange;
  if (from) {
    if (state_ == State::Playing) Silence(synth.Synth());
    MoveTo(start);
  }
  endFrame_ = end;
  state_ = State::Playing;
  if (position_ >= endFrame_) Finish(synth.Synth(), true);
  return MciErrNone;
}

uint32_t MciSequencer::Pause() {
  if (!open_) return MciErrInvalidDeviceId;
  MciSynth& synth = MciSynth::Instance();
  std::lock_guard<std::mutex> lock(synth.Mutex());
  if (state_ == State::Playing) {
    Silence(synth.Synth());
    state_ = State::Paused;
  }
  return MciErrNone;
}

uint32_t MciSequencer::Resume() {
  if (!open_) return MciErrInvalidDeviceId;
  std::lock_guard<std::mutex> lock(MciSynth::Instance().Mutex());
  if (state_ == State::Paused) state_ = State::Playing;
  return MciErrNone;
}

uint32_t MciSequencer::Stop() {
  if (!open_) return MciErrInvalidDeviceId;
  MciSynth& synth = MciSynth::Instance();
  std::lock_guard<std::mutex> lock(synth.Mutex());
  if (state_ != State::Stopped) {
    if (state_ == State::Playing) Silence(synth.Synth());
    state_ = State::Stopped;
  }
  return MciErrNone;
}

uint32_t MciSequencer::Seek(uint32_t ms) {
  if (!open_) return MciErrInvalidDeviceId;
  if (ms > lengthMs_) return MciErrOutOfRange;
  MciSynth& synth = MciSynth::Instance();
  std::lock_guard<std::mutex> lock(synth.Mutex());
  if (state_ == State::Playing) {
    Silence(synth.Synth());
    state_ = State::Stopped;
  }
  MoveTo(int64_t(ms) * kMciFramesPerMs);
  return MciErrNone;
}

uint32_t MciSequencer::Position() const {
  std::lock_guard<std::mutex> lock(MciSynth::Instance().Mutex());
  return static_cast<uint32_t>(position_ / kMciFramesPerMs);
}

uint32_t MciSequencer::Mode() const {
  std::lock_guard<std::mutex> lock(MciSynth::Instance().Mutex());
  switch (state_) {
    case State::Playing:
      return MciModePlay;
    case State::Paused:
      return MciModePause;
    case State::Stopped:
      break;
  }
  return MciModeStop;
}

int64_t MciSequencer::Prepare(FluidSynth* synth, int64_t frames, bool send) {
  if (state_ != State::Playing) return frames;
  if (chase_) {
    if (send) Chase(synth);
    chase_ = false;
  }
  const std::vector<MidiEvent>& events = file_.Events();
  while (next_ < events.size() && eventFrames_[next_] <= position_) {
    if (send) Dispatch(synth, events[next_]);
    ++next_;
  }
  if (position_ >= endFrame_) {
    Finish(synth, send);
    return frames;
  }
  int64_t until = endFrame_ - position_;
  if (next_ < events.size()) until = std::min(until, eventFrames_[next_] - position_);
  return std::min(frames, until);
}

void MciSequencer::Advance(FluidSynth* synth, int64_t frames, bool send) {
  if (state_ != State::Playing) return;
  position_ = std::min(position_ + frames, endFrame_);
  if (position_ >= endFrame_) Finish(synth, send);
}

void MciSequencer::Dispatch(FluidSynth* synth, const MidiEvent& event) {
  if (event.status == 0xF0) {
    const std::string& data = file_.SysexData(event);
    fluid_synth_sysex(synth, data.data(), static_cast<int>(data.size()), nullptr, nullptr, nullptr,
                      0);
    return;
  }
  int channel = event.status & 0x0F;
  uint8_t kind = event.status & 0xF0;
  if (kind == 0x90 && event.data2 > 0) {
    sounding_[channel].set(event.data1);
  } else if (kind == 0x80 || kind == 0x90) {
    sounding_[channel].reset(event.data1);
  }
  SendMidiMessage(synth, event.status, event.data1, event.data2);
}

void MciSequencer::Chase(FluidSynth* synth) {
  // Play from anywhere sounds as it would from the start: the channels the file uses
  // get their defaults, then every setting the file made before this point.
  for (int channel = 0; channel < kMidiChannels; ++channel) {
    if (!(channelsUsed_ & (1u << channel))) continue;
    fluid_synth_cc(synth, channel, 121, 0);  // reset all controllers
    fluid_synth_cc(synth, channel, 7, 100);
    fluid_synth_cc(synth, channel, 10, 64);
    fluid_synth_cc(synth, channel, 0, 0);
    fluid_synth_cc(synth, channel, 32, 0);
    fluid_synth_program_change(synth, channel, 0);
  }
  const std::vector<MidiEvent>& events = file_.Events();
  for (size_t i = 0; i < next_; ++i) {
    const MidiEvent& event = events[i];
    if (event.status != 0xF0 && !IsNote(event.status)) {
      SendMidiMessage(synth, event.status, event.data1, event.data2);
    }
  }
}

void MciSequencer::Silence(FluidSynth* synth) {
  // Only our own notes: the keyboard may be sounding on the same synthesizer.
  for (int channel = 0; channel < kMidiChannels; ++channel) {
    if (!(channelsUsed_ & (1u << channel))) continue;
    fluid_synth_cc(synth, channel, 64, 0);  // sustain pedal up
    for (int key = 0; key < kMidiKeys; ++key) {
      if (sounding_[channel].test(key)) fluid_synth_noteoff(synth, channel, key);
    }
    sounding_[channel].reset();
  }
}

void MciSequencer::Finish(FluidSynth* synth, bool send) {
  if (send) Silence(synth);
  state_ = State::Stopped;
}

}  // namespace quorrel
