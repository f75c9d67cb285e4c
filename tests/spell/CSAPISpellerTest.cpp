// The speller back end on our speller library and Debian's real dictionaries.
#include <algorithm>
#include <filesystem>

#include "spell/SpellTestKit.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

using SpellerWords = SpellerFixture;

TEST_F(SpellerWords, EachLanguageChecksWithItsOwnDictionary) {
  struct Case {
    TLanguage language;
    const char* word;  // Windows-1252
    bool correct;
  };
  const Case cases[] = {
      {kEnglishUK, "colour", true},
      {kEnglishUS, "colour", false},
      {kEnglishUS, "color", true},
      // The dictionaries are UTF-8: the bytes must be converted, not passed on.
      {kEnglishUK, "caf\xE9", true},
      {kEnglishUK, "na\xEFve", true},
      {kEnglishUK, "na\xEFvet\xE9", true},
      {kEnglishUK, "cafe\xE9", false},
      // No en-AU dictionary: the primary language's default, en-US, checks it.
      {kEnglishAustralia, "color", true},
      {kEnglishAustralia, "colour", false},
      // Apostrophes inside a word, also the typographic one (0x92).
      {kEnglishUS, "don't", true},
      {kEnglishUS, "don\x92t", true},
      {kEnglishUS, "'quoted'", true},
      // A full stop that belongs to an abbreviation.
      {kEnglishUS, "etc.", true},
  };
  for (const Case& c : cases) {
    auto speller = Make(c.language);
    ASSERT_FALSE(speller->NotAvailable) << c.language;
    const TFinding found = Check(*speller, c.word);
    EXPECT_EQ(found.code == srNoErrors, c.correct) << c.language << " " << c.word;
  }
}

// Russian text comes in Windows-1251, whose bytes mean other letters than in
// Windows-1252; the dictionary is UTF-8.
TEST_F(SpellerWords, ALanguageOfAnotherCodePageIsCheckedInItsOwn) {
  const TLanguage russian = 1049;
  const std::string privet = "\xEF\xF0\xE8\xE2\xE5\xF2";  // "privet", hello
  const std::string pirvet = "\xEF\xE8\xF0\xE2\xE5\xF2";
  auto speller = Make(russian);
  ASSERT_FALSE(speller->NotAvailable) << "hunspell-ru";
  EXPECT_EQ(Check(*speller, privet + ", \xEC\xE8\xF0!").code, srNoErrors);
  EXPECT_EQ(Check(*speller, "\xEC\xE8\xF0 " + pirvet), (TFinding{srUnknownInputWord, 4, 6}));
  std::vector<std::string> list;
  speller->GetVariants(pirvet, list);
  EXPECT_NE(std::find(list.begin(), list.end(), privet), list.end());
}

TEST_F(SpellerWords, AFindingGivesTheWordsBytePositionAndLength) {
  auto speller = Make(kEnglishUK);
  struct Case {
    std::string text;
    TFinding expected;
    std::string word;
  };
  const Case cases[] = {
      {"This is teh text.", {srUnknownInputWord, 8, 3}, "teh"},
      // Accented letters are one byte each in the run.
      {"A na\xEFve caf\xE9 servs tea", {srUnknownInputWord, 13, 5}, "servs"},
      {"well-known wrods", {srUnknownInputWord, 11, 5}, "wrods"},
      {"Numbers 42 and 3.14 are no words", {srNoErrors, 0, 0}, ""},
      {"", {srNoErrors, 0, 0}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Check(*speller, c.text), c.expected) << c.text;
    if (c.expected.code != srNoErrors) {
      EXPECT_EQ(speller->GetMisspelled(), c.word);
    }
  }
  size_t length = 0, position = 0;
  EXPECT_EQ(speller->CheckSentenceStart("teh start", length, position), srUnknownInputWord);
  EXPECT_EQ(position, 0u);
  EXPECT_EQ(length, 3u);
}

TEST_F(SpellerWords, SuggestionsComeEachOnce) {
  auto speller = Make(kEnglishUS);
  std::vector<std::string> list{"left over"};
  speller->GetVariants("teh", list);
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front(), "the");
  EXPECT_EQ(std::count(list.begin(), list.end(), "left over"), 0);
  std::vector<std::string> sorted = list;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  // Suggestions in the language's code page: "cafe" may become "caf\xE9".
  auto british = Make(kEnglishUK);
  british->GetVariants("cafe", list);
  EXPECT_NE(std::find(list.begin(), list.end(), "caf\xE9"), list.end());
}

