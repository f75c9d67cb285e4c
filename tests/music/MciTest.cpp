#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <thread>

#include "music/MidiBuilder.h"
#include "platform/Mci.h"
#include "platform/MciSynth.h"
#include "platform/MidiOut.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

class MciTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = TestHome() + "mci/";
    mkdir(folder_.c_str(), 0700);
    WriteBytes(folder_ + "tempo.mid", TempoChangeFile());
  }

  uint16_t Open(const std::string& name) {
    uint16_t id = 0;
    EXPECT_EQ(MciOpen(folder_ + name, id), MciErrNone) << name;
    EXPECT_NE(id, 0) << name;
    return id;
  }
  static uint32_t Status(uint16_t id, MciStatusItem item) {
    uint32_t value = 0;
    EXPECT_EQ(MciStatus(id, item, value), MciErrNone);
    return value;
  }
  static int Preset(int channel) {
    int font = 0, bank = 0, preset = -1;
    fluid_synth_get_program(MciSynth::Instance().Synth(), channel, &font, &bank, &preset);
    return preset;
  }

  std::string folder_;
};

TEST_F(MciTest, OpenGivesLengthAndStopsAtTheStart) {
  uint16_t id = Open("tempo.mid");
  EXPECT_EQ(Status(id, MciStatusLength), 4000u);
  EXPECT_EQ(Status(id, MciStatusPosition), 0u);
  EXPECT_EQ(Status(id, MciStatusMode), MciModeStop);
  EXPECT_EQ(MciSynth::Instance().OutputName(), "manual");
  EXPECT_EQ(MciClose(id), MciErrNone);
  EXPECT_EQ(MciSynth::Instance().Holders(), 0);
}

TEST_F(MciTest, PlayingMovesOnInSampleTimeAndStopsAtTheEnd) {
  uint16_t id = Open("tempo.mid");
  MciAdvanceForTest(500);  // nothing moves before play
  EXPECT_EQ(Status(id, MciStatusPosition), 0u);
  ASSERT_EQ(MciPlay(id), MciErrNone);
  EXPECT_EQ(Status(id, MciStatusMode), MciModePlay);
  MciAdvanceForTest(1999);
  EXPECT_EQ(Status(id, MciStatusPosition), 1999u);
  MciAdvanceForTest(1);
  EXPECT_EQ(Status(id, MciStatusPosition), 2000u);
  MciAdvanceForTest(1999);
  EXPECT_EQ(Status(id, MciStatusPosition), 3999u);
  EXPECT_EQ(Status(id, MciStatusMode), MciModePlay);
  MciAdvanceForTest(1);
  EXPECT_EQ(Status(id, MciStatusPosition), 4000u);
  EXPECT_EQ(Status(id, MciStatusMode), MciModeStop);
  MciAdvanceForTest(1000);
  EXPECT_EQ(Status(id, MciStatusPosition), 4000u);
}

