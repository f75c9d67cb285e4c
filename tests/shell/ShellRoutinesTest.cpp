// The small shared routines: numbers asked for, quotes trimmed, hexadecimal read.
#include <gtest/gtest.h>

#include "shell/ShellRoutines.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;

TEST(TrimQuotes, TakesBlanksControlsAndQuotesOffBothEnds) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"  \"value\"  ", "value"},
      {"'\" mixed '\"\t", "mixed"},
      {"\"\"''\"", ""},  // nothing but quote marks
      {"", ""},
      {"it's", "it's"},  // quotes inside stay
      {"\r\n\"a b\"\r\n", "a b"},
      {"\xA0x\xA0", "\xA0x\xA0"},  // a no-break space is a character, not a blank
  };
  for (const auto& c : cases) EXPECT_EQ(TrimQuotes(c.in), c.out) << c.in;
}

TEST(HexToInt, ReadsUpToEightDigitsAndNamesTheFirstBadCharacter) {
  struct Case {
    std::string in;
    unsigned int value;
    std::string error;  // "" when it converts
  } cases[] = {
      {"ff", 255, ""},
      {"FF", 255, ""},
      {"0", 0, ""},
      {"", 0, ""},
      {"7fffffff", 0x7fffffff, ""},
      {"FFFFFFFF", 0xffffffff, ""},
      {"g", 0, "Invalid Hex digit:\rg"},
      {"1f z", 0, "Invalid Hex digit:\r "},
      // Nine digits would overflow the value: refused, never wrapped.
      {"123456789", 0, "Invalid Hex digit:\r9"},
      {"000000001", 0, "Invalid Hex digit:\r1"},
  };
  for (const auto& c : cases) {
    if (c.error.empty()) {
      EXPECT_EQ(HexToInt(c.in), c.value) << c.in;
      continue;
    }
    try {
      HexToInt(c.in);
      ADD_FAILURE() << c.in << " converted";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), c.error) << c.in;
    }
  }
}

TEST(AskNumber, AcceptsWholeNumbersOnly) {
  struct Case {
    std::string typed;
    bool accepted;
    int number;
  } cases[] = {
      {"7", true, 7},
      {" -12 ", true, -12},
      {"12a", false, 40},
      {"", false, 40},
      {"99999999999", false, 40},  // beyond the integer range: not wrapped
      {"2147483647", true, 2147483647},
  };
  for (const auto& c : cases) {
    Dialogs().Clear();
    Dialogs().AnswerText(c.typed);
    int number = 40;
    EXPECT_EQ(AskNumber("How many?", number), c.accepted) << c.typed;
    EXPECT_EQ(number, c.number) << c.typed;
    ASSERT_EQ(Dialogs().Inputs().size(), 1u);
    EXPECT_EQ(Dialogs().Inputs()[0].caption, "Quorrel");
    EXPECT_EQ(Dialogs().Inputs()[0].prompt, "How many?");
    EXPECT_EQ(Dialogs().Inputs()[0].value, "40") << "the number is the default";
    if (c.accepted) {
      EXPECT_TRUE(Dialogs().Calls().empty()) << c.typed;
    } else {
      ASSERT_EQ(Dialogs().Calls().size(), 1u) << c.typed;
      EXPECT_NE(Dialogs().Last().text.find("Not a number!"), std::string::npos);
    }
  }
  Dialogs().Clear();
  Dialogs().CancelText();
  int number = 3;
  EXPECT_FALSE(AskNumber("How many?", number));
  EXPECT_EQ(number, 3);
  EXPECT_TRUE(Dialogs().Calls().empty()) << "Cancel is no error";
}

}  // namespace
}  // namespace quorrel
