// The Play commands end to end on the real abc2midi: the MIDI files it makes from
// the rewritten text, read back with our MIDI reader; the messages it prints,
// filtered; the player started on the result.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "music/Abc2midiMessages.h"
#include "music/AbcOptions.h"
#include "music/AbcTestSupport.h"
#include "music/AbcWorkFiles.h"
#include "music/MyPlayer.h"
#include "music/PlayRewrites.h"
#include "music/PlayTunes.h"
#include "music/PlayerBar.h"
#include "platform/Help.h"
#include "platform/MciSynth.h"
#include "platform/MidiFile.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

const char kTempoTune[] =
    "X:1\nT:Tempo\nM:4/4\nL:1/8\nQ:1/4=120\nK:G\nGABc dedB|dedB dedB|c2ec B2dB|c2A2 A4|\n";

const char kTwoVoices[] =
    "X:1\nT:Voices\nM:3/4\nL:1/4\nQ:1/4=100\nK:C\nV:1\ncde|fga|\nV:2\nCDE|FGA|\n";

const char kMetreTune[] = "X:1\nT:Jig\nM:6/8\nL:1/8\nK:D\nDFA dAF|GBd gdB|\n";

class PlayTunesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenSettings();
    CreatePlayer();
    SetPlayerSleepForTests([this](uint32_t ms) { sleeps_.push_back(ms); });
    folder_ = TestHome() + "tunes/";
    mkdir(folder_.c_str(), 0700);
    DeleteWorkFile(TempMidiFile());
    DeleteWorkFile(TempAbcFile());
  }

  // The tune becomes the current document, saved, with the caret in its first tune.
  void Open(const std::string& tune, const std::string& name = "Tunes.abc") {
    const std::string path = folder_ + name;
    ASSERT_TRUE(WriteFileBytes(path, Crlf(tune)));
    OpenDocument(Crlf(tune), 0, path).SetModified(false);
    IsAbc = true;
  }

  // Converts the tune at the caret and reads back the MIDI file.
  MidiFile Convert() {
    MidiFile midi;
    PlayClick("CreateMIDI");
    EXPECT_EQ(midi.Load(TempMidiFile()), MidiLoadResult::Ok);
    return midi;
  }

  static std::vector<MidiEvent> Events(const MidiFile& midi, uint8_t status) {
    std::vector<MidiEvent> found;
    for (const MidiEvent& event : midi.Events()) {
      if (event.status == status) found.push_back(event);
    }
    return found;
  }

  static bool NotesOn(const MidiFile& midi, int channel) {
    for (const MidiEvent& event : Events(midi, uint8_t(0x90 | channel))) {
      if (event.data2 > 0) return true;
    }
    return false;
  }

  std::string folder_;
  std::vector<uint32_t> sleeps_;
};

TEST_F(PlayTunesTest, SlowHalvesTheTempoOfTheMidiFile) {
  Open(kTempoTune);
  MidiFile normal = Convert();
  ASSERT_FALSE(normal.Tempos().empty());
  EXPECT_EQ(normal.Tempos()[0].microsPerQuarter, 500000u);  // 120 a minute

  SetAbcOption("Slow", true);
  MidiFile slow = Convert();
  ASSERT_FALSE(slow.Tempos().empty());
  EXPECT_EQ(slow.Tempos()[0].microsPerQuarter, 1000000u);  // 60 a minute
  EXPECT_EQ(slow.LengthMs(), 2 * normal.LengthMs());
}

TEST_F(PlayTunesTest, VoicesNotChosenPlayOnChannelFifteenAtNoVolume) {
  Open(kTwoVoices);
  MidiFile all = Convert();
  EXPECT_FALSE(NotesOn(all, 14));

  ChosenVoices = "1";
  MidiFile chosen = Convert();
  EXPECT_TRUE(NotesOn(chosen, 14)) << "voice 2 on channel 15";
  bool silenced = false;
  for (const MidiEvent& event : Events(chosen, 0xBE)) {
    if (event.data1 == 7 && event.data2 == 0) silenced = true;
  }
  EXPECT_TRUE(silenced) << "channel 15 at volume 0";
  EXPECT_TRUE(NotesOn(chosen, 0)) << "voice 1 stays where it was";
}

TEST_F(PlayTunesTest, MetronomeAddsADrumOnEveryBeat) {
  Open(kMetreTune);
  MidiFile plain = Convert();
  EXPECT_FALSE(NotesOn(plain, 9));

  SetAbcOption("Metronome", true);
  MidiFile metronome = Convert();
  int strokes = 0;
  for (const MidiEvent& event : Events(metronome, 0x99)) {
    if (event.data2 > 0) {
      EXPECT_EQ(event.data1, 75) << "claves";
      ++strokes;
    }
  }
  // Six beats in each of the two bars.
  EXPECT_GE(strokes, 12);
}

