#pragma once
// Where the spelling back end finds its engine: registry keys per language naming
// the speller library and its main dictionary, and the user's own dictionary.
#include <string>

#include "spell/Spellers.h"

namespace quorrel {

// Under HKEY_LOCAL_MACHINE: "Engine" and "Dictionary" of one language.
std::string SpellingKey(TLanguage language);
// Under HKEY_LOCAL_MACHINE: value "1" names the user dictionary.
extern const char kCustomDictionariesKey[];

// Our speller library, beside the program.
extern const char kSpellerLibraryName[];
std::string SpellerLibraryPath();
// The user dictionary when nothing names one: in the user's own data folder, since
// the main dictionaries' folder is not the user's to write.
std::string DefaultCustomDictionary();

// Gives each Hunspell dictionary of the folder ("en_GB.dic" with its ".aff") whose
// name is a known locale a key of its language, naming our speller library and
// the dictionary. Keys that exist are left as they are. Returns how many it made.
int RegisterHunspellDictionaries(const std::string& folder = "/usr/share/hunspell/");

}  // namespace quorrel
