#pragma once
// One session of the speller library: its main dictionaries (Hunspell), its user
// dictionaries (plain word lists) and the session's change and ignore lists. Every
// text it takes or gives is an 8-bit run in the code page of the language the main
// dictionary was opened for.
#include <hunspell.hxx>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/csapi/CsapiAbi.h"
#include "platform/csapi/CsapiCharset.h"

namespace quorrel::csapi {

struct TMainDictionary {
  TMainDictionary(const std::string& aff, const std::string& dic, uint16_t lang)
      : hunspell(aff.c_str(), dic.c_str()),
        encoding(hunspell.get_dict_encoding()),
        language(lang),
        charset(CodePageOfLanguage(lang)) {}
  Hunspell hunspell;
  std::string encoding;
  uint16_t language;
  TCharset charset;
};

struct TUserDictionary {
  std::string path;
  std::set<std::string> words;  // UTF-8
  bool readOnly = false;
  bool dirty = false;
};

class TSession {
 public:
  explicit TSession(const TCsapiSpecialChars* specialChars);

  void SetOptions(uint32_t mask) { options_ = mask; }
  TCsapiStatus OpenMdr(const char* path, uint16_t language, TCsapiMdr* mdr);
  TCsapiStatus CloseMdr(TCsapiMdr mdr);
  TCsapiStatus OpenUdr(const char* path, bool create, TCsapiUdr* udr, int* readOnly);
  TCsapiStatus CloseUdr(TCsapiUdr udr, bool save);
  TCsapiStatus AddUdr(TCsapiUdr udr, const char* word);
  TCsapiStatus AddChangeUdr(TCsapiUdr udr, const char* word, const char* change);
  TCsapiStatus DelUdr(TCsapiUdr udr, const char* word);
  TCsapiStatus ClearUdr(TCsapiUdr udr);
  TCsapiStatus GetSizeUdr(TCsapiUdr udr, uint16_t* count);
  TCsapiStatus GetListUdr(TCsapiUdr udr, uint16_t first, TCsapiResult* result);
  TCsapiStatus Check(uint16_t command, const TCsapiInput* input, TCsapiResult* result);
  // Writes every user dictionary with unsaved words.
  TCsapiStatus SaveAll();

 private:
  TMainDictionary* Mdr(TCsapiMdr id);
  TMainDictionary* MdrOf(const TCsapiInput& input);
  // The dictionary whose code page the words of dictionary calls are in.
  const TCharset& WordCharset() const;
  bool WordToUtf8(const TCharset& charset, std::string_view bytes, std::string& utf8) const;
  bool Spells(TMainDictionary& mdr, const std::string& utf8) const;
  TCsapiStatus Verify(TMainDictionary& mdr, std::string_view text, TCsapiResult& result);
  TCsapiStatus Suggest(TMainDictionary& mdr, std::string_view word, TCsapiResult& result);
  TCsapiStatus SuggestMore(TCsapiResult& result);
  // Whether a word is one the options say to pass over unchecked.
  bool Exempt(const TCharset& charset, std::string_view word) const;
  TCsapiStatus Save(TUserDictionary& udr);

  TCsapiSpecialChars special_{};
  uint32_t options_ = 0;
  std::map<TCsapiMdr, std::unique_ptr<TMainDictionary>> mdrs_;
  TCsapiMdr lastMdr_ = 0;
  std::map<TCsapiUdr, TUserDictionary> udrs_;
  TCsapiUdr nextUdr_ = 1;
  std::map<std::string, std::string> changeOnce_, changeAlways_;  // UTF-8
  std::set<std::string> ignoreAlways_;
  std::vector<std::string> pending_;  // suggestions not yet handed out
  size_t nextPending_ = 0;
};

}  // namespace quorrel::csapi