TEST_F(MciTest, SeekPausePlayToAndResumeLandWhereAsked) {
  uint16_t id = Open("tempo.mid");
  using std::nullopt;
  struct Step {
    const char* what;
    std::function<uint32_t()> command;
    uint32_t result;
    uint32_t advanceMs;
    uint32_t position;
    uint32_t mode;
  };
  const Step steps[] = {
      {"seek", [&] { return MciSeek(id, 1234); }, MciErrNone, 0, 1234, MciModeStop},
      {"time passes while stopped", nullptr, 0, 500, 1234, MciModeStop},
      {"play to", [&] { return MciPlay(id, nullopt, 2500); }, MciErrNone, 1000, 2234, MciModePlay},
      {"reach the play-to point", nullptr, 0, 500, 2500, MciModeStop},
      {"play on from there", [&] { return MciPlay(id); }, MciErrNone, 300, 2800, MciModePlay},
      {"pause", [&] { return MciPause(id); }, MciErrNone, 700, 2800, MciModePause},
      {"resume", [&] { return MciResume(id); }, MciErrNone, 200, 3000, MciModePlay},
      {"seek while playing stops", [&] { return MciSeek(id, 100); }, MciErrNone, 50, 100,
       MciModeStop},
      {"play from", [&] { return MciPlay(id, 3990); }, MciErrNone, 5, 3995, MciModePlay},
      {"end of the file", nullptr, 0, 50, 4000, MciModeStop},
      {"play at the end stops at once", [&] { return MciPlay(id); }, MciErrNone, 0, 4000,
       MciModeStop},
      {"play from the start", [&] { return MciPlay(id, 0); }, MciErrNone, 10, 10, MciModePlay},
      {"pause again", [&] { return MciPause(id); }, MciErrNone, 10, 10, MciModePause},
      {"seek while paused stays paused", [&] { return MciSeek(id, 2000); }, MciErrNone, 10, 2000,
       MciModePause},
      {"play resumes a paused device", [&] { return MciPlay(id); }, MciErrNone, 1, 2001,
       MciModePlay},
      {"stop keeps the position", [&] { return MciStop(id); }, MciErrNone, 100, 2001, MciModeStop},
      {"resume does not start a stopped device", [&] { return MciResume(id); }, MciErrNone, 100,
       2001, MciModeStop},
      {"pause does not pause a stopped device", [&] { return MciPause(id); }, MciErrNone, 0, 2001,
       MciModeStop},
      {"play goes on where it stopped", [&] { return MciPlay(id); }, MciErrNone, 99, 2100,
       MciModePlay},
      {"seek beyond the end", [&] { return MciSeek(id, 4001); }, MciErrOutOfRange, 100, 2200,
       MciModePlay},
      {"play from beyond the end", [&] { return MciPlay(id, 4001); }, MciErrOutOfRange, 0, 2200,
       MciModePlay},
      {"play to beyond the end", [&] { return MciPlay(id, nullopt, 4001); }, MciErrOutOfRange, 0,
       2200, MciModePlay},
      {"play to before from", [&] { return MciPlay(id, 3000, 2999); }, MciErrOutOfRange, 0, 2200,
       MciModePlay},
      {"play to where it is", [&] { return MciPlay(id, nullopt, 2200); }, MciErrNone, 100, 2200,
       MciModeStop},
      {"seek to the very end", [&] { return MciSeek(id, 4000); }, MciErrNone, 0, 4000, MciModeStop},
      {"play a section", [&] { return MciPlay(id, 1000, 3000); }, MciErrNone, 5000, 3000,
       MciModeStop},
  };
  for (const Step& step : steps) {
    if (step.command) {
      EXPECT_EQ(step.command(), step.result) << step.what;
    }
    MciAdvanceForTest(step.advanceMs);
    EXPECT_EQ(Status(id, MciStatusPosition), step.position) << step.what;
    EXPECT_EQ(Status(id, MciStatusMode), step.mode) << step.what;
  }
}

TEST_F(MciTest, PlayedNoteIsHeardAndDiesAwayAfterItsEnd) {
  Track track;
  track.Program(0, 0, 0).NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).End(2400);  // 500 ms of 3000
  WriteBytes(folder_ + "note.mid", Smf(0, 480, {track}));
  uint16_t id = Open("note.mid");
  EXPECT_LT(Rms(MciRenderForTest(200)), kSilence) << "nothing plays before play";
  ASSERT_EQ(MciPlay(id), MciErrNone);
  std::vector<float> audio = MciRenderForTest(3000);
  double note = Rms(audio, 0, 500);
  double tail = Rms(audio, 2800, 3000);
  EXPECT_GT(note, 0.005);
  EXPECT_LT(tail, note / 1000);
  EXPECT_EQ(Status(id, MciStatusMode), MciModeStop);
}

TEST_F(MciTest, PauseAndStopSilenceAHeldNote) {
  // An organ note held for ten seconds: only the sequencer can end it early.
  Track track;
  track.Program(0, 0, 19).NoteOn(0, 0, 60, 100).NoteOff(9600, 0, 60).End(0);
  WriteBytes(folder_ + "organ.mid", Smf(0, 480, {track}));
  uint16_t id = Open("organ.mid");
  for (auto command : {MciPause, MciStop}) {
    ASSERT_EQ(MciPlay(id, 0), MciErrNone);
    std::vector<float> held = MciRenderForTest(500);
    ASSERT_EQ(command(id), MciErrNone);
    std::vector<float> after = MciRenderForTest(2000);
    EXPECT_GT(Rms(held, 300, 500), 0.005);
    EXPECT_LT(Rms(after, 1800, 2000), Rms(held, 300, 500) / 100);
  }
}

