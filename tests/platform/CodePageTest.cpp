#include <gtest/gtest.h>
#include <iconv.h>
#include <zlib.h>

#include <QChar>
#include <QString>
#include <map>
#include <regex>
#include <set>

#include "platform/CodePage.h"

namespace quorrel {
namespace {

const std::set<int> kUndefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

// byte -> Unicode as glibc's locale data defines Windows-1252.
std::map<int, char16_t> ReadCharmap() {
  std::map<int, char16_t> map;
  gzFile file = gzopen("/usr/share/i18n/charmaps/CP1252.gz", "rb");
  if (!file) return map;
  const std::regex entry(R"(^<U([0-9A-Fa-f]{4})>\s+/x([0-9A-Fa-f]{2})\s)");
  char buffer[512];
  while (gzgets(file, buffer, sizeof buffer)) {
    std::cmatch m;
    if (std::regex_search(buffer, m, entry)) {
      map[std::stoi(m[2].str(), nullptr, 16)] = static_cast<char16_t>(std::stoi(m[1], nullptr, 16));
    }
  }
  gzclose(file);
  return map;
}

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(CodePage, TableAgreesWithTheSystemCharmap) {
  const std::map<int, char16_t> charmap = ReadCharmap();
  ASSERT_EQ(charmap.size(), 251u) << "package locales: /usr/share/i18n/charmaps/CP1252.gz";
  for (int b = 0; b < 256; ++b) {
    auto it = charmap.find(b);
    if (it == charmap.end()) {
      EXPECT_TRUE(kUndefined.count(b)) << "charmap lacks byte " << b;
      continue;
    }
    EXPECT_EQ(AnsiToUnicode(static_cast<unsigned char>(b)), it->second) << "byte " << b;
    bool ok = false;
    EXPECT_EQ(UnicodeToAnsi(it->second, &ok), b) << "byte " << b;
    EXPECT_TRUE(ok);
  }
}

TEST(CodePage, TableAgreesWithIconvForEveryDefinedByte) {
  iconv_t cd = iconv_open("UTF-8", "CP1252");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  for (int b = 0; b < 256; ++b) {
    if (kUndefined.count(b)) continue;
    char in = static_cast<char>(b);
    char out[8];
    char* inPtr = &in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1)) << b;
    EXPECT_EQ(AnsiToUtf8(std::string(1, in)), std::string(out, outPtr)) << "byte " << b;
  }
  iconv_close(cd);
}

TEST(CodePage, UndefinedBytesStandForTheirControlCharacters) {
  for (int b : kUndefined) {
    EXPECT_EQ(AnsiToUnicode(static_cast<unsigned char>(b)), static_cast<char16_t>(b));
    bool ok = false;
    EXPECT_EQ(UnicodeToAnsi(static_cast<char16_t>(b), &ok), b);
    EXPECT_TRUE(ok);
  }
  // The other C1 controls have no byte: 0x80 is the euro sign.
  bool ok = true;
  EXPECT_EQ(UnicodeToAnsi(0x0080, &ok), '?');
  EXPECT_FALSE(ok);
}

TEST(CodePage, WholeTextsConvertByteForByte) {
  // Latin-1 text, and the bytes 80-9F anywhere in a text, at its ends too.
  for (const std::string& bytes : {AllBytes(), std::string("plain ASCII only"),
                                   std::string("\x80 middle \x9F"), std::string()}) {
    const QString text = AnsiToQString(bytes);
    ASSERT_EQ(text.size(), static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
      EXPECT_EQ(text[i].unicode(), AnsiToUnicode(static_cast<unsigned char>(bytes[i])))
          << "byte " << static_cast<int>(static_cast<unsigned char>(bytes[i]));
    }
  }
}

TEST(CodePage, EditorTextReadsOutWithCrLf) {
  struct Case {
    QString text;
    std::string ansi;
  } cases[] = {
      {QString(), ""},
      {QStringLiteral("a") + QChar::ParagraphSeparator + QStringLiteral("b"), "a\r\nb"},
      {QStringLiteral("a\nb\n"), "a\r\nb\r\n"},
      {QStringLiteral("a") + QChar::LineSeparator + QStringLiteral("b"),
       "a\x0B"
       "b"},
      {QString(QChar::ParagraphSeparator) + QChar::ParagraphSeparator, "\r\n\r\n"},
      {QString::fromUtf8("\u20ac\u2019\u00e9\u0081"), "\x80\x92\xE9\x81"},
      {QString::fromUtf8("a\U0001F600\u4e2d"), "a??"},  // one "?" for each character
      {QString(QChar(0xD800)) + "\r", "?\r"},           // a lone surrogate; a CR stays
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QStringToAnsiLines(c.text), c.ansi) << c.text.toStdString();
  }
}

