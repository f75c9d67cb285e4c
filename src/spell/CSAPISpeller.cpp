#include "spell/CSAPISpeller.h"

#include <QLibrary>
#include <algorithm>
#include <cctype>
#include <map>
#include <type_traits>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "spell/SpellChecker.h"
#include "spell/SpellerRegistry.h"

namespace quorrel {

namespace {

// The engine's answer to closing a user dictionary that had nothing to save.
constexpr uint16_t kCloseNothingToSave = 33026;

// A byte the engine cannot take for part of a word: where a long run may be cut.
bool IsSeparator(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte < 0x80 && !std::isalnum(byte) && byte != '\'';
}

// How many open spellers hold each engine. Qt unloads a library only when its last
// holder lets go, and says "not unloaded" to the others, which is no failure. This
// mirrors live objects, so there is nothing to reset between runs.
std::map<std::string, int>& EngineHolders() {
  static std::map<std::string, int> holders;
  return holders;
}

}  // namespace

struct TCSAPISpeller::TEntryPoints {
  decltype(&::SpellVer) SpellVer;
  decltype(&::SpellInit) SpellInit;
  decltype(&::SpellOptions) SpellOptions;
  decltype(&::SpellCheck) SpellCheck;
  decltype(&::SpellTerminate) SpellTerminate;
  decltype(&::SpellVerifyMdr) SpellVerifyMdr;
  decltype(&::SpellOpenMdr) SpellOpenMdr;
  decltype(&::SpellOpenUdr) SpellOpenUdr;
  decltype(&::SpellAddUdr) SpellAddUdr;
  decltype(&::SpellAddChangeUdr) SpellAddChangeUdr;
  decltype(&::SpellDelUdr) SpellDelUdr;
  decltype(&::SpellClearUdr) SpellClearUdr;
  decltype(&::SpellGetSizeUdr) SpellGetSizeUdr;
  decltype(&::SpellGetListUdr) SpellGetListUdr;
  decltype(&::SpellCloseMdr) SpellCloseMdr;
  decltype(&::SpellCloseUdr) SpellCloseUdr;
};

TCSAPISpeller::TCSAPISpeller(TLanguage language, TSpellOptions options, TSpellChecker* checker)
    : TAbstractSpeller(language, options, checker) {
  SpellerType = TSpellerType::sptMSOffice;
  optionsMask_ = options.Mask();
  specialChars_.ignore = 0;
  specialChars_.hardHyphen = '-';
  specialChars_.softHyphen = 31;
  specialChars_.nonBreakingHyphen = 30;
  specialChars_.emDash = 151;
  specialChars_.enDash = 150;
  specialChars_.ellipsis = 133;
  specialChars_.lineBreak[0] = 11;
  specialChars_.lineBreak[1] = 10;
  specialChars_.paragraphBreak[0] = 13;
  specialChars_.paragraphBreak[1] = 10;

  // The language's own key, else its primary language with the default sub-language.
  TRegistry registry(TRootKey::LocalMachine);
  if (!registry.OpenKeyReadOnly(SpellingKey(language)) &&
      !registry.OpenKeyReadOnly(SpellingKey(static_cast<TLanguage>((language & 0x3FF) | 0x400)))) {
    NotAvailable = true;
    return;
  }
  enginePath_ = registry.ReadString("Engine");
  dictionaryPath_ = registry.ReadString("Dictionary");
  FindCustomDictionary();
  Load();
  Open();
}

TCSAPISpeller::~TCSAPISpeller() {
  try {
    Close();
  } catch (const ESpellError&) {
    // Too late to tell anyone; Close is there for callers who want to know.
  }
}

void TCSAPISpeller::FindCustomDictionary() {
  const std::string customDict = Checker ? Checker->CustomDict : "";
  TRegistry registry(TRootKey::LocalMachine);
  if (!customDict.empty() || !registry.OpenKeyReadOnly(kCustomDictionariesKey)) {
    customPath_ = customDict;
    if (customPath_.empty() && !registry.OpenKey(kCustomDictionariesKey, true)) {
      registry.OpenKeyReadOnly(kCustomDictionariesKey);
    }
  } else {
    customPath_ = registry.ReadString("1");
  }
  if (Checker && Checker->OnGetDictionary)
    Checker->OnGetDictionary(*Checker, Language, customPath_);
  if (!customPath_.empty()) return;
  customPath_ = DefaultCustomDictionary();
  try {
    TRegistry writer(TRootKey::LocalMachine);
    if (writer.OpenKey(kCustomDictionariesKey, true)) writer.WriteString("1", customPath_);
  } catch (const ERegistryError&) {
    // Only a convenience for the next start: the path is known now either way.
  }
}

void TCSAPISpeller::Load() {
  const std::string failure = "Error loading Spell DLL " + enginePath_;
  library_ = std::make_unique<QLibrary>(AnsiToQString(enginePath_));
  if (enginePath_.empty() || !library_->load()) {
    library_.reset();
    NotAvailable = true;
    throw ESpellError(failure);
  }
  auto entry = std::make_unique<TEntryPoints>();
  bool complete = true;
  auto take = [&](auto& slot, const char* name) {
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(library_->resolve(name));
    if (!slot) complete = false;
  };
  take(entry->SpellVer, "SpellVer");
  take(entry->SpellInit, "SpellInit");
  take(entry->SpellOptions, "SpellOptions");
  take(entry->SpellCheck, "SpellCheck");
  take(entry->SpellTerminate, "SpellTerminate");
  take(entry->SpellVerifyMdr, "SpellVerifyMdr");
  take(entry->SpellOpenMdr, "SpellOpenMdr");
  take(entry->SpellOpenUdr, "SpellOpenUdr");
  take(entry->SpellAddUdr, "SpellAddUdr");
  take(entry->SpellAddChangeUdr, "SpellAddChangeUdr");
  take(entry->SpellDelUdr, "SpellDelUdr");
  take(entry->SpellClearUdr, "SpellClearUdr");
  take(entry->SpellGetSizeUdr, "SpellGetSizeUdr");
  take(entry->SpellGetListUdr, "SpellGetListUdr");
  take(entry->SpellCloseMdr, "SpellCloseMdr");
  take(entry->SpellCloseUdr, "SpellCloseUdr");
  if (!complete) {
    library_->unload();
    library_.reset();
    NotAvailable = true;
    throw ESpellError(failure);
  }
  entry_ = std::move(entry);
}

void TCSAPISpeller::Open() {
  bool started = false;
  try {
    CheckSpellStatus(entry_->SpellInit(&session_, &specialChars_));
    started = true;
    CheckSpellStatus(entry_->SpellOptions(session_, optionsMask_));
    CheckSpellStatus(
        entry_->SpellOpenMdr(session_, NativePath(dictionaryPath_).c_str(), Language, &mdr_));
    int readOnly = 0;
    CheckSpellStatus(
        entry_->SpellOpenUdr(session_, NativePath(customPath_).c_str(), 1, &udr_, &readOnly));
  } catch (const ESpellError&) {
    // A speller that fails to start is no speller: leave nothing of it loaded.
    if (started) entry_->SpellTerminate(session_, 1);
    entry_.reset();
    library_->unload();
    library_.reset();
    throw;
  }
  ++EngineHolders()[enginePath_];
  input_.mdrCount = 1;
  input_.udrCount = 1;
  input_.mdrs = &mdr_;
  input_.udrs = &udr_;
  suggestions_.assign(kSuggestionBufferSize, '\0');
  ratings_.assign(kRatingBufferSize, 0);
  result_.suggestions = suggestions_.data();
  result_.suggestionsSize = static_cast<uint32_t>(suggestions_.size());
  result_.ratings = ratings_.data();
  result_.ratingsSize = static_cast<uint32_t>(ratings_.size());
  open_ = true;
}

void TCSAPISpeller::Close() {
  if (!open_) return;
  open_ = false;
  result_.suggestions = nullptr;
  result_.ratings = nullptr;
  result_.suggestionsSize = result_.ratingsSize = 0;
  suggestions_.clear();
  ratings_.clear();
  bool ok = entry_->SpellCloseMdr(session_, mdr_) == 0;
  const uint16_t closed = entry_->SpellCloseUdr(session_, udr_, 1);
  ok = (closed == 0 || closed == kCloseNothingToSave) && ok;
  ok = entry_->SpellTerminate(session_, 1) == 0 && ok;
  entry_.reset();
  const bool last = --EngineHolders()[enginePath_] == 0;
  if (last) EngineHolders().erase(enginePath_);
  const bool unloaded = library_->unload();
  ok = (unloaded || !last) && ok;
  library_.reset();
  if (!ok) throw ESpellError("Error unloading Spell DLL " + enginePath_);
}

TSpellReturnCode TCSAPISpeller::Check(std::string_view text, uint16_t spellState,
                                      size_t& misspelledLength, size_t& position) {
  misspelledLength = 0;
  position = 0;
  if (NotAvailable || !open_) return srNoErrors;
  for (size_t offset = 0; offset < text.size();) {
    size_t length = text.size() - offset;
    if (length > kMaxRun) {
      // Cut after the last separator that fits, so no word is split in two.
      length = kMaxRun;
      for (size_t at = offset + kMaxRun; at > offset; --at) {
        if (IsSeparator(text[at - 1])) {
          length = at - offset;
          break;
        }
      }
    }
    input_.text = text.data() + offset;
    input_.length = static_cast<uint16_t>(length);
    input_.spellState = offset == 0 ? spellState : uint16_t{kCsapiContinued};
    result_.suggestionsSize = static_cast<uint32_t>(suggestions_.size());
    result_.ratingsSize = static_cast<uint32_t>(ratings_.size());
    CheckSpellStatus(entry_->SpellCheck(session_, kCsapiVerifyBuffer, &input_, &result_));
    const auto code = static_cast<TSpellReturnCode>(result_.code);
    if (code != srNoErrors) {
      position = offset + std::min<size_t>(result_.errorPosition, length);
      misspelledLength = std::min<size_t>(result_.errorLength, offset + length - position);
      misspelled_ = std::string(text.substr(position, misspelledLength));
      return code;
    }
    offset += length;
  }
  return srNoErrors;
}

TSpellReturnCode TCSAPISpeller::CheckSentenceStart(std::string_view text, size_t& misspelledLength,
                                                   size_t& position) {
  return Check(text, kCsapiSentenceStart, misspelledLength, position);
}

TSpellReturnCode TCSAPISpeller::CheckText(std::string_view text, size_t& misspelledLength,
                                          size_t& position) {
  return Check(text, kCsapiContinued, misspelledLength, position);
}

void TCSAPISpeller::ChangeOnce(const std::string& word, const std::string& replacement) {
  if (NotAvailable || !open_) return;
  CheckSpellStatus(
      entry_->SpellAddChangeUdr(session_, kCsapiChangeOnce, word.c_str(), replacement.c_str()));
}

void TCSAPISpeller::ChangeAlways(const std::string& word, const std::string& replacement) {
  if (NotAvailable || !open_) return;
  CheckSpellStatus(
      entry_->SpellAddChangeUdr(session_, kCsapiChangeAlways, word.c_str(), replacement.c_str()));
}

void TCSAPISpeller::AddWord(const std::string& word) {
  if (NotAvailable || !open_) return;
  CheckSpellStatus(entry_->SpellAddUdr(session_, udr_, word.c_str()));
}

void TCSAPISpeller::IgnoreAlways(const std::string& word) {
  if (NotAvailable || !open_) return;
  CheckSpellStatus(entry_->SpellAddUdr(session_, kCsapiIgnoreAlways, word.c_str()));
}

void TCSAPISpeller::GetVariants(const std::string& word, std::vector<std::string>& list) {
  list.clear();
  if (NotAvailable || !open_) return;
  // A buffer of its own: the replacement of the last check stays where it is. The
  // engine is told the size that was allocated, never more.
  std::vector<char> buffer(kSuggestionBufferSize, '\0');
  std::vector<uint8_t> ratings(kRatingBufferSize, 0);
  TCsapiResult result{};
  result.suggestions = buffer.data();
  result.suggestionsSize = static_cast<uint32_t>(buffer.size());
  result.ratings = ratings.data();
  result.ratingsSize = static_cast<uint32_t>(ratings.size());
  TCsapiInput input = input_;
  input.text = word.data();
  input.length = static_cast<uint16_t>(std::min(word.size(), kMaxRun));
  input.spellState = kCsapiContinued;
  uint16_t command = kCsapiSuggest;
  // Ends on "no more suggestions", and also on a round that brings nothing new,
  // so an engine that never says "no more" cannot keep us here.
  for (int round = 0; round < kMaxSuggestionRounds; ++round) {
    CheckSpellStatus(entry_->SpellCheck(session_, command, &input, &result));
    if (result.code == srNoMoreSuggestions) break;
    int added = 0;
    for (size_t at = 0; at < buffer.size();) {
      const auto end = std::find(buffer.begin() + static_cast<ptrdiff_t>(at), buffer.end(), '\0');
      if (end == buffer.end()) break;  // unterminated: read no further than the buffer
      std::string suggestion(buffer.begin() + static_cast<ptrdiff_t>(at), end);
      if (suggestion.empty()) break;
      if (std::find(list.begin(), list.end(), suggestion) == list.end()) {
        list.push_back(std::move(suggestion));
        ++added;
      }
      at = static_cast<size_t>(end - buffer.begin()) + 1;
    }
    if (added == 0) break;
    command = kCsapiSuggestMore;
  }
}

std::string TCSAPISpeller::FirstSuggestion() const {
  const auto end = std::find(suggestions_.begin(), suggestions_.end(), '\0');
  return std::string(suggestions_.begin(), end);
}

std::string TCSAPISpeller::GetReplacement() {
  if (NotAvailable || !open_) return "";
  return FirstSuggestion();
}

std::string TCSAPISpeller::GetMisspelled() {
  if (NotAvailable) return "";
  return misspelled_;
}

}  // namespace quorrel
