// The Play commands on real tune books (the examples Debian ships with abcmidi and
// abcm2ps) through the real abc2midi, as a musician plays them: tempo lines as real
// files write them, "Play all" on files whose tunes begin "X: 1", and files whose
// later tunes have voices.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "music/AbcOptions.h"
#include "music/AbcTestSupport.h"
#include "music/AbcWorkFiles.h"
#include "music/MyPlayer.h"
#include "music/PlayTunes.h"
#include "music/PlayerBar.h"
#include "platform/CodePage.h"
#include "platform/MidiFile.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

const char kAbcmidiExamples[] = "/usr/share/doc/abcmidi/examples/";
const char kAbcm2psExamples[] = "/usr/share/doc/abcm2ps/examples/";

// An example file as the editor holds it: Windows-1252, CR LF.
std::string Example(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(path, bytes)) << path << " (installed by scripts/install-deps)";
  bytes = Utf8ToAnsi(bytes);
  std::string text;
  for (const std::string& line : LinesWithoutEnds(bytes)) text += line + "\r\n";
  return text;
}

// The tunes of a tune book (split at its "X:" lines), the text before the first
// tune as tunes[0].
std::vector<std::string> Tunes(const std::string& text) {
  std::vector<std::string> tunes(1);
  for (const std::string& line : LinesWithoutEnds(text)) {
    if (line.starts_with("X:")) tunes.emplace_back();
    tunes.back() += line + "\r\n";
  }
  return tunes;
}

bool HasVoices(const std::string& tune) {
  for (const std::string& line : LinesWithoutEnds(tune)) {
    if (line.starts_with("V:")) return true;
  }
  return false;
}

class PlayTuneBooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenSettings();
    CreatePlayer();
    SetPlayerSleepForTests([](uint32_t) {});
    folder_ = TestHome() + "books/";
    mkdir(folder_.c_str(), 0700);
    DeleteWorkFile(TempMidiFile());
  }
  void TearDown() override { Player.StopPlay(); }

  // The text becomes the current document, saved, with the caret at offset.
  void Open(const std::string& text, size_t caret = 0) {
    const std::string path = folder_ + "Book.abc";
    ASSERT_TRUE(WriteFileBytes(path, text));
    OpenDocument(text, caret, path).SetModified(false);
    IsAbc = true;
  }

  // The length of the MIDI file the command made.
  uint32_t MidiLength() {
    MidiFile midi;
    EXPECT_EQ(midi.Load(TempMidiFile()), MidiLoadResult::Ok);
    return midi.LengthMs();
  }

  std::string SentText() {
    std::string sent;
    EXPECT_TRUE(ReadFileBytes(TempAbcFile(), sent));
    return sent;
  }

  std::string folder_;
};

// A real jig whose tempo line reads "Q:1/4 = 142", with its tempo line written the
// ways real files write it: Slow plays each twice as long.
TEST_F(PlayTuneBooksTest, SlowDoublesTheLengthWhateverTheTempoLineSpelling) {
  const std::string coleraine = Example(std::string(kAbcmidiExamples) + "coleraine.abc");
  ASSERT_NE(coleraine.find("Q:1/4 = 142\r\n"), std::string::npos);
  const char* tempoLines[] = {"Q:1/4=142", "Q:1/4 = 142", "Q:142", "Q: 3/8=60",
                              "Q:1/4 = 142 \"Allegro\""};
  for (const char* tempo : tempoLines) {
    SCOPED_TRACE(tempo);
    Open(ReplaceAll(coleraine, "Q:1/4 = 142\r\n", std::string(tempo) + "\r\n", true));
    SetAbcOption("Slow", false);
    PlayClick("CreateMIDI");
    const uint32_t normal = MidiLength();
    SetAbcOption("Slow", true);
    PlayClick("CreateMIDI");
    const uint32_t slow = MidiLength();
    EXPECT_GT(normal, 10000u);
    EXPECT_NEAR(double(slow), 2.0 * normal, 4.0);
  }
}

