#include "spell/SpellChecker.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/UserDialogs.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "spell/CSAPISpeller.h"
#include "spell/ISpeller.h"
#include "spell/SpellEditClasses.h"

namespace quorrel {

namespace {

constexpr char CR = '\r', LF = '\n', VT = '\v';

bool IsWordChar(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  if (c == '\'' || c == 0x92) return true;
  // Windows-1252 letters: the accented block and the few in 0x8A-0x9F.
  if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
  return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

// End of the tag, comment or server block starting at "<" (just past its closer),
// or the text's end when it is not closed.
size_t TagEnd(const std::string& text, size_t at) {
  const char* closer = ">";
  if (text.compare(at, 4, "<!--") == 0) {
    closer = "-->";
  } else if (text.compare(at, 2, "<%") == 0) {
    closer = "%>";
  }
  const size_t found = text.find(closer, at + 1);
  return found == std::string::npos ? text.size() : found + std::char_traits<char>::length(closer);
}

std::string Format(const std::string& pattern, const std::string& value) {
  std::string out = pattern;
  const size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, value);
  return out;
}

// The word with its first character upper-cased.
std::string Capitalised(std::string word) {
  if (!word.empty())
    word[0] = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(word[0])));
  return word;
}

// Extra spaces: the blanks before the last character go.
std::string WithoutExtraSpaces(const std::string& text) {
  if (text.empty()) return text;
  std::string head = text.substr(0, text.size() - 1);
  while (!head.empty() && head.back() == ' ') head.pop_back();
  return head + text.back();
}

}  // namespace

TSpellChecker::TSpellChecker() : Language(SystemLanguage()) {
  SpellerFactory = [](TSpellChecker& checker, TLanguage language,
                      TSpellerType type) -> std::unique_ptr<TAbstractSpeller> {
    if (type == TSpellerType::sptISpell)
      return std::make_unique<TISpeller>(language, checker.Options, &checker);
    return std::make_unique<TCSAPISpeller>(language, checker.Options, &checker);
  };
}

TSpellChecker::~TSpellChecker() = default;

TAbstractSpeller* TSpellChecker::GetSpeller(TLanguage language, TSpellerType type) {
  for (auto cached = spellers_.begin(); cached != spellers_.end(); ++cached) {
    if (cached->language != language || cached->type != type) continue;
    if (!cached->speller->NotAvailable) return cached->speller.get();
    // Its program has gone (an ispell that stopped answering): a new one is made.
    if (lastSpeller_ == cached->speller.get()) lastSpeller_ = nullptr;
    spellers_.erase(cached);
    break;
  }
  std::unique_ptr<TAbstractSpeller> made;
  try {
    if (SpellerFactory) made = SpellerFactory(*this, language, type);
  } catch (const std::exception&) {
    // An engine that fails to start is no speller; the next check tries again.
    return nullptr;
  }
  if (!made || made->NotAvailable) return nullptr;
  spellers_.push_back(TCached{language, type, std::move(made)});
  return spellers_.back().speller.get();
}

bool TSpellChecker::Check(TMyRich& editor) {
  if (!enabled_) return false;
  const TEditClass* kind = FindEditClass(editor.ClassName());
  if (!kind) throw ESpellError(Format("You can't spell check %s.", editor.ClassName()));
  text_ = editor.GetText();
  if (text_.empty()) return false;
  if (!GetSpeller(Language, SpellerType)) return false;

  editor_ = &editor;
  twin_ = MainWindow() ? MainWindow()->NewHiddenEditor() : nullptr;
  if (twin_) {
    twin_->SetPlainText(editor.PlainText());
    twin_->SetText(text_);
  }
  cancelled_ = false;
  showing_ = resume_ = false;
  lastSpeller_ = nullptr;
  lastCode_ = srNoErrors;
  flagged_.clear();
  flaggedLength_ = 0;

  const size_t selStart = editor.SelStart();
  const size_t selLength = editor.SelLength();
  size_t start = selLength == 0 ? 0 : editor.PosToOffset(selStart);
  rangeEnd_ = selLength == 0 ? text_.size() : editor.PosToOffset(selStart + selLength);
  while (start > 0 && IsWordChar(static_cast<unsigned char>(text_[start - 1]))) --start;
  if (HTMLSupport) {
    // Inside a tag: start after it.
    const size_t open = start == 0 ? std::string::npos : text_.rfind('<', start - 1);
    if (open != std::string::npos) {
      const size_t close = text_.find('>', open);
      if (close == std::string::npos || close >= start)
        start = std::min(TagEnd(text_, open), rangeEnd_);
    }
  }
  position_ = start;
  lineEnd_ = tagEnd_ = languageEnd_ = start;
  sentenceStart_ = start == 0 || text_[start - 1] == CR || text_[start - 1] == LF;
  lastSpeller_ = GetSpeller(Language, SpellerType);
  ContinueCheck();
  return lastSpeller_ != nullptr;
}

