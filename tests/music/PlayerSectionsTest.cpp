// The player bar's repeated section, gauge seek, half speed and the timer's player
// job, on the real sequencer with time moved on by the tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "music/AbcOptions.h"
#include "music/AbcTestSupport.h"
#include "music/MidiBuilder.h"
#include "music/MyPlayer.h"
#include "music/PlayerBar.h"
#include "music/PlayerJob.h"
#include "music/PlayerSections.h"
#include "platform/IniFile.h"
#include "platform/MciSynth.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

// One note, then silence, at 120 a minute and 480 ticks a quarter note: 0.96 ticks a ms.
std::string SilentFile(uint32_t ms) {
  const uint32_t ticks = ms * 96 / 100;
  Track track;
  track.Program(0, 0, 0).NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).End(ticks - 480);
  return Smf(0, 480, {track});
}

class PlayerSectionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenSettings();
    folder_ = TestHome() + "sections/";
    mkdir(folder_.c_str(), 0700);
    WriteBytes(folder_ + "long.mid", SilentFile(40000));
    WriteBytes(folder_ + "three.mid", SilentFile(180000));
    WriteBytes(folder_ + "empty.mid", Smf(0, 480, {Track().End(0)}));
    CreatePlayer();
    SetPlayerSleepForTests([this](uint32_t ms) { sleeps_.push_back(ms); });
    PlayPnl().SetGaugeWidth(400);
    OpenDocument("X:1\r\nK:C\r\nabc|\r\n", 0, folder_ + "tune.abc");
    IsAbc = true;
  }

  void Play(const std::string& name) {
    CurrentExt = ".MID";
    OpenInPlayer(folder_ + name);
    sleeps_.clear();
  }

  std::string folder_;
  std::vector<uint32_t> sleeps_;
};

TEST_F(PlayerSectionsTest, GoRepeatChecksTheSectionKeepsItAndDrawsIt) {
  struct Case {
    int64_t start, end;
    bool secB;
    int64_t wantStart, wantEnd;
    bool line;
    int left, width;
  };
  const Case cases[] = {
      {10000, 20000, true, 10000, 20000, true, 100, 100},
      {10000, 20000, false, 10000, 20000, false, 100, 100},
      {30000, 90000, true, 30000, 40000, true, 300, 100},  // the end cut to the length
      {50000, 0, false, 0, 0, false, 0, 0},                // a start beyond the end
      {0, 40000, true, 0, 40000, true, 0, 400},
  };
  Play("long.mid");
  for (const Case& c : cases) {
    PlayStart = c.start;
    PlayEnd = c.end;
    PlayPnl().SetSecBVisible(c.secB);
    GaugeSeeked = true;
    GoRepeat();
    EXPECT_EQ(PlayStart, c.wantStart) << c.start << "-" << c.end;
    EXPECT_EQ(PlayEnd, c.wantEnd) << c.start << "-" << c.end;
    EXPECT_FALSE(GaugeSeeked);
    EXPECT_EQ(PlayPnl().RepLineVisible(), c.line) << c.start << "-" << c.end;
    if (c.line) {
      EXPECT_EQ(PlayPnl().RepLineLeft(), c.left) << c.start << "-" << c.end;
      EXPECT_EQ(PlayPnl().RepLineWidth(), c.width) << c.start << "-" << c.end;
    }
    EXPECT_EQ(SettingsIni->ReadInteger("System", "MStart", -1), c.wantStart);
    EXPECT_EQ(SettingsIni->ReadInteger("System", "MEnd", -1), c.wantEnd);
  }
  EXPECT_TRUE(Dialogs().Texts().empty());
}

TEST_F(PlayerSectionsTest, AFileWithoutNotesStopsWithAMessage) {
  Play("empty.mid");
  ASSERT_EQ(Dialogs().Texts().size(), 1u);
  EXPECT_NE(Dialogs().Texts()[0].find("Tune has no notes!"), std::string::npos);
  EXPECT_FALSE(Player.IsOpen);
  EXPECT_FALSE(PlayPnl().Visible());
  Timer().SetInterval(PlayerTimerInterval);
  Timer().Tick();  // no division by the zero length
}

TEST_F(PlayerSectionsTest, TheSectionLoopsUnlessTheGaugeWasClicked) {
  Play("long.mid");
  PlayStart = 10000;
  PlayEnd = 20000;
  MciAdvanceForTest(20040);
  Timer().Tick();
  EXPECT_EQ(Player.GetPosition(), 10000u);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  MciAdvanceForTest(500);
  Timer().Tick();
  EXPECT_EQ(Player.GetPosition(), 10500u);
  EXPECT_EQ(PlayPnl().Elapsed(), "0:10");
  EXPECT_EQ(PlayPnl().TotalLength(), "0:40");
  EXPECT_EQ(PlayPnl().SliderWidth(), 105);

  GaugeSeeked = true;
  MciAdvanceForTest(10000);
  Timer().Tick();
  EXPECT_EQ(Player.GetPosition(), 20500u) << "no loop after a click on the gauge";
}

