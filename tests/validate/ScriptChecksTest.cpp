// Play scripts through the RTF validator, written by our own RTF writer in their
// stage and screen layouts, compact and full: the structure checks and where each
// stops, the mends of scene lines and the last "END", and speakers' names written
// out in full from the characters list, with the user's pick where an abbreviation
// could stand for several.
#include <gtest/gtest.h>

#include "platform/Desktop.h"
#include "platform/RtfCompose.h"
#include "platform/RtfModel.h"
#include "platform/RtfParse.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/LinkPick.h"
#include "shell/MenuModel.h"
#include "support/ProgramOutput.h"
#include "support/ScriptedDialogs.h"
#include "validate/ScriptCharacters.h"
#include "validate/ScriptChecks.h"
#include "validate/ScriptNames.h"
#include "validate/ValidateRtf.h"

namespace quorrel::test {
namespace {

// A script as our writer saves it: compact ones in "MS Sans Serif" with little
// space round their paragraphs, full ones in "Courier New" with more.
std::string Script(const std::string& text, bool compact = false) {
  TRtfCharFormat format;
  format.font = compact ? "MS Sans Serif" : "Courier New";
  TRtfDocument document = RtfDocumentOfText(text, format);
  for (TRtfParagraph& paragraph : document.paragraphs) {
    paragraph.format.spaceBefore = paragraph.format.spaceAfter = compact ? 60 : 240;
  }
  return ComposeRtf(document);
}

const std::string kCharacters =
    "Characters\r\n"
    "JOHN:\tthe keeper\r\n"
    "JOAN, MARY|the twins:\this daughters\r\n"
    "POSTMAN:\ta visitor\r\n"
    "\r\n";

// A stage script round the scene text given.
std::string Stage(const std::string& scenes) {
  return "The Lighthouse\r\nA Radio play\r\n\r\n" + kCharacters + scenes + "END\r\n";
}

class ScriptChecksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetValidateRtf();
    ResetDesktop();
    for (const char* option : {"ValSave", "CheckQuotes", "CheckBrackets"}) {
      MainMenu().SetChecked(option, true);
    }
  }
  TValidation Validate(const std::string& source) {
    TPage page;
    page.text = source;
    page.kind = TDocumentKind::Script;
    return ValidateRtf(page);
  }
  // The text of the script after validation; the text as it was when unchanged.
  std::string TextAfter(const std::string& source) {
    const TValidation v = Validate(source);
    EXPECT_FALSE(v.error) << v.error->message;
    EXPECT_FALSE(v.paragraph) << v.paragraph->message;
    return RtfPlainText(ParseRtf(v.text.value_or(source)));
  }
};

struct StopCase {
  const char* name;
  std::string text;
  bool compact;
  std::string message;
  std::string at;  // the text the offset points to
  int help = 0;
};

