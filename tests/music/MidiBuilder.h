#pragma once
// Standard MIDI files built byte by byte, and measures of rendered audio.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace quorrel::test {

inline std::string Vlq(uint32_t value) {
  std::string out(1, char(value & 0x7F));
  while (value >>= 7) out.insert(out.begin(), char(0x80 | (value & 0x7F)));
  return out;
}

inline std::string BigEndian(uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += char((value >> (8 * i)) & 0xFF);
  return out;
}

inline std::string Chunk(const std::string& id, const std::string& body) {
  return id + BigEndian(uint32_t(body.size()), 4) + body;
}

// The events of one track, each after its delta time.
class Track {
 public:
  // Any bytes after the delta: a channel message (or its data alone, for running
  // status), a system-exclusive packet, a meta event.
  Track& Raw(uint32_t delta, std::initializer_list<int> bytes) {
    body_ += Vlq(delta);
    for (int b : bytes) body_ += char(b);
    return *this;
  }
  Track& NoteOn(uint32_t delta, int channel, int key, int velocity) {
    return Raw(delta, {0x90 | channel, key, velocity});
  }
  Track& NoteOff(uint32_t delta, int channel, int key) {
    return Raw(delta, {0x80 | channel, key, 64});
  }
  Track& Program(uint32_t delta, int channel, int program) {
    return Raw(delta, {0xC0 | channel, program});
  }
  Track& Tempo(uint32_t delta, uint32_t microsPerQuarter) {
    body_ += Vlq(delta) + "\xFF\x51\x03" + BigEndian(microsPerQuarter, 3);
    return *this;
  }
  Track& Text(uint32_t delta, const std::string& text) {
    body_ += Vlq(delta) + "\xFF\x01" + Vlq(uint32_t(text.size())) + text;
    return *this;
  }
  Track& End(uint32_t delta) { return Raw(delta, {0xFF, 0x2F, 0x00}); }
  const std::string& Body() const { return body_; }

 private:
  std::string body_;
};

inline std::string Smf(int format, int division, const std::vector<Track>& tracks) {
  std::string header = BigEndian(format, 2) + BigEndian(uint32_t(tracks.size()), 2) +
                       BigEndian(uint32_t(division), 2);
  std::string file = Chunk("MThd", header);
  for (const Track& track : tracks) file += Chunk("MTrk", track.Body());
  return file;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A file of 4000 ms (480 ticks a quarter note): tempo 120 bpm, 60 bpm from tick 960, 240 bpm from
// tick 1920; the notes in a second track, partly in running status, with a system-exclusive message
// and a text event.
inline std::vector<Track> TempoChangeTracks() {
  Track tempo;
  tempo.Tempo(0, 500000).Text(0, "tempo map").Tempo(960, 1000000).Tempo(960, 250000).End(960);
  Track notes;
  notes.Program(0, 0, 19)
      .NoteOn(0, 0, 60, 100)
      .Raw(480, {60, 0})  // running status: note 60 off by velocity 0
      .Raw(0, {64, 90})   // running status: note 64 on
      .Raw(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
      .NoteOff(1440, 0, 64)
      .NoteOn(480, 9, 42, 80)
      .NoteOff(480, 9, 42)
      .End(960);
  return {tempo, notes};
}

inline std::string TempoChangeFile() {
  return Smf(1, 480, TempoChangeTracks());
}

// The synthesizer's own noise floor lies near 1e-8; a note at velocity 100 near 1e-2.
constexpr double kSilence = 1e-6;

// Root mean square of rendered interleaved stereo samples (48 frames a millisecond),
// from millisecond fromMs up to toMs.
inline double Rms(const std::vector<float>& samples, size_t fromMs = 0, size_t toMs = SIZE_MAX) {
  size_t begin = std::min(samples.size(), fromMs * 96);
  size_t end = toMs == SIZE_MAX ? samples.size() : std::min(samples.size(), toMs * 96);
  if (end <= begin) return 0;
  double sum = 0;
  for (size_t i = begin; i < end; ++i) sum += double(samples[i]) * samples[i];
  return std::sqrt(sum / double(end - begin));
}

}  // namespace quorrel::test