TEST_F(SpellerWords, OptionsPassOverWordsOfTheirKind) {
  using enum TSpellOption;
  struct Case {
    const char* word;
    TSpellOption option;
    bool correctWith;
    bool correctWithout;
  };
  // "NASA" and "XIV" are in Debian's dictionaries, so they pass either way; words
  // the dictionaries lack show what the options do.
  const Case cases[] = {
      {"NASA", spoIgnoreAllCaps, true, true},
      {"QXZW", spoIgnoreAllCaps, true, false},
      {"Qxzw", spoIgnoreAllCaps, false, false},
      {"abc123", spoIgnoreMixedDigits, true, false},
      {"XIV", spoIgnoreRomanNumerals, true, true},
      {"MCMXC", spoIgnoreRomanNumerals, true, false},
      {"mcmxc", spoIgnoreRomanNumerals, true, false},
      {"MCMXCC", spoIgnoreRomanNumerals, false, false},  // no numeral
  };
  for (const Case& c : cases) {
    auto with = Make(kEnglishUS, {c.option});
    auto without = Make(kEnglishUS);
    EXPECT_EQ(Check(*with, c.word).code == srNoErrors, c.correctWith) << c.word << " with";
    EXPECT_EQ(Check(*without, c.word).code == srNoErrors, c.correctWithout) << c.word;
  }
}

TEST_F(SpellerWords, ChangesIgnoredAndAddedWordsAnswerAsRecorded) {
  struct Case {
    const char* name;
    void (*record)(TAbstractSpeller&);
    TSpellReturnCode code;
    const char* replacement;
  };
  const Case cases[] = {
      {"change once", [](TAbstractSpeller& s) { s.ChangeOnce("wrods", "words"); },
       srReturningChangeOnce, "words"},
      {"change always", [](TAbstractSpeller& s) { s.ChangeAlways("wrods", "words"); },
       srReturningChangeAlways, "words"},
      {"ignore always", [](TAbstractSpeller& s) { s.IgnoreAlways("wrods"); }, srNoErrors, ""},
      {"add", [](TAbstractSpeller& s) { s.AddWord("wrods"); }, srNoErrors, ""},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(DefaultCustomDictionary());
    auto speller = Make(kEnglishUK);
    ASSERT_EQ(Check(*speller, "some wrods here").code, srUnknownInputWord) << c.name;
    c.record(*speller);
    const TFinding found = Check(*speller, "some wrods here");
    EXPECT_EQ(found.code, c.code) << c.name;
    if (c.code != srNoErrors) {
      EXPECT_EQ(found, (TFinding{c.code, 5, 5})) << c.name;
      EXPECT_EQ(speller->GetReplacement(), c.replacement) << c.name;
      EXPECT_EQ(speller->GetMisspelled(), "wrods") << c.name;
    }
    // Each list holds only its own word.
    EXPECT_EQ(Check(*speller, "other wrodz").code, srUnknownInputWord) << c.name;
  }
}

TEST_F(SpellerWords, AnAddedWordIsKeptForTheNextSpeller) {
  {
    auto speller = Make(kEnglishUK);
    speller->AddWord("Quorrelish");
    speller->AddWord("na\xEFvish");
    speller->Close();
  }
  EXPECT_EQ(ReadFile(DefaultCustomDictionary()), "Quorrelish\nna\xC3\xAFvish\n") << "UTF-8 words";
  // Also for another language, and while no speller has closed.
  auto british = Make(kEnglishUK);
  auto american = Make(kEnglishUS);
  for (TAbstractSpeller* speller : {british.get(), american.get()}) {
    EXPECT_EQ(Check(*speller, "Quorrelish na\xEFvish").code, srNoErrors);
  }
  american->AddWord("Blorpish");
  EXPECT_EQ(Check(*Make(kEnglishUS), "Blorpish").code, srNoErrors);
  // One speller closing leaves the engine loaded for the other.
  EXPECT_NO_THROW(american->Close());
  EXPECT_EQ(Check(*british, "Blorpish wrods").code, srUnknownInputWord);
}

TEST_F(SpellerWords, IgnoredWordsAndChangesLastOnlyForTheSpeller) {
  {
    auto speller = Make(kEnglishUK);
    speller->IgnoreAlways("wrods");
    speller->ChangeAlways("teh", "the");
  }
  auto next = Make(kEnglishUK);
  EXPECT_EQ(Check(*next, "wrods").code, srUnknownInputWord);
  EXPECT_EQ(Check(*next, "teh").code, srUnknownInputWord);
}

// The engine's length and position are 16 bits: a longer line is checked in parts
// that end at a blank, and positions count from the start of the whole line.
TEST_F(SpellerWords, ALineLongerThanTheEngineTakesIsCheckedToItsEnd) {
  auto speller = Make(kEnglishUS);
  std::string line;
  while (line.size() < 70000) line += "the cat sat on a mat ";
  const size_t planted = line.size();
  line += "tehx at the end";
  ASSERT_GT(planted, 65535u);
  EXPECT_EQ(Check(*speller, line), (TFinding{srUnknownInputWord, planted, 4}));
  EXPECT_EQ(speller->GetMisspelled(), "tehx");

  // No word is cut at the border between parts, wherever it falls.
  std::string clean;
  while (clean.size() < 140000) clean += "extraordinary ";  // 14 bytes: 65535 falls in a word
  EXPECT_EQ(Check(*speller, clean).code, srNoErrors);
  // A part with no separator at all is still checked.
  std::string letters(70000, 'x');
  EXPECT_EQ(Check(*speller, letters).code, srUnknownInputWord);
}

}  // namespace
}  // namespace quorrel::test