TEST(CodePage, EveryByteSurvivesEveryRoundTrip) {
  const std::string bytes = AllBytes();
  EXPECT_EQ(QStringToAnsi(AnsiToQString(bytes)), bytes);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(bytes)), bytes);
  std::string utf8, back;
  ASSERT_TRUE(ConvertCodePage("CP1252", "UTF-8", bytes, utf8));
  EXPECT_EQ(utf8, AnsiToUtf8(bytes));
  ASSERT_TRUE(ConvertCodePage("UTF-8", "windows-1252", utf8, back));
  EXPECT_EQ(back, bytes);
  std::string utf16;
  ASSERT_TRUE(ConvertCodePage("CP1252", "UTF-16LE", bytes, utf16));
  EXPECT_EQ(utf16.size(), 512u);
  ASSERT_TRUE(ConvertCodePage("UTF-16LE", "CP1252", utf16, back));
  EXPECT_EQ(back, bytes);
  ASSERT_TRUE(ConvertCodePage("cp1252", "CP1252", bytes, back));
  EXPECT_EQ(back, bytes);
}

TEST(CodePage, QStringCharactersOutsideTheCodePage) {
  struct Case {
    QString text;
    std::string ansi;
  } cases[] = {
      {QString::fromUtf8("Caf\u00e9 \u20ac5"),
       "Caf\xE9 \x80"
       "5"},
      {QString::fromUtf8("\u4e2d\u6587"), "??"},
      {QString::fromUtf8("a\U0001F600b"), "a?b"},  // one character, one "?"
      {QString(QChar(0xD800)) + "x", "?x"},        // a lone surrogate
      {QString(QChar(0x2013)) + QChar(0x2019), "\x96\x92"},
  };
  for (const Case& c : cases) EXPECT_EQ(QStringToAnsi(c.text), c.ansi) << c.text.toStdString();
  EXPECT_EQ(AnsiToQString(std::string("a\0b", 3)).size(), 3);
}

