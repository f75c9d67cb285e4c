#include "platform/csapi/CsapiSession.h"

#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <system_error>

namespace quorrel::csapi {

namespace {

constexpr uint32_t kIgnoreAllCaps = 1u << 1;
constexpr uint32_t kIgnoreMixedDigits = 1u << 2;
constexpr uint32_t kIgnoreRomanNumerals = 1u << 3;

constexpr char32_t kRightQuote = 0x2019;

enum : uint16_t {
  kNoErrors = 0,
  kUnknownInputWord = 1,
  kReturningChangeAlways = 2,
  kReturningChangeOnce = 3,
  kNoMoreSuggestions = 8,
  kMoreInfoThanBufferCouldHold = 9,
};

bool IsRomanNumeral(std::string_view word) {
  static const std::regex upper("M{0,4}(CM|CD|D?C{0,3})(XC|XL|L?X{0,3})(IX|IV|V?I{0,3})");
  static const std::regex lower("m{0,4}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})");
  const std::string s(word);
  return !s.empty() && (std::regex_match(s, upper) || std::regex_match(s, lower));
}

// Writes as many whole strings from list[from] on as fit, then the empty string
// that ends the list; returns the index of the first string left out. A string
// longer than the whole buffer is passed over, so that a caller asking for more
// always gets on.
size_t FillBuffer(TCsapiResult& result, const std::vector<std::string>& list, size_t from) {
  const size_t size = result.suggestionsSize;
  size_t used = 0;
  size_t i = from;
  for (; i < list.size(); ++i) {
    const size_t need = list[i].size() + 1;
    if (need + 1 > size) continue;  // can never fit
    if (used + need + 1 > size) break;
    std::copy(list[i].begin(), list[i].end(), result.suggestions + used);
    result.suggestions[used + list[i].size()] = '\0';
    used += need;
  }
  result.suggestions[used] = '\0';
  return i;
}

bool HasRoom(const TCsapiResult& result) {
  return result.suggestions != nullptr && result.suggestionsSize >= 1;
}

std::string ParentOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

}  // namespace

TSession::TSession(const TCsapiSpecialChars* specialChars) {
  if (specialChars) special_ = *specialChars;
}

TMainDictionary* TSession::Mdr(TCsapiMdr id) {
  auto found = mdrs_.find(id);
  return found == mdrs_.end() ? nullptr : found->second.get();
}

TMainDictionary* TSession::MdrOf(const TCsapiInput& input) {
  if (input.mdrCount == 0 || !input.mdrs) return nullptr;
  return Mdr(input.mdrs[0]);
}

const TCharset& TSession::WordCharset() const {
  static const TCharset windows1252(1252);
  auto found = mdrs_.find(lastMdr_);
  return found == mdrs_.end() ? windows1252 : found->second->charset;
}

TCsapiStatus TSession::OpenMdr(const char* path, uint16_t language, TCsapiMdr* mdr) {
  if (!path || !mdr) return kCsapiBadArgument;
  const std::string dic = path;
  const std::string aff = std::filesystem::path(dic).replace_extension(".aff").string();
  // Hunspell reads what it can and says nothing of a file it cannot open.
  if (access(dic.c_str(), R_OK) != 0 || access(aff.c_str(), R_OK) != 0) return kCsapiFileError;
  auto dictionary = std::make_unique<TMainDictionary>(aff, dic, language);
  const TCsapiMdr id = static_cast<TCsapiMdr>(mdrs_.empty() ? 1 : mdrs_.rbegin()->first + 1);
  for (const auto& [udrId, udr] : udrs_) {
    for (const std::string& word : udr.words) {
      std::string encoded;
      if (ConvertEncoding("UTF-8", dictionary->encoding, word, encoded)) {
        dictionary->hunspell.add(encoded);
      }
    }
  }
  mdrs_.emplace(id, std::move(dictionary));
  lastMdr_ = id;
  *mdr = id;
  return kCsapiOk;
}

TCsapiStatus TSession::CloseMdr(TCsapiMdr mdr) {
  return mdrs_.erase(mdr) ? kCsapiOk : kCsapiBadArgument;
}

TCsapiStatus TSession::OpenUdr(const char* path, bool create, TCsapiUdr* udr, int* readOnly) {
  if (!path || !udr || nextUdr_ >= kCsapiChangeOnce) return kCsapiBadArgument;
  TUserDictionary dictionary;
  dictionary.path = path;
  std::ifstream in(dictionary.path, std::ios::binary);
  if (in) {
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) dictionary.words.insert(line);
    }
    dictionary.readOnly = access(dictionary.path.c_str(), W_OK) != 0;
  } else {
    if (!create) return kCsapiFileError;
    std::error_code ignored;
    std::filesystem::create_directories(ParentOf(dictionary.path), ignored);
    std::ofstream made(dictionary.path, std::ios::binary | std::ios::app);
    // A list that cannot be made still checks; adding to it reports the failure.
    dictionary.readOnly = !made;
  }
  for (auto& [id, mdr] : mdrs_) {
    for (const std::string& word : dictionary.words) {
      std::string encoded;
      if (ConvertEncoding("UTF-8", mdr->encoding, word, encoded)) mdr->hunspell.add(encoded);
    }
  }
  const TCsapiUdr id = nextUdr_++;
  udrs_.emplace(id, std::move(dictionary));
  *udr = id;
  if (readOnly) *readOnly = udrs_[id].readOnly ? 1 : 0;
  return kCsapiOk;
}

