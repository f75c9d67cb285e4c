// The checking component over the in-memory editor with the real en_GB speller.
#include <gtest/gtest.h>

#include "spell/SpellCheckerKit.h"
#include "support/ScriptedDialogs.h"

namespace quorrel::test {
namespace {

using SpellCheck = CheckerFixture;

TEST_F(SpellCheck, AnEmptyDocumentIsNotCheckedAndMakesNoSpeller) {
  EXPECT_FALSE(checker.Check(Editor("")));
  EXPECT_EQ(checker.SpellerCount(), 0u);
  EXPECT_EQ(window.HiddenEditorsMade(), 0);
  EXPECT_EQ(finished, 0);
}

TEST_F(SpellCheck, WithoutASpellerForTheLanguageCheckIsFalse) {
  checker.Language = kGerman;  // no dictionary registered for it
  EXPECT_FALSE(checker.Check(Editor("Guten Tag")));
  EXPECT_EQ(checker.SpellerCount(), 0u);
  EXPECT_TRUE(findings.empty());
}

TEST_F(SpellCheck, ABackEndThatFailsToStartIsNoSpellerAndIsTriedAgain) {
  int made = 0;
  checker.SpellerFactory = [&](TSpellChecker&, TLanguage,
                               TSpellerType) -> std::unique_ptr<TAbstractSpeller> {
    ++made;
    throw ESpellError("Error loading Spell DLL x");
  };
  EXPECT_FALSE(checker.Check(Editor("some words")));
  EXPECT_FALSE(checker.Check(Editor("some words")));
  EXPECT_EQ(made, 2);
  EXPECT_EQ(checker.SpellerCount(), 0u);
}

TEST_F(SpellCheck, AnEditorOfAnotherKindIsRefused) {
  struct LineEdit : MemoryRich {
    std::string ClassName() const override { return "QLineEdit"; }
  } lineEdit;
  lineEdit.SetText("text");
  try {
    checker.Check(lineEdit);
    FAIL() << "no error";
  } catch (const ESpellError& e) {
    EXPECT_STREQ(e.what(), "You can't spell check QLineEdit.");
  }
}

TEST_F(SpellCheck, EachFindingIsSelectedInTheEditorAcrossLines) {
  struct Reported {
    TSpellReturnCode code;
    size_t position, length;
    bool operator==(const Reported&) const = default;
  };
  std::vector<Reported> reported;
  checker.OnMisspelling = [&](TSpellChecker&, TSpellReturnCode code, size_t position,
                              size_t length) {
    reported.push_back({code, position, length});
  };
  ASSERT_TRUE(checker.Check(Editor("Hello wrold\r\nsecond linne here")));
  EXPECT_EQ(window.HiddenEditorsMade(), 1);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].word, "wrold");
  EXPECT_EQ(findings[0].message, "Unknown word");
  EXPECT_EQ(findings[0].view, TSpellView::Unknown);
  EXPECT_EQ(findings[0].line, "Hello wrold");
  EXPECT_NE(std::find(findings[0].suggestions.begin(), findings[0].suggestions.end(), "world"),
            findings[0].suggestions.end());
  EXPECT_EQ(editor.SelStart(), 6u);
  EXPECT_EQ(editor.SelText(), "wrold");

  checker.Continue();  // Skip
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[1].line, "second linne here");
  EXPECT_EQ(editor.SelStart(), 19u);  // one position per line end
  EXPECT_EQ(editor.SelText(), "linne");

  checker.Continue();
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(dialogShown);
  EXPECT_FALSE(checker.Checking());
  // Offsets into the text with its CR LF line ends.
  EXPECT_EQ(reported,
            (std::vector<Reported>{{srUnknownInputWord, 6, 5}, {srUnknownInputWord, 20, 5}}));
}

