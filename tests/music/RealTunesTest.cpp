// The prepared text of real tunes (the examples Debian ships with abcmidi and
// abcm2ps) read by the real programs, and the text abcm2ps is given for titles
// with accents and curly quotes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <zlib.h>

#include <QProcess>

#include "music/AbcTestSupport.h"
#include "music/AbcWorkFiles.h"
#include "music/ToolMessages.h"
#include "music/TunePrep.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

// Example tunes that both programs read without an error as they stand (others
// show off what only abcm2ps can print, and abc2midi rejects them).
struct Example {
  const char* file;
  std::vector<int> tunes;  // X: numbers
};
const Example kExamples[] = {
    {"/usr/share/doc/abcmidi/examples/araber.abc", {47}},
    {"/usr/share/doc/abcmidi/examples/boys.abc", {3}},
    {"/usr/share/doc/abcmidi/examples/coleraine.abc", {8}},
    {"/usr/share/doc/abcmidi/examples/daramud.abc", {1}},
    {"/usr/share/doc/abcmidi/examples/detune.abc", {1, 2}},
    {"/usr/share/doc/abcmidi/examples/drums.abc", {1}},
    {"/usr/share/doc/abcmidi/examples/demo.abc", {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12}},
    {"/usr/share/doc/abcm2ps/examples/accordion.abc", {3, 51}},
    {"/usr/share/doc/abcm2ps/examples/chinese.abc", {1}},
    {"/usr/share/doc/abcm2ps/examples/sample2.abc", {1, 2, 3, 5, 6, 7, 8, 9}},
    {"/usr/share/doc/abcm2ps/examples/sample4.abc", {1}},
    {"/usr/share/doc/abcm2ps/examples/voices.abc", {1, 2, 3, 4, 5}},
};

