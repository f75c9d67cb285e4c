// Language names, code pages and the checker's texts.
#include <gtest/gtest.h>

#include "spell/Languages.h"
#include "spell/SpellStrings.h"

namespace quorrel {
namespace {

TEST(Languages, NamesAndCodePagesOfLocaleIdentifiers) {
  struct Case {
    TLanguage language;
    const char* english;
    const char* native;
    const char* abbrev;
    int codePage;
    int charset;
  };
  const Case cases[] = {
      {1033, "English", "American English", "ENU", 1252, 0},
      {2057, "English", "British English", "ENG", 1252, 0},
      {1031, "German", "Deutsch", "DEU", 1252, 0},
      {1049, "Russian", "", "RUS", 1251, 204},
      {1032, "Greek", "", "ELL", 1253, 161},
      // Unknown: no name, the system's code page.
      {0x7F7F, "", "", "", 1252, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageName(c.language, TLangOption::loEnglish), c.english) << c.language;
    EXPECT_EQ(LanguageName(c.language, TLangOption::loLocalized), c.english) << c.language;
    if (*c.native) {
      EXPECT_EQ(LanguageName(c.language, TLangOption::loNative), c.native);
    }
    EXPECT_EQ(LanguageName(c.language, TLangOption::loAbbrev), c.abbrev) << c.language;
    EXPECT_EQ(CodePageOfLanguage(c.language), c.codePage) << c.language;
    EXPECT_EQ(CharsetOfLanguage(c.language), c.charset) << c.language;
  }
}

TEST(Languages, TextGoesToALanguageOfAnotherCodePageAndBack) {
  // Cyrillic cannot be typed in Windows-1252; what can, keeps its length.
  EXPECT_EQ(AnsiToLanguage("caf\xE9", 2057), "caf\xE9");
  EXPECT_EQ(AnsiToLanguage("caf\xE9 ok", 1049), "caf? ok");
  EXPECT_EQ(LanguageToAnsi("\xEF\xF0\xE8", 1049), "???");
  EXPECT_EQ(LanguageToAnsi("plain", 1049), "plain");
}

TEST(SpellStrings, EachLanguageHasTheWholeSet) {
  struct Case {
    TUserLanguage language;
    TSpellString which;
    const char* text;
  };
  const Case cases[] = {
      {TUserLanguage::ulEnglish, ssVariants, "&Variants"},
      {TUserLanguage::ulEnglish, ssAdd, "&Add"},
      {TUserLanguage::ulEnglish, ssCaption, "Spelling - %s"},
      {TUserLanguage::ulEnglish, ssStart, "Start"},
      {TUserLanguage::ulOther, ssRepeatedWord, "Repeated word"},
      {TUserLanguage::ulOwn, ssVariants, "&Varianten"},
      {TUserLanguage::ulOwn, ssAdd, "&Hinzuf\xFCgen"},
  };
  for (const Case& c : cases) EXPECT_EQ(SpellString(c.language, c.which), c.text);
  for (int i = 0; i < ssCount; ++i) {
    EXPECT_FALSE(SpellString(TUserLanguage::ulOwn, TSpellString(i)).empty()) << i;
  }
}

}  // namespace
}  // namespace quorrel
