#pragma once
// Windows-1252 <-> Unicode by our own 256-entry table. Lossless: the five bytes
// Windows leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 ... and back,
// so every byte string survives a round trip through the widgets.
#include <QString>
#include <string>

namespace quorrel {

// Unicode of one Windows-1252 byte.
char16_t AnsiToUnicode(unsigned char byte);
// Windows-1252 byte of a Unicode character; '?' when the code page has none.
unsigned char UnicodeToAnsi(char16_t ch, bool* ok = nullptr);

// Whole-string conversions used at every widget boundary.
QString AnsiToQString(const std::string& ansi);
std::string QStringToAnsi(const QString& text);

// UTF-8 (file names, command-line arguments, other programs' output) <-> Windows-1252.
std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);

// Other code pages through iconv (name as iconv knows it, e.g. "CP1251", "UTF-8").
// Returns false when the code page is unknown or the bytes do not convert.
bool ConvertCodePage(const std::string& from, const std::string& to, const std::string& in,
                     std::string& out);

// Locale identifiers: our own table (1033 en-US, 2057 en-GB, ...).
int LcidOfLocaleName(const std::string& name);  // "en_GB.UTF-8" -> 2057; C/POSIX -> 1033
std::string LocaleNameOfLcid(int lcid);         // 2057 -> "en_GB"; "" when unknown

}  // namespace quorrel