bool TSpellChecker::NextRun(size_t& runEnd) {
  while (position_ < rangeEnd_) {
    const char c = text_[position_];
    if (c == CR) {
      sentenceStart_ = true;
      ++position_;
    } else if (c == LF || c == VT) {
      ++position_;
    } else if (HTMLSupport && c == '<') {
      position_ = TagEnd(text_, position_);
    } else {
      break;
    }
  }
  if (position_ >= rangeEnd_) return false;
  lineEnd_ = std::min(text_.find(CR, position_), text_.size());
  tagEnd_ = HTMLSupport ? std::min(text_.find('<', position_), text_.size()) : text_.size();
  languageEnd_ = text_.size();  // our editors carry no language per character
  runEnd = std::min({lineEnd_, tagEnd_, languageEnd_, rangeEnd_});
  return true;
}

void TSpellChecker::ContinueCheck() {
  // A dialog that answers while it is being shown (a modal one) asks to go on from
  // inside ShowFinding: the loop below does that, so findings never nest.
  if (showing_) {
    resume_ = true;
    return;
  }
  while (editor_) {
    position_ += flaggedLength_;
    flaggedLength_ = 0;
    size_t runEnd = 0;
    if (!NextRun(runEnd)) {
      Finish();
      return;
    }
    TAbstractSpeller* speller = GetSpeller(Language, SpellerType);
    lastSpeller_ = speller;
    if (!speller) {
      // Ends without finishing: Check reports that there was no speller.
      editor_ = nullptr;
      twin_.reset();
      return;
    }
    const std::string run = AnsiToLanguage(text_.substr(position_, runEnd - position_), Language);
    size_t length = 0, at = 0;
    const TSpellReturnCode code = sentenceStart_ ? speller->CheckSentenceStart(run, length, at)
                                                 : speller->CheckText(run, length, at);
    sentenceStart_ = false;
    lastCode_ = code;
    if (code == srNoErrors || at >= run.size()) {
      position_ = runEnd;
      continue;
    }
    position_ += at;
    flaggedLength_ = std::min(length, runEnd - position_);
    flagged_ = text_.substr(position_, flaggedLength_);
    if (OnMisspelling) OnMisspelling(*this, code, position_, flaggedLength_);
    Select(position_,
           code == srExtraSpaces && flaggedLength_ > 0 ? flaggedLength_ - 1 : flaggedLength_);
    if (code == srReturningChangeAlways) {
      ReplaceFlagged(LanguageToAnsi(speller->GetReplacement(), Language));
      continue;
    }
    resume_ = false;
    {
      struct Showing {
        bool& flag;
        ~Showing() { flag = false; }
      } showing{showing_ = true};
      ShowFinding(*speller);
    }
    if (!resume_) return;
  }
}

void TSpellChecker::Select(size_t offset, size_t length) {
  for (TMyRich* rich : {editor_, twin_.get()}) {
    if (!rich) continue;
    const size_t from = rich->OffsetToPos(offset);
    rich->Select(from, rich->OffsetToPos(offset + length) - from);
  }
  // The user sees the flagged text in the editor too.
  if (editor_) editor_->ScrollCaret();
}

void TSpellChecker::ShowFinding(TAbstractSpeller& speller) {
  TSpellFinding finding;
  finding.code = lastCode_;
  finding.word = flagged_;
  finding.caption =
      Caption.empty() ? std::string() : Format(Caption, LanguageName(Language, LangOption));
  finding.modal = ModalDialog;
  const size_t lineStart = text_.rfind(LF, position_ == 0 ? 0 : position_ - 1);
  const size_t from = position_ == 0 || lineStart == std::string::npos ? 0 : lineStart + 1;
  finding.line = text_.substr(from, std::min(text_.find(CR, position_), text_.size()) - from);
  finding.lineOffset = position_ - from;
  auto message = [&](TSpellString which) { finding.message = UiString(which); };
  switch (lastCode_) {
    case srUnknownInputWord:
    case srReturningChangeOnce:
    case srInvalidHyphenation: {
      message(lastCode_ == srInvalidHyphenation ? ssIllegalHyphenations : ssUnknownWord);
      std::vector<std::string> variants;
      speller.GetVariants(AnsiToLanguage(flagged_, Language), variants);
      if (lastCode_ == srReturningChangeOnce)
        variants.insert(variants.begin(), speller.GetReplacement());
      for (const std::string& variant : variants)
        finding.suggestions.push_back(LanguageToAnsi(variant, Language));
      break;
    }
    case srErrorCapitalization:
    case srNoSentenceStartCap:
      finding.view = TSpellView::OneSuggestion;
      message(lastCode_ == srErrorCapitalization ? ssCapitalizationError
                                                 : ssSentenceCapitalization);
      finding.suggestions = {Capitalised(flagged_)};
      break;
    case srExtraSpaces:
      finding.view = TSpellView::OneSuggestion;
      message(ssExtraSpaces);
      finding.suggestions = {WithoutExtraSpaces(flagged_)};
      break;
    case srWordConsideredAbbreviation:
      finding.view = TSpellView::NoSuggestions;
      message(ssPossibleAbbreviation);
      break;
    case srMissingSpace:
    case srInitialNumeral:
      finding.view = TSpellView::NoSuggestions;
      message(lastCode_ == srMissingSpace ? ssMissingSpace : ssInitialNumerals);
      break;
    case srRepeatWord:
      finding.view = TSpellView::Repeated;
      message(ssRepeatedWord);
      break;
    default:
      finding.view = TSpellView::Unchanged;
      break;
  }
  if (cancelled_) return;
  if (!dialog_) dialog_ = MakeSpellDialog(*this);
  if (dialog_) dialog_->ShowFinding(finding);
}

