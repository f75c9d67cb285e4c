// 8-bit text of a language's code page as UTF-16, and UTF-16 as UTF-8: what the
// spelling dialog shows a line of another code page through.
#include <gtest/gtest.h>

#include <string>

#include "platform/CodePage.h"
#include "spell/Languages.h"

namespace quorrel {
namespace {

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string out;
  for (unsigned v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(WideToUtf8, EachLengthOfSequenceAtItsBoundaries) {
  struct Case {
    std::u16string wide;
    std::string utf8;
  };
  const Case cases[] = {
      {u"", ""},
      {std::u16string(1, u'\0'), std::string(1, '\0')},
      {u"\u007F", Bytes({0x7F})},
      {u"\u0080", Bytes({0xC2, 0x80})},
      {u"\u07FF", Bytes({0xDF, 0xBF})},
      {u"\u0800", Bytes({0xE0, 0xA0, 0x80})},
      {u"\uFFFF", Bytes({0xEF, 0xBF, 0xBF})},
      // A surrogate pair is one character of four bytes, never two of three.
      {u"\U00010000", Bytes({0xF0, 0x90, 0x80, 0x80})},
      {u"\U0001F600", Bytes({0xF0, 0x9F, 0x98, 0x80})},
      {u"\U0010FFFF", Bytes({0xF4, 0x8F, 0xBF, 0xBF})},
      {u"a\U0001F600b", Bytes({'a', 0xF0, 0x9F, 0x98, 0x80, 'b'})},
      // A half without its partner is no character.
      {std::u16string(1, char16_t(0xD83D)) + u"x", Bytes({0xEF, 0xBF, 0xBD, 'x'})},
      {u"x" + std::u16string(1, char16_t(0xDE00)), Bytes({'x', 0xEF, 0xBF, 0xBD})},
      {std::u16string{char16_t(0xDE00), char16_t(0xD83D)},
       Bytes({0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD})},
  };
  for (const Case& c : cases) {
    const std::string utf8 = WideToUtf8(c.wide);
    EXPECT_EQ(utf8, c.utf8) << "U+" << std::hex << (c.wide.empty() ? 0 : int(c.wide[0]));
    EXPECT_TRUE(IsValidUtf8(utf8));
  }
}

TEST(AnsiToWide, EveryByteOfWindows1252AsTheCodePageTableSaysAndAsTheSystems) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  for (int codePage : {1252, 0}) {
    const std::u16string wide = AnsiToWide(all, codePage);
    ASSERT_EQ(wide.size(), 256u) << codePage;
    for (int byte = 0; byte < 256; ++byte) {
      EXPECT_EQ(wide[byte], AnsiToUnicode(static_cast<unsigned char>(byte)))
          << codePage << " byte " << byte;
    }
  }
}

TEST(AnsiToWide, BytesOfCentralEuropeanAndCyrillic) {
  struct Case {
    int codePage;
    unsigned byte;
    char16_t character;
  };
  const Case cases[] = {
      {1250, 0x41, u'A'},
      {1250, 0x80, u'\u20AC'},
      {1250, 0x8A, u'\u0160'},
      {1250, 0x9F, u'\u017A'},
      {1250, 0xA5, u'\u0104'},
      {1250, 0xB9, u'\u0105'},
      {1250, 0xE8, u'\u010D'},
      {1250, 0xF8, u'\u0159'},
      {1250, 0xFF, u'\u02D9'},
      {1251, 0x41, u'A'},
      {1251, 0x80, u'\u0402'},
      {1251, 0x88, u'\u20AC'},
      {1251, 0xA8, u'\u0401'},
      {1251, 0xB8, u'\u0451'},
      {1251, 0xC0, u'\u0410'},
      {1251, 0xDF, u'\u042F'},
      {1251, 0xE0, u'\u0430'},
      {1251, 0xFF, u'\u044F'},
      // Bytes the code page leaves undefined keep their value.
      {1250, 0x81, u'\u0081'},
      {1250, 0x83, u'\u0083'},
      {1251, 0x98, u'\u0098'},
  };
  for (const Case& c : cases) {
    const std::u16string wide = AnsiToWide(std::string(1, static_cast<char>(c.byte)), c.codePage);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(int(wide[0]), int(c.character)) << c.codePage << " byte " << std::hex << c.byte;
  }
}

TEST(AnsiToWide, WholeTextsEmptyTextsAndCodePagesWeCannotConvert) {
  // "Привет" in Windows-1251, then through UTF-8 as the dialog shows it.
  const std::string privet = Bytes({0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2});
  EXPECT_EQ(AnsiToWide(privet, 1251), u"Привет");
  EXPECT_EQ(WideToUtf8(AnsiToWide(privet, 1251)), "Привет");
  // Code page 2 is the Macintosh one.
  EXPECT_EQ(AnsiToWide(Bytes({0x8F, 0xE8, 'a'}), 2), u"\u00E8\u00CBa");
  for (int codePage : {0, 1250, 1251, 1252, 932}) EXPECT_TRUE(AnsiToWide("", codePage).empty());
  // Shift-JIS in one piece; a cut-off character is read byte by byte, not dropped.
  EXPECT_EQ(AnsiToWide(Bytes({0x93, 0xFA, 0x96, 0x7B}), 932), u"日本");
  EXPECT_EQ(AnsiToWide(Bytes({'a', 0x93}), 932).size(), 2u);
  // A code page nobody knows is read as the system's.
  EXPECT_EQ(AnsiToWide(Bytes({0x80, 'x'}), 4242), u"\u20ACx");
}

}  // namespace
}  // namespace quorrel
