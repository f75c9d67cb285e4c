#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "music/MidiBuilder.h"
#include "platform/Mci.h"
#include "platform/MciSynth.h"
#include "platform/MidiOut.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

uint32_t Message(int status, int data1, int data2 = 0) {
  return uint32_t(status) | uint32_t(data1) << 8 | uint32_t(data2) << 16;
}

int Holders() {
  return MciSynth::Instance().Holders();
}

TEST(MidiOutTest, EachOpenHoldsTheSynthesizerUntilItsClose) {
  HMidiOut first = 0, second = 0;
  ASSERT_EQ(MidiOutOpen(first, 0), MidiOutErrNone);
  ASSERT_EQ(MidiOutOpen(second, 0), MidiOutErrNone);
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(MidiOutOpenCount(), 2);
  EXPECT_EQ(Holders(), 2);

  std::string folder = TestHome() + "midiout/";
  mkdir(folder.c_str(), 0700);
  WriteBytes(folder + "tune.mid", TempoChangeFile());
  uint16_t player = 0;
  ASSERT_EQ(MciOpen(folder + "tune.mid", player), MciErrNone);
  EXPECT_EQ(Holders(), 3) << "the player shares the synthesizer";
  ASSERT_EQ(MciClose(player), MciErrNone);

  EXPECT_EQ(MidiOutClose(first), MidiOutErrNone);
  EXPECT_EQ(MidiOutClose(first), MidiOutErrInvalidHandle) << "a second close counts nothing";
  EXPECT_EQ(MidiOutShortMsg(first, Message(0x90, 60, 127)), MidiOutErrInvalidHandle);
  EXPECT_EQ(Holders(), 1);
  EXPECT_EQ(MciSynth::Instance().OutputName(), "manual");
  EXPECT_EQ(MidiOutShortMsg(second, Message(0x90, 60, 127)), MidiOutErrNone);
  EXPECT_EQ(MidiOutClose(second), MidiOutErrNone);
  EXPECT_EQ(MidiOutOpenCount(), 0);
  EXPECT_EQ(Holders(), 0);
  EXPECT_EQ(MciSynth::Instance().OutputName(), "");
}

TEST(MidiOutTest, OnlyDeviceZeroAndChannelMessages) {
  HMidiOut handle = 9;
  EXPECT_EQ(MidiOutOpen(handle, 1), MidiOutErrBadDeviceId);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(Holders(), 0);
  ASSERT_EQ(MidiOutOpen(handle, 0), MidiOutErrNone);
  EXPECT_EQ(MidiOutShortMsg(handle, Message(0x3C, 0x7F)), MidiOutErrInvalidMessage);
  EXPECT_EQ(MidiOutShortMsg(handle, 0xF8), MidiOutErrNone) << "system messages are let pass";
  EXPECT_EQ(MidiOutShortMsg(0, Message(0x90, 60, 127)), MidiOutErrInvalidHandle);
}

TEST(MidiOutTest, NotesSoundAndDieAwayAfterNoteOff) {
  struct Case {
    const char* name;
    int on, off, key;
  };
  const Case cases[] = {
      {"piano, channel 1", 0x90, 0x80, 60},
      {"snare drum, channel 10", 0x99, 0x89, 38},
      {"note off as velocity 0", 0x90, -1, 64},
  };
  HMidiOut handle = 0;
  ASSERT_EQ(MidiOutOpen(handle, 0), MidiOutErrNone);
  EXPECT_LT(Rms(MciRenderForTest(100)), kSilence);
  for (const Case& c : cases) {
    ASSERT_EQ(MidiOutShortMsg(handle, Message(c.on, c.key, 127)), MidiOutErrNone) << c.name;
    std::vector<float> held = MciRenderForTest(300);
    uint32_t off = c.off < 0 ? Message(c.on, c.key, 0) : Message(c.off, c.key, 127);
    ASSERT_EQ(MidiOutShortMsg(handle, off), MidiOutErrNone) << c.name;
    std::vector<float> after = MciRenderForTest(3000);
    EXPECT_GT(Rms(held), 0.005) << c.name;
    EXPECT_LT(Rms(after, 2800, 3000), Rms(held) / 1000) << c.name;
  }
}

TEST(MidiOutTest, ProgramChangeChoosesTheInstrument) {
  HMidiOut handle = 0;
  ASSERT_EQ(MidiOutOpen(handle, 0), MidiOutErrNone);
  ASSERT_EQ(MidiOutShortMsg(handle, Message(0xC2, 40)), MidiOutErrNone);
  int font = 0, bank = 0, preset = -1;
  fluid_synth_get_program(MciSynth::Instance().Synth(), 2, &font, &bank, &preset);
  EXPECT_EQ(preset, 40);
}

TEST(MidiOutTest, CloseEndsTheNotesItLeftSounding) {
  HMidiOut keeper = 0, player = 0;
  ASSERT_EQ(MidiOutOpen(keeper, 0), MidiOutErrNone);
  ASSERT_EQ(MidiOutOpen(player, 0), MidiOutErrNone);
  ASSERT_EQ(MidiOutShortMsg(player, Message(0xC0, 19)), MidiOutErrNone);  // organ: no decay
  ASSERT_EQ(MidiOutShortMsg(player, Message(0x90, 60, 127)), MidiOutErrNone);
  std::vector<float> held = MciRenderForTest(300);
  ASSERT_EQ(MidiOutClose(player), MidiOutErrNone);
  std::vector<float> after = MciRenderForTest(2000);
  EXPECT_GT(Rms(held, 200, 300), 0.005);
  EXPECT_LT(Rms(after, 1800, 2000), Rms(held, 200, 300) / 100);
}

TEST(MidiOutTest, StoppingThePlayerLeavesTheKeyboardsNotes) {
  // Both play an organ on channel 1: the player key 60, the keyboard key 72.
  Track track;
  track.Program(0, 0, 19).NoteOn(0, 0, 60, 100).NoteOff(4800, 0, 60).End(0);
  std::string folder = TestHome() + "midiout/";
  mkdir(folder.c_str(), 0700);
  WriteBytes(folder + "organ.mid", Smf(0, 480, {track}));
  HMidiOut keyboard = 0;
  ASSERT_EQ(MidiOutOpen(keyboard, 0), MidiOutErrNone);
  uint16_t player = 0;
  ASSERT_EQ(MciOpen(folder + "organ.mid", player), MciErrNone);
  ASSERT_EQ(MciPlay(player), MciErrNone);
  MciRenderForTest(100);
  ASSERT_EQ(MidiOutShortMsg(keyboard, Message(0x90, 72, 127)), MidiOutErrNone);
  std::vector<float> both = MciRenderForTest(400);
  ASSERT_EQ(MciStop(player), MciErrNone);
  std::vector<float> keyboardOnly = MciRenderForTest(2000);
  EXPECT_GT(Rms(keyboardOnly, 1800, 2000), 0.005) << "the keyboard's note still sounds";
  EXPECT_LT(Rms(keyboardOnly, 1800, 2000), Rms(both, 300, 400)) << "the player's note ended";
  ASSERT_EQ(MidiOutShortMsg(keyboard, Message(0x80, 72, 127)), MidiOutErrNone);
  std::vector<float> none = MciRenderForTest(2000);
  EXPECT_LT(Rms(none, 1800, 2000), Rms(both, 300, 400) / 100);
}

}  // namespace
}  // namespace quorrel::test
