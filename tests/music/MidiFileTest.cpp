#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "music/MidiBuilder.h"
#include "platform/MidiFile.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

constexpr int kPpq = 480;

// The times of that file, worked out by hand from the tempo changes: a tick lasts
// 1041.67 us up to tick 960, 2083.33 us up to tick 1920, then 520.83 us.
struct TickTime {
  int64_t tick;
  uint32_t ms;
  int64_t frame;  // at 48 frames a millisecond, rounded
};
const TickTime kHandTimes[] = {
    {0, 0, 0},
    {1, 1, 50},
    {480, 500, 24000},
    {481, 501, 24050},
    {960, 1000, 48000},
    {961, 1002, 48100},
    {1440, 2000, 96000},
    {1920, 3000, 144000},
    {2400, 3250, 156000},
    {2880, 3500, 168000},
    {3840, 4000, 192000},
    {9999, 4000, 192000},
};

TEST(MidiFileTest, TempoChangesGiveTheTimesWorkedOutByHand) {
  for (int format : {0, 1}) {
    SCOPED_TRACE(format);
    std::vector<Track> tracks = TempoChangeTracks();
    if (format == 0) {
      // The same events in one track: the tempo changes fall between the notes.
      Track one;
      one.Tempo(0, 500000)
          .Program(0, 0, 19)
          .NoteOn(0, 0, 60, 100)
          .Raw(480, {60, 0})
          .Raw(0, {64, 90})
          .Raw(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
          .Tempo(480, 1000000)
          .Tempo(960, 250000)
          .NoteOff(0, 0, 64)
          .NoteOn(480, 9, 42, 80)
          .NoteOff(480, 9, 42)
          .End(960);
      tracks = {one};
    }
    MidiFile file;
    ASSERT_EQ(file.Parse(Smf(format, kPpq, tracks)), MidiLoadResult::Ok);
    EXPECT_EQ(file.Format(), format);
    EXPECT_EQ(file.EndTick(), 3840);
    EXPECT_EQ(file.LengthMs(), 4000u);
    for (const TickTime& t : kHandTimes) {
      EXPECT_EQ(file.TickToMs(t.tick), t.ms) << "tick " << t.tick;
      EXPECT_EQ(file.TickToFrame(t.tick, 48), t.frame) << "tick " << t.tick;
    }
    ASSERT_EQ(file.Tempos().size(), 3u);
    EXPECT_EQ(file.Tempos()[1].tick, 960);
    EXPECT_EQ(file.Tempos()[1].microsPerQuarter, 1000000u);
    EXPECT_EQ(file.Tempos()[2].microsPerQuarter, 250000u);
  }
}

TEST(MidiFileTest, EventsKeepTheirDataAndTheirOrder) {
  MidiFile file;
  ASSERT_EQ(file.Parse(Smf(1, kPpq, TempoChangeTracks())), MidiLoadResult::Ok);
  struct Expected {
    int64_t tick;
    uint8_t status, data1, data2;
  };
  const Expected expected[] = {
      {0, 0xC0, 19, 0},  {0, 0x90, 60, 100},   {480, 0x90, 60, 0},   {480, 0x90, 64, 90},
      {480, 0xF0, 0, 0}, {1920, 0x80, 64, 64}, {2400, 0x99, 42, 80}, {2880, 0x89, 42, 64},
  };
  ASSERT_EQ(file.Events().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const MidiEvent& e = file.Events()[i];
    EXPECT_EQ(e.tick, expected[i].tick) << i;
    EXPECT_EQ(e.status, expected[i].status) << i;
    if (e.status != 0xF0) {
      EXPECT_EQ(e.data1, expected[i].data1) << i;
      EXPECT_EQ(e.data2, expected[i].data2) << i;
    }
    EXPECT_EQ(e.track, 1) << i;
  }
  EXPECT_EQ(file.SysexData(file.Events()[4]), std::string("\x7E\x7F\x09\x01"));
}

TEST(MidiFileTest, EventsAtOneTickKeepTrackOrderAndLaterTempoWins) {
  Track first, second, third;
  first.Tempo(0, 400000).NoteOn(100, 2, 50, 1).End(0);
  second.NoteOn(100, 3, 51, 1).Tempo(0, 300000).End(100);
  third.Tempo(100, 600000).NoteOn(0, 4, 52, 1).End(0);
  MidiFile file;
  ASSERT_EQ(file.Parse(Smf(1, 100, {first, second, third})), MidiLoadResult::Ok);
  ASSERT_EQ(file.Events().size(), 3u);
  EXPECT_EQ(file.Events()[0].data1, 50);
  EXPECT_EQ(file.Events()[1].data1, 51);
  EXPECT_EQ(file.Events()[2].data1, 52);
  // At tick 100 the second track sets 300 ms a beat and the third 600 ms: the third is
  // the later one in merged order, so the last 100 ticks take 600 ms.
  ASSERT_EQ(file.Tempos().size(), 2u);
  EXPECT_EQ(file.Tempos()[1].microsPerQuarter, 600000u);
  EXPECT_EQ(file.LengthMs(), 400u + 600u);
}

TEST(MidiFileTest, DefaultTempoWithoutTempoEvents) {
  Track track;
  track.NoteOn(0, 0, 60, 1).NoteOff(96, 0, 60).End(96);
  MidiFile file;
  ASSERT_EQ(file.Parse(Smf(0, 96, {track})), MidiLoadResult::Ok);
  EXPECT_EQ(file.LengthMs(), 1000u);  // two beats at 120 bpm
  ASSERT_EQ(file.Tempos().size(), 1u);
  EXPECT_EQ(file.Tempos()[0].microsPerQuarter, 500000u);
}

TEST(MidiFileTest, SmpteTimeIgnoresTempo) {
  struct Case {
    int fps;
    int ticksPerFrame;
    uint32_t delta;
    uint32_t ms;
  };
  const Case cases[] = {
      {25, 40, 2500, 2500},   // 1000 ticks a second
      {24, 2, 480, 10000},    // 48 ticks a second
      {30, 10, 3000, 10000},  // 300 ticks a second
      {29, 10, 2997, 10000},  // 29.97 frames a second: 299.7 ticks a second
      {29, 10, 3000, 10010},  // 10.01001 s
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fps);
    Track track;
    track.Tempo(0, 1000000).NoteOn(0, 0, 60, 1).End(c.delta);
    int division = ((256 - c.fps) << 8) | c.ticksPerFrame;
    MidiFile file;
    ASSERT_EQ(file.Parse(Smf(0, division, {track})), MidiLoadResult::Ok);
    EXPECT_EQ(file.LengthMs(), c.ms);
    EXPECT_TRUE(file.Tempos().empty());
  }
}