// An example file's bytes; Debian may ship it gzipped.
std::string ReadExample(const std::string& path) {
  std::string bytes;
  if (ReadFileBytes(path, bytes)) return bytes;
  gzFile file = gzopen((path + ".gz").c_str(), "rb");
  EXPECT_NE(file, nullptr) << path << " (installed by scripts/install-deps)";
  if (!file) return "";
  char buffer[65536];
  for (int n; (n = gzread(file, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
  gzclose(file);
  return bytes;
}

// A file as the editor holds it: Windows-1252 (UTF-8 files converted), CR LF.
std::string LoadDocument(const std::string& path) {
  std::string bytes = ReadExample(path);
  if (AnsiToUtf8(Utf8ToAnsi(bytes)) == bytes) bytes = Utf8ToAnsi(bytes);
  std::string text;
  for (const std::string& line : LinesWithoutEnds(bytes)) text += line + "\r\n";
  return text;
}

// Where the tune numbered n starts ("X:n" or "X: n").
size_t TuneOffset(const std::string& text, int n) {
  for (size_t at = 0; at < text.size();) {
    if (text.compare(at, 2, "X:") == 0 && std::atoi(text.c_str() + at + 2) == n) return at;
    size_t lf = text.find('\n', at);
    if (lf == std::string::npos) break;
    at = lf + 1;
  }
  ADD_FAILURE() << "no tune " << n;
  return 0;
}

// The text gs reads from a PostScript file.
std::string PostScriptText(const std::string& psFile) {
  const std::string out = TempFolder() + "ps.txt";
  QProcess gs;
  gs.start("gs", {"-q", "-sDEVICE=txtwrite", "-o", AnsiToQString(NativePath(out)),
                  AnsiToQString(NativePath(psFile))});
  EXPECT_TRUE(gs.waitForFinished(20000));
  std::string text;
  ReadFileBytes(out, text);
  return text;
}

// The PostScript that draws the title of the last score.
std::string TitleDrawing() {
  std::string ps;
  ReadFileBytes(AbcPsFile(), ps);
  size_t at = ps.find("% --- title");
  EXPECT_NE(at, std::string::npos);
  return at == std::string::npos ? "" : ps.substr(at, ps.find("% ---", at + 5) - at);
}

class RealTunesTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteWorkFile(AbcCodesFile()); }
};

TEST_F(RealTunesTest, PreparedExampleTunesPassBothPrograms) {
  int tunes = 0;
  for (const Example& example : kExamples) {
    const std::string document = LoadDocument(example.file);
    for (int tune : example.tunes) {
      SCOPED_TRACE(std::string(example.file) + " X:" + std::to_string(tune));
      OpenDocument(document, TuneOffset(document, tune), example.file);
      const std::string prepared = PrepareCurrentTune();
      EXPECT_EQ(prepared.find("%%scale"), prepared.rfind("%%scale", prepared.find("X:")))
          << "no format code twice in the header";
      RunAbc2midi(prepared);
      EXPECT_TRUE(ErrorMessages().empty()) << ErrorMessages()[0];
      EXPECT_GT(FileSize64(TempMidiFile()), 0);
      RunAbcm2ps(prepared);
      EXPECT_TRUE(ErrorMessages().empty()) << ErrorMessages()[0];
      ++tunes;
    }
  }
  EXPECT_EQ(tunes, 35);
}

TEST_F(RealTunesTest, ATuneWithChordSectionsPassesBothPrograms) {
  const std::string document = Crlf(
      "X:1\nT:Chord sections\nM:4/4\nL:1/8\nQ:1/4=120\nK:G\n"
      "%%chords 1n 2\n|G|Cx4 D/F#x4|Em|D7|\n|G|Cx4 Dx4|Gx8|\n%%endchords\n"
      "V:1\n|:\"^A\"GABc dedc|B2G2 A2F2|E2G2 B2e2|d8:|\n"
      "[K:D]A2B2 c2d2|e4 d4|d8|]\n"
      "V:2 clef=bass\n|:G,8|C,4 D,4|E,8|D,8:|\nA,8|A,4 D,4|D,8|]\n");
  OpenDocument(document, document.find("T:"));
  const std::string prepared = PrepareCurrentTune();
  EXPECT_EQ(ChordLinesRemoved, 4);
  EXPECT_NE(prepared.find("V:1\r\n|:\"^A\"\"G\"GABc"), std::string::npos) << prepared;
  EXPECT_NE(prepared.find("|\"C\"x4 \"D\"x4 &e4 d4|"), std::string::npos) << prepared;
  EXPECT_NE(prepared.find("|\"C\"x4 \"D\"x4 &B2G2 A2F2|"), std::string::npos) << prepared;
  EXPECT_NE(prepared.find("|\"C\"x4 \"D/F#\"x4 &C,4 D,4|"), std::string::npos) << prepared;
  RunAbc2midi(prepared);
  EXPECT_TRUE(ErrorMessages().empty()) << ErrorMessages()[0];
  RunAbcm2ps(prepared);
  EXPECT_TRUE(ErrorMessages().empty()) << ErrorMessages()[0];
}

TEST_F(RealTunesTest, AbcM2psShowsAccentsAndCurlyQuotes) {
  // Windows-1252: e acute, e grave, and the curly double quotes 0x93 and 0x94.
  const std::string document =
      Crlf("X:1\nT:Caf\xE9 cr\xE8me\nK:C\nCDEF|\n\nX:2\nT:\x93Quoted\x94 title\nK:C\nCDEF|\n");
  std::string all;
  for (const char* caretAt : {"Caf", "Quoted"}) {
    OpenDocument(document, document.find(caretAt));
    RunAbcm2ps(PrepareCurrentTune());
    EXPECT_TRUE(ErrorMessages().empty());
    EXPECT_EQ(TitleDrawing().find("/.notdef"), std::string::npos) << "every character has a glyph";
    all += PostScriptText(AbcPsFile());
  }
  EXPECT_NE(all.find("Caf\xC3\xA9 cr\xC3\xA8me"), std::string::npos) << all;
  EXPECT_NE(all.find("\xE2\x80\x9CQuoted\xE2\x80\x9D title"), std::string::npos) << all;

  // The document's own bytes would lose the quotes: abcm2ps takes them for Latin-1.
  OpenDocument(document, document.find("Quoted"));
  ASSERT_TRUE(WriteFileBytes(TempAbcFile(), PrepareCurrentTune()));
  QProcess abcm2ps;
  abcm2ps.start("abcm2ps", {AnsiToQString(NativePath(TempAbcFile())), "-O",
                            AnsiToQString(NativePath(AbcPsFile()))});
  ASSERT_TRUE(abcm2ps.waitForFinished(20000));
  EXPECT_NE(TitleDrawing().find("/.notdef"), std::string::npos);
}

TEST_F(RealTunesTest, FileNamesReachTheProgramsInUtf8) {
  // A temporary folder whose name has an accent.
  const std::string saved = getenv("XDG_RUNTIME_DIR");
  const std::string runtime = TestHome() + "r\xC3\xBCn";
  mkdir(runtime.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  ASSERT_NE(TempAbcFile().find("r\xFCn/Quorrel/"), std::string::npos);

  const std::string document = Crlf("X:1\nT:Faulty\nK:G\nGABc|\n[Q:xx]a2 ~~}|\n");
  OpenDocument(document, 0);
  RunAbcm2ps(PrepareCurrentTune());
  ASSERT_FALSE(ErrorMessages().empty());
  // The program names the file as it was given, in UTF-8; read back, in Windows-1252.
  EXPECT_EQ(ErrorMessages()[0].rfind(TempAbcFile() + ":", 0), 0u) << ErrorMessages()[0];
  MapToolMessages(true);
  EXPECT_EQ(ErrorMessages()[0].rfind(TempAbcFile() + ":5:", 0), 0u) << ErrorMessages()[0];
  setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
}  // namespace quorrel::test
