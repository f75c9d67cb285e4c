#pragma once
// Names, ANSI code pages and font character sets of Windows locale identifiers.
#include <string>
#include <string_view>

#include "spell/Spellers.h"

namespace quorrel {

// Which name of a language is wanted.
enum class TLangOption : uint8_t { loLocalized, loEnglish, loNative, loAbbrev };

// The language's name in the form asked for ("English", "Deutsch", "ENG"), in
// Windows-1252; the program speaks English, so the localised name is the English
// one. Empty for a locale we do not know.
std::string LanguageName(TLanguage language, TLangOption option);
// The language's ANSI code page; 1252, the system's, when the locale is unknown.
int CodePageOfLanguage(TLanguage language);
// The font character set of the language's code page (0 ANSI, 204 Russian ...).
int CharsetOfLanguage(TLanguage language);
// The language of the system locale; the C/POSIX locale is 1033.
TLanguage SystemLanguage();

// Windows-1252 text in a language's code page and back; characters the target
// lacks become "?", so a single-byte code page keeps every offset.
std::string AnsiToLanguage(const std::string& ansi, TLanguage language);
std::string LanguageToAnsi(const std::string& text, TLanguage language);

// 8-bit text of a code page as UTF-16 (0 is the system's code page, 1252; so is
// one we cannot convert). A byte the code page leaves undefined keeps its value
// (0x98 becomes U+0098), as Windows-1252's undefined bytes do, so nothing is lost.
// An empty text gives an empty result.
std::u16string AnsiToWide(const std::string& text, int codePage);
// UTF-16 as 8-bit text of a code page (0 is the system's, 1252; 65001 is UTF-8);
// a character the code page lacks becomes "?".
std::string WideToAnsi(std::u16string_view wide, int codePage);
// The same by the encoding's iconv name ("KOI8-R", "ISO-8859-5", "UTF-8").
std::u16string EncodedToWide(const std::string& text, const std::string& encoding);
std::string WideToEncoded(std::u16string_view wide, const std::string& encoding);
// UTF-16 as UTF-8. A surrogate pair is one character and becomes one four-byte
// sequence; a surrogate without its partner becomes U+FFFD.
std::string WideToUtf8(std::u16string_view wide);

}  // namespace quorrel
