// The MIDI player control on the real sequencer, with time moved on by the tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "music/AbcTestSupport.h"
#include "music/AbcWorkFiles.h"
#include "music/MidiBuilder.h"
#include "music/MidiFormState.h"
#include "music/MyPlayer.h"
#include "music/PlayerBar.h"
#include "music/ReportView.h"
#include "platform/Mci.h"
#include "platform/MciSynth.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

// One note, then silence: 40 s at 120 bpm, 480 ticks a quarter note.
std::string LongFile() {
  Track track;
  track.Program(0, 0, 0).NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).End(38400 - 480);
  return Smf(0, 480, {track});
}

class MyPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = TestHome() + "player/";
    mkdir(folder_.c_str(), 0700);
    WriteBytes(folder_ + "tempo.mid", TempoChangeFile());  // 4000 ms
    WriteBytes(folder_ + "long.mid", LongFile());          // 40000 ms
    CreatePlayer();
    SetPlayerSleepForTests([this](uint32_t ms) { sleeps_.push_back({ms, Player.GetPosition()}); });
  }

  // The document whose extension decides how the player treats the file.
  static void Document(const std::string& path) {
    CurrentFileName = path;
    CurrentExt = UpperCaseAnsi(ExtractFileExt(path));
  }

  // A wait the player asked for, and where the device stood while it waited.
  struct Sleep {
    uint32_t ms;
    uint32_t position;
    bool operator==(const Sleep&) const = default;
  };

  std::string folder_;
  std::vector<Sleep> sleeps_;
};

TEST_F(MyPlayerTest, MidiDocumentOpensInTheBarAndPlays) {
  Document(folder_ + "tempo.mid");
  OpenInPlayer(folder_ + "tempo.mid");
  EXPECT_TRUE(PlayPnl().Visible());
  EXPECT_TRUE(PlayPnl().ABCBtnVisible());
  EXPECT_FALSE(PlayPnl().SlowBtnVisible()) << "speed buttons belong to ABC documents";
  EXPECT_FALSE(PlayPnl().FastBtnVisible());
  EXPECT_TRUE(Player.IsOpen);
  EXPECT_NE(Player.DeviceId, 0);
  EXPECT_EQ(PlayLength, 4000);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_EQ(Timer().Interval(), PlayerTimerInterval);
  EXPECT_TRUE(Timer().Enabled());
  EXPECT_TRUE(sleeps_.empty()) << "a play from the start needs no preliminary seek";

  MciAdvanceForTest(1500);
  EXPECT_EQ(Player.GetPosition(), 1500u);
  EXPECT_EQ(Player.GetLength(), 4000u);
  MciAdvanceForTest(2500);
  EXPECT_EQ(Player.GetPosition(), 4000u);
  EXPECT_EQ(Player.GetMode(), PlayerStopped);
}

TEST_F(MyPlayerTest, TheBarShowsTheConvertButtonOnlyForMidiDocuments) {
  WriteBytes(folder_ + "tune.MIDI", TempoChangeFile());
  WriteBytes(folder_ + "tune.midx", TempoChangeFile());
  struct Case {
    std::string document;  // the current document
    std::string file;      // what the player plays
    bool abcBtn;
  };
  const Case cases[] = {
      {folder_ + "tempo.mid", folder_ + "tempo.mid", true},
      {folder_ + "TEMPO.MID", folder_ + "tempo.mid", true},
      {folder_ + "tune.MIDI", folder_ + "tune.MIDI", true},
      {folder_ + "tune.midx", folder_ + "tempo.mid", true},
      {folder_ + "tune.abc", folder_ + "tempo.mid", false},
      {folder_ + "notes.txt", folder_ + "tempo.mid", false},
      {"", folder_ + "tempo.mid", false},
  };
  for (const Case& c : cases) {
    Document(c.document);
    PlayPnl().SetABCBtnVisible(!c.abcBtn);
    Player.FileName = c.file;
    Player.OpenFile();
    EXPECT_EQ(PlayPnl().ABCBtnVisible(), c.abcBtn) << c.document;
    EXPECT_TRUE(Player.IsOpen) << c.document;
    Player.CloseDevice();
  }
}