TEST_F(SpellCheck, ASelectionIsCheckedFromTheStartOfItsFirstWord) {
  struct Case {
    const char* text;
    size_t selStart, selLength;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      // Starts inside "wrold": the whole word is checked, "helo" before it is not.
      {"helo wrold tezt", 7, 8, {"wrold", "tezt"}},
      // Ends before "tezt".
      {"helo wrold tezt", 0, 10, {"helo", "wrold"}},
      // Nothing selected: everything.
      {"helo wrold tezt", 3, 0, {"helo", "wrold", "tezt"}},
      // On the second line, mid-word.
      {"fine\r\nthe wrold", 11, 3, {"wrold"}},
  };
  for (const Case& c : cases) {
    findings.clear();
    ASSERT_TRUE(checker.Check(Editor(c.text, c.selStart, c.selLength))) << c.text;
    EXPECT_EQ(SkipAll(), c.words) << c.text << " from " << c.selStart;
  }
}

TEST_F(SpellCheck, AReplacementOfAnotherLengthKeepsLaterFindingsInPlace) {
  struct Change {
    size_t position, oldLength;
    std::string text;
  };
  std::vector<Change> changes;
  checker.OnChangeText = [&](TSpellChecker&, size_t position, const std::string& text,
                             size_t oldLength) {
    changes.push_back({position, oldLength, text});
  };
  ASSERT_TRUE(checker.Check(Editor("A wrold here\r\nand a tezt there, and a spel", 0, 0)));
  checker.ChangeOnce("wonderful world");
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[1].word, "tezt");
  EXPECT_EQ(editor.SelText(), "tezt");
  checker.ChangeOnce("test");
  ASSERT_EQ(findings.size(), 3u);
  EXPECT_EQ(editor.SelText(), "spel");
  checker.Replace("spelling");
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(editor.GetText(), "A wonderful world here\r\nand a test there, and a spelling");
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].position, 2u);
  EXPECT_EQ(changes[0].oldLength, 5u);
  EXPECT_EQ(changes[0].text, "wonderful world");
  EXPECT_EQ(changes[1].position, 30u);  // offsets of the CR LF text after the first change
}

TEST_F(SpellCheck, ChangeAlwaysRewritesLaterWordsWithoutAFinding) {
  ASSERT_TRUE(checker.Check(Editor("one wrold\r\ntwo wrold, three wrold")));
  checker.ChangeAlways("world");
  EXPECT_EQ(findings.size(), 1u);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(editor.GetText(), "one world\r\ntwo world, three world");
}

TEST_F(SpellCheck, AddAndSkipAllKeepTheWordFromLaterFindings) {
  struct Case {
    const char* name;
    void (TSpellChecker::*press)();
  };
  const Case cases[] = {{"Add", &TSpellChecker::Add}, {"Skip All", &TSpellChecker::IgnoreAlways}};
  const char* words[] = {"qwzzyx", "qwzzyy"};
  for (size_t i = 0; i < 2; ++i) {
    findings.clear();
    const std::string w = words[i];
    ASSERT_TRUE(checker.Check(Editor(w + " and " + w + " or tezt")));
    ASSERT_EQ(Words(), std::vector<std::string>{w}) << cases[i].name;
    (checker.*cases[i].press)();
    EXPECT_EQ(Words(), (std::vector<std::string>{w, "tezt"})) << cases[i].name;
    checker.Cancel();
  }
}

TEST_F(SpellCheck, CancelEndsTheCheckAndLeavesTheText) {
  int cancels = 0;
  checker.OnCancel = [&](TSpellChecker&) { ++cancels; };
  ASSERT_TRUE(checker.Check(Editor("wrold tezt")));
  checker.Cancel();
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(dialogShown);
  EXPECT_EQ(findings.size(), 1u);
  EXPECT_EQ(editor.GetText(), "wrold tezt");
}

