#include <gtest/gtest.h>

#include "spell/Spellers.h"

namespace quorrel {
namespace {

TEST(SpellersTest, EveryStatusButZeroIsASpellingError) {
  EXPECT_NO_THROW(CheckSpellStatus(0));
  struct Case {
    uint16_t status;
    const char* message;
  };
  for (const Case& c : {Case{1, "Spelling error No 1"}, Case{33026, "Spelling error No 33026"},
                        Case{65535, "Spelling error No 65535"}}) {
    try {
      CheckSpellStatus(c.status);
      ADD_FAILURE() << "no error for " << c.status;
    } catch (const ESpellError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

// The engine reads the options by bit position: the order is a contract with it.
TEST(SpellersTest, OptionsReachTheEngineAsTheirBitPositions) {
  const TSpellOptions shellDefaults{
      TSpellOption::spoSuggestFromUserDict, TSpellOption::spoIgnoreAllCaps,
      TSpellOption::spoIgnoreMixedDigits, TSpellOption::spoIgnoreRomanNumerals};
  EXPECT_EQ(shellDefaults.Mask(), 0x000F);
  EXPECT_EQ(TSpellOptions{TSpellOption::spoFindRepeatWord}.Mask(), 0x0040);
  EXPECT_EQ(TSpellOptions{TSpellOption::spoFindInitialNumerals}.Mask(), 0x0800);
  TSpellOptions options = TSpellOptions::FromMask(0xFFFF);
  EXPECT_EQ(options.Mask(), 0x0FFF) << "twelve options, no more";
  options.Exclude(TSpellOption::spoIgnoreAllCaps);
  EXPECT_FALSE(options.Contains(TSpellOption::spoIgnoreAllCaps));
  EXPECT_TRUE(options.Contains(TSpellOption::spoRateSuggestions));
}

}  // namespace
}  // namespace quorrel
