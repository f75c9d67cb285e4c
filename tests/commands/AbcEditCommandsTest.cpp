// The ABC menu's tune-writing commands chosen from their menu items on tunes in
// tabs: a new tune and the broken-rhythm offer, Same, Combine and Split on hand-made
// and real tune books, Extract tune, and the lyrics commands.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "commands/AbcEditCommands.h"
#include "music/AbcEdits.h"
#include "music/AbcOptions.h"
#include "music/MidiRatio.h"
#include "platform/Desktop.h"
#include "platform/Help.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

const char kTwoTunes[] = "X:1\r\nT:First\r\nK:G\r\nabc|\r\n\r\nX:2\r\nT:Second\r\nK:D\r\ndef|\r\n";
const char kRatioQuestion[] =
    "As you're using broken rhythm, would you like \"%%MIDI ratio 3 1\" added?";

class AbcEditCommandsTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    InstallAbcEditCommands();
    DefaultTunePath = site + "Default.abc";
    DefaultTuneText = "X:?\r\nT:?\r\nK:G\r\n|: \r\n :|\r\n\r\n";
    SetHelpViewer([this](int context) { helpTopics.push_back(context); });
    Desktop().SetClipboardText("");
  }
  void TearDown() override {
    SetHelpViewer(nullptr);
    ValidationTest::TearDown();
  }
  void Click(const char* item) { ASSERT_TRUE(MainMenu().Click(item)) << item; }
  void Caret(size_t offset) { CurrentEditor->Select(EditorPosOf(offset), 0); }
  size_t CaretOffset() const { return TextOffsetOf(CurrentEditor->SelStart()); }

  std::vector<int> helpTopics;
};

TEST_F(AbcEditCommandsTest, NewTuneFromTheTemplateOrTheClipboard) {
  struct Case {
    const char* name;
    std::string before;  // the document, the caret at its end
    std::string clipboard;
    int answer;  // to "Copy from clipboard?"; 0 when it is not asked
    std::string after;
  } cases[] = {
      {"an empty document gets the template at its start", "", "", 0, DefaultTuneText},
      {"after text, on a line of its own", "% my tunes\r\n", "", 0,
       "% my tunes\r\n\r\n" + DefaultTuneText},
      {"a clipboard tune of 25 characters, taken", "", "X:9\r\nT:Clip\r\nK:A\r\nABCD|\r\n", mrYes,
       "X:9\r\nT:Clip\r\nK:A\r\nABCD|\r\n"},
      {"a clipboard tune refused: the template", "", "X:9\r\nT:Clip\r\nK:A\r\nABCD|\r\n", mrNo,
       DefaultTuneText},
      {"19 characters are no tune: not asked", "", "X:9\r\nT:Clip\r\nK:A\r\n", 0,
       DefaultTuneText},
      {"text that is no tune: not asked", "", "Dear Sir, thank you for the tunes", 0,
       DefaultTuneText},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dialogs().Clear();
    Open("new" + std::to_string(++n) + ".abc", c.before);
    CurrentEditor->Select(CurrentEditor->TextLength(), 0);
    Desktop().SetClipboardText(c.clipboard);
    if (c.answer) Dialogs().Answer(c.answer);
    RatioOffered = true;
    Click("NewTune");
    EXPECT_EQ(CurrentText, c.after);
    EXPECT_FALSE(RatioOffered);
    EXPECT_EQ(Dialogs().Calls().size(), c.answer ? 1u : 0u);
    EXPECT_EQ(CaretOffset(), c.before.empty() ? 0u : c.before.size() + 2) << "at the new tune";
  }
  EXPECT_EQ(Read(site + "Default.abc"), DefaultTuneText) << "the template is written once";
}