TEST(CodePage, Utf8ToAnsiReplacesWhatItCannotSpell) {
  struct Case {
    std::string utf8;
    std::string ansi;
  } cases[] = {
      {"plain", "plain"},
      {"Caf\xC3\xA9", "Caf\xE9"},
      {"\xE2\x82\xAC", "\x80"},
      {"\xC5\xB8", "\x9F"},          // Y with diaeresis
      {"\xE4\xB8\xAD", "?"},         // a CJK character
      {"\xF0\x9F\x98\x80!", "?!"},   // beyond the 16-bit plane
      {"a\xC3", "a?"},               // cut off
      {"\xC3(", "?("},               // continuation byte missing
      {"\xC0\xAF", "??"},            // overlong "/"
      {"\xED\xA0\x80", "???"},       // a surrogate
      {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
      {"\xE9t\xE9", "?t?"},          // Latin-1 bytes are not UTF-8
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi) << c.utf8;
}

TEST(CodePage, ConvertCodePageThroughIconv) {
  std::string out;
  ASSERT_TRUE(ConvertCodePage("CP1251", "UTF-8", "\xCF\xF0\xE8\xE2\xE5\xF2", out));
  EXPECT_EQ(out, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");  // "Привет"

  // A stateful encoding needs its closing shift sequence.
  std::string jis, back;
  ASSERT_TRUE(ConvertCodePage("UTF-8", "ISO-2022-JP", "\xE6\x97\xA5\xE6\x9C\xAC", jis));
  EXPECT_EQ(jis, "\x1B$BF|K\\\x1B(B");
  ASSERT_TRUE(ConvertCodePage("ISO-2022-JP", "UTF-8", jis, back));
  EXPECT_EQ(back, "\xE6\x97\xA5\xE6\x9C\xAC");

  // Long input grows the output buffer.
  const std::string big(100000, '\xE9');
  ASSERT_TRUE(ConvertCodePage("ISO-8859-1", "UTF-16BE", big, out));
  EXPECT_EQ(out.size(), 200000u);
}

TEST(CodePage, ConvertCodePageFailuresLeaveTheOutputAlone) {
  struct Case {
    const char* from;
    const char* to;
    std::string in;
  } cases[] = {
      {"NO-SUCH-CODEPAGE", "UTF-8", "abc"}, {"UTF-8", "NO-SUCH-CODEPAGE", "abc"},
      {"UTF-8", "CP1252", "\xE4\xB8\xAD"},  // no such character in Windows-1252
      {"UTF-8", "CP1252", "ab\xC3"},        // cut off in mid-character
      {"UTF-8", "CP1251", "\xC3\xA9"},      // no such character in CP1251
      {"CP1252", "ASCII", "\xE9"},          {"UTF-8", "UTF-16LE", "\xFF"},
  };
  for (const Case& c : cases) {
    std::string out = "unchanged";
    EXPECT_FALSE(ConvertCodePage(c.from, c.to, c.in, out)) << c.from << " -> " << c.to;
    EXPECT_EQ(out, "unchanged");
  }
}

TEST(CodePage, UpperCaseAgreesWithUnicode) {
  // Unicode's simple upper case of each character, where the code page has the result.
  for (int b = 0; b < 256; ++b) {
    const QChar ch(AnsiToUnicode(static_cast<unsigned char>(b)));
    bool ok = false;
    const unsigned char upper = UnicodeToAnsi(ch.toUpper().unicode(), &ok);
    EXPECT_EQ(AnsiUpperChar(static_cast<unsigned char>(b)), ok ? upper : b) << "byte " << b;
  }
  EXPECT_EQ(AnsiUpperChar(0xFF), 0x9F);
  EXPECT_EQ(AnsiUpperChar(0xDF), 0xDF);  // sharp s has no one-letter capital
  EXPECT_EQ(AnsiUpperChar(0xF7), 0xF7);  // division sign
  EXPECT_EQ(AnsiUpperChar(0xB5), 0xB5);  // micro sign: its capital is Greek
}

TEST(CodePage, AnsiSameText) {
  EXPECT_TRUE(AnsiSameText("Index.HTM", "index.htm"));
  EXPECT_TRUE(AnsiSameText("\xE9t\xE9", "\xC9T\xC9"));
  EXPECT_TRUE(AnsiSameText("\x9A\xFF", "\x8A\x9F"));
  EXPECT_TRUE(AnsiSameText("", ""));
  EXPECT_FALSE(AnsiSameText("abc", "abcd"));
  EXPECT_FALSE(AnsiSameText("\xF7", "\xD7"));
  EXPECT_FALSE(AnsiSameText("[", "{"));
}

TEST(CodePage, StartsAndEndsWithNoCase) {
  struct Row {
    const char* text;
    const char* part;
    bool starts;
    bool ends;
  };
  const Row rows[] = {
      {"<!doctype html>", "<!DOCTYPE", true, false},
      {"Page.HTML", ".html", false, true},
      {"\xE9t\xE9", "\xC9T\xC9", true, true},  // Windows-1252 letters fold too
      {"\xFF", "\x9F", true, true},            // y diaeresis: its capital lies below 0xC0
      {"ab", "abc", false, false},             // a part longer than the text
      {"", "", true, true},
      {"abc", "", true, true},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(StartsWithNoCase(r.text, r.part), r.starts) << r.text << " / " << r.part;
    EXPECT_EQ(EndsWithNoCase(r.text, r.part), r.ends) << r.text << " / " << r.part;
  }
}

TEST(CodePage, LocaleIds) {
  struct Case {
    const char* name;
    int lcid;
  } cases[] = {
      {"en_US", 1033},        {"en_GB.UTF-8", 2057},
      {"en_AU", 3081},        {"en_CA", 4105},
      {"en_NZ", 5129},        {"fr_FR", 1036},
      {"de_DE@euro", 1031},   {"es_ES", 3082},
      {"es_MX", 2058},        {"it_IT", 1040},
      {"nl_NL", 1043},        {"sv_SE", 1053},
      {"da_DK", 1030},        {"nb_NO", 1044},
      {"fi_FI", 1035},        {"pt_BR", 1046},
      {"pt_PT", 2070},        {"pl_PL", 1045},
      {"ru_RU.KOI8-R", 1049}, {"C", 1033},
      {"POSIX", 1033},        {"", 1033},
      {"C.UTF-8", 1033},      {"en-GB", 2057},
      {"EN_gb", 2057},        {"fr_XX", 1036},
      {"en", 1033},           {"de", 1031},
      {"xx_YY", 0},           {"klingon", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(LcidOfLocaleName(c.name), c.lcid) << c.name;

  for (int lcid : {1033, 2057, 3081, 4105, 5129, 1036, 1031, 3082, 1040, 1043, 1053, 1030, 1044,
                   1035, 1046, 2070, 1045, 1049}) {
    EXPECT_EQ(LcidOfLocaleName(LocaleNameOfLcid(lcid)), lcid) << lcid;
  }
  EXPECT_EQ(LocaleNameOfLcid(1034), "es_ES");  // the traditional sort order of Spanish
  EXPECT_EQ(LocaleNameOfLcid(2057), "en_GB");
  EXPECT_EQ(LocaleNameOfLcid(0), "");
  EXPECT_EQ(LocaleNameOfLcid(9999), "");
}

}  // namespace
}  // namespace quorrel
