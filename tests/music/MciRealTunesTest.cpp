// The player on real MIDI files: abc2midi's output of the example tunes Debian ships
// with abcmidi, timed against a tempo map that Python's mido reads from the same files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <cmath>

#include "music/MidiBuilder.h"
#include "platform/Mci.h"
#include "platform/MciSynth.h"
#include "platform/MidiFile.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

const char* const kExamples = "/usr/share/doc/abcmidi/examples";

// Exact length in ms (rounded down) from mido's reading of each file, by our own sum of
// ticks times tempo over the merged tracks; mido's own length (float seconds) beside it.
const char* const kOracle = R"(
import sys
from fractions import Fraction
import mido
for path in sys.argv[1:]:
    midi = mido.MidiFile(path)
    timeline = []
    for track in midi.tracks:
        tick = 0
        for message in track:
            tick += message.time
            timeline.append((tick, message))
    timeline.sort(key=lambda item: item[0])
    tempo, last, micros = 500000, 0, Fraction(0)
    for tick, message in timeline:
        micros += Fraction((tick - last) * tempo, midi.ticks_per_beat)
        last = tick
        if message.type == 'set_tempo':
            tempo = message.tempo
    print(int(micros // 1000), midi.length * 1000, path)
)";

// Our own tune for abc2midi, in two voices, with tempo changes inside the tune.
const char* const kTempoChanges =
    "X:1\nT:Tempo changes\nM:4/4\nL:1/4\nQ:1/4=120\nK:C\n"
    "V:1\nCDEF|GABc|[Q:1/4=60]cBAG|FEDC|\n[Q:1/4=200]CEGc|[Q:3/8=77]cGEC|]\n"
    "V:2\nC,4|G,4|C,4|G,4|C,4|C,4|]\n";

struct RealTune {
  std::string path;
  uint32_t expectedMs = 0;
  double midoMs = 0;
};

bool RunTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr,
             const QString& outputFile = QString()) {
  QProcess process;
  if (!outputFile.isEmpty()) process.setStandardOutputFile(outputFile);
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) return false;
  if (output) *output = process.readAllStandardOutput();
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class MciRealTunesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string folder = TestHome() + "tunes/";
    mkdir(folder.c_str(), 0700);
    WriteBytes(folder + "tempo-changes.abc", kTempoChanges);
    QStringList sources{QString::fromStdString(folder) + "tempo-changes.abc"};
    for (const QString& name :
         QDir(kExamples).entryList({"*.abc", "*.abc.gz"}, QDir::Files, QDir::Name)) {
      sources << QString(kExamples) + "/" + name;
    }
    QStringList midiFiles;
    for (QString source : sources) {
      QString name = QFileInfo(source).fileName();
      QString base = QString::fromStdString(folder) + QString(name).remove(".gz").remove(".abc");
      if (name.endsWith(".gz")) {
        if (!RunTool("zcat", {source}, nullptr, base + ".abc")) continue;
        source = base + ".abc";
      }
      // abc2midi writes the first tune of the file where -o says.
      RunTool("abc2midi", {source, "-o", base + ".mid"});
      if (QFileInfo(base + ".mid").size() > 0) midiFiles << base + ".mid";
    }
    QByteArray output;
    if (midiFiles.isEmpty() ||
        !RunTool("/usr/bin/python3", QStringList{"-c", kOracle} + midiFiles, &output)) {
      return;
    }
    for (const QByteArray& line : output.split('\n')) {
      QList<QByteArray> fields = line.split(' ');
      if (fields.size() < 3) continue;
      RealTune tune;
      tune.expectedMs = fields[0].toUInt();
      tune.midoMs = fields[1].toDouble();
      tune.path = line.mid(fields[0].size() + fields[1].size() + 2).toStdString();
      tunes_.push_back(tune);
    }
  }

  void SetUp() override {
    ASSERT_GE(tunes_.size(), 9u) << "abc2midi, the abcmidi examples and python3-mido are needed";
  }

  static inline std::vector<RealTune> tunes_;
};

TEST_F(MciRealTunesTest, LengthIsTheTempoMapsToTheMillisecond) {
  bool tempoChanges = false;
  for (const RealTune& tune : tunes_) {
    SCOPED_TRACE(tune.path);
    // The oracle itself agrees with mido's own sum in floating point.
    EXPECT_LT(std::fabs(tune.midoMs - tune.expectedMs), 1.0);
    uint16_t id = 0;
    ASSERT_EQ(MciOpen(tune.path, id), MciErrNone);
    uint32_t length = 0;
    EXPECT_EQ(MciStatus(id, MciStatusLength, length), MciErrNone);
    EXPECT_EQ(length, tune.expectedMs);
    EXPECT_GT(length, 1000u);
    MciClose(id);
    MidiFile file;
    ASSERT_EQ(file.Load(tune.path), MidiLoadResult::Ok);
    tempoChanges = tempoChanges || file.Tempos().size() > 1;
  }
  EXPECT_TRUE(tempoChanges) << "our own tune changes its tempo";
}

TEST_F(MciRealTunesTest, PlayingToTheEndTakesExactlyTheLength) {
  for (const RealTune& tune : tunes_) {
    SCOPED_TRACE(tune.path);
    uint16_t id = 0;
    ASSERT_EQ(MciOpen(tune.path, id), MciErrNone);
    ASSERT_EQ(MciPlay(id), MciErrNone);
    uint32_t position = 0, mode = 0;
    MciAdvanceForTest(tune.expectedMs - 1);
    MciStatus(id, MciStatusPosition, position);
    MciStatus(id, MciStatusMode, mode);
    EXPECT_EQ(position, tune.expectedMs - 1);
    EXPECT_EQ(mode, MciModePlay);
    MciAdvanceForTest(1);
    MciStatus(id, MciStatusPosition, position);
    MciStatus(id, MciStatusMode, mode);
    EXPECT_EQ(position, tune.expectedMs);
    EXPECT_EQ(mode, MciModeStop);
    MciClose(id);
  }
}

TEST_F(MciRealTunesTest, LongestTuneSoundsAndSeeksWhereAsked) {
  const RealTune* longest = &tunes_[0];
  for (const RealTune& tune : tunes_) {
    if (tune.expectedMs > longest->expectedMs) longest = &tune;
  }
  EXPECT_GT(longest->expectedMs, 120000u);
  uint16_t id = 0;
  ASSERT_EQ(MciOpen(longest->path, id), MciErrNone);
  ASSERT_EQ(MciPlay(id), MciErrNone);
  EXPECT_GT(Rms(MciRenderForTest(2000)), 0.002);

  uint32_t middle = longest->expectedMs / 2;
  ASSERT_EQ(MciSeek(id, middle), MciErrNone);
  ASSERT_EQ(MciPlay(id), MciErrNone);
  EXPECT_GT(Rms(MciRenderForTest(1234)), 0.002);
  ASSERT_EQ(MciPause(id), MciErrNone);
  MciRenderForTest(500);
  uint32_t position = 0;
  MciStatus(id, MciStatusPosition, position);
  EXPECT_EQ(position, middle + 1234);
  ASSERT_EQ(MciPlay(id, std::nullopt, middle + 2000), MciErrNone);
  MciAdvanceForTest(5000);
  MciStatus(id, MciStatusPosition, position);
  EXPECT_EQ(position, middle + 2000);
}

}  // namespace
}  // namespace quorrel::test