TEST_F(PlayerSectionsTest, GaugeClickSeeksByPermille) {
  EXPECT_EQ(GaugeTarget(100, 400, 180000), 45180);
  EXPECT_EQ(GaugeTarget(0, 400, 180000), 180);
  EXPECT_EQ(GaugeTarget(400, 400, 180000), 180000) << "not past the end";
  EXPECT_EQ(GaugeTarget(200, 400, 3000000), 501 * 3000);  // the coarse product of long tunes
  EXPECT_EQ(GaugeTarget(10, 0, 180000), 0);

  Play("three.mid");
  MGaugeClick(100);
  EXPECT_TRUE(GaugeSeeked);
  EXPECT_EQ(sleeps_, (std::vector<uint32_t>{45180 / 250})) << "a jump forward waits for the seek";
  EXPECT_EQ(Player.GetPosition(), 45180u);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  MciAdvanceForTest(1000);
  EXPECT_EQ(Player.GetPosition(), 46180u);

  // Backwards: no wait.
  sleeps_.clear();
  Timer().Tick();
  MGaugeClick(20);
  EXPECT_TRUE(sleeps_.empty());
  EXPECT_EQ(Player.GetPosition(), uint32_t(GaugeTarget(20, 400, 180000)));
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
}

TEST_F(PlayerSectionsTest, SectionButtons) {
  Play("long.mid");
  MciAdvanceForTest(5000);
  SecAClick();
  EXPECT_EQ(PlayStart, 5000);
  EXPECT_EQ(PlayEnd, 40000) << "to the end until B is set";
  EXPECT_TRUE(PlayPnl().SecBVisible());
  EXPECT_TRUE(PlayPnl().RepLineVisible());
  MciAdvanceForTest(3000);
  SecBClick();
  EXPECT_EQ(PlayEnd, 8000);
  EXPECT_EQ(PlayPnl().RepLineLeft(), 50);
  EXPECT_EQ(PlayPnl().RepLineWidth(), 30);
  SecEClick();
  EXPECT_EQ(PlayEnd, 40000);
  Sec0Click();
  EXPECT_EQ(PlayStart, 0);
  EXPECT_EQ(PlayEnd, 0);
  EXPECT_FALSE(PlayPnl().SecBVisible());
  EXPECT_FALSE(PlayPnl().RepLineVisible());

  // A while paused: from the start, and playing.
  Player.PauseResume();
  EXPECT_EQ(Player.GetMode(), PlayerPaused);
  SecAClick();
  EXPECT_EQ(PlayStart, 0);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
}

TEST_F(PlayerSectionsTest, SlowDoublesTheSectionAndNormalHalvesIt) {
  PlayStart = 3001;
  PlayEnd = 9001;
  SetAbcOption("Slow", true);
  CurrentEditor = nullptr;  // no tab: nothing plays again
  SlowClick();
  EXPECT_EQ(PlayStart, 6002);
  EXPECT_EQ(PlayEnd, 18002);
  EXPECT_FALSE(PlayPnl().SlowBtnVisible());
  EXPECT_EQ(SettingsIni->ReadInteger("System", "MStart", -1), 6002);
  SlowBtnClick();
  EXPECT_FALSE(AbcOption("Slow"));
  EXPECT_EQ(PlayStart, 3001);
  EXPECT_EQ(PlayEnd, 9001);
  EXPECT_TRUE(PlayPnl().SlowBtnVisible());
  EXPECT_EQ(SettingsIni->ReadInteger("System", "MEnd", -1), 9001);
}

TEST_F(PlayerSectionsTest, TimerRunsThePlayerJobOnlyWhilePlaying) {
  Play("long.mid");
  MciAdvanceForTest(61000 % 40000);
  Timer().Tick();
  EXPECT_EQ(PlayPnl().Elapsed(), "0:21");
  Player.PauseResume();
  EXPECT_EQ(Timer().Interval(), BlinkTimerInterval);
  PlayPnl().SetTimes("x", "y");
  Timer().Tick();
  EXPECT_EQ(PlayPnl().Elapsed(), "x") << "the blink job's tick leaves the bar alone";
}

}  // namespace
}  // namespace quorrel::test