TCsapiStatus TSession::Save(TUserDictionary& udr) {
  if (!udr.dirty) return kCsapiOk;
  if (udr.readOnly) return kCsapiFileError;
  // Through a temporary file and a rename, so that a failed write keeps the old list.
  const std::string temporary = udr.path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const std::string& word : udr.words) out << word << '\n';
    out.flush();
    if (!out) {
      unlink(temporary.c_str());
      return kCsapiFileError;
    }
  }
  if (rename(temporary.c_str(), udr.path.c_str()) != 0) {
    unlink(temporary.c_str());
    return kCsapiFileError;
  }
  udr.dirty = false;
  return kCsapiOk;
}

TCsapiStatus TSession::SaveAll() {
  TCsapiStatus status = kCsapiOk;
  for (auto& [id, udr] : udrs_) {
    if (udr.dirty && !udr.readOnly) {
      const TCsapiStatus saved = Save(udr);
      if (saved != kCsapiOk) status = saved;
    }
  }
  return status;
}

TCsapiStatus TSession::CloseUdr(TCsapiUdr udr, bool save) {
  auto found = udrs_.find(udr);
  if (found == udrs_.end()) return kCsapiBadArgument;
  const TCsapiStatus status = save ? Save(found->second) : TCsapiStatus{kCsapiOk};
  udrs_.erase(found);
  return status;
}

bool TSession::WordToUtf8(const TCharset& charset, std::string_view bytes,
                          std::string& utf8) const {
  std::string kept;
  for (char c : bytes) {
    if (special_.softHyphen != 0 && static_cast<unsigned char>(c) == special_.softHyphen) continue;
    kept += c;
  }
  if (!charset.ToUtf8(kept, utf8)) return false;
  // The dictionaries spell the apostrophe plainly.
  std::string quote;
  AppendUtf8(quote, kRightQuote);
  for (size_t at = utf8.find(quote); at != std::string::npos; at = utf8.find(quote, at + 1)) {
    utf8.replace(at, quote.size(), "'");
  }
  return true;
}

TCsapiStatus TSession::AddUdr(TCsapiUdr udr, const char* word) {
  std::string utf8;
  if (!word || !WordToUtf8(WordCharset(), word, utf8) || utf8.empty()) return kCsapiBadArgument;
  if (udr == kCsapiIgnoreAlways) {
    ignoreAlways_.insert(utf8);
    return kCsapiOk;
  }
  auto found = udrs_.find(udr);
  if (found == udrs_.end()) return kCsapiBadArgument;
  if (found->second.readOnly) return kCsapiFileError;
  if (!found->second.words.insert(utf8).second) return kCsapiOk;
  for (auto& [id, mdr] : mdrs_) {
    std::string encoded;
    if (ConvertEncoding("UTF-8", mdr->encoding, utf8, encoded)) mdr->hunspell.add(encoded);
  }
  // Kept at once: a word the user added is not lost when the program ends badly.
  found->second.dirty = true;
  return Save(found->second);
}