TEST_F(MyPlayerTest, MidiDocumentWithTheLongExtensionPlaysFromItsWorkCopy) {
  // A work file left from an earlier tune must not be what plays.
  Track other;
  other.NoteOn(0, 0, 50, 90).NoteOff(960, 0, 50).End(0);
  WriteBytes(TempMidiFile(), Smf(0, 480, {other}));
  WriteBytes(folder_ + "Song.MIDI", TempoChangeFile());
  Document(folder_ + "Song.MIDI");
  OpenInPlayer(folder_ + "Song.MIDI");
  EXPECT_EQ(Player.FileName, TempMidiFile());
  std::string copy;
  ASSERT_TRUE(ReadFileBytes(TempMidiFile(), copy));
  EXPECT_EQ(copy, TempoChangeFile());
  EXPECT_EQ(Player.GetLength(), 4000u);

  // Opening again reads the copy it already made.
  Player.CloseDevice();
  Player.OpenFile();
  EXPECT_TRUE(Player.IsOpen);
  ASSERT_TRUE(ReadFileBytes(TempMidiFile(), copy));
  EXPECT_EQ(copy, TempoChangeFile());
}

TEST_F(MyPlayerTest, MissingMidiDocumentIsNotReplacedByAnEarlierWorkFile) {
  WriteBytes(TempMidiFile(), TempoChangeFile());
  Document(folder_ + "gone.midi");
  EXPECT_TRUE(Aborts([&] { OpenInPlayer(folder_ + "gone.midi"); }));
  ASSERT_EQ(Dialogs().Texts().size(), 1u);
  EXPECT_EQ(Dialogs().Texts()[0],
            "Quorrel could not open file\r" + TempMidiFile() +
                "\rThe file was not found. Make sure the folder and the file name are correct.");
  EXPECT_FALSE(FileExists(TempMidiFile()));
  EXPECT_FALSE(Player.IsOpen);
  EXPECT_FALSE(PlayPnl().Visible());
}

TEST_F(MyPlayerTest, FileThatCannotBeOpenedGivesItsMessageAndThePlayerStaysUsable) {
  std::string tempo = TempoChangeFile();
  WriteBytes(folder_ + "text.mid", "X:1\r\nT:Not a MIDI file\r\nK:C\r\nCDEF|\r\n");
  WriteBytes(folder_ + "cut.mid", tempo.substr(0, tempo.size() / 2));
  WriteBytes(folder_ + "tune.wma", tempo);
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"missing.mid",
       "The file was not found. Make sure the folder and the file name are correct."},
      {"text.mid", "The file is not a MIDI file."},
      {"cut.mid", "The MIDI file is incomplete: it ends before its last track does."},
      {"tune.wma", "No media device plays files of this type."},
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    // The bar of the tune playing before goes when the next file cannot be opened.
    Document(folder_ + "tempo.mid");
    OpenInPlayer(folder_ + "tempo.mid");
    MciAdvanceForTest(100);
    const std::string path = folder_ + c.name;
    Document(path);
    EXPECT_TRUE(Aborts([&] { OpenInPlayer(path); })) << c.name;
    ASSERT_EQ(Dialogs().Texts().size(), 1u) << c.name;
    EXPECT_EQ(Dialogs().Texts()[0], "Quorrel could not open file\r" + path + "\r" + c.text);
    EXPECT_FALSE(Player.IsOpen) << c.name;
    EXPECT_EQ(Player.DeviceId, 0) << c.name;
    EXPECT_FALSE(PlayPnl().Visible()) << c.name;
    EXPECT_FALSE(Timer().Enabled()) << c.name;
    EXPECT_EQ(MciSynth::Instance().Holders(), 0) << c.name;

    Document(folder_ + "tempo.mid");
    OpenInPlayer(folder_ + "tempo.mid");
    MciAdvanceForTest(700);
    EXPECT_EQ(Player.GetPosition(), 700u) << c.name;
    EXPECT_EQ(Player.GetMode(), PlayerPlaying) << c.name;
    Player.StopPlay();
  }
}

