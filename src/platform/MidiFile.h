#pragma once
// A standard MIDI file (format 0 or 1) read into one time-ordered list of the events
// a synthesizer needs, with our own tempo map: every tick has an exact time, so
// lengths and positions in milliseconds do not drift however long the file is.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// One event to send: a channel message, or a system-exclusive message (status 0xF0).
struct MidiEvent {
  int64_t tick = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
  uint16_t track = 0;
  uint32_t sysex = 0;  // 0xF0 only: index of its bytes in MidiFile::SysexData
};

struct MidiTempo {
  int64_t tick = 0;
  uint32_t microsPerQuarter = 0;
};

enum class MidiLoadResult {
  Ok,
  NotFound,     // no such file
  Unreadable,   // a folder, or no permission to read
  NotMidi,      // does not begin with a MIDI header
  Truncated,    // ends before the tracks its header announces are complete
  Damaged,      // a track holds bytes that are not valid MIDI
  Unsupported,  // format 2, an unknown time division, or too long to time in 32-bit ms
};

class MidiFile {
 public:
  // Loading replaces everything; after a failure the object is empty. The name is a
  // program path (Windows-1252).
  MidiLoadResult Load(const std::string& fileName);
  MidiLoadResult Parse(std::string_view bytes);

  int Format() const { return format_; }
  int TrackCount() const { return trackCount_; }
  // The header's time division: ticks per quarter note, or an SMPTE code when the top
  // bit is set.
  int Division() const { return division_; }

  // Every event of every track, ordered by tick; events at the same tick keep the order
  // of their tracks and, within a track, their order in the file.
  const std::vector<MidiEvent>& Events() const { return events_; }
  // The bytes of a system-exclusive event between its 0xF0 and its closing 0xF7.
  const std::string& SysexData(const MidiEvent& event) const { return sysex_[event.sysex]; }
  // The tempo map by tick: the first entry is at tick 0 (500,000 microseconds per
  // quarter note unless the file sets another there); of several changes at one tick
  // the last one holds. Empty for SMPTE time, which has no tempo.
  const std::vector<MidiTempo>& Tempos() const { return tempos_; }
  // Where the last track ends: its end-of-track event, or its last event.
  int64_t EndTick() const { return endTick_; }

  // Time of a tick, rounded down to whole milliseconds; ticks beyond the end count as
  // the end.
  uint32_t TickToMs(int64_t tick) const;
  // Time of a tick as a count of sample frames, rounded to the nearest frame.
  int64_t TickToFrame(int64_t tick, int framesPerMs) const;
  uint32_t LengthMs() const { return TickToMs(endTick_); }

 private:
  // Time of tick t in microseconds is exactly Numerator(t) / denominator_.
  struct Segment {
    int64_t tick = 0;
    int64_t numerator = 0;  // at tick
    int64_t perTick = 0;    // numerator added per tick from here on
  };
  int64_t Numerator(int64_t tick) const;
  void Clear();
  MidiLoadResult ParseTrack(std::string_view data, uint16_t track);
  MidiLoadResult BuildTimeMap(const std::vector<MidiTempo>& changes);

  int format_ = 0;
  int trackCount_ = 0;
  int division_ = 0;
  std::vector<MidiEvent> events_;
  std::vector<std::string> sysex_;
  std::vector<MidiTempo> tempos_;
  std::vector<Segment> segments_;
  int64_t denominator_ = 1;
  int64_t endTick_ = 0;
};

}  // namespace quorrel