TEST_F(MciTest, PlayingFromAnywhereSetsTheInstrumentsTheFileChose) {
  // Church organ from 1000 ms on; the keyboard changes channel 1 in between.
  Track track;
  track.NoteOn(0, 0, 60, 100)
      .NoteOff(480, 0, 60)
      .Program(480, 0, 19)
      .NoteOn(0, 0, 62, 100)
      .NoteOff(1920, 0, 62)
      .End(0);
  WriteBytes(folder_ + "program.mid", Smf(0, 480, {track}));
  HMidiOut keyboard = 0;
  ASSERT_EQ(MidiOutOpen(keyboard, 0), MidiOutErrNone);
  uint16_t id = Open("program.mid");

  ASSERT_EQ(MidiOutShortMsg(keyboard, 0x05C0), MidiOutErrNone);
  ASSERT_EQ(MciPlay(id, 0), MciErrNone);
  MciRenderForTest(10);
  EXPECT_EQ(Preset(0), 0) << "the file starts with the default instrument";
  MciRenderForTest(1500);
  EXPECT_EQ(Preset(0), 19);

  ASSERT_EQ(MidiOutShortMsg(keyboard, 0x07C0), MidiOutErrNone);
  ASSERT_EQ(MciSeek(id, 2500), MciErrNone);
  ASSERT_EQ(MciPlay(id), MciErrNone);
  MciRenderForTest(1);
  EXPECT_EQ(Preset(0), 19) << "a seek past the change plays with it";

  ASSERT_EQ(MciPlay(id, 500), MciErrNone);
  MciRenderForTest(1);
  EXPECT_EQ(Preset(0), 0) << "a seek back before the change undoes it";
  MidiOutClose(keyboard);
}

TEST_F(MciTest, BadFilesGiveTheirErrorAndThePlayerStaysUsable) {
  std::string tempo = TempoChangeFile();
  WriteBytes(folder_ + "text.mid", "X:1\r\nT:Not a MIDI file\r\nK:C\r\nCDEF|\r\n");
  WriteBytes(folder_ + "cut.mid", tempo.substr(0, tempo.size() / 2));
  WriteBytes(folder_ + "empty.mid", "");
  WriteBytes(folder_ + "damaged.mid",
             tempo.substr(0, 22) + "\x81\x81\x81\x81\x81" + tempo.substr(27));
  WriteBytes(folder_ + "format2.mid", tempo.substr(0, 9) + "\x02" + tempo.substr(10));
  WriteBytes(folder_ + "tune.txt", tempo);
  mkdir((folder_ + "folder.mid").c_str(), 0700);
  struct Case {
    const char* name;
    uint32_t error;
  };
  const Case cases[] = {
      {"missing.mid", MciErrFileNotFound},
      {"text.mid", MciErrNotMidiFile},
      {"empty.mid", MciErrNotMidiFile},
      {"cut.mid", MciErrTruncatedFile},
      {"damaged.mid", MciErrDamagedFile},
      {"format2.mid", MciErrUnsupportedFile},
      {"folder.mid", MciErrFileRead},
      {"tune.txt", MciErrExtensionNotFound},
      {"nofolder/tune.mid", MciErrFileNotFound},
  };
  std::vector<std::string> texts;
  for (const Case& c : cases) {
    uint16_t id = 99;
    EXPECT_EQ(MciOpen(folder_ + c.name, id), c.error) << c.name;
    EXPECT_EQ(id, 0) << c.name;
    EXPECT_EQ(MciSynth::Instance().Holders(), 0) << c.name;
    std::string text;
    EXPECT_TRUE(MciGetErrorText(c.error, text)) << c.name;
    EXPECT_FALSE(text.empty()) << c.name;
    texts.push_back(text);

    uint16_t good = Open("tempo.mid");
    ASSERT_EQ(MciPlay(good), MciErrNone) << c.name;
    MciAdvanceForTest(1000);
    EXPECT_EQ(Status(good, MciStatusPosition), 1000u) << c.name;
    EXPECT_EQ(MciClose(good), MciErrNone) << c.name;
  }
  EXPECT_EQ(texts[1], "The file is not a MIDI file.");
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(std::unique(texts.begin(), texts.end()) - texts.begin(), 7)
      << "each kind of failure reads differently";
}

TEST_F(MciTest, ExtensionIsMatchedWithoutRegardToCase) {
  WriteBytes(folder_ + "TUNE.MID", TempoChangeFile());
  WriteBytes(folder_ + "tune.Midi", TempoChangeFile());
  EXPECT_EQ(Status(Open("TUNE.MID"), MciStatusLength), 4000u);
  EXPECT_EQ(Status(Open("tune.Midi"), MciStatusLength), 4000u);
}

TEST_F(MciTest, MissingSoundFontIsReportedAndTheNextOpenWorks) {
  SetMciSoundFont(folder_ + "nothing.sf2");
  uint16_t id = 7;
  EXPECT_EQ(MciOpen(folder_ + "tempo.mid", id), MciErrNoSynthesizer);
  EXPECT_EQ(id, 0);
  std::string text;
  ASSERT_TRUE(MciGetErrorText(MciErrNoSynthesizer, text));
  EXPECT_NE(text.find(folder_ + "nothing.sf2"), std::string::npos) << text;
  HMidiOut keyboard = 5;
  EXPECT_EQ(MidiOutOpen(keyboard, 0), MidiOutErrNoSynthesizer);
  EXPECT_EQ(keyboard, 0u);
  EXPECT_EQ(MciSynth::Instance().Holders(), 0);

  SetMciSoundFont(kDefaultSoundFont);
  EXPECT_EQ(Status(Open("tempo.mid"), MciStatusLength), 4000u);
}

