#pragma once
// The speller back end on a proofing-tools speller library: found through the
// registry by language, loaded at run time, driven through its sixteen entry points.
#include <memory>
#include <string>
#include <vector>

#include "platform/csapi/CsapiAbi.h"
#include "spell/Spellers.h"

class QLibrary;

namespace quorrel {

class TCSAPISpeller : public TAbstractSpeller {
 public:
  // Not available (no error) when the registry has no key for the language or its
  // primary language. Raises ESpellError when the engine cannot be loaded or lacks
  // an entry point ("Error loading Spell DLL " + path), or fails to start.
  TCSAPISpeller(TLanguage language, TSpellOptions options, TSpellChecker* checker);
  // Closes quietly when Close was not called; call Close to hear of a failure.
  ~TCSAPISpeller() override;

  // Closes the dictionaries, saving the user's, ends the session and unloads the
  // engine; raises ESpellError "Error unloading Spell DLL " + path on a failure.
  void Close();

  TSpellReturnCode CheckSentenceStart(std::string_view text, size_t& misspelledLength,
                                      size_t& position) override;
  TSpellReturnCode CheckText(std::string_view text, size_t& misspelledLength,
                             size_t& position) override;
  void ChangeOnce(const std::string& word, const std::string& replacement) override;
  void ChangeAlways(const std::string& word, const std::string& replacement) override;
  void AddWord(const std::string& word) override;
  void IgnoreAlways(const std::string& word) override;
  void GetVariants(const std::string& word, std::vector<std::string>& list) override;
  std::string GetReplacement() override;
  std::string GetMisspelled() override;

  const std::string& EnginePath() const { return enginePath_; }
  const std::string& DictionaryPath() const { return dictionaryPath_; }
  const std::string& CustomDictionaryPath() const { return customPath_; }

  // The engine's text length and error position are 16 bits: longer runs go to it
  // in parts, each ending at a separator where there is one.
  static constexpr size_t kMaxRun = 65535;
  static constexpr size_t kSuggestionBufferSize = 1024;
  static constexpr size_t kRatingBufferSize = 255;
  // GetVariants asks for more at most this often, whatever the engine answers.
  static constexpr int kMaxSuggestionRounds = 32;

 private:
  struct TEntryPoints;

  void FindCustomDictionary();
  void Load();
  void Open();
  TSpellReturnCode Check(std::string_view text, uint16_t spellState, size_t& misspelledLength,
                         size_t& position);
  std::string FirstSuggestion() const;

  TCsapiSpecialChars specialChars_{};
  std::string enginePath_;
  std::string dictionaryPath_;
  std::string customPath_;
  std::string misspelled_;
  uint16_t optionsMask_ = 0;
  std::unique_ptr<QLibrary> library_;
  std::unique_ptr<TEntryPoints> entry_;
  TCsapiSession session_ = 0;
  TCsapiMdr mdr_ = 0;
  TCsapiUdr udr_ = 0;
  TCsapiInput input_{};
  TCsapiResult result_{};
  std::vector<char> suggestions_;
  std::vector<uint8_t> ratings_;
  bool open_ = false;
};

}  // namespace quorrel
