#pragma once
// The tests' editor control: the same semantics as the real one (one position per
// line end, CR LF read-out), held in memory, with a view of a fixed number of lines.
#include <optional>
#include <string>
#include <vector>

#include "platform/RtfModel.h"
#include "shell/MyRich.h"

namespace quorrel::test {

class MemoryRich : public TMyRich {
 public:
  explicit MemoryRich(size_t visibleLines = 20) : visibleLines_(visibleLines) {}

  std::string GetText() const override;
  int CharColour(size_t pos) const override;
  void SetText(const std::string& text) override;
  size_t TextLength() const override { return text_.size(); }
  std::string TextRange(size_t start, size_t length) const override;

  size_t SelStart() const override { return selStart_; }
  size_t SelLength() const override { return selLength_; }
  void Select(size_t start, size_t length) override;
  std::string SelText() const override { return TextRange(selStart_, selLength_); }
  void SetSelText(const std::string& text) override;
  void ReplaceKeepingFormats(size_t start, const std::string& text) override;
  void ReplaceRanges(const std::vector<TReplacement>& replacements) override;

  size_t LineCount() const override;
  size_t LineFromChar(size_t pos) const override;
  size_t LineIndex(size_t line) const override;
  size_t LineLength(size_t line) const override;

  size_t FirstVisibleLine() const override { return firstVisible_; }
  size_t VisibleLineCount() const override { return visibleLines_; }
  void ScrollLines(long lines) override;
  void ScrollCaret() override;
  void ScrollToBottom() override;
  size_t FirstVisiblePos() const override { return LineIndex(firstVisible_); }
  size_t BottomLeftPos() const override;

  bool Modified() const override { return modified_; }
  void SetModified(bool modified) override { modified_ = modified; }
  bool PlainText() const override { return plain_; }
  void SetPlainText(bool plain) override;
  void SetRedraw(bool on) override;
  bool Redraw() const override { return redraw_; }
  int Zoom() const override { return zoom_; }
  void SetZoom(int percent) override { zoom_ = percent; }
  bool WordWrap() const override { return wrap_; }
  void SetWordWrap(bool wrap) override { wrap_ = wrap; }
  void SetEditorFont(const std::string& name, int size, bool bold) override;
  std::string EditorFontName() const override { return fontName_; }

  // RTF source in and out: the formatted text is held as an RTF document.
  void SetRtfSource(const std::string& rtf) override;
  std::string GetRtfSource() const override;

  TRtfCharFormat CharFormatAt(size_t pos) const override;
  void ChangeCharFormat(size_t start, size_t length, const TRtfFormatChange& change) override;
  void AlignParagraphs(size_t start, size_t length, TRtfAlign align) override;

  bool CanFocus() const override { return focusable_; }
  void SetFocus() override { focused_ = true; }

  // What the tests look at or arrange.
  void SetFocusable(bool focusable) { focusable_ = focusable; }
  bool HasFocus() const { return focused_; }
  int Repaints() const { return repaints_; }
  const std::string& FontName() const { return fontName_; }
  int FontSize() const { return fontSize_; }
  bool FontBold() const { return fontBold_; }

 private:
  size_t MaxFirstLine() const;
  void IndexLines() const;

  std::string text_;  // one '\n' per line end, so positions are indexes
  TRtfDocument rtf_;  // formatted mode: the text with its formatting
  // The format of the next typed text, set with nothing selected; the caret's
  // moving drops it.
  std::optional<TRtfFormatChange> typing_;
  mutable std::vector<size_t> lineStarts_;
  mutable bool indexed_ = false;
  size_t selStart_ = 0;
  size_t selLength_ = 0;
  size_t firstVisible_ = 0;
  size_t visibleLines_;
  bool modified_ = false;
  bool plain_ = true;
  bool redraw_ = true;
  int repaints_ = 0;
  int zoom_ = 100;
  bool wrap_ = true;
  bool focusable_ = true;
  bool focused_ = false;
  std::string fontName_;
  int fontSize_ = 0;
  bool fontBold_ = false;
};

}  // namespace quorrel::test