TCsapiStatus TSession::AddChangeUdr(TCsapiUdr udr, const char* word, const char* change) {
  std::string from, to;
  if (!word || !change || !WordToUtf8(WordCharset(), word, from) ||
      !WordToUtf8(WordCharset(), change, to) || from.empty()) {
    return kCsapiBadArgument;
  }
  if (udr == kCsapiChangeOnce) {
    changeOnce_[from] = to;
  } else if (udr == kCsapiChangeAlways) {
    changeAlways_[from] = to;
  } else {
    return kCsapiBadArgument;
  }
  return kCsapiOk;
}

TCsapiStatus TSession::DelUdr(TCsapiUdr udr, const char* word) {
  std::string utf8;
  if (!word || !WordToUtf8(WordCharset(), word, utf8)) return kCsapiBadArgument;
  switch (udr) {
    case kCsapiIgnoreAlways:
      ignoreAlways_.erase(utf8);
      return kCsapiOk;
    case kCsapiChangeOnce:
      changeOnce_.erase(utf8);
      return kCsapiOk;
    case kCsapiChangeAlways:
      changeAlways_.erase(utf8);
      return kCsapiOk;
    default:
      break;
  }
  auto found = udrs_.find(udr);
  if (found == udrs_.end()) return kCsapiBadArgument;
  if (found->second.readOnly) return kCsapiFileError;
  if (found->second.words.erase(utf8) == 0) return kCsapiOk;
  for (auto& [id, mdr] : mdrs_) {
    std::string encoded;
    if (ConvertEncoding("UTF-8", mdr->encoding, utf8, encoded)) mdr->hunspell.remove(encoded);
  }
  found->second.dirty = true;
  return Save(found->second);
}

TCsapiStatus TSession::ClearUdr(TCsapiUdr udr) {
  switch (udr) {
    case kCsapiIgnoreAlways:
      ignoreAlways_.clear();
      return kCsapiOk;
    case kCsapiChangeOnce:
      changeOnce_.clear();
      return kCsapiOk;
    case kCsapiChangeAlways:
      changeAlways_.clear();
      return kCsapiOk;
    default:
      break;
  }
  auto found = udrs_.find(udr);
  if (found == udrs_.end()) return kCsapiBadArgument;
  if (found->second.readOnly) return kCsapiFileError;
  for (const std::string& word : found->second.words) {
    for (auto& [id, mdr] : mdrs_) {
      std::string encoded;
      if (ConvertEncoding("UTF-8", mdr->encoding, word, encoded)) mdr->hunspell.remove(encoded);
    }
  }
  found->second.words.clear();
  found->second.dirty = true;
  return Save(found->second);
}

TCsapiStatus TSession::GetSizeUdr(TCsapiUdr udr, uint16_t* count) {
  auto found = udrs_.find(udr);
  if (found == udrs_.end() || !count) return kCsapiBadArgument;
  *count = static_cast<uint16_t>(std::min<size_t>(found->second.words.size(), 0xFFFF));
  return kCsapiOk;
}

TCsapiStatus TSession::GetListUdr(TCsapiUdr udr, uint16_t first, TCsapiResult* result) {
  auto found = udrs_.find(udr);
  if (found == udrs_.end() || !result || !HasRoom(*result)) return kCsapiBadArgument;
  std::vector<std::string> list;
  for (const std::string& word : found->second.words) {
    std::string bytes;
    if (WordCharset().FromUtf8(word, bytes)) list.push_back(bytes);
  }
  const size_t next = FillBuffer(*result, list, first);
  result->code = next < list.size() ? kMoreInfoThanBufferCouldHold : kNoErrors;
  return kCsapiOk;
}

bool TSession::Exempt(const TCharset& charset, std::string_view word) const {
  bool letters = false, digits = false, lower = false;
  for (char c : word) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (charset.IsDigit(byte)) digits = true;
    if (charset.IsLetter(byte)) {
      letters = true;
      if (!charset.IsUpper(byte)) lower = true;
    }
  }
  if (!letters) return true;  // a number is no word
  if (digits && (options_ & kIgnoreMixedDigits)) return true;
  if (!lower && (options_ & kIgnoreAllCaps)) return true;
  return (options_ & kIgnoreRomanNumerals) && IsRomanNumeral(word);
}

bool TSession::Spells(TMainDictionary& mdr, const std::string& utf8) const {
  if (ignoreAlways_.count(utf8)) return true;
  std::string encoded;
  if (!ConvertEncoding("UTF-8", mdr.encoding, utf8, encoded)) return false;
  return mdr.hunspell.spell(encoded);
}