TEST_F(SpellCheck, TheFinishMessageIsShownOnlyWhenAskedFor) {
  struct Case {
    bool show;
    const char* message;
    size_t boxes;
  };
  const Case cases[] = {{false, "Done", 0}, {true, "", 0}, {true, "Done", 1}};
  for (const Case& c : cases) {
    const size_t before = Dialogs().Calls().size();
    checker.ShowFinishMessage = c.show;
    checker.FinishMessage = c.message;
    ASSERT_TRUE(checker.Check(Editor("all fine here")));
    ASSERT_EQ(Dialogs().Calls().size() - before, c.boxes) << c.show << c.message;
    if (c.boxes) {
      EXPECT_EQ(Dialogs().Calls().back().caption, "Message");
      EXPECT_EQ(Dialogs().Calls().back().text, "Done");
    }
  }
}

TEST_F(SpellCheck, HtmlSupportSkipsTagsCommentsAndServerBlocks) {
  struct Case {
    const char* text;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"<p class=\"wrold\">tezt</p>", {"tezt"}},
      {"<!-- wrold > tezt -->fine <b>spel</b>", {"spel"}},
      {"<% if a > wrold %>fine tezt", {"tezt"}},
      {"<p>one\r\n<a href=\"x.htm\">wrold</a> two</p>", {"wrold"}},
      {"<p unclosed wrold", {}},
  };
  checker.HTMLSupport = true;
  for (const Case& c : cases) {
    findings.clear();
    ASSERT_TRUE(checker.Check(Editor(c.text))) << c.text;
    EXPECT_EQ(SkipAll(), c.words) << c.text;
  }
}

TEST_F(SpellCheck, HtmlSupportMovesAStartInsideATagToItsEnd) {
  checker.HTMLSupport = true;
  // The selection starts inside the attribute value "wrold".
  ASSERT_TRUE(checker.Check(Editor("<p class=\"wrold\">tezt</p>", 12, 10)));
  EXPECT_EQ(SkipAll(), std::vector<std::string>{"tezt"});
}

TEST_F(SpellCheck, AChangeOnceIsOfferedFirstAtTheWordsNextFinding) {
  ASSERT_TRUE(checker.Check(Editor("one wrold\r\ntwo wrold")));
  checker.ChangeOnce("world");
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[1].code, srReturningChangeOnce);
  EXPECT_EQ(findings[1].view, TSpellView::Unknown);
  ASSERT_FALSE(findings[1].suggestions.empty());
  EXPECT_EQ(findings[1].suggestions[0], "world");
  EXPECT_EQ(editor.SelText(), "wrold");
}

// A modal dialog answers before ShowFinding returns: the check goes on from there
// without nesting one finding inside the last.
TEST_F(SpellCheck, ADialogThatAnswersWhileShownChecksToTheEnd) {
  class ModalDialog : public TSpellDialog {
   public:
    ModalDialog(TSpellChecker& checker, int& shown, int& depth)
        : checker_(checker), shown_(shown), depth_(depth) {}
    void ShowFinding(const TSpellFinding& finding) override {
      ++shown_;
      ++depth_;
      EXPECT_EQ(depth_, 1) << "nested at finding " << shown_;
      if (finding.word == "tezt") {
        checker_.ChangeAlways("test");
      } else {
        checker_.Continue();
      }
      --depth_;
    }
    void Hide() override {}

   private:
    TSpellChecker& checker_;
    int& shown_;
    int& depth_;
  };
  int shown = 0, depth = 0;
  SetSpellDialogFactory(
      [&](TSpellChecker& c) { return std::make_unique<ModalDialog>(c, shown, depth); });
  checker.ModalDialog = true;
  std::string text;
  for (int i = 0; i < 20; ++i) text += "wrold tezt\r\n";
  ASSERT_TRUE(checker.Check(Editor(text + "end")));
  EXPECT_EQ(shown, 21);  // every "wrold", and "tezt" once: then it is changed always
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(checker.Checking());
  EXPECT_EQ(editor.GetText().find("tezt"), std::string::npos);
}

}  // namespace
}  // namespace quorrel::test