TEST_F(AbcEditCommandsTest, ATuneWithBrokenRhythmIsOfferedTheRatio) {
  const std::string clip = "X:3\r\nT:Hornpipe\r\nK:D\r\nA>B c<d|\r\n";
  struct Case {
    const char* name;
    bool checkChords;
    int answer;
    bool asked;
    std::string after;
  } cases[] = {
      {"Check chords ticked, Yes", true, mrYes, true,
       "X:3\r\nT:Hornpipe\r\n%%MIDI ratio 3 1\r\nK:D\r\nA>B c<d|\r\n"},
      {"Check chords ticked, No", true, mrNo, true, clip},
      {"Check chords unticked: not asked", false, 0, false, clip},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dialogs().Clear();
    Open("ratio" + std::to_string(++n) + ".abc", "");
    SetAbcOption("CheckChords", c.checkChords);
    Desktop().SetClipboardText(clip);
    Dialogs().Answer(mrYes);  // the clipboard tune
    if (c.answer) Dialogs().Answer(c.answer);
    Click("NewTune");
    EXPECT_EQ(CurrentText, c.after);
    const std::vector<std::string> texts = Dialogs().Texts();
    EXPECT_EQ(texts.size() == 2 && texts[1] == kRatioQuestion, c.asked);
  }
  SetAbcOption("CheckChords", false);
}

TEST_F(AbcEditCommandsTest, TheRatioLineKeepsTheCaretOnItsCharacter) {
  Open("typed.abc", "X:1\r\nT:T\r\nK:G\r\nA>B|\r\n");
  SetAbcOption("CheckChords", true);
  const size_t typed = std::string(CurrentText).find(">") + 1;
  Caret(typed);
  Dialogs().Answer(mrYes);
  OfferMidiRatio();
  SetAbcOption("CheckChords", false);
  EXPECT_EQ(CurrentText, "X:1\r\nT:T\r\n%%MIDI ratio 3 1\r\nK:G\r\nA>B|\r\n");
  EXPECT_EQ(CaretOffset(), typed + 18) << "still after the typed \">\"";
}

TEST_F(AbcEditCommandsTest, SameWritesTheRepeatChordInTunesOnly) {
  Open("same.abc", "X:1\r\nK:G\r\nabc|\r\n");
  Caret(13);
  Click("Same");
  EXPECT_EQ(CurrentText, "X:1\r\nK:G\r\nabc \"/\"|\r\n");
  Open("letter.txt", "Dear Sir\r\n");
  Click("Same");
  EXPECT_EQ(CurrentText, "Dear Sir\r\n");
  EXPECT_NE(Dialogs().Last().text.find("[Same] applies to ABC files only"), std::string::npos);
}

TEST_F(AbcEditCommandsTest, CombineThenSplit) {
  Open("book.abc", kTwoTunes);
  Caret(std::string(kTwoTunes).find("abc"));
  Click("Combine");
  EXPECT_EQ(helpTopics, std::vector<int>{55430}) << "the caret is not at an X: line";
  EXPECT_EQ(CurrentText, kTwoTunes);

  Caret(std::string(kTwoTunes).find("X:2"));
  Click("Combine");
  EXPECT_EQ(CurrentText,
            "X:1\r\nT:First\r\nK:G\r\nabc|\r\nN:Replace by blank line and X field\r\nT:Second\r\n"
            "K:D\r\ndef|\r\n");
  ASSERT_EQ(calls.size(), 1u) << "the document is validated";
  EXPECT_EQ(calls[0].sender, "Validate");

  Caret(std::string(CurrentText).find("def"));
  Click("SplitM");
  EXPECT_EQ(CurrentText, "X:1\r\nT:First\r\nK:G\r\nabc|\r\n\r\nX:?\r\nT:Second\r\nK:D\r\ndef|\r\n");
  EXPECT_EQ(calls.size(), 2u);

  Click("SplitM");
  EXPECT_EQ(helpTopics, (std::vector<int>{55430, 55440})) << "nothing left to split";
}

TEST_F(AbcEditCommandsTest, CombineWarnsOfASecondVoice) {
  Open("voices.abc", "X:1\r\nK:G\r\nd|\r\n\r\nX:2\r\nK:G\r\nV:1\r\nabc|\r\nV:2\r\nABC|\r\n");
  Caret(std::string(CurrentText).find("X:2"));
  Click("Combine");
  ASSERT_FALSE(Dialogs().Texts().empty());
  EXPECT_EQ(Dialogs().Texts().front(),
            "Warning: This is a tune with more that one voice,\rso you probably need to add "
            "\"M:\", \"Q:\" and \"L:\" lines after \"V:1\".");
}

// The X: numbers aside, which the validator fills in.
std::string WithoutTuneNumbers(const std::string& text) {
  return std::regex_replace(text, std::regex("(^|\n)X:[^\r\n]*"), "$1X:");
}