TEST(MidiFileTest, LenientWhereRealFilesDiffer) {
  // No end-of-track event: the track ends with its last event.
  Track noEnd;
  noEnd.NoteOn(0, 0, 60, 1).NoteOff(192, 0, 60);
  MidiFile file;
  ASSERT_EQ(file.Parse(Smf(0, 96, {noEnd})), MidiLoadResult::Ok);
  EXPECT_EQ(file.LengthMs(), 1000u);

  // A chunk of another kind between the tracks, and bytes after the end-of-track event.
  Track track;
  track.NoteOn(0, 0, 60, 1).End(96);
  std::string bytes = Chunk("MThd", std::string("\0\1\0\1\0\x60", 6)) + Chunk("XFIH", "abc") +
                      Chunk("MTrk", track.Body() + "junk");
  ASSERT_EQ(file.Parse(bytes), MidiLoadResult::Ok);
  EXPECT_EQ(file.Events().size(), 1u);
  EXPECT_EQ(file.LengthMs(), 500u);
}

TEST(MidiFileTest, BadFilesAreRefusedAndLeaveNothing) {
  Track good;
  good.NoteOn(0, 0, 60, 1).End(96);
  auto header = [](int format, int tracks, int division) {
    return Chunk("MThd", BigEndian(format, 2) + BigEndian(tracks, 2) + BigEndian(division, 2));
  };
  Track slow;
  slow.Tempo(0, 0xFFFFFF).End(0x0FFFFFFF);
  struct Case {
    const char* name;
    std::string bytes;
    MidiLoadResult result;
  };
  const Case cases[] = {
      {"empty", "", MidiLoadResult::NotMidi},
      {"text", "X:1\r\nT:Tune\r\n", MidiLoadResult::NotMidi},
      {"riff", std::string("RIFF\x10\0\0\0RMIDdata", 16), MidiLoadResult::NotMidi},
      {"short header", "MTh", MidiLoadResult::Truncated},
      {"header cut", std::string("MThd\0\0\0\x06\0\x01", 10), MidiLoadResult::Truncated},
      {"header length below 6", Chunk("MThd", "abc"), MidiLoadResult::NotMidi},
      {"format 3", header(3, 1, 96) + Chunk("MTrk", good.Body()), MidiLoadResult::NotMidi},
      {"format 2", header(2, 1, 96) + Chunk("MTrk", good.Body()), MidiLoadResult::Unsupported},
      {"no tracks", header(1, 0, 96), MidiLoadResult::Damaged},
      {"division 0", header(0, 1, 0) + Chunk("MTrk", good.Body()), MidiLoadResult::Damaged},
      {"smpte 0 ticks", header(0, 1, 0xE700) + Chunk("MTrk", good.Body()),
       MidiLoadResult::Unsupported},
      {"smpte 23 fps", header(0, 1, 0xE90A) + Chunk("MTrk", good.Body()),
       MidiLoadResult::Unsupported},
      {"track missing", header(1, 2, 96) + Chunk("MTrk", good.Body()), MidiLoadResult::Truncated},
      {"track chunk cut", header(0, 1, 96) + "MTrk" + BigEndian(100, 4) + good.Body(),
       MidiLoadResult::Truncated},
      {"running status first", header(0, 1, 96) + Chunk("MTrk", std::string("\0\x3C\x40", 3)),
       MidiLoadResult::Damaged},
      {"delta of five bytes", header(0, 1, 96) + Chunk("MTrk", "\x81\x81\x81\x81\x01\x90\x3C\x40"),
       MidiLoadResult::Damaged},
      {"event cut in chunk", header(0, 1, 96) + Chunk("MTrk", std::string("\0\x90\x3C", 3)),
       MidiLoadResult::Damaged},
      {"status byte as data", header(0, 1, 96) + Chunk("MTrk", std::string("\0\x90\x3C\x90", 4)),
       MidiLoadResult::Damaged},
      {"system common", header(0, 1, 96) + Chunk("MTrk", std::string("\0\xF2\x01\x01", 4)),
       MidiLoadResult::Damaged},
      {"meta longer than chunk",
       header(0, 1, 96) + Chunk("MTrk", std::string("\0\xFF\x01\x09x", 5)),
       MidiLoadResult::Damaged},
      {"sysex longer than chunk",
       header(0, 1, 96) + Chunk("MTrk", std::string("\0\xF0\x09\x7E", 4)), MidiLoadResult::Damaged},
      {"too long for 32-bit ms", header(0, 1, 1) + Chunk("MTrk", slow.Body()),
       MidiLoadResult::Unsupported},
  };
  for (const Case& c : cases) {
    MidiFile file;
    ASSERT_EQ(file.Parse(Smf(0, 96, {good})), MidiLoadResult::Ok);
    EXPECT_EQ(file.Parse(c.bytes), c.result) << c.name;
    EXPECT_TRUE(file.Events().empty()) << c.name;
    EXPECT_EQ(file.LengthMs(), 0u) << c.name;
    EXPECT_EQ(file.TrackCount(), 0) << c.name;
  }
}

