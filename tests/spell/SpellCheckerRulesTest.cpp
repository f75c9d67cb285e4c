// The checker's handling of the runs it hands out and of the findings of style
// rules: repeated words, extra spaces and sentence starts.
#include <gtest/gtest.h>

#include "spell/RuleSpeller.h"
#include "spell/SpellCheckerKit.h"

namespace quorrel::test {
namespace {

class SpellRules : public CheckerFixture {
 protected:
  void SetUp() override {
    CheckerFixture::SetUp();
    checker.SpellerFactory = [this](TSpellChecker& c, TLanguage language,
                                    TSpellerType) -> std::unique_ptr<TAbstractSpeller> {
      return std::make_unique<RuleSpeller>(std::make_unique<TCSAPISpeller>(language, c.Options, &c),
                                           runs);
    };
  }
  std::vector<RuleSpeller::Run> runs;
};

TEST_F(SpellRules, DeletingARepeatedWordTakesTheBlankBeforeIt) {
  struct Case {
    const char* text;
    const char* after;
  };
  const Case cases[] = {
      {"the the.", "the."},
      {"say the the\r\nnext line", "say the\r\nnext line"},
      {"in the the end", "in the end"},
      {"It is is, it is.", "It is, it is."},
      // Twice over: each repeat goes, the text around them stays.
      {"a a b b\r\nc", "a b\r\nc"},
  };
  for (const Case& c : cases) {
    findings.clear();
    ASSERT_TRUE(checker.Check(Editor(c.text))) << c.text;
    while (checker.Checking() && dialogShown) {
      ASSERT_EQ(findings.back().view, TSpellView::Repeated) << c.text;
      EXPECT_EQ(findings.back().message, "Repeated word");
      checker.Delete();
    }
    EXPECT_EQ(editor.GetText(), c.after) << c.text;
  }
}

TEST_F(SpellRules, ARunStartsASentenceAtTheTextStartAndAfterALineBreak) {
  struct Case {
    const char* text;
    std::vector<RuleSpeller::Run> runs;
  };
  const Case cases[] = {
      {"one two", {{"one two", true}}},
      {"one\r\ntwo three", {{"one", true}, {"two three", true}}},
      {"one\r\n\r\n\ttwo", {{"one", true}, {"\ttwo", true}}},
      // After a finding the rest of the run continues the sentence.
      {"the wrold goes on", {{"the wrold goes on", true}, {" goes on", false}}},
  };
  for (const Case& c : cases) {
    runs.clear();
    ASSERT_TRUE(checker.Check(Editor(c.text))) << c.text;
    SkipAll();
    EXPECT_EQ(runs, c.runs) << c.text;
  }
}

TEST_F(SpellRules, ASelectionMidLineDoesNotStartASentence) {
  ASSERT_TRUE(checker.Check(Editor("one two three", 5, 2)));
  SkipAll();
  EXPECT_EQ(runs, (std::vector<RuleSpeller::Run>{{"two", false}}));
}

TEST_F(SpellRules, ExtraSpacesSelectOnlyTheBlanks) {
  struct Case {
    const char* text;
    size_t selStart;
    std::string selected, suggestion, after;
  };
  const Case cases[] = {
      {"one  two", 4, " ", " t", "one two"},
      {"first\r\nand    then", 10, "   ", "   t", "first\r\nand then"},
  };
  for (const Case& c : cases) {
    findings.clear();
    ASSERT_TRUE(checker.Check(Editor(c.text))) << c.text;
    ASSERT_EQ(findings.size(), 1u) << c.text;
    EXPECT_EQ(findings[0].view, TSpellView::OneSuggestion);
    EXPECT_EQ(findings[0].word, c.suggestion);
    EXPECT_EQ(editor.SelStart(), c.selStart) << c.text;
    EXPECT_EQ(editor.SelText(), c.selected) << c.text;
    ASSERT_EQ(findings[0].suggestions.size(), 1u);
    checker.Replace(findings[0].suggestions[0]);
    EXPECT_EQ(editor.GetText(), c.after) << c.text;
  }
}

}  // namespace
}  // namespace quorrel::test