TEST_F(PlayTunesTest, IgnoreMidiProgramsLeavesTheDefaultProgram) {
  Open("X:1\nT:Programs\nM:4/4\nL:1/4\nK:C\n%%MIDI program 41\nCDEF|GABc|\n");
  auto programs = [](const MidiFile& midi) {
    std::vector<int> found;
    for (const MidiEvent& event : Events(midi, 0xC0)) found.push_back(event.data1);
    return found;
  };
  std::vector<int> withProgram = programs(Convert());
  EXPECT_NE(std::find(withProgram.begin(), withProgram.end(), 41), withProgram.end());
  SetAbcOption("Ignore", true);
  std::vector<int> ignored = programs(Convert());
  EXPECT_EQ(std::find(ignored.begin(), ignored.end(), 41), ignored.end());
}

TEST_F(PlayTunesTest, TheSilentClosingBarLetsTheLastNoteRingOut) {
  Open(kTempoTune);
  MidiFile midi = Convert();
  // Four bars at 120 a minute last 8 s; the closing rest adds a bar of its own.
  EXPECT_GT(midi.LengthMs(), 8000u);
  std::string sent;
  ASSERT_TRUE(ReadFileBytes(TempAbcFile(), sent));
  EXPECT_NE(sent.find(std::string("\r\n") + SilentClosingBar + "\r\n"), std::string::npos);
}

TEST_F(PlayTunesTest, PlayStartsThePlayerOnTheNewFile) {
  Open(kTempoTune);
  PlayClick("Play");
  EXPECT_TRUE(Dialogs().Texts().empty());
  EXPECT_TRUE(PlayPnl().Visible());
  EXPECT_TRUE(Player.IsOpen);
  EXPECT_EQ(Player.FileName, TempMidiFile());
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_GT(PlayLength, 8000);
  EXPECT_EQ(Timer().Interval(), PlayerTimerInterval);
  EXPECT_TRUE(Timer().Enabled());
  EXPECT_FALSE(FileExists(AbcErrorFile())) << "the message file goes at the end";
  EXPECT_TRUE(CurrentCommand.empty());

  MciAdvanceForTest(1000);
  Timer().Tick();
  EXPECT_EQ(PlayPnl().Elapsed(), "0:01");
  Player.StopPlay();
}

TEST_F(PlayTunesTest, PlayDoesNothingForOtherDocuments) {
  Open(kTempoTune, "notes.txt");
  IsAbc = false;
  PlayClick("Play");
  EXPECT_FALSE(FileExists(TempMidiFile()));
  EXPECT_FALSE(Player.IsOpen);
}

TEST_F(PlayTunesTest, AStaleMidiFileThatWillNotGoIsNeverPlayed) {
  Open(kTempoTune);
  // A folder in the work file's place cannot be deleted like a file.
  ASSERT_EQ(mkdir(NativePath(TempMidiFile()).c_str(), 0700), 0);
  ASSERT_TRUE(WriteFileBytes(TempMidiFile() + "/old", "x"));
  Dialogs().Answer(mrOk);
  EXPECT_TRUE(Aborts([] { PlayClick("Play"); }));
  EXPECT_NE(Dialogs().Last().text.find("when trying to delete " + TempMidiFile()),
            std::string::npos);
  EXPECT_EQ(sleeps_, (std::vector<uint32_t>{500, 500, 500}));
  EXPECT_FALSE(Player.IsOpen);
  EXPECT_FALSE(PlayPnl().Visible());
  EXPECT_FALSE(FileExists(TempAbcFile())) << "abc2midi never ran";
  std::filesystem::remove_all(NativePath(TempMidiFile()));
}

TEST_F(PlayTunesTest, AnOldMidiFileIsReplacedByTheNewTune) {
  Open(kTempoTune);
  PlayClick("CreateMIDI");
  EXPECT_FALSE(Player.IsOpen) << "Create MIDI plays nothing";
  MidiFile first;
  ASSERT_EQ(first.Load(TempMidiFile()), MidiLoadResult::Ok);
  Open(kMetreTune);
  PlayClick("Play");
  EXPECT_NE(PlayLength, int64_t(first.LengthMs()));
  MidiFile second;
  ASSERT_EQ(second.Load(TempMidiFile()), MidiLoadResult::Ok);
  EXPECT_EQ(PlayLength, int64_t(second.LengthMs()));
  Player.StopPlay();
}

