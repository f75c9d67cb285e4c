#pragma once
// The checking component, as far as its back ends read it: where the user's own
// words are kept, and the event that may choose another file per language.
#include <functional>
#include <string>

#include "spell/Spellers.h"

namespace quorrel {

class TSpellChecker {
 public:
  // The user's dictionary for every language; empty: the one the registry names.
  std::string CustomDict;
  // Receives the language and may change the user dictionary's path.
  std::function<void(TSpellChecker& sender, TLanguage language, std::string& dictionary)>
      OnGetDictionary;
};

}  // namespace quorrel
