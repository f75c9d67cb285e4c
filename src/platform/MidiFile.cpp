#include "platform/MidiFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

#include "platform/Paths.h"

namespace quorrel {

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 bpm
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
// The largest whole file we read: far above any real tune, and it keeps a damaged
// length field from asking for all the memory there is.
constexpr off_t kMaxFileSize = 256 * 1024 * 1024;

class ByteReader {
 public:
  explicit ByteReader(std::string_view data) : data_(data) {}
  bool AtEnd() const { return pos_ >= data_.size(); }
  size_t Left() const { return data_.size() - pos_; }
  bool Byte(uint8_t& value) {
    if (AtEnd()) return false;
    value = static_cast<uint8_t>(data_[pos_++]);
    return true;
  }
  // A variable-length quantity: at most four bytes of seven bits each.
  bool Vlq(uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b;
      if (!Byte(b)) return false;
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  bool Bytes(size_t count, std::string_view& out) {
    if (count > Left()) return false;
    out = data_.substr(pos_, count);
    pos_ += count;
    return true;
  }

 private:
  std::string_view data_;
  size_t pos_ = 0;
};

uint32_t BigEndian(std::string_view bytes) {
  uint32_t value = 0;
  for (char c : bytes) value = (value << 8) | static_cast<uint8_t>(c);
  return value;
}

// Data bytes that follow each channel status (high nibble 0x8 to 0xE).
int DataBytes(uint8_t status) {
  switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
      return 1;
    default:
      return 2;
  }
}

}  // namespace

void MidiFile::Clear() {
  format_ = trackCount_ = division_ = 0;
  events_.clear();
  sysex_.clear();
  tempos_.clear();
  segments_.clear();
  denominator_ = 1;
  endTick_ = 0;
}

