#pragma once
// The one interface through which the spell checker talks to a spelling engine.
// A back end is made for one language and one speller type and kept for the rest
// of the checker's life. Texts are 8-bit runs in the language's ANSI code page.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

class TSpellChecker;

// A Windows locale identifier; 16 bits are used.
using TLanguage = uint16_t;

enum class TSpellerType : uint8_t { sptMSOffice = 0, sptISpell = 1 };

// Bit positions of the mask the engine receives, bit 0 first.
enum class TSpellOption : uint8_t {
  spoSuggestFromUserDict,
  spoIgnoreAllCaps,
  spoIgnoreMixedDigits,
  spoIgnoreRomanNumerals,
  spoFindUncappedSentences,
  spoFindMissingSpaces,
  spoFindRepeatWord,
  spoFindExtraSpaces,
  spoFindSpacesBeforePunc,
  spoFindSpacesAfterPunc,
  spoRateSuggestions,
  spoFindInitialNumerals,
};

class TSpellOptions {
 public:
  constexpr TSpellOptions() = default;
  constexpr TSpellOptions(std::initializer_list<TSpellOption> options) {
    for (TSpellOption option : options) mask_ |= Bit(option);
  }
  static constexpr TSpellOptions FromMask(uint16_t mask) {
    TSpellOptions options;
    options.mask_ = mask & 0x0FFF;
    return options;
  }
  constexpr bool Contains(TSpellOption option) const { return (mask_ & Bit(option)) != 0; }
  constexpr void Include(TSpellOption option) { mask_ |= Bit(option); }
  constexpr void Exclude(TSpellOption option) { mask_ &= static_cast<uint16_t>(~Bit(option)); }
  // The 16-bit mask handed to the engine.
  constexpr uint16_t Mask() const { return mask_; }
  constexpr bool operator==(const TSpellOptions&) const = default;

 private:
  static constexpr uint16_t Bit(TSpellOption option) {
    return static_cast<uint16_t>(1u << static_cast<unsigned>(option));
  }
  uint16_t mask_ = 0;
};

// The result of a check.
enum TSpellReturnCode : uint8_t {
  srNoErrors = 0,
  srUnknownInputWord = 1,
  srReturningChangeAlways = 2,
  srReturningChangeOnce = 3,
  srInvalidHyphenation = 4,
  srErrorCapitalization = 5,
  srWordConsideredAbbreviation = 6,
  srHyphChangesSpelling = 7,
  srNoMoreSuggestions = 8,
  srMoreInfoThanBufferCouldHold = 9,
  srNoSentenceStartCap = 10,
  srRepeatWord = 11,
  srExtraSpaces = 12,
  srMissingSpace = 13,
  srInitialNumeral = 14,
};

// An engine failure; its message is shown by the program's exception handler.
class ESpellError : public std::runtime_error {
 public:
  explicit ESpellError(const std::string& message) : std::runtime_error(message) {}
};

// Raises ESpellError "Spelling error No %d" for every status but zero.
void CheckSpellStatus(uint16_t status);

class TAbstractSpeller {
 public:
  // Stores the fields; a back end that cannot find or load its engine sets
  // NotAvailable, and then every operation does nothing, reports no error and
  // gives empty strings.
  TAbstractSpeller(TLanguage language, TSpellOptions options, TSpellChecker* checker);
  virtual ~TAbstractSpeller() = default;
  TAbstractSpeller(const TAbstractSpeller&) = delete;
  TAbstractSpeller& operator=(const TAbstractSpeller&) = delete;

  // A run that starts a sentence (after a line break or at the start of the
  // document), and a run that continues one. Position and length of a finding are
  // byte offsets into text; the flagged word is kept for GetMisspelled.
  virtual TSpellReturnCode CheckSentenceStart(std::string_view text, size_t& misspelledLength,
                                              size_t& position) = 0;
  virtual TSpellReturnCode CheckText(std::string_view text, size_t& misspelledLength,
                                     size_t& position) = 0;
  virtual void ChangeOnce(const std::string& word, const std::string& replacement) = 0;
  virtual void ChangeAlways(const std::string& word, const std::string& replacement) = 0;
  virtual void AddWord(const std::string& word) = 0;
  virtual void IgnoreAlways(const std::string& word) = 0;
  // Clears the list and fills it with suggestions, each once.
  virtual void GetVariants(const std::string& word, std::vector<std::string>& list) = 0;
  // The replacement the last check returned with code 2 or 3.
  virtual std::string GetReplacement() = 0;
  // The word the last check flagged.
  virtual std::string GetMisspelled() = 0;

  TLanguage Language;
  TSpellerType SpellerType = TSpellerType::sptMSOffice;
  TSpellOptions Options;
  TSpellChecker* Checker;  // not owned
  bool NotAvailable = false;
};

}  // namespace quorrel
