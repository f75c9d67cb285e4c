#pragma once
// Names, ANSI code pages and font character sets of Windows locale identifiers.
#include <string>

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

}  // namespace quorrel