TEST_F(AbcEditCommandsTest, CombineThenSplitGivesRealTuneBooksBack) {
  for (const std::string path : {"/usr/share/doc/abcm2ps/examples/sample2.abc",
                                 "/usr/share/doc/abcmidi/examples/demo.abc"}) {
    SCOPED_TRACE(path);
    std::string text = InstalledFile(path, path.find("abcm2ps") != std::string::npos ? "abcm2ps" : "abcmidi");
    ASSERT_FALSE(text.empty());
    text = std::regex_replace(text, std::regex("\r?\n"), "\r\n");
    const std::string name = path.substr(path.rfind('/') + 1);
    Open(name, text);
    const std::string original = CurrentText;
    // Every tune after the first is joined to the one before it, then split off again.
    size_t joins = 0;
    const size_t first = original.find("\r\nX:") + 2;
    for (size_t at = original.rfind("\r\n\r\nX:"); at != std::string::npos && at + 4 > first;
         at = original.rfind("\r\n\r\nX:", at - 1)) {
      Caret(at + 4);
      Click("Combine");
      ++joins;
    }
    ASSERT_GT(joins, 0u);
    size_t markers = 0;
    for (size_t at = CurrentText.find(AbcSplitMarker); at != std::string::npos;
         at = CurrentText.find(AbcSplitMarker, at + 1)) {
      ++markers;
    }
    EXPECT_EQ(markers, joins);
    // Each split leaves the rest of the joined tunes in the last tune.
    for (size_t i = 0; i < joins; ++i) {
      Caret(CurrentText.size());
      Click("SplitM");
    }
    EXPECT_EQ(WithoutTuneNumbers(CurrentText), WithoutTuneNumbers(original));
    EXPECT_TRUE(helpTopics.empty());
  }
}

TEST_F(AbcEditCommandsTest, ExtractTuneToATabOrTheEnd) {
  const std::string joined = std::string("X:1\r\nT:A\r\na|\r\n") + AbcSplitMarker +
                             "\r\nT:Bee\r\nb|\r\n";
  Open("joined.abc", joined);
  Caret(joined.find("b|"));
  Dialogs().Answer(mrYes);
  Click("ExTune");
  EXPECT_EQ(Dialogs().Last().text, "Bee\rExtract to temporary file?\r\"No\" to add to bottom of current file");
  EXPECT_EQ(CurrentText, "X:1\r\nT:Bee\r\nb|\r\n") << "shown in a document of its own";

  Open("joined.abc", joined);
  Caret(joined.find("b|"));
  Dialogs().Answer(mrNo);
  calls.clear();
  Click("ExTune");
  EXPECT_EQ(CurrentText, joined + "\r\nX:1\r\nT:Bee\r\nb|\r\n");
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(calls.size(), 1u);

  Open("plain.abc", kTwoTunes);
  Caret(3);
  Click("ExTune");
  EXPECT_EQ(helpTopics, std::vector<int>{55440});
}

TEST_F(AbcEditCommandsTest, DeleteAndExtractLyrics) {
  const std::string tune =
      "X:1\r\nK:G\r\nabc:|\r\nw:First verse\r\nw:Sec-ond verse\r\ndef|\r\nw:last line";
  Open("song.abc", tune);
  Caret(5);
  Click("ExLyrics");
  EXPECT_EQ(CurrentFileName.find("Untitled"), 0u);
  EXPECT_EQ(CurrentText, "First verse\r\n\r\nSecond verse\r\n\r\nlast line\r\n");
  EXPECT_FALSE(CurrentEditor->Modified());

  Open("song.abc", tune);
  Click("DelLyrics");
  EXPECT_EQ(CurrentText, "X:1\r\nK:G\r\nabc:|\r\ndef|\r\nw:last line\r\n")
      << "the last line is never looked at";
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(AbcEditCommandsTest, DefaultTuneOpensTheTemplateForEditing) {
  Click("DftTune");
  EXPECT_EQ(CurrentFileName, site + "Default.abc");
  EXPECT_EQ(CurrentText, DefaultTuneText);
  // A template the user changed is never written over.
  Write("Default.abc", "X:?\r\nT:Mine\r\nK:D\r\n");
  EnsureDefaultTune();
  EXPECT_EQ(Read(site + "Default.abc"), "X:?\r\nT:Mine\r\nK:D\r\n");
}

}  // namespace
}  // namespace quorrel::test
