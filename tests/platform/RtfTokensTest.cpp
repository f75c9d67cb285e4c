// Control words as the tokenizer and the paste conversions read them: letters, an
// optional number with its sign, and the blank that closes the word.
#include <gtest/gtest.h>

#include <string>

#include "platform/RtfTokens.h"

namespace quorrel {
namespace {

TEST(RtfWordAt, LettersNumberAndEnd) {
  struct Case {
    const char* text;
    const char* name;
    const char* number;
    size_t end;
  } cases[] = {
      {"\\b0 x", "b", "0", 3},      {"\\li-120\\x", "li", "-120", 7},
      {"\\a-b", "a", "", 2},  // a minus without a digit is text after the word
      {"\\par", "par", "", 4},      {"\\fs24}", "fs", "24", 5},
      {"\\u8217?", "u", "8217", 6}, {"\\ulnone ", "ulnone", "", 7},
  };
  for (const Case& c : cases) {
    const TRtfWordSpan word = RtfWordAt(c.text, 0);
    EXPECT_EQ(word.name, c.name) << c.text;
    EXPECT_EQ(word.number, c.number) << c.text;
    EXPECT_EQ(word.end, c.end) << c.text;
  }
}

TEST(RtfTokenizer, WordsKeepTheirLimits) {
  const std::string longWord = "\\" + std::string(40, 'x') + "7 y";
  TRtfTokenizer longTokens(longWord);
  TRtfToken token = longTokens.Next();
  EXPECT_EQ(token.name.size(), 32u) << "an overlong word is cut";
  EXPECT_EQ(token.parameter, 7);
  EXPECT_EQ(longTokens.Next().name, "y") << "the closing blank belongs to the word";

  TRtfTokenizer numbers("\\li-120\\fs123456789012345\\bin2ab}");
  token = numbers.Next();
  EXPECT_EQ(token.parameter, -120);
  token = numbers.Next();
  EXPECT_EQ(token.parameter, 1234567890) << "the digits after the tenth are dropped";
  token = numbers.Next();
  EXPECT_EQ(token.kind, TRtfTokenKind::Binary);
  EXPECT_EQ(token.name, "ab");
  EXPECT_EQ(numbers.Next().kind, TRtfTokenKind::GroupEnd);
}

TEST(HexValue, DigitsOfEitherCase) {
  EXPECT_EQ(HexValue('0'), 0);
  EXPECT_EQ(HexValue('9'), 9);
  EXPECT_EQ(HexValue('a'), 10);
  EXPECT_EQ(HexValue('F'), 15);
  EXPECT_EQ(HexValue('g'), -1);
  EXPECT_EQ(HexValue('\''), -1);
}

}  // namespace
}  // namespace quorrel