void TSpellChecker::ReplaceFlagged(const std::string& replacement) {
  Select(position_, flaggedLength_);
  for (TMyRich* rich : {editor_, twin_.get()}) {
    if (rich) rich->SetSelText(replacement);
  }
  const size_t oldLength = flaggedLength_;
  text_.replace(position_, oldLength, replacement);
  if (OnChangeText) OnChangeText(*this, position_, replacement, oldLength);
  // Everything after the flagged text moves by the difference.
  auto shift = [&](size_t& bound) { bound = bound + replacement.size() - oldLength; };
  shift(rangeEnd_);
  shift(lineEnd_);
  shift(tagEnd_);
  shift(languageEnd_);
  flaggedLength_ = replacement.size();
}

void TSpellChecker::Continue() {
  ContinueCheck();
}

void TSpellChecker::Replace(const std::string& replacement) {
  if (!editor_) return;
  ReplaceFlagged(replacement);
  ContinueCheck();
}

void TSpellChecker::ChangeOnce(const std::string& replacement) {
  if (!editor_) return;
  if (lastSpeller_) {
    lastSpeller_->ChangeOnce(AnsiToLanguage(flagged_, Language),
                             AnsiToLanguage(replacement, Language));
  }
  Replace(replacement);
}

void TSpellChecker::ChangeAlways(const std::string& replacement) {
  if (!editor_) return;
  if (lastSpeller_) {
    lastSpeller_->ChangeAlways(AnsiToLanguage(flagged_, Language),
                               AnsiToLanguage(replacement, Language));
  }
  Replace(replacement);
}

void TSpellChecker::Delete() {
  if (!editor_) return;
  // The blank before the repeated word goes with it, so that what follows the
  // word (a full stop, the line end) stays; a word with no blank before it takes
  // the blank after it.
  size_t from = position_;
  size_t length = flaggedLength_;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (from > 0 && blank(text_[from - 1])) {
    --from;
    ++length;
  } else if (from + length < text_.size() && blank(text_[from + length])) {
    ++length;
  }
  Select(from, length);
  for (TMyRich* rich : {editor_, twin_.get()}) {
    if (rich) rich->SetSelText("");
  }
  text_.erase(from, length);
  if (OnChangeText) OnChangeText(*this, from, "", length);
  for (size_t* bound : {&rangeEnd_, &lineEnd_, &tagEnd_, &languageEnd_}) {
    *bound = *bound >= from + length ? *bound - length : std::min(*bound, from);
  }
  position_ = from;
  flaggedLength_ = 0;
  ContinueCheck();
}

void TSpellChecker::Add() {
  if (!editor_) return;
  if (lastSpeller_) lastSpeller_->AddWord(AnsiToLanguage(flagged_, Language));
  // The check goes on at the word, which the speller now knows.
  flaggedLength_ = 0;
  ContinueCheck();
}

void TSpellChecker::IgnoreAlways() {
  if (!editor_) return;
  if (lastSpeller_) lastSpeller_->IgnoreAlways(AnsiToLanguage(flagged_, Language));
  ContinueCheck();
}

void TSpellChecker::Cancel() {
  cancelled_ = true;
  if (OnCancel) OnCancel(*this);
  Finish();
}

void TSpellChecker::Finish() {
  // The dialog stays for the next check: a button of its own may be what ended this one.
  if (dialog_) dialog_->Hide();
  twin_.reset();
  editor_ = nullptr;
  if (OnFinished) OnFinished(*this);
  if (ShowFinishMessage && !FinishMessage.empty() && lastSpeller_) {
    DialogCall call;
    call.kind = DialogKind::Message;
    call.text = FinishMessage;
    call.caption = UiString(ssMessage);
    UserDialogs().ShowBox(call);
  }
}

}  // namespace quorrel