// abcmidi's demo file numbers its tunes "X: 1", "X: 2" ... with blank lines between
// them, some of them several; its tunes without voices make a tune book to play.
TEST_F(PlayTuneBooksTest, PlayAllPlaysATuneBookWhoseTunesBeginWithABlankAfterX) {
  const std::vector<std::string> tunes = Tunes(Example(std::string(kAbcmidiExamples) + "demo.abc"));
  std::string book = tunes[0];
  int count = 0;
  for (size_t i = 1; i < tunes.size(); ++i) {
    if (!HasVoices(tunes[i])) {
      book += tunes[i];
      ++count;
    }
  }
  ASSERT_EQ(count, 9);
  ASSERT_EQ(book.find("\r\nX:1\r\n"), std::string::npos) << "no tune is written exactly X:1";
  ASSERT_NE(book.find("\r\nX: 1\r\n"), std::string::npos);

  // The first tune alone, for comparison.
  Open(book, book.find("X: 1"));
  PlayClick("CreateMIDI");
  const uint32_t first = MidiLength();

  PlayClick("PlayAll");
  EXPECT_TRUE(Dialogs().Texts().empty()) << "nine tunes need no question";
  const std::string sent = SentText();
  EXPECT_EQ(sent.find("X:"), sent.find("X:1\r\n")) << "one tune number";
  EXPECT_EQ(sent.find("X:", sent.find("X:1\r\n") + 1), std::string::npos);
  EXPECT_TRUE(Player.IsOpen);
  EXPECT_GT(PlayLength, int64_t(4) * first) << "every tune is heard";
}

TEST_F(PlayTuneBooksTest, PlayAllAsksAboutTheTunesThereAreNotTheBlankLines) {
  struct Case {
    std::string file;
    int tunes;
  };
  const Case cases[] = {
      {std::string(kAbcmidiExamples) + "demo.abc", 12},    // 20 blank lines
      {std::string(kAbcm2psExamples) + "sample.abc", 12},  // 14 blank lines, "X: 13"
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    std::string text = Example(c.file);
    // Voices are another matter (below): here only the count.
    text = ReplaceAll(text, "\r\nV:", "\r\n%V:", true);
    Open(text);
    Dialogs().Answer(mrNo);
    EXPECT_TRUE(Aborts([] { PlayClick("PlayAll"); })) << c.file;
    ASSERT_EQ(Dialogs().Texts().size(), 1u) << c.file;
    EXPECT_EQ(Dialogs().Texts()[0],
              "Do you really want to play " + std::to_string(c.tunes) + " tunes?");
    EXPECT_FALSE(Player.IsOpen) << c.file;
  }
}

// Merged with the others, a later tune's voices would play over the tunes before
// it; abc2midi says so only when the first tune has no voices of its own.
TEST_F(PlayTuneBooksTest, PlayAllRefusesBooksWhoseLaterTunesHaveVoices) {
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"abcmidi's demo file", Example(std::string(kAbcmidiExamples) + "demo.abc")},
      {"abcm2ps's voices file", Example(std::string(kAbcm2psExamples) + "voices.abc")},
      {"voices in both tunes",
       Crlf("X:1\nT:A\nM:4/4\nL:1/4\nK:C\nV:1\nABcd|\nV:2\nabcd|\n\nX:2\nT:B\nM:4/4\nK:C\n"
            "V:1\nabcd|\nV:2\nABCD|\n")},
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    Open(c.text);
    EXPECT_TRUE(Aborts([] { PlayClick("PlayAll"); })) << c.name;
    ASSERT_EQ(Dialogs().Texts().size(), 1u) << c.name;
    EXPECT_EQ(Dialogs().Texts()[0], "Cannot use Play All if later tune has \"V:\" commands.")
        << c.name;
    EXPECT_FALSE(Player.IsOpen) << c.name;
    EXPECT_FALSE(FileExists(TempMidiFile())) << c.name << ": nothing was converted";
  }
}

// The message bar while abc2midi works: the window is drawn (its events run) with
// the message up before the MIDI file exists, and cleared once the tune plays.
class ConversionWatcher : public MemoryMainWindow {
 public:
  // The message is seen when the window next repaints.
  void ShowPendingChanges() override { Look(); }
  void ProcessMessages() override { Look(); }
  void Look() {
    if (StatusText(MessagePanel).starts_with("  Converting ABC to MIDI") &&
        !FileExists(TempMidiFile())) {
      shownWhileConverting = true;
    }
  }
  bool shownWhileConverting = false;
};

TEST_F(PlayTuneBooksTest, TheMessageBarSaysSoWhileTheTuneIsConverted) {
  ConversionWatcher window;
  SetMainWindow(&window);
  const std::string text = Example(std::string(kAbcmidiExamples) + "coleraine.abc");
  Open(text, text.find("K: Am"));
  PlayClick("Play");
  SetMainWindow(nullptr);
  EXPECT_TRUE(window.shownWhileConverting);
  EXPECT_TRUE(Player.IsOpen);
  EXPECT_EQ(window.StatusText(MessagePanel), "") << "cleared once the tune plays";
}

}  // namespace
}  // namespace quorrel::test