// Each stop with the smallest script that shows it, at the line (or name) at fault;
// the script comes back unchanged, even when names before the fault were written out.
TEST_F(ScriptChecksTest, EachStopNamesItsPlaceAndLeavesTheScriptAsItWas) {
  const std::string longName(31, 'X');
  const StopCase cases[] = {
      {"a song runs into the next",
       Stage("Scene 1: (Deck)\r\nJO:\tSing!\r\nSONG:\t\"One\"\r\nJOHN:\tLa.\r\nSONG:\t\"Two\"\r\n"),
       false, NoEndOfSongMessage, "SONG:\t\"One\""},
      {"no layout word", "A play\r\n" + kCharacters + "Scene 1: (Deck)\r\nEND\r\n", false,
       NoLayoutWordMessage, "A play"},
      {"layout word past the first 100 characters",
       "A play" + std::string(100, '.') + " for Radio\r\nEND\r\n", false, NoLayoutWordMessage,
       "A play"},
      {"compact without a characters list",
       "A Stage play\r\nScene 1: (Deck)\r\nJOHN:\tHello.\r\nEND\r\n", true,
       NoCharactersOrSceneMessage, "A Stage"},
      {"compact with no scene after the list",
       "A Stage play\r\nScene 1: (Deck)\r\n" + kCharacters + "END\r\n", true,
       NoCharactersOrSceneMessage, "A Stage"},
      {"scene without a colon", Stage("Scene 1: (Deck)\r\nScene 2 (Rocks)\r\n"), false,
       SceneColonMessage, "Scene 2 (Rocks)"},
      {"speaker without a colon", Stage("Scene 1: (Deck)\r\nJOHN\tHello.\r\n"), false,
       "Missing colon after [JOHN].", "JOHN\tHello"},
      {"speaker with a blank before the colon", Stage("Scene 1: (Deck)\r\nJOHN :\tHello.\r\n"),
       false, NameBlankEndsMessage, "JOHN :"},
      {"speaker too long", Stage("Scene 1: (Deck)\r\n" + longName + ":\tHello.\r\n"), false,
       NameTooLongMessage, longName},
      {"colon alone", Stage("Scene 1: (Deck)\r\n:\tHello.\r\n"), false, BlankNameMessage,
       ":\tHello"},
      {"a joint name missing its second speaker", Stage("Scene 1: (Deck)\r\nJOHN &:\tHi.\r\n"),
       false, BlankNameMessage, ":\tHi"},
      {"nobody of that name, after a name written out",
       Stage("Scene 1: (Deck)\r\nPO:\tPost!\r\nZED:\tWho?\r\n"), false, "Unknown name: ZED",
       "ZED:", UnknownNameHelp},
      {"the second of a joint name unknown", Stage("Scene 1: (Deck)\r\nJOHN & ZED:\tHi.\r\n"),
       false, "Unknown name: ZED", "ZED:", UnknownNameHelp},
      {"a script without a characters list",
       "A Radio play\r\nScene 1: (Deck)\r\nJOHN:\tHello.\r\nEND\r\n", false, NoCharactersMessage,
       ""},
      {"a characters list run into the running time",
       "A Radio play\r\nCharacters\r\nJOHN:\tthe keeper\r\nRUNNING TIME:\t1 hour\r\n\r\n"
       "Scene 1: (Deck)\r\nJOHN:\tHello.\r\nEND\r\n",
       false, CharactersNotEndedMessage, "RUNNING TIME"},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string source = Script(c.text, c.compact);
    const TValidation v = Validate(source);
    EXPECT_FALSE(v.text) << "a script that fails is not changed";
    EXPECT_FALSE(v.status);
    ASSERT_TRUE(v.error);
    EXPECT_EQ(v.error->message, c.message);
    EXPECT_EQ(v.error->helpTopic, c.help);
    if (c.at.empty()) {
      EXPECT_FALSE(v.error->atOffset);
    } else {
      EXPECT_TRUE(v.error->atOffset);
      const std::string shown = RtfPlainText(ParseRtf(source));
      EXPECT_EQ(shown.substr(v.error->offset, c.at.size()), c.at);
    }
    EXPECT_EQ(Desktop().ClipboardText(), "");
  }
}

// Songs end at "End of song", at the next scene, or at the line "End".
TEST_F(ScriptChecksTest, SongsEndWhereAScriptMayEndThem) {
  for (const char* close : {"End of song\r\n", "Scene 2: (Rocks)\r\n", "End\r\n"}) {
    const std::string text =
        Stage(std::string("Scene 1: (Deck)\r\nSONG:\t\"One\"\r\nALL:\tLa.\r\n") + close +
              "SONG:\t\"Two\"\r\nALL:\tLa.\r\nEnd of song\r\n");
    EXPECT_EQ(TextAfter(Script(text)), text) << close;
  }
}

struct NameCase {
  const char* name;
  std::string scene;                    // the lines after "Scene 1: (Deck)"
  std::string expected;                 // the same lines after validation
  std::vector<std::string> picks = {};  // the user's clicks, "" for closing the list
  std::vector<std::vector<std::string>> offered = {};
};