TEST_F(PlayTunesTest, TextsThatCannotBePlayed) {
  struct Case {
    const char* name;
    std::string tune;
    std::string message;
  };
  const Case cases[] = {
      {"two tunes numbered 1", "X:1\nT:A\nK:C\nabc|\n\nX:1\nT:B\nK:C\ndef|\n",
       "Please validate this file first."},
      {"unfinished chord", "X:1\nT:A\nK:C\n\"Am abc|\n", "\"Am abc|\rhas unfinished chord."},
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    Open(c.tune);
    EXPECT_TRUE(Aborts([] { PlayClick("Play"); })) << c.name;
    ASSERT_FALSE(Dialogs().Calls().empty()) << c.name;
    EXPECT_EQ(Dialogs().Last().text, MessageText(c.message)) << c.name;
    EXPECT_FALSE(Player.IsOpen) << c.name;
  }
}

TEST_F(PlayTunesTest, PianoPartNeedsBracesInTheStaves) {
  SetAbcOption("PlayPiano", true);
  SetAbcOption("PlaySel", true);
  int helpShown = 0;
  Open(kTwoVoices);
  auto before = CurrentHelpHandler();
  SetHelpViewer([&](int context) { helpShown = context; });
  EXPECT_TRUE(Aborts([] { PlayClick("Play"); }));
  SetHelpViewer(before);
  EXPECT_EQ(helpShown, PianoPartHelp);
  EXPECT_FALSE(AbcOption("PlaySel"));

  Open(std::string("X:1\nT:Piano\nM:3/4\nL:1/4\n%%staves 1 {2 3}\nK:C\nV:1\ncde|\nV:2\nCDE|\n") +
       "V:3\nC,D,E,|\n");
  PlayClick("CreateMIDI");
  EXPECT_EQ(ChosenVoices, "2 3}");
  std::string sent;
  ASSERT_TRUE(ReadFileBytes(TempAbcFile(), sent));
  EXPECT_NE(sent.find("V:1\r\n%%MIDI channel 15\r\n"), std::string::npos);
  EXPECT_EQ(sent.find("V:2\r\n%%MIDI channel 15"), std::string::npos);
}

TEST_F(PlayTunesTest, PlayAllAsksAboutManyTunesAndSendsOneTuneNumber) {
  std::string file;
  for (int tune = 1; tune <= 12; ++tune) {
    if (tune > 1) file += "\n";
    file += "X:" + std::to_string(tune) + "\nT:Tune " + std::to_string(tune) +
            "\nM:2/4\nL:1/8\nK:C\nCDEF|\n";
  }
  Open(file);
  Dialogs().Answer(mrNo);
  EXPECT_TRUE(Aborts([] { PlayClick("PlayAll"); }));
  EXPECT_EQ(Dialogs().Last().text, "Do you really want to play 12 tunes?");
  EXPECT_FALSE(FileExists(TempMidiFile()));

  Dialogs().Answer(mrYes);
  PlayClick("PlayAll");
  std::string sent;
  ASSERT_TRUE(ReadFileBytes(TempAbcFile(), sent));
  EXPECT_EQ(sent.rfind("X:1\r\n", 0), 0u);
  EXPECT_EQ(sent.find("X:", 1), std::string::npos);
  EXPECT_TRUE(Player.IsOpen);
  Player.StopPlay();
}

TEST_F(PlayTunesTest, NoChordsOffersTheTextWithoutChordsAndStops) {
  SetAbcOption("NoChords", true);
  Open("X:1\nT:Chords\nM:4/4\nL:1/4\nK:C\n\"C\"CDEF|\"G7\"GABc|\n");
  Dialogs().Answer(mrNo);
  PlayClick("CreateMIDI");
  EXPECT_EQ(Dialogs().Last().text, "Show ABC without chords and stop?");
  std::string sent;
  ASSERT_TRUE(ReadFileBytes(TempAbcFile(), sent));
  EXPECT_EQ(sent.find("\"C\""), std::string::npos);
  EXPECT_NE(sent.find("   CDEF|    GABc|"), std::string::npos);
}

}  // namespace
}  // namespace quorrel::test

