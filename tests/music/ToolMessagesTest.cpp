// Line numbers in the messages of the real abc2midi and abcm2ps, run on faulty
// tunes, mapped back to the lines of the document.
#include <gtest/gtest.h>

#include <set>

#include "music/AbcTestSupport.h"
#include "music/AbcWorkFiles.h"
#include "music/ReportView.h"
#include "music/ToolMessages.h"
#include "music/TunePrep.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"
#include "support/ScriptedDialogs.h"

namespace quorrel::test {
namespace {

// Tune 2 is faulty: a malformed tempo field, a bad character and an unmatched "}"
// on one line, a chord name that is none on the next. Its %%chords section is taken
// out of the text the programs read, so their line numbers are off by more than
// the header.
const std::string& Document() {
  static const std::string text = Crlf(
      "%%scale 1\n"                         // 1
      "\n"                                  // 2
      "X:1\nT:Good\nK:G\nGABc|\n"           // 3-6
      "\n"                                  // 7
      "X:2\nT:Faulty\nM:4/4\nL:1/4\nK:G\n"  // 8-12
      "%%chords\n|G|D|C|A|\n%%endchords\n"  // 13-15
      "V:1\nGABc|cBAG|\n"                   // 16-17
      "[Q:xx]a2 ~~}|\n"                     // 18
      "\"Zm\"A4|\n");                       // 19
  return text;
}

// The number a mapped message names: after " in line-char " (abc2midi) or after
// the tune file's name (abcm2ps); "" when the message names none.
std::string NamedLine(const std::string& message) {
  size_t at = message.find(" in line-char ");
  if (at != std::string::npos) {
    size_t start = at + 14;
    size_t end = message[start] == '[' ? message.find(']', start) + 1 : message.find('-', start);
    return message.substr(start, end - start);
  }
  const std::string prefix = TempAbcFile() + ":";
  if (message.rfind(prefix, 0) != 0) return "";
  size_t start = prefix.size();
  return message.substr(start, message.find(':', start) - start);
}

// Ticks an option of the ABC menu (added when the menu does not hold it yet).
void CheckOption(const char* name) {
  if (!MainMenu().Find(name)) {
    TMenuItem item;
    item.name = name;
    item.caption = name;
    item.checkable = true;
    MainMenu().AddItem("ABCMenu", std::move(item));
  }
  MainMenu().SetChecked(name, true);
}

std::string Prepare(const std::string& document, const std::string& caretAt) {
  OpenDocument(document, document.find(caretAt));
  return PrepareCurrentTune();
}

class ToolMessagesTest : public ::testing::Test {
 protected:
  // The default format codes go in front of every tune.
  void SetUp() override { DeleteWorkFile(AbcCodesFile()); }