TCsapiStatus TSession::Verify(TMainDictionary& mdr, std::string_view text, TCsapiResult& result) {
  const TCharset& charset = mdr.charset;
  auto isQuote = [&](unsigned char byte) {
    return byte == '\'' || charset.CharOf(byte) == kRightQuote;
  };
  auto inWord = [&](unsigned char byte) {
    return charset.IsLetter(byte) || charset.IsDigit(byte) ||
           (special_.softHyphen != 0 && byte == special_.softHyphen);
  };
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    if (!inWord(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < n) {
      const unsigned char byte = static_cast<unsigned char>(text[i]);
      // An apostrophe between letters belongs to the word ("don't", "colour's").
      if (inWord(byte) ||
          (isQuote(byte) && i + 1 < n && inWord(static_cast<unsigned char>(text[i + 1])))) {
        ++i;
      } else {
        break;
      }
    }
    const std::string_view word = text.substr(start, i - start);
    if (Exempt(charset, word)) continue;
    std::string utf8;
    uint16_t code = kUnknownInputWord;
    std::string replacement;
    if (WordToUtf8(charset, word, utf8)) {
      if (auto always = changeAlways_.find(utf8); always != changeAlways_.end()) {
        code = kReturningChangeAlways;
        replacement = always->second;
      } else if (auto once = changeOnce_.find(utf8); once != changeOnce_.end()) {
        code = kReturningChangeOnce;
        replacement = once->second;
      } else if (Spells(mdr, utf8) || (i < n && text[i] == '.' && Spells(mdr, utf8 + "."))) {
        continue;  // abbreviations are spelled with their full stop ("etc.")
      }
    }
    result.errorPosition = static_cast<uint16_t>(start);
    result.errorLength = static_cast<uint16_t>(word.size());
    result.code = code;
    if (code == kReturningChangeAlways || code == kReturningChangeOnce) {
      std::string bytes;
      if (!charset.FromUtf8(replacement, bytes) || !HasRoom(result) ||
          bytes.size() + 2 > result.suggestionsSize) {
        result.code = kMoreInfoThanBufferCouldHold;
      } else {
        FillBuffer(result, {bytes}, 0);
      }
    }
    return kCsapiOk;
  }
  result.code = kNoErrors;
  return kCsapiOk;
}

TCsapiStatus TSession::Suggest(TMainDictionary& mdr, std::string_view word, TCsapiResult& result) {
  pending_.clear();
  nextPending_ = 0;
  std::string utf8, encoded;
  if (WordToUtf8(mdr.charset, word, utf8) &&
      ConvertEncoding("UTF-8", mdr.encoding, utf8, encoded)) {
    for (const std::string& suggestion : mdr.hunspell.suggest(encoded)) {
      std::string back, bytes;
      // A suggestion the language's code page cannot spell could not be put in the text.
      if (!ConvertEncoding(mdr.encoding, "UTF-8", suggestion, back) ||
          !mdr.charset.FromUtf8(back, bytes)) {
        continue;
      }
      if (std::find(pending_.begin(), pending_.end(), bytes) == pending_.end()) {
        pending_.push_back(bytes);
      }
    }
  }
  return SuggestMore(result);
}

TCsapiStatus TSession::SuggestMore(TCsapiResult& result) {
  if (!HasRoom(result)) return kCsapiBadArgument;
  if (nextPending_ >= pending_.size()) {
    result.suggestions[0] = '\0';
    result.code = kNoMoreSuggestions;
    return kCsapiOk;
  }
  nextPending_ = FillBuffer(result, pending_, nextPending_);
  result.code = kNoErrors;
  return kCsapiOk;
}

TCsapiStatus TSession::Check(uint16_t command, const TCsapiInput* input, TCsapiResult* result) {
  if (!input || !result || (input->length > 0 && !input->text)) return kCsapiBadArgument;
  result->errorPosition = 0;
  result->errorLength = 0;
  result->code = kNoErrors;
  if (command == kCsapiSuggestMore) return SuggestMore(*result);
  TMainDictionary* mdr = MdrOf(*input);
  if (!mdr) return kCsapiNoDictionary;
  const std::string_view text(input->text ? input->text : "", input->length);
  switch (command) {
    case kCsapiVerifyBuffer:
      return Verify(*mdr, text, *result);
    case kCsapiSuggest:
      return Suggest(*mdr, text, *result);
    default:
      return kCsapiUnknownCommand;
  }
}

}  // namespace quorrel::csapi
