#pragma once
// What the checker asks of its spelling dialog. The dialog answers by calling the
// checker's operations (Skip, ChangeOnce ...), each of which goes on checking.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "spell/Spellers.h"

namespace quorrel {

class TSpellChecker;

// How the dialog lays out its buttons for a finding.
enum class TSpellView : uint8_t {
  Unknown,        // unknown word, change once, hyphenation: suggestions, all buttons
  OneSuggestion,  // capitalisation, sentence start, extra spaces: the one correction
  NoSuggestions,  // abbreviation, missing space, initial numeral
  Repeated,       // repeated word: Delete in place of Change
  Unchanged,      // codes 7, 8, 9: the dialog as it stands
};

struct TSpellFinding {
  TSpellView view = TSpellView::Unknown;
  TSpellReturnCode code = srNoErrors;
  std::string message;  // "Unknown word" ...
  std::string word;     // the flagged text, Windows-1252
  // The line of the checked text that holds the finding, and the word's place in it.
  std::string line;
  size_t lineOffset = 0;
  std::vector<std::string> suggestions;  // Windows-1252
  std::string caption;
  bool modal = false;
};

class TSpellDialog {
 public:
  virtual ~TSpellDialog() = default;
  // Shows one finding; the dialog stays up until the user decides.
  virtual void ShowFinding(const TSpellFinding& finding) = 0;
  virtual void Hide() = 0;
};

// Makes the dialog for a checker: the ui's form in the program, a script in tests.
using TSpellDialogFactory = std::function<std::unique_ptr<TSpellDialog>(TSpellChecker&)>;
void SetSpellDialogFactory(TSpellDialogFactory factory);
std::unique_ptr<TSpellDialog> MakeSpellDialog(TSpellChecker& checker);

}  // namespace quorrel
