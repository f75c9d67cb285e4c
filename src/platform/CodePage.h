#pragma once
// Windows-1252 <-> Unicode by our own 256-entry table. Lossless: the five bytes
// Windows leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 ... and back,
// so every byte string survives a round trip through the widgets.
#include <QString>
#include <string>
#include <string_view>

namespace quorrel {

// Unicode of one Windows-1252 byte.
char16_t AnsiToUnicode(unsigned char byte);
// Windows-1252 byte of a Unicode character; '?' when the code page has none (ok
// false), but '-' for the non-breaking hyphen U+2011.
unsigned char UnicodeToAnsi(char16_t ch, bool* ok = nullptr);

// Whole-string conversions used at every widget boundary.
QString AnsiToQString(const std::string& ansi);
std::string QStringToAnsi(const QString& text);
// The editor's text read out in one pass: each paragraph separator (U+2029) or
// '\n' as CR LF, each line separator (U+2028) as the vertical tab a soft break
// reads out as.
std::string QStringToAnsiLines(QStringView text);

// UTF-8 (file names, command-line arguments, other programs' output) <-> Windows-1252.
// Characters the code page lacks, and malformed UTF-8 bytes, become "?".
std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);
// The strict form: false, out unchanged, on malformed UTF-8 and on characters the
// code page lacks.
bool Utf8ToAnsiStrict(const std::string& utf8, std::string& out);
// Whether text is well-formed UTF-8 (no overlong forms, surrogates or cut-off
// sequences).
bool IsValidUtf8(const std::string& text);

// Windows-1252 upper case by a fixed rule, whatever the locale: a-z and E0-FE (but
// not F7) lose 0x20, 9A/9C/9E become 8A/8C/8E, FF becomes 9F; nothing else changes.
constexpr unsigned char AnsiUpperChar(unsigned char byte) {
  if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
    return byte - 0x20;
  }
  switch (byte) {
    case 0x9A:
    case 0x9C:
    case 0x9E:
      return byte - 0x10;
    case 0xFF:
      return 0x9F;
    default:
      return byte;
  }
}
// Equal without regard to Windows-1252 case.
bool AnsiSameText(std::string_view a, std::string_view b);
// Whether text begins (ends) with part, without regard to Windows-1252 case.
bool StartsWithNoCase(std::string_view text, std::string_view part);
bool EndsWithNoCase(std::string_view text, std::string_view part);

// Other code pages through iconv (name as iconv knows it, e.g. "CP1251", "UTF-8").
// Returns false when the code page is unknown or the bytes do not convert.
bool ConvertCodePage(const std::string& from, const std::string& to, const std::string& in,
                     std::string& out);

// Locale identifiers: our own table (1033 en-US, 2057 en-GB, ...). A name of a
// listed language with an unlisted country gives the language's main locale
// ("fr_XX" -> 1036); an unknown language gives 0.
int LcidOfLocaleName(const std::string& name);  // "en_GB.UTF-8" -> 2057; C/POSIX -> 1033
std::string LocaleNameOfLcid(int lcid);         // 2057 -> "en_GB"; "" when unknown

}  // namespace quorrel
