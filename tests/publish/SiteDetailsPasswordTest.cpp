#include <gtest/gtest.h>

#include <stdexcept>

#include "publish/PasswordCodec.h"

namespace quorrel {
namespace {

// Worked out by hand: each byte b is stored as 255 - b in two upper-case digits.
// "S" 0x53 -> AC, "e" 0x65 -> 9A, "c" 0x63 -> 9C, "r" 0x72 -> 8D, "t" 0x74 -> 8B,
// "1" 0x31 -> CE, "!" 0x21 -> DE; "p" 0x70 -> 8F, e-acute 0xE9 -> 16; 0x00 -> FF, 0xFF -> 00.
TEST(ServerPasswordCodec, StoresEachByteInvertedAsTwoUpperCaseDigits) {
  struct Case {
    std::string password;
    std::string stored;
  } cases[] = {
      {"Secret1!", "AC9A9C8D9A8BCEDE"},
      {"p\xE9", "8F16"},
      {std::string("\x00\xFF", 2), "FF00"},
      {" ", "DF"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeServerPassword(c.password), c.stored) << c.password;
    EXPECT_EQ(DecodeServerPassword(c.stored), c.password) << c.stored;
  }
}

TEST(ServerPasswordCodec, EveryByteValueRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string stored = EncodeServerPassword(all);
  EXPECT_EQ(stored.size(), 512u);
  EXPECT_EQ(DecodeServerPassword(stored), all);
}

TEST(ServerPasswordCodec, ReadsTheOlderRawFormAndLowerCaseDigits) {
  EXPECT_EQ(DecodeServerPassword("\xA7\xAC\x9A\x9C\x8D\x9A\x8B\xCE\xDE"), "Secret1!");
  EXPECT_EQ(DecodeServerPassword("\xA7"), "");
  EXPECT_EQ(DecodeServerPassword("ac9a9c8d9a8bcede"), "Secret1!");
  EXPECT_EQ(DecodeServerPassword("AC9"), "S");  // an odd last digit is ignored
}

TEST(HexToBytes, TakesWholePairsAndRefusesOtherCharacters) {
  EXPECT_EQ(HexToBytes("41"), "A");
  EXPECT_EQ(HexToBytes("4142F"), "AB");
  EXPECT_EQ(HexToBytes("F"), "");
  for (const char* bad : {"ZZ", "4G", " 1", "-1", "0x"}) {
    EXPECT_THROW(HexToBytes(bad), std::invalid_argument) << bad;
  }
}

}  // namespace
}  // namespace quorrel
