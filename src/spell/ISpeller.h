#pragma once
// The speller back end on an ispell program ("ispell -a", or hunspell or aspell,
// which speak the same pipe protocol): a child process that reads one word a line
// and answers each line with result lines and an empty line.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "spell/ConvTable.h"
#include "spell/ISpellConfig.h"
#include "spell/Spellers.h"

class QProcess;

namespace quorrel {

class TISpeller : public TAbstractSpeller {
 public:
  // Not available (no error) without the ispell folder, without a section for the
  // language, or when its program does not start and greet.
  TISpeller(TLanguage language, TSpellOptions options, TSpellChecker* checker);
  // Ends the program's input and waits for it; ends it by force only when it stays.
  ~TISpeller() override;

  // Both split the run into words and ask about each. A program that stops
  // answering raises ESpellError and leaves the speller not available.
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

  const std::string& LanguageNameOf() const { return languageName_; }
  const TISpellSection& Section() const { return section_; }
  // The program's process id; 0 when none runs.
  int64_t ProcessId() const;

  // Longer words are unknown without asking: no language has them, and the
  // programs answer a line of several thousand bytes in pieces or not at all.
  static constexpr size_t kMaxWordLength = 100;
  // How long the program may take to start, to greet and to answer one line.
  static constexpr int kAnswerMilliseconds = 10000;
  // How long it may take to end once its input is over.
  static constexpr int kEndMilliseconds = 3000;

 private:
  bool Start();
  void Stop();
  // Lines go out and come back in the language's code page; the program sees
  // them in the encoding of its charset, or in the language's code page when the
  // charset is not one we know.
  void Send(const std::string& line);
  bool ReadLine(std::string& line);
  // The result lines of one line sent, up to the empty line that ends them.
  const std::vector<std::string>& Query(const std::string& word);
  bool Misspelled(const std::string& word);
  TSpellReturnCode Check(std::string_view text, size_t& misspelledLength, size_t& position);
  [[noreturn]] void Failed();

  TISpellSection section_;
  std::string folder_;
  // How the program reads and writes its text; "" for the language's code page.
  std::string encoding_;
  std::string languageName_;
  std::unique_ptr<QProcess> process_;
  std::string pending_;  // read from the program, not yet a whole line
  std::string lastWord_;
  std::vector<std::string> lastReply_;
  std::string replacement_;
  std::string misspelled_;
  std::vector<std::pair<std::string, std::string>> changeAlways_;
  TConvTable table_;
};

}  // namespace quorrel
