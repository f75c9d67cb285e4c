// The ABC validator on the example tunes Debian ships with abcmidi and abcm2ps:
// each validates or stops with one of the validator's messages, re-formatting
// draws no new complaint from the real abc2midi and abcm2ps, and a second
// re-format changes nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "platform/UserDialogs.h"
#include "support/ProgramOutput.h"
#include "support/ScriptedDialogs.h"
#include "validate/AbcTestKit.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// The user who answers Yes to every question; the boxes are only counted.
class YesDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    texts.push_back(call.text);
    return mrYes;
  }
  std::vector<std::string> texts;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> ExampleTunes() {
  std::vector<fs::path> files;
  for (const char* folder :
       {"/usr/share/doc/abcmidi/examples", "/usr/share/doc/abcm2ps/examples"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() == ".abc") files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

class AbcRealTunesTest : public AbcTest {
 protected:
  void SetUp() override {
    AbcTest::SetUp();
    SetUserDialogs(&yes);
  }
  void TearDown() override {
    SetUserDialogs(&Dialogs());
    AbcTest::TearDown();
  }
  // A file as a document holds it: CR LF line ends.
  TValidation RunOn(const std::string& sender, const fs::path& path) {
    TPage page;
    page.text = ReplaceAll(ReplaceAll(ReadFile(path), "\r\n", "\n", true), "\n", "\r\n", true);
    page.kind = TDocumentKind::Abc;
    page.sender = sender;
    return ValidateAbc(page);
  }
  YesDialogs yes;
};

// What a run ended with: the first line of the stop's message (and its help topic
// when only the topic was shown), or the status.
std::string Outcome(const TValidation& result, const std::vector<int>& helps) {
  if (!result.error) return result.status.value_or("(no status)");
  if (result.error->message.empty()) {
    return "help " + (helps.empty() ? std::string("?") : std::to_string(helps.back()));
  }
  return result.error->message.substr(0, result.error->message.find('\r'));
}

constexpr char kNoBarAtEnd[] =
    "Line of music should normally end with \"|\", possibly followed by \"\\\".";

const std::map<std::string, std::string> kValidated = {
    {"accordion.abc", "Deprecated syntax.  Use e.g. Q:3/8=110"},  // "Q:100"
    {"deco.abc", "Key must start with upper-case A-G or be \"HP\", \"Hp\" or \"none\"."},
    {"newfeatures.abc", "help 55930"},  // fields after the key
    {"demo.abc", "help 55930"},         // "P:A" after the key
    // Definitions and free text before the first tune.
    {"sample.abc", "Tune does not start \"X:\""},
    {"sample2.abc", "Tune does not start \"X:\""},
    {"sample4.abc", "Tune does not start \"X:\""},
    {"sample5.abc", "Tune does not start \"X:\""},
    {"sample3.abc", "Unequal notes in chord: [C2G]: 2 versus 1"},
    // Lines continued in the middle of a bar.
    {"chinese.abc", kNoBarAtEnd},
    {"araber.abc", kNoBarAtEnd},
    {"baym_rebin.abc", kNoBarAtEnd},
    {"boys.abc", kNoBarAtEnd},
    {"dergasn.abc", kNoBarAtEnd},
    {"temperament.abc", kNoBarAtEnd},
    {"voices.abc", "Missing start of repeat and tune has more than one voice!"},
};

TEST_F(AbcRealTunesTest, EveryExampleValidatesOrStopsWithAMessageOfTheValidator) {
  for (const char* option : {"Renumber", "CountBars", "FieldOrder", "ValSquare"}) {
    MainMenu().SetChecked(option, true);  // as the program starts
  }
  const std::vector<fs::path> files = ExampleTunes();
  ASSERT_EQ(files.size(), 23u);
  for (const fs::path& path : files) {
    helps.clear();
    const std::string name = path.filename().string();
    const auto stop = kValidated.find(name);
    EXPECT_EQ(Outcome(RunOn("Validate", path), helps),
              stop == kValidated.end() ? ValidatedStatus : stop->second)
        << name;
  }
}

// The complaints of the real programs about a tune file, without the places they
// name: re-formatting moves lines.
std::set<std::string> Complaints(const std::string& text, const std::string& folder) {
  const std::string file = folder + "/tunes.abc";
  std::ofstream(file, std::ios::binary) << ReplaceAll(text, "\r\n", "\n", true);
  std::set<std::string> complaints;
  const std::string output =
      ProgramOutput("cd '" + folder + "' && abc2midi tunes.abc 2>&1; abcm2ps -O '" + folder +
                    "/tunes.ps' tunes.abc 2>&1");
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    const std::string lower = UpperCaseAnsi(line);
    if (lower.find("ERROR") == std::string::npos && lower.find("WARNING") == std::string::npos) {
      continue;
    }
    // Joined lines make other staff lines: complaints of the layout, not the music.
    if (lower.find("UNDERFULL") != std::string::npos ||
        lower.find("OVERFULL") != std::string::npos ||
        lower.find("TOO MUCH SHRUNK") != std::string::npos) {
      continue;
    }
    // "Error in line-char 12-3 : text" and "tunes.abc:12:3: error: text"
    const size_t colon = line.rfind(": ");
    complaints.insert(colon == std::string::npos ? line : line.substr(colon + 2));
  }
  return complaints;
}

// Outside a site, where a tempo without its beat is no stop.
const std::map<std::string, std::string> kReformatStops = {
    {"deco.abc", "Key must start with upper-case A-G or be \"HP\", \"Hp\" or \"none\"."},
    {"newfeatures.abc", "Key must start with upper-case A-G or be \"HP\", \"Hp\" or \"none\"."},
    {"sample4.abc", "No K: field before"},  // a title continued with a backslash
    {"voices.abc", "Missing start of repeat and tune has more than one voice!"},
    // Chords of notes that do not rise: a unison, a drum part.
    {"chinese.abc", "Notes not in ascending sequence in chord [AD]"},
    {"sample.abc", "Notes not in ascending sequence in chord [cc]"},
    {"demo.abc", "Notes not in ascending sequence in chord [^F,,E,,]"},
    {"sample3.abc", "Unequal notes in chord: [C2G]: 2 versus 1"},
    {"temperament.abc", "Invalid character 2 in chord [C_22/100EG]"},  // microtones
};

TEST_F(AbcRealTunesTest, ReformattingDrawsNoNewComplaintAndASecondRunChangesNothing) {
  for (const char* option : {"Renumber", "CountBars", "ValSquare"}) {
    MainMenu().SetChecked(option, true);
  }
  NotInSite = true;
  const std::string folder =
      fs::temp_directory_path().string() + "/abc-reformat-" + std::to_string(::getpid());
  fs::create_directories(folder);
  int reformatted = 0;
  for (const fs::path& path : ExampleTunes()) {
    const std::string name = path.filename().string();
    const TValidation first = RunOn("Reformat", path);
    const auto stop = kReformatStops.find(name);
    if (stop != kReformatStops.end()) {
      EXPECT_EQ(Outcome(first, helps), stop->second) << name;
    } else if (first.error) {
      ADD_FAILURE() << name << ": " << first.error->message;
      continue;
    }
    if (!first.text) continue;
    // The mends made before a stop are written back: they too must draw nothing new.
    ++reformatted;
    const std::set<std::string> before = Complaints(ReadFile(path), folder);
    for (const std::string& complaint : Complaints(*first.text, folder)) {
      EXPECT_TRUE(before.count(complaint)) << name << ": new complaint \"" << complaint << "\"";
    }
    if (first.error) continue;
    TPage again;
    again.text = *first.text;
    again.kind = TDocumentKind::Abc;
    again.sender = "Reformat";
    const TValidation second = ValidateAbc(again);
    EXPECT_FALSE(second.error) << name;
    EXPECT_FALSE(second.text) << name << " changed again:\n" << AbcLf(second.text.value_or(""));
  }
  EXPECT_GE(reformatted, 15);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace quorrel::test
