#pragma once
// The checking component: walks the text of an editor run by run (a line, or the
// text between tags), asks the speller of the run's language, and hands each
// finding to the spelling dialog, whose answers come back as the operations below.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "spell/Languages.h"
#include "spell/SpellDialogSeam.h"
#include "spell/SpellStrings.h"
#include "spell/Spellers.h"

namespace quorrel {

class TMyRich;

struct TSpellFont {
  std::string name = "Arial";
  int size = 10;
  bool bold = false, italic = false, underline = false;
};

struct TMisspellFont {
  std::string MspName = "Arial";
  int MspColor = 0x0000FF;  // red, 0x00BBGGRR
  bool MspBold = false, MspItalic = false, MspUnderline = false;
};

class TSpellChecker {
  struct TCached {
    TLanguage language;
    TSpellerType type;
    std::unique_ptr<TAbstractSpeller> speller;
  };

 public:
  TSpellChecker();
  ~TSpellChecker();
  TSpellChecker(const TSpellChecker&) = delete;
  TSpellChecker& operator=(const TSpellChecker&) = delete;

  // ---- properties ----------------------------------------------------------
  TLanguage Language;
  TLangOption LangOption = TLangOption::loLocalized;
  TSpellerType SpellerType = TSpellerType::sptMSOffice;
  TUserLanguage UserLanguage = TUserLanguage::ulEnglish;
  TSpellOptions Options{TSpellOption::spoSuggestFromUserDict, TSpellOption::spoIgnoreAllCaps,
                        TSpellOption::spoIgnoreMixedDigits, TSpellOption::spoIgnoreRomanNumerals};
  std::string Caption;  // "%s" = the language's name
  TSpellFont Font;
  TMisspellFont MisspellFont;
  bool ModalDialog = false;
  bool HTMLSupport = false;
  // The user's dictionary for every language; empty: the one the registry names.
  std::string CustomDict;
  std::string FinishMessage;
  bool ShowFinishMessage = false;
  // The ispell back end's section for language 0, by its name.
  std::string ISpellLanguage;

  // ---- events --------------------------------------------------------------
  // Code, and offset and length in the editor's CR LF text.
  std::function<void(TSpellChecker& sender, TSpellReturnCode code, size_t position, size_t length)>
      OnMisspelling;
  std::function<void(TSpellChecker& sender, size_t position, const std::string& newText,
                     size_t oldLength)>
      OnChangeText;
  std::function<void(TSpellChecker& sender)> OnFinished;
  std::function<void(TSpellChecker& sender)> OnCancel;
  // Receives the language and may change the user dictionary's path.
  std::function<void(TSpellChecker& sender, TLanguage language, std::string& dictionary)>
      OnGetDictionary;

  // Makes the back end of a language and type; by default our proofing-tools
  // back end for sptMSOffice and the ispell one for sptISpell.
  std::function<std::unique_ptr<TAbstractSpeller>(TSpellChecker&, TLanguage, TSpellerType)>
      SpellerFactory;

  // ---- checking ------------------------------------------------------------
  // Checks the editor from its selection, or all of it when nothing is selected.
  // True when a speller was there for the last run; false when not enabled, for
  // an empty text, or with no speller for the language. Raises ESpellError "You
  // can't spell check %s." for an editor of a kind it cannot check.
  bool Check(TMyRich& editor);
  // Whether a check waits for the dialog's answer.
  bool Checking() const { return editor_ != nullptr; }
  // The editor being checked; nullptr between checks.
  TMyRich* Editor() const { return editor_; }
  // Whether the last check was cancelled from the dialog.
  bool Cancelled() const { return cancelled_; }

  // ---- what the dialog calls -------------------------------------------------
  void Continue();
  // Replaces the flagged text and goes on; ChangeOnce and ChangeAlways first tell
  // the speller.
  void ChangeOnce(const std::string& replacement);
  void Replace(const std::string& replacement);
  void ChangeAlways(const std::string& replacement);
  // Removes the repeated word together with the separator before it.
  void Delete();
  void Add();
  void IgnoreAlways();
  void Cancel();

  // The texts in the user's language.
  const std::string& UiString(TSpellString which) const { return SpellString(UserLanguage, which); }
  // The speller of the language and type, made on first need, and made again when
  // it has stopped working; nullptr when none.
  TAbstractSpeller* GetSpeller(TLanguage language, TSpellerType type);
  size_t SpellerCount() const { return spellers_.size(); }
  const std::string& FlaggedWord() const { return flagged_; }
  TSpellReturnCode LastCode() const { return lastCode_; }
  bool Enabled() const { return enabled_; }

 private:
  void ContinueCheck();
  bool NextRun(size_t& runEnd);
  void Select(size_t offset, size_t length);
  void ReplaceFlagged(const std::string& replacement);
  void ShowFinding(TAbstractSpeller& speller);
  void Finish();

  std::vector<TCached> spellers_;
  TMyRich* editor_ = nullptr;
  std::unique_ptr<TMyRich> twin_;
  std::unique_ptr<TSpellDialog> dialog_;
  // The checked text (CR LF line ends) and offsets into it.
  std::string text_;
  size_t rangeEnd_ = 0;
  size_t position_ = 0;
  size_t flaggedLength_ = 0;
  size_t lineEnd_ = 0, tagEnd_ = 0, languageEnd_ = 0;
  bool sentenceStart_ = false;
  TSpellReturnCode lastCode_ = srNoErrors;
  TAbstractSpeller* lastSpeller_ = nullptr;
  std::string flagged_;
  bool cancelled_ = false;
  bool showing_ = false;  // the dialog is being shown a finding
  bool resume_ = false;   // and has answered it already
  bool enabled_ = true;
};

}  // namespace quorrel
