// The find engine on the tests' in-memory editor: Find, Next, Replace with and
// without the prompt, block replace and Extract lines, with their messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/FindTestKit.h"
#include "shell/BlinkJob.h"
#include "platform/Chars.h"
#include "shell/StatusBar.h"

namespace quorrel::test {
namespace {

// One command of a case: its menu item and the dialog's answers (none for Next).
struct Step {
  const char* command;
  std::function<void(TFindAnswers&)> fill;
};

// The edge cases of the engine as one table: a document, a block marked (start and
// length in editor positions, 0 0 for none), commands, the user's answers to the
// replace prompt, and what the user sees at the end.
struct EdgeCase {
  const char* name;
  const char* file;
  const char* text;
  size_t blockStart, blockLength;
  std::vector<Step> steps;
  std::vector<int> answers;
  const char* selected;  // the selection at the end
  const char* result;    // the editor's text at the end (nullptr: unchanged)
  const char* message;   // the last box shown ("": none)
};

// A page whose head begins a line, so that opening it does not re-lay it.
constexpr char kPage[] = "<html>\n<head>\n</head>\n<body>xa\nby</body>\n</html>\n";

TEST_F(FindTest, EdgeCases) {
  auto hex = [](const char* digits) {
    return [digits](TFindAnswers& a) {
      a.findText = digits;
      a.hex = true;
    };
  };
  auto blockReplace = [](const char* find, const char* by) {
    return [=](TFindAnswers& a) {
      a.findText = find;
      a.replaceText = by;
      a.blockRep = true;
    };
  };
  const EdgeCase cases[] = {
      {"pilcrow is CR LF in CR LF text", "a.txt", "xa\r\nby\r\n", 0, 0,
       {{"Find", Finding("a\xB6" "b")}}, {}, "a\r\nb", nullptr, ""},
      {"pilcrow is LF in an HTML working copy", "a.htm", kPage, 0, 0,
       {{"Find", Finding("a\xB6" "b")}}, {}, "a\r\nb", nullptr, ""},
      {"hex 414243 finds ABC", "h.txt", "xxABCxx\r\n", 0, 0, {{"Find", hex("414243")}}, {},
       "ABC", nullptr, ""},
      {"five hex digits stop", "h.txt", "xxABCxx\r\n", 0, 0, {{"Find", hex("41424")}}, {}, "",
       nullptr, "Odd number of hex digits."},
      {"No with an empty replacement moves on", "n.txt", "x1x2\r\n", 0, 0,
       {{"ReplaceM", Replacing("x", "", true)}}, {mrNo, mrYes}, "", "x12\r\n", ""},
      {"Next after a failed search starts again at the start", "f.txt", "ab ab\r\n", 0, 0,
       {{"Find", Finding("ab")}, {"FRNext", nullptr}, {"FRNext", nullptr}, {"FRNext", nullptr}},
       {}, "ab", nullptr, ""},
      {"block replace by Next with nothing marked", "b.txt", "a b b a\r\n", 2, 3,
       {{"ReplaceM", blockReplace("b", "c")}, {"FRNext", nullptr}}, {}, "", "a c c a\r\n",
       "Block replace: No block marked."},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    FindAnswers = TFindAnswers{};
    Open(c.file, c.text);
    const std::string before = Text();
    CurrentEditor->Select(c.blockStart, c.blockLength);
    Dialogs().Clear();
    for (int answer : c.answers) Dialogs().Answer(answer);
    for (const Step& step : c.steps) {
      // Between commands the user clicks into the text: a block is gone.
      if (step.command == std::string("FRNext") && c.blockLength > 0) {
        CurrentEditor->Select(CurrentEditor->SelStart(), 0);
      }
      Command(step.command, step.fill);
    }
    EXPECT_EQ(Selected(), c.selected);
    EXPECT_EQ(Text(), c.result ? std::string(c.result) : before);
    const std::vector<std::string> texts = Dialogs().Texts();
    std::string message;
    for (const std::string& text : texts) {
      if (text != ReplacePromptText) message = text;
    }
    EXPECT_EQ(TrimBlanks(message), c.message);
    EXPECT_EQ(Dialogs().UnusedAnswers(), 0u);
    EXPECT_TRUE(CurrentCommand.empty());
    for (int tab = 0; tab < window.TabCount(); ++tab) window.Editor(tab).SetModified(false);
    MainMenu().Click("CloseAll");
  }
}

TEST_F(FindTest, HexIsShownDecodedAndUntickedAfterwards) {
  Open("h.txt", "xxABCxx\r\n");
  Command("Find", [](TFindAnswers& a) {
    a.findText = "414243";
    a.hex = true;
  });
  EXPECT_EQ(FindAnswers.findText, "ABC");
  EXPECT_FALSE(FindAnswers.hex);
  // Next searches for the decoded text, not the digits.
  Open("i.txt", "ABC ABC\r\n");
  Command("FRNext");
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
  EXPECT_EQ(Selected(), "ABC");
}

TEST_F(FindTest, FindSelectsScrollsBlinksAndRemembersItFound) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + "\r\n";
  Open("long.txt", text);
  Command("Find", Finding("LINE 150"));
  EXPECT_EQ(Selected(), "line 150");
  EXPECT_EQ(CurrentEditor->LineFromChar(CurrentEditor->SelStart()), 150u);
  EXPECT_GT(CurrentEditor->FirstVisibleLine(), 100u);  // scrolled to it
  EXPECT_EQ(TimerJob, 6);
  EXPECT_EQ(static_cast<size_t>(BlinkStart), CurrentEditor->SelStart());
  EXPECT_EQ(BlinkLength, 8u);
  EXPECT_TRUE(FindState.found);
  EXPECT_FALSE(CurrentEditor->Modified());
  ASSERT_EQ(dialog.requests.size(), 1u);
  EXPECT_EQ(dialog.requests[0].caption, "Find");
  EXPECT_EQ(dialog.requests[0].helpContext, FindHelpContext);
  EXPECT_FALSE(dialog.requests[0].replaceMode);
}

TEST_F(FindTest, NotFoundSaysSoInTheStatusLineAndPutsTheCaretBack) {
  Open("a.txt", "one two\r\n");
  CurrentEditor->Select(4, 3);
  Command("Find", Finding("three"));
  EXPECT_EQ(Status(), "  Not found: \"three\"");
  EXPECT_EQ(CurrentEditor->SelStart(), 4u);
  EXPECT_FALSE(FindState.found);
  EXPECT_TRUE(Dialogs().Calls().empty());

  // In a block: the block is named.
  CurrentEditor->Select(0, 3);
  Command("ReplaceM", [](TFindAnswers& a) {
    a.findText = "two";
    a.replaceText = "2";
  });
  EXPECT_EQ(Status(), "  Not found in selected text: \"two\"");
  EXPECT_EQ(Text(), "one two\r\n");
}

TEST_F(FindTest, ReplacingSaysNothingWhenItFoundSomething) {
  Open("a.txt", "a b a\r\n");
  Command("ReplaceM", Replacing("a", "c", false));
  EXPECT_EQ(Text(), "c b c\r\n");
  EXPECT_EQ(Status().find("Not found"), std::string::npos);
  EXPECT_TRUE(CurrentEditor->Modified());
  // The caret stands after the last replacement.
  EXPECT_EQ(CurrentEditor->SelStart(), 5u);
  EXPECT_EQ(CurrentText, "c b c\r\n");
}

TEST_F(FindTest, CancelInTheDialogDoesNothing) {
  Open("a.txt", "a\r\n");
  dialog.ok = false;
  Command("ReplaceM", Replacing("a", "b", false));
  EXPECT_EQ(Text(), "a\r\n");
  EXPECT_TRUE(FindState.replaceMode);  // the command is still the one Next repeats
}

TEST_F(FindTest, AnEmptyFindTextStops) {
  Open("a.txt", "a\r\n");
  Command("Find", Finding(""));
  EXPECT_EQ(TrimBlanks(Dialogs().Last().text), "Cannot Find a null string");
}

TEST_F(FindTest, ThePromptHighlightsEachOccurrenceAndTheAnswersDecide) {
  Open("p.txt", "cat\r\ncat cat\r\ncat\r\n");
  std::vector<std::pair<TColourRun, std::string>> shown;
  Dialogs().whileShowing = [&](const DialogCall& call) {
    ASSERT_EQ(call.kind, DialogKind::ReplacePrompt);
    EXPECT_EQ(call.text, " Replace?  Yes / No / All / Cancel ");
    shown.push_back({CurrentEditor->Highlight(), Selected()});
    // The highlight is no edit.
    EXPECT_FALSE(CurrentEditor->Modified() && shown.size() == 1);
  };
  Dialogs().Answer({mrNo, mrYes, mrAll});
  Command("ReplaceM", Replacing("cat", "dog", true));
  EXPECT_EQ(Text(), "cat\r\ndog dog\r\ndog\r\n");
  ASSERT_EQ(shown.size(), 3u);  // All answers for the rest
  // Editor positions: one per line end.
  EXPECT_EQ(shown[0].first, (TColourRun{0, 3, 0xFFFF00, -1}));
  EXPECT_EQ(shown[1].first, (TColourRun{4, 3, 0xFFFF00, -1}));
  EXPECT_EQ(shown[2].first, (TColourRun{8, 3, 0xFFFF00, -1}));
  for (const auto& [run, selected] : shown) EXPECT_EQ(selected, "cat");
  EXPECT_EQ(CurrentEditor->Highlight(), TColourRun{});
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(FindTest, CancelInThePromptKeepsWhatWasReplaced) {
  Open("p.txt", "a a a\r\n");
  Dialogs().Answer({mrYes, mrCancel});
  Command("ReplaceM", Replacing("a", "bb", true));
  EXPECT_EQ(Text(), "bb a a\r\n");
  EXPECT_EQ(CurrentText, "bb a a\r\n");
}

TEST_F(FindTest, TheHundredAndFirstOccurrenceAsksAboutALoop) {
  std::string text = "a";
  for (int i = 1; i < 150; ++i) text += " a";
  for (int answer : {mrYes, mrNo}) {
    Open(answer == mrYes ? "yes.txt" : "no.txt", text + "\r\n");
    Dialogs().Clear();
    Dialogs().Answer(answer);
    Command("ReplaceM", Replacing("a", "aa", false));
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_EQ(Dialogs().Last().text, "100 occurrences replaced.  Quorrel may be in a loop!  Cancel?");
    std::string expected;
    for (int i = 0; i < 150; ++i) {
      expected += std::string(i ? " " : "") + ((answer == mrYes && i >= 100) ? "a" : "aa");
    }
    EXPECT_EQ(Text(), expected + "\r\n");
  }
}

TEST_F(FindTest, ABlockReplaceStaysInItsBlockAndIsSelectedAgain) {
  // A replacement longer and shorter than the text: the block's end moves with it.
  struct Case {
    const char* by;
    const char* result;
  } cases[] = {{"xyz", "a xyz xyz a\r\n"}, {"", "a   a\r\n"}};
  for (const Case& c : cases) {
    Open(std::string(c.by) + "block.txt", "a a a a\r\n");
    CurrentEditor->Select(2, 3);  // "a a" in the middle
    Command("ReplaceM", [&](TFindAnswers& a) {
      a.findText = "a";
      a.replaceText = c.by;
      a.blockRep = true;
    });
    EXPECT_EQ(Text(), c.result);
    EXPECT_EQ(CurrentEditor->SelStart(), 2u);
    EXPECT_EQ(CurrentEditor->SelLength(), 1 + 2 * std::string(c.by).size());
  }
}

TEST_F(FindTest, BlockReplaceIsOfferedOnlyWhenReplacingWithABlock) {
  Open("a.txt", "a b\r\n");
  Command("Find", Finding("a"));
  EXPECT_FALSE(FindAnswers.blockRepEnabled);
  CurrentEditor->Select(0, 0);
  Command("ReplaceM", Replacing("a", "b", false));
  EXPECT_FALSE(FindAnswers.blockRepEnabled);
  CurrentEditor->Select(0, 2);
  Command("ReplaceM", Replacing("b", "c", false));
  EXPECT_TRUE(FindAnswers.blockRepEnabled);
  EXPECT_TRUE(FindAnswers.blockRep);
  EXPECT_EQ(Text(), "c b\r\n");  // only within the block
}

TEST_F(FindTest, ExtractLinesCollectsEachLineOnceIntoAnUntitledDocument) {
  Open("cats.txt", "one cat cat\r\ntwo\r\ncat three\r\nfour\r\n");
  Command("Extract", Finding("cat"));
  EXPECT_EQ(dialog.requests.back().helpContext, ExtractHelpContext);
  EXPECT_EQ(CurrentFileName.compare(0, 8, "Untitled"), 0) << CurrentFileName;
  EXPECT_EQ(Text(), "one cat cat\r\ncat three\r\n");
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
  EXPECT_EQ(window.TabCount(), 2);

  // A second extraction reuses the untitled tab; a find text that begins with a
  // line end collects the line after it.
  PCChange();
  window.ActivateTab(0);
  PCChange();
  Command("Extract", Finding("\xB6" "cat"));
  EXPECT_EQ(window.TabCount(), 2);
  EXPECT_EQ(Text(), "cat three\r\n");
}

TEST_F(FindTest, ExtractLinesFromTheUntitledDocumentItselfGoesToANewOne) {
  Open("cats.txt", "cat\r\ndog\r\n");
  Command("Extract", Finding("cat"));
  const std::string first = CurrentFileName;
  Command("Extract", Finding("cat"));
  EXPECT_EQ(window.TabCount(), 3);
  window.ActivateTab(1);
  PCChange();
  EXPECT_EQ(CurrentFileName, first);
  EXPECT_EQ(Text(), "cat\r\n");
}

// "»" stands for a tab in RTF documents only: everywhere else it is a character of
// its own (French quotes), found as typed.
TEST_F(FindTest, TheTabMarkIsATabInRtfDocumentsAndACharacterElsewhere) {
  struct Case {
    const char* file;
    const char* text;
    const char* find;
    const char* selected;
  } cases[] = {
      {"quotes.txt", "il dit \xAB oui \xBB et\r\n", "oui \xBB", "oui \xBB"},
      {"code.js", "var\ta = '\xBB' + a;\r\n", "'\xBB'", "'\xBB'"},
      {"page.htm", "<html>\n<head>\n</head>\n<body>a\xBB" "b</body>\n</html>\n", "a\xBB" "b",
       "a\xBB" "b"},
      {"letter.rtf",
       "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n"
       "\\pard\\f0\\fs24 Name:\\tab Ann\r\n\\par }\r\n",
       "Name:\xBB", "Name:\t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Open(c.file, c.text);
    Command("Find", Finding(c.find));
    EXPECT_EQ(Selected(), c.selected);
  }
}

// Whole words: the letters among Windows-1252's signs (micro, the ordinals, the
// florin) are letters, so "m" is no word inside "µm".
TEST_F(FindTest, WholeWordsTakeMicroAndTheOrdinalsForLetters) {
  Open("units.txt", "5 \xB5m, 1\xAAm 2\xBAm \x83m, 3 m.\r\n");
  Command("ReplaceM", [](TFindAnswers& a) {
    a.findText = "m";
    a.replaceText = "metres";
    a.wholeWords = true;
  });
  EXPECT_EQ(Text(), "5 \xB5m, 1\xAAm 2\xBAm \x83m, 3 metres.\r\n");
}

// "¶" is the document's line end; the final one of the working copy is not the
// editor's, so a one-line document has no line end to find, and a search for one
// leaves editor and text alike.
TEST_F(FindTest, APilcrowFindsNoFinalLineEndOfAOneLineDocument) {
  Open("one.txt", "abc\r\n");
  Command("Find", Finding("\xB6"));
  EXPECT_EQ(Status(), "  Not found: \"\xB6\"");
  EXPECT_EQ(Selected(), "");
  Command("ReplaceM", Replacing("\xB6", "X", false));
  EXPECT_EQ(Text(), "abc\r\n");
  EXPECT_EQ(CurrentText, "abc\r\n");
  EXPECT_FALSE(CurrentEditor->Modified());

  // With two lines the first line end is there to find and replace.
  Open("two.txt", "abc\r\ndef\r\n");
  Command("ReplaceM", Replacing("c\xB6", "C ", false));
  EXPECT_EQ(Text(), "abC def\r\n");
  EXPECT_EQ(CurrentText, Text());
}

// Each search's outcome replaces the message of the one before: a failed search's
// "Not found" does not stay over a search that found.
TEST_F(FindTest, ASearchsMessageReplacesTheLastOne) {
  Open("a.txt", "one [two]\r\n");
  Command("Find", Finding("[x"));
  EXPECT_EQ(Status(), "  Not found: \"[x\"");
  Command("Find", Finding("[t"));
  EXPECT_EQ(Selected(), "[t");
  EXPECT_EQ(Status(), "");
  Command("Find", Finding("three"));
  CurrentEditor->Select(0, 0);  // no block to replace in
  Command("ReplaceM", Replacing("one", "1", false));
  EXPECT_EQ(Text(), "1 [two]\r\n");
  EXPECT_EQ(Status(), "");
}

TEST_F(FindTest, InSectionStaysHiddenWhileThereIsNoSectionsList) {
  Open("a.txt", "a\r\n");
  Command("Find", [](TFindAnswers& a) {
    a.findText = "a";
    a.inSection = true;
  });
  EXPECT_FALSE(FindAnswers.inSectionVisible);
  EXPECT_FALSE(FindState.inSection);
}

TEST_F(FindTest, InSectionSearchesTheCurrentSectionOnly) {
  Open("s.txt", "cat\r\n.S1 cat dog\r\n.S2 cat\r\n");
  MainMenu().SetVisible("Sections", true);
  SectionLines = {"5", "18"};  // offsets of ".S1" and ".S2"
  CurrentEditor->Select(6, 0);
  Dialogs().Answer({mrYes});
  Command("ReplaceM", [](TFindAnswers& a) {
    a.findText = "cat";
    a.replaceText = "cow";
    a.prompt = false;
    a.inSection = true;
  });
  EXPECT_EQ(Text(), "cat\r\n.S1 cow dog\r\n.S2 cat\r\n");
  Dialogs().Clear();
}

TEST_F(FindTest, AnOccurrenceReachingPastTheEditorsTextIsNotFound) {
  Open("a.txt", "ab");  // the editor holds "ab" and no final line end
  Command("Find", Finding("b\xB6"));
  EXPECT_EQ(Status(), "  Not found: \"b\xB6\"");
}

// A master's highlights are never written (the page builder does not read them);
// after a replace none is left and the words around the old highlight stay whole.
TEST_F(FindTest, DotPageReplaceLeavesNoHighlight) {
  const std::string rtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}\r\n"
      "\\pard\\f0\\fs24 .PG page\r\n\\par \\cf1\\highlight2 old\\highlight0 Text\\cf0  end\r\n\\par }\r\n";
  Open("dot.rtf", rtf);
  ASSERT_TRUE(IsDotPage);
  Command("ReplaceM", Replacing("old", "new", false));
  EXPECT_NE(Text().find("newText"), std::string::npos) << Text();
  EXPECT_EQ(CurrentEditor->GetRtfSource().find("highlight"), std::string::npos);
  EXPECT_TRUE(CurrentEditor->Modified());
}

}  // namespace
}  // namespace quorrel::test