TEST_F(MciTest, CommandsOnDevicesThatAreNotOpen) {
  uint16_t id = Open("tempo.mid");
  ASSERT_EQ(MciClose(id), MciErrNone);
  for (uint16_t bad : {uint16_t(0), id, uint16_t(999)}) {
    EXPECT_EQ(MciPlay(bad), MciErrInvalidDeviceId);
    EXPECT_EQ(MciPause(bad), MciErrInvalidDeviceId);
    EXPECT_EQ(MciResume(bad), MciErrInvalidDeviceId);
    EXPECT_EQ(MciStop(bad), MciErrInvalidDeviceId);
    EXPECT_EQ(MciSeek(bad, 0), MciErrInvalidDeviceId);
    EXPECT_EQ(MciClose(bad), MciErrInvalidDeviceId);
    uint32_t value = 5;
    EXPECT_EQ(MciStatus(bad, MciStatusMode, value), MciErrInvalidDeviceId);
    EXPECT_EQ(value, 0u);
  }
  std::string text = "old";
  EXPECT_FALSE(MciGetErrorText(12345, text));
  EXPECT_EQ(text, "");
}

TEST_F(MciTest, EachOpenGetsItsOwnDevice) {
  uint16_t first = Open("tempo.mid");
  uint16_t second = Open("tempo.mid");
  EXPECT_NE(first, second);
  ASSERT_EQ(MciPlay(first), MciErrNone);
  MciAdvanceForTest(300);
  EXPECT_EQ(Status(first, MciStatusPosition), 300u);
  EXPECT_EQ(Status(second, MciStatusPosition), 0u);
  ASSERT_EQ(MciClose(first), MciErrNone);
  EXPECT_EQ(MciSynth::Instance().Holders(), 1);
  ASSERT_EQ(MciPlay(second, 3500), MciErrNone);
  MciAdvanceForTest(600);
  EXPECT_EQ(Status(second, MciStatusMode), MciModeStop);
  EXPECT_EQ(Status(second, MciStatusPosition), 4000u);
}

// The player's thread runs while the main thread asks and commands.
TEST_F(MciTest, SilentClockMovesOnByTheWallClock) {
  SetMciClock(MciClock::Silent);
  uint16_t id = Open("tempo.mid");
  ASSERT_EQ(MciSynth::Instance().OutputName(), "silent");
  ASSERT_EQ(MciPlay(id), MciErrNone);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  uint32_t last = 0;
  int reads = 0;
  while (Status(id, MciStatusPosition) < 50 && std::chrono::steady_clock::now() < deadline) {
    uint32_t now = Status(id, MciStatusPosition);
    EXPECT_GE(now, last);
    last = now;
    ++reads;
    std::this_thread::yield();
  }
  EXPECT_GE(Status(id, MciStatusPosition), 50u);
  EXPECT_GT(reads, 0);
  ASSERT_EQ(MciPause(id), MciErrNone);
  EXPECT_EQ(Status(id, MciStatusMode), MciModePause);
  uint32_t paused = Status(id, MciStatusPosition);
  ASSERT_EQ(MciSeek(id, 3990), MciErrNone);
  ASSERT_EQ(MciPlay(id), MciErrNone);
  while (Status(id, MciStatusMode) == MciModePlay && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  EXPECT_EQ(Status(id, MciStatusPosition), 4000u);
  EXPECT_GE(paused, 50u);
  ASSERT_EQ(MciPlay(id, 0), MciErrNone);
  EXPECT_EQ(MciClose(id), MciErrNone) << "closing while playing ends the thread";
  EXPECT_EQ(MciSynth::Instance().OutputName(), "");
}

TEST_F(MciTest, AudioClockPlaysEvenWithoutASoundDevice) {
  // Notes are left out: where a device exists, this must not make a sound.
  Track track;
  track.End(10);
  WriteBytes(folder_ + "quiet.mid", Smf(0, 96, {track}));  // 52 ms
  SetMciClock(MciClock::Audio);
  uint16_t id = Open("quiet.mid");
  std::string output = MciSynth::Instance().OutputName();
  EXPECT_TRUE(output == "pulseaudio" || output == "alsa" || output == "silent") << output;
  ASSERT_EQ(MciPlay(id), MciErrNone);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (Status(id, MciStatusMode) == MciModePlay && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  EXPECT_EQ(Status(id, MciStatusPosition), 52u);
  EXPECT_EQ(Status(id, MciStatusMode), MciModeStop);
}

}  // namespace
}  // namespace quorrel::test