MidiLoadResult MidiFile::Load(const std::string& fileName) {
  Clear();
  int fd = open(NativePath(fileName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return errno == ENOENT || errno == ENOTDIR ? MidiLoadResult::NotFound
                                               : MidiLoadResult::Unreadable;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return MidiLoadResult::Unreadable;
  }
  if (info.st_size > kMaxFileSize) {
    close(fd);
    return MidiLoadResult::Unsupported;
  }
  std::string bytes(static_cast<size_t>(info.st_size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      return MidiLoadResult::Unreadable;
    }
    if (got == 0) break;  // the file shrank while we read it
    done += static_cast<size_t>(got);
  }
  close(fd);
  bytes.resize(done);
  return Parse(bytes);
}

MidiLoadResult MidiFile::Parse(std::string_view bytes) {
  Clear();
  ByteReader file(bytes);
  std::string_view id, lengthField, header;
  if (!file.Bytes(4, id) || id != "MThd") {
    return bytes.size() < 4 && std::string_view("MThd").starts_with(bytes) && !bytes.empty()
               ? MidiLoadResult::Truncated
               : MidiLoadResult::NotMidi;
  }
  if (!file.Bytes(4, lengthField)) return MidiLoadResult::Truncated;
  uint32_t headerLength = BigEndian(lengthField);
  if (headerLength < 6) return MidiLoadResult::NotMidi;
  if (!file.Bytes(headerLength, header)) return MidiLoadResult::Truncated;

  int format = static_cast<int>(BigEndian(header.substr(0, 2)));
  int tracks = static_cast<int>(BigEndian(header.substr(2, 2)));
  int division = static_cast<int>(BigEndian(header.substr(4, 2)));
  if (format > 2) return MidiLoadResult::NotMidi;
  if (format == 2) return MidiLoadResult::Unsupported;
  if (tracks == 0 || division == 0) return MidiLoadResult::Damaged;

  int parsed = 0;
  while (parsed < tracks) {
    std::string_view chunkId, chunkLength, chunk;
    if (!file.Bytes(4, chunkId) || !file.Bytes(4, chunkLength)) {
      Clear();
      return MidiLoadResult::Truncated;
    }
    if (!file.Bytes(BigEndian(chunkLength), chunk)) {
      Clear();
      return MidiLoadResult::Truncated;
    }
    if (chunkId != "MTrk") continue;  // chunks of other kinds are for other programs
    MidiLoadResult result = ParseTrack(chunk, static_cast<uint16_t>(parsed));
    if (result != MidiLoadResult::Ok) {
      Clear();
      return result;
    }
    ++parsed;
  }

  format_ = format;
  trackCount_ = tracks;
  division_ = division;
  std::stable_sort(events_.begin(), events_.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  std::stable_sort(tempos_.begin(), tempos_.end(),
                   [](const MidiTempo& a, const MidiTempo& b) { return a.tick < b.tick; });
  std::vector<MidiTempo> changes;
  changes.swap(tempos_);
  MidiLoadResult result = BuildTimeMap(changes);
  if (result != MidiLoadResult::Ok) Clear();
  return result;
}

MidiLoadResult MidiFile::ParseTrack(std::string_view data, uint16_t track) {
  ByteReader in(data);
  int64_t tick = 0;
  uint8_t runningStatus = 0;
  while (!in.AtEnd()) {
    uint32_t delta;
    if (!in.Vlq(delta)) return MidiLoadResult::Damaged;
    tick += delta;
    uint8_t status;
    if (!in.Byte(status)) return MidiLoadResult::Damaged;

    if (status == 0xFF) {
      uint8_t type;
      uint32_t length;
      std::string_view body;
      if (!in.Byte(type) || !in.Vlq(length) || !in.Bytes(length, body)) {
        return MidiLoadResult::Damaged;
      }
      if (type == kMetaEndOfTrack) break;  // anything after it is not part of the track
      if (type == kMetaTempo && length >= 3) {
        tempos_.push_back({tick, BigEndian(body.substr(0, 3))});
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      uint32_t length;
      std::string_view body;
      if (!in.Vlq(length) || !in.Bytes(length, body)) return MidiLoadResult::Damaged;
      // A 0xF7 packet continues or escapes a message; only whole messages are sent.
      if (status == 0xF0) {
        if (!body.empty() && static_cast<uint8_t>(body.back()) == 0xF7) body.remove_suffix(1);
        MidiEvent event;
        event.tick = tick;
        event.status = 0xF0;
        event.track = track;
        event.sysex = static_cast<uint32_t>(sysex_.size());
        sysex_.emplace_back(body);
        events_.push_back(event);
      }
      continue;
    }
    if (status > 0xF0) return MidiLoadResult::Damaged;  // real-time and common messages

    uint8_t first;
    if (status < 0x80) {
      // Running status: the byte read is already the first data byte.
      if (runningStatus == 0) return MidiLoadResult::Damaged;
      first = status;
      status = runningStatus;
    } else {
      runningStatus = status;
      if (!in.Byte(first)) return MidiLoadResult::Damaged;
    }
    uint8_t second = 0;
    if (DataBytes(status) == 2 && !in.Byte(second)) return MidiLoadResult::Damaged;
    if ((first | second) & 0x80) return MidiLoadResult::Damaged;
    MidiEvent event;
    event.tick = tick;
    event.status = status;
    event.data1 = first;
    event.data2 = second;
    event.track = track;
    events_.push_back(event);
  }
  endTick_ = std::max(endTick_, tick);
  return MidiLoadResult::Ok;
}

MidiLoadResult MidiFile::BuildTimeMap(const std::vector<MidiTempo>& changes) {
  segments_.clear();
  if (division_ & 0x8000) {
    // SMPTE: a fixed number of ticks per frame at 24, 25, 29.97 or 30 frames per second.
    int fps = -static_cast<int8_t>(division_ >> 8);
    int64_t ticksPerFrame = division_ & 0xFF;
    if (ticksPerFrame == 0 || (fps != 24 && fps != 25 && fps != 29 && fps != 30)) {
      return MidiLoadResult::Unsupported;
    }
    if (fps == 29) {
      denominator_ = 2997 * ticksPerFrame;
      segments_.push_back({0, 0, 100000000});
    } else {
      denominator_ = fps * ticksPerFrame;
      segments_.push_back({0, 0, 1000000});
    }
  } else {
    denominator_ = division_;
    segments_.push_back({0, 0, kDefaultTempo});
    for (const MidiTempo& change : changes) {
      Segment& last = segments_.back();
      if (change.tick == last.tick) {
        last.perTick = change.microsPerQuarter;
      } else {
        int64_t span, numerator;
        if (__builtin_mul_overflow(change.tick - last.tick, last.perTick, &span) ||
            __builtin_add_overflow(last.numerator, span, &numerator)) {
          return MidiLoadResult::Unsupported;
        }
        segments_.push_back({change.tick, numerator, change.microsPerQuarter});
      }
    }
    for (const Segment& s : segments_) {
      tempos_.push_back({s.tick, static_cast<uint32_t>(s.perTick)});
    }
  }
  // Positions are 32-bit milliseconds: refuse a file that would not fit.
  const Segment& last = segments_.back();
  int64_t span, numerator;
  if (__builtin_mul_overflow(endTick_ - last.tick, last.perTick, &span) ||
      __builtin_add_overflow(last.numerator, span, &numerator) ||
      numerator / denominator_ / 1000 > std::numeric_limits<uint32_t>::max()) {
    return MidiLoadResult::Unsupported;
  }
  return MidiLoadResult::Ok;
}

int64_t MidiFile::Numerator(int64_t tick) const {
  if (segments_.empty() || tick <= 0) return 0;
  tick = std::min(tick, endTick_);  // the end is the furthest time known not to overflow
  auto it = std::upper_bound(segments_.begin(), segments_.end(), tick,
                             [](int64_t t, const Segment& s) { return t < s.tick; });
  const Segment& s = *(it - 1);
  return s.numerator + (tick - s.tick) * s.perTick;
}

uint32_t MidiFile::TickToMs(int64_t tick) const {
  return static_cast<uint32_t>(Numerator(tick) / (denominator_ * 1000));
}

int64_t MidiFile::TickToFrame(int64_t tick, int framesPerMs) const {
  // Whole milliseconds and the remainder apart, so that no product can overflow.
  int64_t perMs = denominator_ * 1000;
  int64_t numerator = Numerator(tick);
  int64_t ms = numerator / perMs;
  int64_t rest = numerator % perMs;
  return ms * framesPerMs + (rest * framesPerMs * 2 + perMs) / (2 * perMs);
}

}  // namespace quorrel