namespace quorrel::test {
namespace {

// abc2midi's real messages about faulty tunes, after the filter: what the score
// takes in its stride goes, the rest is shown under its heading with document lines.
TEST_F(PlayTunesTest, Abc2midiMessagesAreFilteredAndMappedToDocumentLines) {
  struct Case {
    const char* name;
    std::string tune;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"chords, segno, fermata, instructions",
       "X:1\nT:Faults\nM:4/4\nL:1/8\nK:G\n\"G\"ABcd \"Xm\"efga|\n\"C;G\"ABcd \"Ym\"efga|\n"
       "S abcd efga|\nabc !fermata!d4 efga|\nabcd efga2|\nabc !foo!d efga|\n",
       {"Messages from ABC2MIDI",
        "Error in line-char 6-8 : Guitar chord does not start with A-G or a-g",
        "Warning in line-char 10-10 : Track 1 Bar 4 has 9/2 time units while the time signature "
        "has 4"}},
      {"variant endings with an overlay",
       "X:1\nT:Overlay\nM:4/4\nL:1/4\nK:C\n|:ABcd|[1,3 abcd:|[2 ABcd & abc2|\nabc2-|c4|\n",
       {"Messages from ABC2MIDI",
        "Error in line-char 6-26 : Bad variant list : Overlay  (This may be an ABC2MIDI bug when "
        "using "
        "\"&\" for Voice overlay)"}},
      {"a clean tune", kTempoTune, {}},
  };
  for (const Case& c : cases) {
    Open(c.tune);
    ReadList.clear();
    PlayClick("Play");
    Player.StopPlay();
    std::vector<std::string> shown = ReadList;
    // The "quarter notes long" complaint after the overlay note depends on the tune's
    // length abc2midi computes; it is kept, with its own note.
    std::erase_if(shown, [](const std::string& line) {
      return line.find("quarter notes long") != std::string::npos &&
             line.find("  (probably same bug)") != std::string::npos;
    });
    EXPECT_EQ(shown, c.shown) << c.name;
  }
}

TEST_F(PlayTunesTest, ShowAllKeepsEveryMessage) {
  SetAbcOption("ShowAll", true);
  Open(kTempoTune);
  PlayClick("Play");
  Player.StopPlay();
  ASSERT_GE(ReadList.size(), 3u);
  EXPECT_EQ(ReadList[0], "Messages from ABC2MIDI");
  EXPECT_NE(ReadList[1].find("abc2midi"), std::string::npos) << "its version line";
  EXPECT_NE(std::find(ReadList.begin(), ReadList.end(), "scanning tune"), ReadList.end())
      << "verbose output";
}

TEST_F(PlayTunesTest, PlayAllRefusesALaterTuneWithVoices) {
  Open("X:1\nT:A\nM:4/4\nL:1/4\nK:C\nABcd|\n\nX:2\nT:B\nM:4/4\nK:C\nV:1\nabcd|\nV:2\nABCD|\n");
  EXPECT_TRUE(Aborts([] { PlayClick("PlayAll"); }));
  EXPECT_EQ(Dialogs().Last().text, "Cannot use Play All if later tune has \"V:\" commands.");
  Player.StopPlay();
}

TEST_F(PlayTunesTest, FilterRewritesAFailedOpenAndDropsTheWorkFile) {
  Open(kTempoTune);
  ASSERT_TRUE(WriteFileBytes(TempMidiFile(), "partial"));
  TAbc2midiFilter filter;
  filter.text = Crlf(kTempoTune);
  std::vector<std::string> shown = FilterAbc2midiMessages(
      {"4.84 January 20 2023 abc2midi", "Error in line-char 9-32 : File open failed",
       "writing MIDI file x.mid"},
      filter);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0],
            TempMidiFile() + ": Error in line-char 9-32 : File open failed  Please try again!");
  EXPECT_FALSE(FileExists(TempMidiFile()));
}

}  // namespace
}  // namespace quorrel::test

namespace quorrel::test {
namespace {

TEST_F(PlayTunesTest, PlayRawPreparesTheTuneAndPlaysNothing) {
  Open("X:1\nT:Raw\nM:4/4\nL:1/4\nK:C\nV:1\nCDEF|\n%%chords\n|C|\n");
  EXPECT_FALSE(MainMenu().Click("PlayRaw"));
  EXPECT_TRUE(AbcOption("PlayRaw"));
  EXPECT_FALSE(Dialogs().Texts().empty()) << "the preparation's error is shown";
  EXPECT_FALSE(FileExists(TempMidiFile()));
  EXPECT_FALSE(Player.IsOpen);
}

TEST_F(PlayTunesTest, SlowFromTheMenuPlaysTheTuneAgainAtHalfSpeed) {
  Open(kTempoTune);
  ASSERT_TRUE(MainMenu().Click("Play"));
  const int64_t normal = PlayLength;
  ASSERT_TRUE(MainMenu().Click("Slow"));
  EXPECT_TRUE(PlayPnl().Visible());
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_EQ(PlayLength, 2 * normal);
  Player.StopPlay();
}

}  // namespace
}  // namespace quorrel::test