TEST_F(MyPlayerTest, FileNameInWindows1252Opens) {
  const std::string name = "Caf\xE9 cr\xE8me.mid";
  WriteBytes(NativePath(folder_ + name), TempoChangeFile());
  Document(folder_ + name);
  OpenInPlayer(folder_ + name);
  EXPECT_EQ(Player.GetLength(), 4000u);
  EXPECT_TRUE(Dialogs().Texts().empty());
}

TEST_F(MyPlayerTest, PlayingFromTheSectionStartSeeksAheadWaitsAndSeeksBack) {
  Document(folder_ + "long.mid");
  struct Case {
    int64_t playStart;
    std::vector<Sleep> sleeps;
    uint32_t position;  // where playing begins
  };
  const Case cases[] = {
      {30000, {{200, 30100}}, 30000},
      {150, {{1, 250}}, 150},
      {39950, {{266, 0}}, 39950},  // the step ahead lies beyond the end: not taken
      // A section start beyond the end (a damaged setting) waits no longer than the
      // file lasts, and is not sought.
      {900000000, {{266, 0}}, 0},
  };
  for (const Case& c : cases) {
    sleeps_.clear();
    PlayStart = c.playStart;
    Player.FileName = folder_ + "long.mid";
    Player.Play();
    EXPECT_EQ(sleeps_, c.sleeps) << c.playStart;
    EXPECT_EQ(Player.GetPosition(), c.position) << c.playStart;
    EXPECT_EQ(Player.GetMode(), PlayerPlaying) << c.playStart;
    MciAdvanceForTest(10);
    EXPECT_EQ(Player.GetPosition(), c.position + 10) << c.playStart;
    Player.StopPlay();
  }
}

TEST_F(MyPlayerTest, PlayingAgainFromTheMiddleGoesBackToTheStart) {
  Document(folder_ + "long.mid");
  Player.FileName = folder_ + "long.mid";
  Player.Play();
  MciAdvanceForTest(700);
  EXPECT_TRUE(sleeps_.empty());
  PlayBtnClick();
  EXPECT_EQ(sleeps_, (std::vector<Sleep>{{100, 0}}));
  EXPECT_EQ(Player.GetPosition(), 0u);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
}

TEST_F(MyPlayerTest, PlayUsesTheStartAndEndPositionsOnce) {
  Document(folder_ + "long.mid");
  Player.FileName = folder_ + "long.mid";
  Player.UseFrom = true;
  Player.FromPos = 5000;
  Player.UseTo = true;
  Player.ToPos = 6000;
  Player.Play();
  EXPECT_FALSE(Player.UseFrom);
  EXPECT_FALSE(Player.UseTo);
  EXPECT_EQ(Player.GetPosition(), 5000u);
  MciAdvanceForTest(2000);
  EXPECT_EQ(Player.GetPosition(), 6000u);
  EXPECT_EQ(Player.GetMode(), PlayerStopped);
  Player.Play();  // from the start, to the end
  MciAdvanceForTest(7000);
  EXPECT_EQ(Player.GetPosition(), 7000u);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
}

TEST_F(MyPlayerTest, PauseAndResumeSwitchTheTimerAndHoldThePosition) {
  Document(folder_ + "long.mid");
  OpenInPlayer(folder_ + "long.mid");
  MciAdvanceForTest(1200);
  Player.PauseResume();
  EXPECT_EQ(Player.GetMode(), PlayerPaused);
  EXPECT_TRUE(Player.IsPaused);
  EXPECT_EQ(Timer().Interval(), BlinkTimerInterval);
  EXPECT_TRUE(Timer().Enabled());
  MciAdvanceForTest(800);
  EXPECT_EQ(Player.GetPosition(), 1200u);

  Player.PauseResume();
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_FALSE(Player.IsPaused);
  EXPECT_EQ(Timer().Interval(), PlayerTimerInterval);
  MciAdvanceForTest(300);
  EXPECT_EQ(Player.GetPosition(), 1500u);
  EXPECT_TRUE(sleeps_.empty());
}