TEST(MidiFileTest, EveryCutOfAFileIsTruncated) {
  std::string whole = Smf(1, kPpq, TempoChangeTracks());
  MidiFile file;
  for (size_t size = 1; size < whole.size(); ++size) {
    EXPECT_EQ(file.Parse(whole.substr(0, size)), MidiLoadResult::Truncated) << size;
  }
  EXPECT_EQ(file.Parse(whole), MidiLoadResult::Ok);
}

TEST(MidiFileTest, DamagedBytesNeverBreakTheReader) {
  std::string whole = Smf(1, kPpq, TempoChangeTracks());
  std::mt19937 random(1234);
  MidiFile file;
  for (int round = 0; round < 5000; ++round) {
    std::string bytes = whole;
    int changes = 1 + int(random() % 4);
    for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] = char(random() & 0xFF);
    if (random() % 4 == 0) bytes.resize(random() % bytes.size());
    if (file.Parse(bytes) != MidiLoadResult::Ok) continue;
    int64_t lastTick = 0, lastFrame = 0;
    for (const MidiEvent& e : file.Events()) {
      ASSERT_GE(e.tick, lastTick);
      ASSERT_LE(e.tick, file.EndTick());
      ASSERT_TRUE(e.status == 0xF0 || (e.status >= 0x80 && e.status < 0xF0));
      int64_t frame = file.TickToFrame(e.tick, 48);
      ASSERT_GE(frame, lastFrame);
      ASSERT_LE(file.TickToMs(e.tick), file.LengthMs());
      lastTick = e.tick;
      lastFrame = frame;
    }
  }
}

TEST(MidiFileTest, LoadReadsFilesAndNamesWhyNot) {
  std::string folder = TestHome() + "midifile/";
  mkdir(folder.c_str(), 0700);
  WriteBytes(folder + "tune.mid", Smf(1, kPpq, TempoChangeTracks()));
  mkdir((folder + "folder.mid").c_str(), 0700);
  WriteBytes(folder + "secret.mid", Smf(1, kPpq, TempoChangeTracks()));
  chmod((folder + "secret.mid").c_str(), 0);

  MidiFile file;
  EXPECT_EQ(file.Load(folder + "tune.mid"), MidiLoadResult::Ok);
  EXPECT_EQ(file.LengthMs(), 4000u);
  EXPECT_EQ(file.Load(folder + "missing.mid"), MidiLoadResult::NotFound);
  EXPECT_EQ(file.Load(folder + "nofolder/tune.mid"), MidiLoadResult::NotFound);
  EXPECT_EQ(file.Load(folder + "folder.mid"), MidiLoadResult::Unreadable);
  if (geteuid() != 0) {  // root reads any file
    EXPECT_EQ(file.Load(folder + "secret.mid"), MidiLoadResult::Unreadable);
  }
  EXPECT_TRUE(file.Events().empty());
}

}  // namespace
}  // namespace quorrel::test