// Abbreviations are matched against the names already heard in the scene, then
// against the characters list; one match is written out, several are the user's pick.
TEST_F(ScriptChecksTest, AbbreviationsAreWrittenOutInFull) {
  const NameCase cases[] = {
      {"one character", "JOH:\tAhoy.\r\nPOST:\tLetter!\r\n",
       "JOHN:\tAhoy.\r\nPOSTMAN:\tLetter!\r\n"},
      {"letter case aside", "Po:\tLetter!\r\n", "POSTMAN:\tLetter!\r\n"},
      {"full names and groups stay", "JOHN:\tHi.\r\nALL:\tHi.\r\nCHORUS & MEN:\tHo.\r\n",
       "JOHN:\tHi.\r\nALL:\tHi.\r\nCHORUS & MEN:\tHo.\r\n"},
      {"headings are no speakers", "SYNOPSIS:\tA storm.\r\nMUSIC:\t\"Waves\"\r\n",
       "SYNOPSIS:\tA storm.\r\nMUSIC:\t\"Waves\"\r\n"},
      {"each of a joint name", "JOH & MA:\tTogether.\r\nJOA, POS:\tToo.\r\n",
       "JOHN & MARY:\tTogether.\r\nJOAN, POSTMAN:\tToo.\r\n"},
      {"two characters, one picked",
       "JO:\tAhoy.\r\n",
       "JOAN:\tAhoy.\r\n",
       {"JOAN"},
       {{"JOHN", "JOAN"}}},
      {"the scene decides before the list", "JOAN:\tHi.\r\nJO:\tAgain.\r\n",
       "JOAN:\tHi.\r\nJOAN:\tAgain.\r\n"},
      {"a new scene forgets its speakers",
       "JOAN:\tHi.\r\nScene 2: (Rocks)\r\nJO:\tAgain.\r\n",
       "JOAN:\tHi.\r\nScene 2: (Rocks)\r\nJOHN:\tAgain.\r\n",
       {"JOHN"},
       {{"JOHN", "JOAN"}}},
      {"two in the scene, one picked",
       "JOHN:\tHi.\r\nJOAN:\tHo.\r\nJO:\tAgain.\r\n",
       "JOHN:\tHi.\r\nJOAN:\tHo.\r\nJOHN:\tAgain.\r\n",
       {"JOHN"},
       {{"JOHN", "JOAN"}}},
      {"a question mark offers the whole list",
       "JOHN:\tHi.\r\n?:\tWho?\r\n",
       "JOHN:\tHi.\r\nPOSTMAN:\tWho?\r\n",
       {"POSTMAN"},
       {{"JOHN", "JOAN", "MARY", "POSTMAN"}}},
      {"continued speeches are no speakers", "JOH:\tOne.\r\n\tTwo.\r\n",
       "JOHN:\tOne.\r\n\tTwo.\r\n"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    Dialogs().Clear();
    for (const std::string& pick : c.picks) {
      if (pick.empty()) {
        Dialogs().CancelPick();
      } else {
        Dialogs().AnswerPick(pick);
      }
    }
    const std::string after = TextAfter(Script(Stage("Scene 1: (Deck)\r\n" + c.scene)));
    EXPECT_EQ(after, Stage("Scene 1: (Deck)\r\n" + c.expected));
    ASSERT_EQ(Dialogs().PickCalls().size(), c.offered.size());
    for (size_t i = 0; i < c.offered.size(); ++i) {
      EXPECT_EQ(Dialogs().PickCalls()[i].caption, AmbiguousAbbreviationCaption);
      EXPECT_EQ(Dialogs().PickCalls()[i].entries, c.offered[i]);
    }
    if (!c.picks.empty()) {
      EXPECT_EQ(ChosenLink, c.picks.back());
    }
  }
}

TEST_F(ScriptChecksTest, ClosingTheChooserStopsWithoutChangingTheScript) {
  struct Case {
    std::string scene;
    const char* message;
  } cases[] = {
      {"PO:\tPost!\r\nJO:\tAhoy.\r\n", AmbiguousMessage},
      {"JOHN:\tHi.\r\nJOAN:\tHo.\r\nJO:\tAgain.\r\n", AmbiguousInSceneMessage},
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    Dialogs().CancelPick();
    const std::string source = Script(Stage("Scene 1: (Deck)\r\n" + c.scene));
    const TValidation v = Validate(source);
    ASSERT_TRUE(v.error);
    EXPECT_EQ(v.error->message, c.message);
    EXPECT_EQ(RtfPlainText(ParseRtf(source)).substr(v.error->offset, 3), "JO:");
    EXPECT_FALSE(v.text);
  }
}

// Scene lines: "SCENE" becomes "Scene", a tab after the colon goes; in screen
// layout the title gets single blanks and a full stop.
TEST_F(ScriptChecksTest, SceneLinesAreTidied) {
  struct Case {
    const char* layout;
    std::string line, expected;
  } cases[] = {
      {"Radio", "SCENE 1: (Deck)", "Scene 1: (Deck)"},
      {"Stage", "Scene 2:\t(Rocks)", "Scene 2: (Rocks)"},
      {"Stage", "Scene 3:\t (Rocks)", "Scene 3: (Rocks)"},
      {"Stage", "Scene:  (Rocks)  by night", "Scene:  (Rocks)  by night"},
      {"Film", "Scene 4:   Int.  Lamp room  -  Night", "Scene 4: Int. Lamp room - Night."},
      {"Television", "SCENE 5:\tExt. Rocks - Day.", "Scene 5: Ext. Rocks - Day."},
      {"Film", "Scene 6:", "Scene 6:"},
  };
  for (const Case& c : cases) {
    const std::string head = std::string("The Lighthouse\r\nA ") + c.layout + " play\r\n\r\n";
    EXPECT_EQ(TextAfter(Script(head + kCharacters + c.line + "\r\nEND\r\n")),
              head + kCharacters + c.expected + "\r\nEND\r\n")
        << c.line;
  }
}

// What validation mends it leaves mended: a second run finds nothing to change, in
// either layout, compact or full.
TEST_F(ScriptChecksTest, AValidatedScriptValidatesUnchanged) {
  for (const char* layout : {"Radio", "Film"}) {
    for (bool compact : {false, true}) {
      SCOPED_TRACE(std::string(layout) + (compact ? ", compact" : ", full"));
      const std::string source =
          Script(std::string("The Lighthouse\r\nA ") + layout + " play\r\n\r\n" + kCharacters +
                     "SCENE 1:\tInt.  Deck\r\nJOH:\tAhoy.\r\n"
                     "PO & MA:\tHi.\r\n",
                 compact);
      const TValidation first = Validate(source);
      ASSERT_TRUE(first.text);
      const TValidation second = Validate(*first.text);
      EXPECT_FALSE(second.error);
      EXPECT_FALSE(second.text) << RtfPlainText(ParseRtf(*second.text));
    }
  }
}

TEST_F(ScriptChecksTest, LayoutIsTheFirstWordThatNamesOne) {
  EXPECT_EQ(ScriptLayout("A Stage play for Television"), TScriptLayout::Stage);
  EXPECT_EQ(ScriptLayout("A Film, later a Radio play"), TScriptLayout::Screen);
  EXPECT_EQ(ScriptLayout("A play"), std::nullopt);
}

// The last line "END" is underlined and centred in the source; one is added after
// the last text when the last 60 characters hold none.
TEST_F(ScriptChecksTest, TheLastEndIsAddedWhereMissingUnderlinedAndCentred) {
  struct Case {
    const char* name;
    std::string text, expected;
  } cases[] = {
      {"present", "A Radio play\r\nEND\r\n", "A Radio play\r\nEND\r\n"},
      {"missing", "A Radio play\r\nThe last line.\r\n\r\n",
       "A Radio play\r\nThe last line.\r\nEND\r\n\r\n"},
      {"too far from the end", "A Radio play\r\nEND\r\n" + std::string(60, 'x') + "\r\n",
       "A Radio play\r\nEND\r\n" + std::string(60, 'x') + "\r\nEND\r\n"},
      {"part of a line only", "A Radio play\r\nTHE END\r\n", "A Radio play\r\nTHE END\r\nEND\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TValidation v = Validate(Script(c.text));
    ASSERT_TRUE(v.text);
    const TRtfDocument after = ParseRtf(*v.text);
    EXPECT_EQ(RtfPlainText(after), c.expected);
    size_t last = after.paragraphs.size();
    while (RtfPlainText(TRtfDocument{{after.paragraphs[last - 1]}}) != "END") --last;
    const TRtfParagraph& end = after.paragraphs[last - 1];
    EXPECT_EQ(end.format.align, TRtfAlign::Center);
    ASSERT_EQ(end.runs.size(), 1u);
    EXPECT_TRUE(end.runs[0].format.underline);
    EXPECT_EQ(end.runs[0].format.font, "Courier New");
    EXPECT_EQ(end.format.spaceBefore, 240) << "the paragraph keeps the script's spacing";
    EXPECT_NE(v.text->find("\\sb240\\sa240\\qc\\ul END"), std::string::npos) << *v.text;
    // Any other paragraph stays as it was.
    EXPECT_EQ(after.paragraphs[0].format.align, TRtfAlign::Left);
    EXPECT_FALSE(after.paragraphs[0].runs[0].format.underline);
  }
}

// In a compact script a paragraph of the scenes whose formatting was reset to
// nothing gets the script's spacing back; before the scenes nothing changes.
TEST_F(ScriptChecksTest, CompactScenesLoseStrayParagraphResets) {
  TRtfCharFormat format;
  format.font = "MS Sans Serif";
  TRtfDocument doc = RtfDocumentOfText(
      "A Stage play\r\nCast below\r\n" + kCharacters + "Scene 1: (Deck)\r\nJOHN:\tHi.\r\nEND\r\n",
      format);
  for (TRtfParagraph& paragraph : doc.paragraphs) {
    paragraph.format.spaceBefore = paragraph.format.spaceAfter = 60;
  }
  doc.paragraphs[1].format = TRtfParaFormat();  // before the scenes
  doc.paragraphs[8].format = TRtfParaFormat();  // "JOHN:"
  const std::string source = ComposeRtf(doc);
  ASSERT_NE(source.find("\\par \\pard JOHN:"), std::string::npos);
  const TValidation v = Validate(source);
  ASSERT_TRUE(v.text);
  EXPECT_EQ(v.text->find("\\par \\pard JOHN:"), std::string::npos);
  const TRtfDocument after = ParseRtf(*v.text);
  EXPECT_EQ(after.paragraphs[8].format.spaceAfter, 60);
  EXPECT_EQ(after.paragraphs[1].format, TRtfParaFormat());
}

// A characters list still to be written: the speakers go to the clipboard, one a
// line as the list wants them, and the user is told.
TEST_F(ScriptChecksTest, SpeakersOfAnEmptyListGoToTheClipboard) {
  const std::string text =
      "A Radio play\r\nCharacters\r\n\r\nScene 1: (Deck)\r\nJOHN:\tHi.\r\nALL:\tHi.\r\n"
      "MARY & JOHN:\tHo.\r\nJO:\tAgain.\r\nScene 2: (Rocks)\r\nJO:\tAlone.\r\nEND\r\n";
  const TValidation v = Validate(Script(text));
  ASSERT_FALSE(v.error) << v.error->message;
  EXPECT_EQ(v.status, ValidatedStatus);
  const std::string list = "JOHN:\t\r\nMARY:\t\r\nJO:\t\r\n";
  EXPECT_EQ(Desktop().ClipboardText(), list);
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Last().text, UndefinedCharactersMessage + list);
  // Within the scene an abbreviation still stands for a speaker heard there.
  EXPECT_NE(RtfPlainText(ParseRtf(*v.text)).find("JOHN:\tAgain."), std::string::npos);
}

// unrtf's text with the blanks it pads a tab with at a line's end taken off: a
// longer name moves the tab stop.
std::string UnrtfLines(const std::string& source) {
  std::string text = UnrtfText(source);
  for (size_t at = text.find(" \n"); at != std::string::npos; at = text.find(" \n", at)) {
    const size_t from = text.find_last_not_of(' ', at) + 1;
    text.erase(from, at + 1 - from);
    at = from;
  }
  return text;
}

// What unrtf reads from a script written out in full is what it read before, the
// names aside: validation changes nothing else of the document.
TEST_F(ScriptChecksTest, WrittenOutScriptReadsTheSameInUnrtf) {
  for (bool compact : {false, true}) {
    const std::string scenes =
        "Scene 1: (Deck)\r\nJOH:\tAhoy (waving).\r\nPOST & MA:\tLetter!\r\n"
        "SONG:\t\"Light\"\r\nALL:\tShine on.\r\nEnd of song\r\n";
    const std::string source = Script(Stage(scenes), compact);
    const TValidation v = Validate(source);
    ASSERT_TRUE(v.text);
    const std::string expected = ReplaceAll(ReplaceAll(UnrtfLines(source), "JOH:", "JOHN:", true),
                                            "POST & MA:", "POSTMAN & MARY:", true);
    EXPECT_EQ(UnrtfLines(*v.text), expected) << compact;
    EXPECT_NE(expected.find("POSTMAN & MARY:"), std::string::npos);
  }
}

TEST(ScriptCharactersTest, NamesOfTheList) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> names;
    const char* error = nullptr;
  } cases[] = {
      {"one a line, and joined", kCharacters, {"JOHN", "JOAN", "MARY", "POSTMAN"}},
      {"heading in any case, blanks after it", "characters  \r\nA, ETC.:\tsome\r\n", {"A"}},
      {"lines without colon and tab are passed over",
       "Characters\r\nJOHN the keeper\r\nB:\tx\r\n",
       {"B"}},
      {"ends at a scene", "Characters\r\nA:\tx\r\nScene: (Deck)\r\nB:\ty\r\n", {"A"}},
      {"ends at the end", "Characters\r\nA:\tx", {"A"}},
      {"a running time after the blank line",
       "Characters\r\nA:\tx\r\n\r\nRUNNING TIME:\t1h\r\n",
       {"A"}},
      {"no heading", "Cast\r\nA:\tx\r\n", {}, NoCharactersMessage},
      {"a heading inside a line is none", "The Characters\r\nA:\tx\r\n", {}, NoCharactersMessage},
      {"running time before the end",
       "Characters\r\nA:\tx\r\nRUNNING TIME:\t1h\r\n",
       {},
       CharactersNotEndedMessage},
  };
  for (const Case& c : cases) {
    const TScriptCharacters read = ReadScriptCharacters(c.text);
    EXPECT_EQ(read.names, c.names) << c.name;
    EXPECT_EQ(read.error.value_or(""), c.error ? c.error : "") << c.name;
  }
}

// The length limit: 30 characters pass, and joint names may be longer.
TEST(ScriptNamesTest, LongNamesPassUpToTheLimitOrWhenJoint) {
  EXPECT_EQ(SpeakerFault(std::string(30, 'A') + ":"), std::nullopt);
  EXPECT_EQ(SpeakerFault(std::string(31, 'A') + ":"), NameTooLongMessage);
  EXPECT_EQ(SpeakerFault(std::string(20, 'A') + " & " + std::string(20, 'B') + ":"), std::nullopt);
  EXPECT_EQ(SpeakerFault(std::string(20, 'A') + "," + std::string(20, 'B') + ":"), std::nullopt);
}

}  // namespace
}  // namespace quorrel::test
