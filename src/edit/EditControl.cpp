#include "edit/EditControl.h"

#include <algorithm>

#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

std::string TRichEditControl::Text() const {
  return editor_.GetText();
}

size_t TRichEditControl::SelStart() const {
  return editor_.SelStart();
}

size_t TRichEditControl::SelLength() const {
  return editor_.SelLength();
}

std::string TRichEditControl::SelText() const {
  return editor_.SelText();
}

void TRichEditControl::ReplaceSelection(const std::string& text) {
  editor_.SetSelText(text);
}

void TRichEditControl::ReplaceText(const std::string& text) {
  editor_.Select(0, editor_.TextLength());
  editor_.SetSelText(text);
}

void TRichEditControl::SetCaret(size_t position) {
  editor_.Select(std::min(position, editor_.TextLength()), 0);
}

void TRichEditControl::Focus() {
  if (editor_.CanFocus()) editor_.SetFocus();
}

bool TRichEditControl::IsCurrentEditor() const {
  return CurrentEditor == &editor_;
}

size_t TTextBox::IndexOf(size_t position) const {
  size_t index = 0;
  for (; index < text_.size() && position > 0; --position) {
    index += text_.compare(index, 2, "\r\n") == 0 ? 2 : 1;
  }
  return index;
}

size_t TTextBox::Positions() const {
  size_t count = 0;
  for (size_t i = 0; i < text_.size(); ++i) {
    if (text_.compare(i, 2, "\r\n") == 0) ++i;
    ++count;
  }
  return count;
}

void TTextBox::Select(size_t start, size_t length) {
  const size_t positions = Positions();
  selStart_ = std::min(start, positions);
  selLength_ = std::min(length, positions - selStart_);
}

std::string TTextBox::SelText() const {
  const size_t from = IndexOf(selStart_);
  return text_.substr(from, IndexOf(selStart_ + selLength_) - from);
}

void TTextBox::ReplaceSelection(const std::string& text) {
  const size_t from = IndexOf(selStart_);
  text_.replace(from, IndexOf(selStart_ + selLength_) - from, text);
  const TTextBox inserted(text);
  selStart_ += inserted.Positions();
  selLength_ = 0;
}

void TTextBox::ReplaceText(const std::string& text) {
  text_ = text;
  selStart_ = Positions();
  selLength_ = 0;
}

void TTextBox::SetCaret(size_t position) {
  Select(position, 0);
}

}  // namespace quorrel