  // Every error the program reported, as the document lines it now names.
  std::set<std::string> MappedErrorLines() {
    std::set<std::string> lines;
    for (const std::string& message : ErrorMessages()) lines.insert(NamedLine(message));
    return lines;
  }
};

TEST_F(ToolMessagesTest, Abc2midiErrorsNameTheDocumentLines) {
  std::string prepared = Prepare(Document(), "cBAG");
  ASSERT_EQ(ChordLinesRemoved, 3);
  RunAbc2midi(prepared);
  ASSERT_FALSE(ErrorMessages().empty());
  std::set<std::string> before = MappedErrorLines();
  EXPECT_EQ(before.count("18"), 0u) << "numbers of the tune file, not of the document";

  MapToolMessages(true);
  EXPECT_EQ(MappedErrorLines(), (std::set<std::string>{"18", "19"}));
  for (const std::string& message : ErrorMessages()) {
    std::string line = GetDocumentLine(std::stol(NamedLine(message)));
    EXPECT_TRUE(line == "[Q:xx]a2 ~~}|" || line == "\"Zm\"A4|") << message;
  }
}

TEST_F(ToolMessagesTest, Abcm2psErrorsNameTheDocumentLines) {
  std::string prepared = Prepare(Document(), "cBAG");
  RunAbcm2ps(prepared);
  ASSERT_FALSE(ErrorMessages().empty());
  MapToolMessages(true);
  EXPECT_EQ(MappedErrorLines(), (std::set<std::string>{"18"}));
  // The program's quotation of the faulty line keeps its own number.
  bool quoted = false;
  for (const std::string& line : ReadList) quoted |= line.find("a2 ~~}|") != std::string::npos;
  EXPECT_TRUE(quoted);
}

TEST_F(ToolMessagesTest, ATuneWhoseXLineIsNotInTheDocumentCannotBeMapped) {
  std::string prepared = Prepare(Document(), "cBAG");
  // Renumbered on the way to the program, as "Play all" does.
  prepared = ReplaceAll(prepared, "X:2\r\n", "X:9\r\n", true);
  RunAbc2midi(prepared);
  ASSERT_FALSE(ErrorMessages().empty());
  MapToolMessages(true);
  EXPECT_EQ(MappedErrorLines(), (std::set<std::string>{"[cannot compute]"}));
}

TEST_F(ToolMessagesTest, EndOfTuneMessages) {
  // abc2midi reports both at the line after the last one.
  const std::string document =
      Crlf("X:1\nT:Ends\nM:4/4\nL:1/4\nK:C\nGABc|[ceg\n\nX:2\nT:t\nK:C\nGABc|:cBAG|\n");
  RunAbc2midi(Prepare(document, "[ceg"));
  std::string prepared;
  ReadFileBytes(TempAbcFile(), prepared);
  const long n = static_cast<long>(LinesWithoutEnds(prepared).size());
  ASSERT_EQ(ErrorMessages().size(), 1u);
  ASSERT_NE(ErrorMessages()[0].find("Sustained notes"), std::string::npos);
  ASSERT_EQ(NamedLine(ErrorMessages()[0]), std::to_string(n + 1));
  MapToolMessages(true);
  EXPECT_EQ(MappedErrorLines(), (std::set<std::string>{"6"})) << "counted as the last line";

  RunAbc2midi(Prepare(document, ":cBAG"));
  ASSERT_EQ(ErrorMessages().size(), 1u);
  ASSERT_NE(ErrorMessages()[0].find("Missing :|"), std::string::npos);
  MapToolMessages(true);
  EXPECT_EQ(MappedErrorLines(), (std::set<std::string>{"[past end of tune]"}));
}

TEST_F(ToolMessagesTest, ReasonsANumberCannotBeComputed) {
  struct Case {
    const char* name;
    std::vector<const char*> options;  // checked before mapping
    bool computable;
    const char* expected;
  } cases[] = {
      {"more than the tune was played", {}, false, "[cannot compute]"},
      {"not computable whatever the options", {"Viola"}, false, "[cannot compute]"},
      {"a B flat part", {"BFlat"}, true, "[cannot compute - transposing instrument]"},
      {"an A part", {"A"}, true, "[cannot compute - transposing instrument]"},
      {"a viola part", {"Viola"}, true, "[cannot compute - transposing instrument]"},
      {"the piano part only", {"PlayPiano"}, true, "[cannot compute - voices selected]"},
      {"selected voices", {"PlaySel"}, true, "[cannot compute - voices selected]"},
      {"an instrument before voices",
       {"PlaySel", "BFlat"},
       true,
       "[cannot compute - transposing instrument]"},
  };
  std::string prepared = Prepare(Document(), "cBAG");
  RunAbc2midi(prepared);
  const std::vector<std::string> captured = ReadList;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MainMenu().Reset();
    for (const char* option : c.options) CheckOption(option);
    ReadList = captured;
    MapToolMessages(c.computable);
    EXPECT_EQ(MappedErrorLines(), (std::set<std::string>{c.expected}));
  }
}

TEST_F(ToolMessagesTest, AnExpandedSplitMarkerCountsOneLineLess) {
  std::string prepared = Prepare(Document(), "cBAG");
  RunAbc2midi(prepared);
  SplitMarkerExpanded = true;
  MapToolMessages(true);
  EXPECT_EQ(MappedErrorLines(), (std::set<std::string>{"17", "18"}));
}

TEST_F(ToolMessagesTest, TwoTunesWithTheSameXLineStopTheCommand) {
  const std::string document = Crlf("X:1\nT:A\nK:G\n[Q:xx]G|\n\nX:1\nT:B\nK:G\nA|\n");
  RunAbc2midi(Prepare(document, "[Q:"));
  EXPECT_TRUE(Aborts([] { MapToolMessages(true); }));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(Dialogs().Last().text.find("Two tunes starting X:1\rPlease validate the file."),
            std::string::npos);

  // The tune file itself may hold them.
  Dialogs().Clear();
  CurrentFileName = TempAbcFile();
  EXPECT_FALSE(Aborts([] { MapToolMessages(true); }));
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ToolMessagesTest, XLinesAreMatchedWhole) {
  // "X:1" is not taken for "X:10" (or "X:11") further down.
  std::string document = Crlf("X:1\nT:One\nK:G\n[Q:xx]G|\n\n");
  for (int i = 2; i <= 11; ++i) document += Crlf("X:" + std::to_string(i) + "\nT:t\nK:G\nG|\n\n");
  RunAbc2midi(Prepare(document, "[Q:"));
  EXPECT_FALSE(Aborts([] { MapToolMessages(true); }));
  EXPECT_EQ(MappedErrorLines(), (std::set<std::string>{"4"}));
}

TEST_F(ToolMessagesTest, AMessageAboutAnAddedFormatCodeNamesNoDocumentLine) {
  // abc2midi cannot use these in a file header, and says so at their lines.
  WriteFileBytes(AbcCodesFile(), "%%MIDI program 1\r\n%%MIDI transpose 2\r\n");
  RunAbc2midi(Prepare(Crlf("X:1\nT:t\nM:4/4\nL:1/4\nK:C\nCDEF|\n"), "CDEF"));
  std::vector<std::string> header;
  for (const std::string& line : ReadList) {
    if (line.find("MIDI directive in file header") != std::string::npos) header.push_back(line);
  }
  ASSERT_FALSE(header.empty());
  MapToolMessages(true);
  for (const std::string& line : ReadList) {
    if (line.find("MIDI directive in file header") == std::string::npos) continue;
    EXPECT_EQ(line.rfind("Warning in line-char [cannot compute]-0 :", 0), 0u) << line;
  }
}

TEST_F(ToolMessagesTest, MessagesWithoutALineNumberAreLeftAlone) {
  std::string prepared = Prepare(Document(), "cBAG");
  RunAbc2midi(prepared);
  ReadList.insert(ReadList.begin(), "Messages from ABC2MIDI");
  const std::string version = ReadList[1];
  ASSERT_NE(version.find("abc2midi"), std::string::npos) << "its version line";
  MapToolMessages(true);
  EXPECT_EQ(ReadList[0], "Messages from ABC2MIDI");
  EXPECT_EQ(ReadList[1], version);
}

TEST(GetDocumentLineTest, LinesWithoutTheirLineEnds) {
  CurrentText = "first line\r\nsecond\r\n\r\nlast";
  struct Case {
    long n;
    const char* line;
  } cases[] = {{1, "first line"}, {2, "second"}, {3, ""}, {4, "last"}, {5, ""}, {0, ""}, {-3, ""}};
  for (const auto& c : cases) EXPECT_EQ(GetDocumentLine(c.n), c.line) << c.n;
  CurrentText = "one line only";
  EXPECT_EQ(GetDocumentLine(1), "one line only");
}

class RecordingViewer : public TReportViewer {
 public:
  void Show() override {
    shown.push_back(ReadList);
    showing = true;
  }
  void Close() override { showing = false; }
  bool Showing() const override { return showing; }
  std::vector<std::vector<std::string>> shown;
  bool showing = false;
};

TEST(ShowToolErrorsTest, ShowsTheMessagesUnlessTheTuneSaysToIgnoreThem) {
  RecordingViewer viewer;
  SetReportViewer(&viewer);
  ReadList = {"Messages from ABC2MIDI", "Error in line-char 4-2 : Bad"};
  LastTuneText = "X:1\r\nT:Tune\r\n";
  ShowToolErrors();
  ASSERT_EQ(viewer.shown.size(), 1u);
  EXPECT_EQ(viewer.shown[0], ReadList);

  LastTuneText = "X:1\r\nN:Ignore errors\r\nT:Tune\r\n";
  ShowToolErrors();
  EXPECT_EQ(viewer.shown.size(), 1u);
}

TEST(ShowToolErrorsTest, EndsACheckAllRun) {
  RecordingViewer viewer;
  SetReportViewer(&viewer);
  CheckAllRun = true;
  EXPECT_TRUE(Aborts(ShowToolErrors));
  EXPECT_FALSE(CheckAllRun);
  EXPECT_EQ(viewer.shown.size(), 1u) << "the messages are shown first";
  EXPECT_TRUE(Dialogs().Calls().empty()) << "silently";
}

}  // namespace
}  // namespace quorrel::test
