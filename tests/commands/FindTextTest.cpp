// The texts of a search: hex entry, the marks of the find fields, whole words, and
// the work text that takes many replacements in one pass.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "commands/FindText.h"
#include "commands/FindWorkText.h"
#include "platform/Abort.h"
#include "platform/Chars.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

TEST(FindTextTest, HexPairsBecomeCharactersAndOddCountsStop) {
  EXPECT_EQ(DecodeHexPairs("414243"), "ABC");
  EXPECT_EQ(DecodeHexPairs("0d0A"), "\r\n");
  EXPECT_EQ(DecodeHexPairs("B6bb"), "\xB6\xBB");
  EXPECT_EQ(DecodeHexPairs("4"), "");  // no pair at all: nothing to find
  EXPECT_THROW(DecodeHexPairs("41424"), EAbort);
  EXPECT_EQ(TrimBlanks(test::Dialogs().Last().text), "Odd number of hex digits.");
  EXPECT_THROW(DecodeHexPairs("4G"), std::invalid_argument);
}

TEST(FindTextTest, TheLineEndIsTheDocumentsOwnNotTheFinalOne) {
  EXPECT_EQ(DocumentLineEnd("a\r\nb\r\n"), "\r\n");
  EXPECT_EQ(DocumentLineEnd("a\nb\n"), "\n");
  // The working copy's final CR LF says nothing about the lines.
  EXPECT_EQ(DocumentLineEnd("one line\r\n"), "\n");
  EXPECT_EQ(DocumentLineEnd(""), "\n");
}

TEST(FindTextTest, MarksBecomeLineEndsAndTabsWhereAsked) {
  EXPECT_EQ(ResolveMarks("a\xB6" "b\xBB" "c", "\r\n", true), "a\r\nb\tc");
  EXPECT_EQ(ResolveMarks("a\xB6" "b\xBB" "c", "\n", false), "a\nb\xBB" "c");
}

TEST(FindTextTest, OccurrencesHonourCaseWholeWordsAndTheLimit) {
  struct Case {
    const char* text;
    const char* pattern;
    size_t from, limit;
    bool caseSensitive, wholeWords;
    size_t expected;
  } cases[] = {
      {"xxabc", "ABC", 0, 5, false, false, 2},
      {"xxabc", "ABC", 0, 5, true, false, std::string::npos},
      {"abab", "ab", 1, 4, false, false, 2},
      // The occurrence must end by the limit.
      {"abcabc", "abc", 1, 5, false, false, std::string::npos},
      {"abcabc", "abc", 1, 6, false, false, 3},
      // Whole words: not inside a longer word, accented letters and digits count.
      {"concat cat", "cat", 0, 10, false, true, 7},
      {"cat_s cat", "cat", 0, 9, false, true, 6},
      {"caf\xE9 caf", "caf", 0, 8, false, true, 5},
      {"x=cat;", "cat", 0, 6, false, true, 2},
      // A pattern beginning with a blank may follow a letter.
      {"ab cd", " cd", 0, 5, false, true, 2},
      {"\xE9T\xC9", "\xC9t\xE9", 0, 3, false, false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindOccurrence(c.text, c.pattern, c.from, c.limit, {c.caseSensitive, c.wholeWords}),
              c.expected)
        << c.text << " / " << c.pattern;
  }
}

// The work text against plain string edits: replacements of every length
// difference, searches across the junction, and a step back behind it.
TEST(FindTextTest, TheWorkTextReadsAsTheSameEditsOnAPlainString) {
  const std::string original = "aa bb aa cc aa dd aa";
  for (const char* with : {"", "x", "aa", "wxyz"}) {
    TWorkText work(original);
    std::string plain = original;
    size_t from = 0;
    for (;;) {
      const size_t at = work.Find("aa", from, work.Size(), {});
      ASSERT_EQ(at, plain.find("aa", from));
      if (at == std::string::npos) break;
      work.Replace(at, 2, with);
      plain.replace(at, 2, with);
      from = at + std::string(with).size();
      ASSERT_EQ(work.Size(), plain.size());
      ASSERT_EQ(work.Substr(0, plain.size()), plain);
      ASSERT_EQ(work.At(from - (from > 0)), plain[from - (from > 0)]);
    }
    // A change behind the junction (as a tag's end is looked for ahead, then the
    // search goes back).
    work.Replace(0, 1, "Q");
    plain.replace(0, 1, "Q");
    EXPECT_EQ(work.Find("bb", 0, work.Size(), {}), plain.find("bb"));
    EXPECT_EQ(std::move(work).Take(), plain);
  }
}

TEST(FindTextTest, WholeWordsSeeTheCharacterBeforeTheJunction) {
  TWorkText work("ab cd");
  work.Replace(0, 2, "xy");  // the junction now stands after "xy"
  EXPECT_EQ(work.Find("cd", 2, 5, {false, true}), 3u);
  TWorkText joined("abcd");
  joined.Replace(0, 2, "xy");
  EXPECT_EQ(joined.Find("cd", 2, 4, {false, true}), std::string::npos);
}

}  // namespace
}  // namespace quorrel