TEST_F(MyPlayerTest, ResumeWithTheTimerOffPlaysFromTheStart) {
  Document(folder_ + "long.mid");
  PlayStart = 2000;
  Player.FileName = folder_ + "long.mid";
  Player.PauseResume();  // opens the file, and plays it since nothing was playing
  EXPECT_TRUE(Player.IsOpen);
  EXPECT_EQ(PlayLength, 40000);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_EQ(Player.GetPosition(), 2000u);
  EXPECT_EQ(sleeps_, (std::vector<Sleep>{{13, 2100}}));
  EXPECT_TRUE(Timer().Enabled());
}

TEST_F(MyPlayerTest, PauseButtonRestartsAPausedSequencerFromItsPosition) {
  Document(folder_ + "long.mid");
  OpenInPlayer(folder_ + "long.mid");
  MciAdvanceForTest(3000);
  PauseBtnClick();
  EXPECT_EQ(Player.GetMode(), PlayerPaused);
  EXPECT_TRUE(sleeps_.empty()) << "pausing needs no wait";
  PauseBtnClick();
  EXPECT_EQ(sleeps_, (std::vector<Sleep>{{66, 3100}}));  // 40000 / 600
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_EQ(Player.GetPosition(), 3000u);
  MciAdvanceForTest(50);
  EXPECT_EQ(Player.GetPosition(), 3050u);
}

// While paused, the blink job's first tick switches the timer off; a resume after
// that must still go on where the tune stopped.
TEST_F(MyPlayerTest, ResumeAfterALongPauseGoesOnWhereTheTunePaused) {
  OpenDocument(Crlf("X:1\nT:Tune\nK:C\nCDEF|\n"), 0, folder_ + "tune.abc");
  struct Case {
    const char* name;
    std::function<void()> pauseOrResume;
  };
  const Case cases[] = {
      {"pause button", [] { PauseBtnClick(); }},
      {"player", [] { Player.PauseResume(); }},
  };
  for (const Case& c : cases) {
    Player.FileName = folder_ + "long.mid";
    SetPanel();
    Player.Play();
    MciAdvanceForTest(6000);
    c.pauseOrResume();
    ASSERT_EQ(Player.GetMode(), PlayerPaused) << c.name;
    // The blink job's half-second ticks, until it has nothing left to do.
    for (int tick = 0; tick < 20 && Timer().Enabled(); ++tick) Timer().Tick();
    EXPECT_FALSE(Timer().Enabled()) << c.name << ": the blink job has ended";
    MciAdvanceForTest(2000);

    c.pauseOrResume();
    EXPECT_EQ(Player.GetMode(), PlayerPlaying) << c.name;
    EXPECT_NEAR(Player.GetPosition(), 6000.0, 100.0) << c.name;
    EXPECT_TRUE(Timer().Enabled()) << c.name << ": the bar follows the tune again";
    EXPECT_EQ(Timer().Interval(), PlayerTimerInterval) << c.name;
    MciAdvanceForTest(1000);
    Timer().Tick();
    EXPECT_EQ(PlayPnl().Elapsed(), "0:07") << c.name;
    Player.StopPlay();
  }
}

TEST_F(MyPlayerTest, StopClosesTheDeviceAndHidesTheBarUnlessAStopWasRequested) {
  Document(folder_ + "tempo.mid");
  for (bool requested : {false, true}) {
    OpenInPlayer(folder_ + "tempo.mid");
    MciAdvanceForTest(500);
    PlayPnl().SetSliderWidth(120);
    if (requested) {
      StopBtnClick();
    } else {
      Player.StopPlay();
    }
    EXPECT_EQ(PlayPnl().Visible(), requested) << requested;
    EXPECT_FALSE(StopRequested);
    EXPECT_EQ(PlayPnl().SliderWidth(), 0) << requested;
    EXPECT_FALSE(Player.IsOpen) << requested;
    EXPECT_EQ(Player.DeviceId, 0) << requested;
    EXPECT_EQ(Player.GetMode(), PlayerNotReady) << requested;
    EXPECT_EQ(Timer().Interval(), BlinkTimerInterval) << requested;
    EXPECT_FALSE(Timer().Enabled()) << requested;
    EXPECT_EQ(MciSynth::Instance().Holders(), 0) << requested;
  }
  // Stopping a closed player hides the bar and nothing else.
  PlayPnl().SetVisible(true);
  Player.StopPlay();
  EXPECT_FALSE(PlayPnl().Visible());
}

