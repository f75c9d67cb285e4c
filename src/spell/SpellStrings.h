#pragma once
// The texts of the spelling dialog and of the checker's messages, in the user's
// language.
#include <cstdint>
#include <string>

namespace quorrel {

// Where the texts come from: the English set, our German set, or the built-in
// English copy.
enum class TUserLanguage : uint8_t { ulEnglish, ulOwn, ulOther };

enum TSpellString : uint8_t {
  ssVariants,
  ssDelete,
  ssChange,
  ssChangeAll,
  ssSkip,
  ssSkipAll,
  ssAdd,
  ssCancel,
  ssUndoEdit,
  ssUnknownWord,
  ssIllegalHyphenations,
  ssCapitalizationError,
  ssPossibleAbbreviation,
  ssSentenceCapitalization,
  ssExtraSpaces,
  ssMissingSpace,
  ssInitialNumerals,
  ssRepeatedWord,
  ssCheckComplete,
  ssMessage,
  ssCaption,
  ssSpellingError,
  ssErrorLoading,
  ssErrorUnloading,
  ssNotInstalled,
  ssStart,
  ssCount
};

// One text of the set (Windows-1252).
const std::string& SpellString(TUserLanguage language, TSpellString which);

}  // namespace quorrel