TEST_F(MyPlayerTest, CloseButtonStopsAndHidesTheBar) {
  Document(folder_ + "tempo.mid");
  OpenInPlayer(folder_ + "tempo.mid");
  ClosePClick();
  EXPECT_FALSE(PlayPnl().Visible());
  EXPECT_FALSE(Player.IsOpen);
}

TEST_F(MyPlayerTest, SectionEndButtonShowsWhenASectionEnds) {
  Document(folder_ + "tempo.mid");
  for (int64_t end : {0, 3000}) {
    PlayPnl().SetSecBVisible(false);
    PlayEnd = end;
    OpenInPlayer(folder_ + "tempo.mid");
    EXPECT_EQ(PlayPnl().SecBVisible(), end != 0) << end;
  }
}

TEST_F(MyPlayerTest, DirectiveEditorShowsThePlayingHelpWhileThePlayerPlays) {
  Document(folder_ + "tune.abc");
  Player.FileName = folder_ + "tempo.mid";
  MidiFormOpen = true;
  MidiFormHelpContext = 55735;
  Player.Play();
  EXPECT_EQ(MidiFormHelpContext, PlayingHelp);
  Player.Play();  // playing again keeps the form's own topic to go back to
  EXPECT_EQ(MidiFormHelpContext, PlayingHelp);
  Player.StopPlay();
  EXPECT_EQ(MidiFormHelpContext, 55735);

  // A player that started before the form opened leaves the form's topic alone.
  MidiFormOpen = false;
  Player.Play();
  MidiFormOpen = true;
  MidiFormHelpContext = 55810;
  Player.CloseDevice();
  EXPECT_EQ(MidiFormHelpContext, 55810);
}

TEST_F(MyPlayerTest, StatusOfAClosedPlayerAndNegativeSeeks) {
  EXPECT_EQ(Player.GetMode(), PlayerNotReady);
  EXPECT_EQ(Player.GetPosition(), 0u);
  EXPECT_EQ(Player.GetLength(), 0u);
  Player.LastError = 999;
  EXPECT_EQ(Player.GetErrorText(), "Unknown error code");

  Document(folder_ + "tempo.mid");
  OpenInPlayer(folder_ + "tempo.mid");
  MciAdvanceForTest(250);
  Player.SeekTo(-1);
  EXPECT_EQ(Player.GetPosition(), 250u);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  Player.SeekTo(1000);
  EXPECT_EQ(Player.GetPosition(), 1000u);
  EXPECT_EQ(Player.GetMode(), PlayerStopped);
}

TEST_F(MyPlayerTest, JumpFromTheReportViewerPausesAPlayingTune) {
  OpenDocument(Crlf("X:1\nT:Tune\nK:C\nCDEF|\n"), 0, folder_ + "tune.abc");
  Player.FileName = folder_ + "tempo.mid";
  Player.Play();
  MciAdvanceForTest(400);
  ASSERT_TRUE(ReportLineClicked("4:2 Error: bar too long"));
  EXPECT_EQ(Player.GetMode(), PlayerPaused);
  MciAdvanceForTest(400);
  EXPECT_EQ(Player.GetPosition(), 400u);
  // A paused tune stays paused.
  ASSERT_TRUE(ReportLineClicked("3:1 Error"));
  EXPECT_EQ(Player.GetMode(), PlayerPaused);
}

TEST_F(MyPlayerTest, RealTuneIsHeardWhileItPlays) {
  RunAbc2midi(Crlf("X:1\nT:Scale\nM:4/4\nL:1/4\nQ:1/4=120\nK:C\nCDEF|GABc|\n"));
  Document(folder_ + "tune.abc");
  Player.FileName = TempMidiFile();
  Player.Play();
  EXPECT_NEAR(PlayLength, 4000, 50);  // eight quarter notes at 120
  std::vector<float> audio = MciRenderForTest(1000);
  EXPECT_GT(Rms(audio), 0.001);
  Player.PauseResume();
  EXPECT_LT(Rms(MciRenderForTest(1500), 1000), Rms(audio) / 100) << "a paused tune falls silent";
}

}  // namespace
}  // namespace quorrel::test
