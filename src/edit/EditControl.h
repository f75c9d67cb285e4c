#pragma once
// The few things re-paragraphing asks of a text control: its text and selection,
// replacing either, the caret and the focus. Two kinds of control answer: the
// editor control, and a plain text box held in memory (the word-processor
// conversion's text). Texts are Windows-1252 bytes with CR LF line ends; positions
// count one character per line end, as the editor counts them.
#include <cstddef>
#include <string>

namespace quorrel {

class TMyRich;

class TEditControl {
 public:
  virtual ~TEditControl() = default;
  virtual std::string Text() const = 0;
  virtual size_t SelStart() const = 0;
  virtual size_t SelLength() const = 0;
  virtual std::string SelText() const = 0;
  virtual void ReplaceSelection(const std::string& text) = 0;
  virtual void ReplaceText(const std::string& text) = 0;
  // Positions beyond the text put the caret at its end.
  virtual void SetCaret(size_t position) = 0;
  virtual void Focus() = 0;
  // Whether this is the current document's editor.
  virtual bool IsCurrentEditor() const = 0;
};

// An editor control.
class TRichEditControl : public TEditControl {
 public:
  explicit TRichEditControl(TMyRich& editor) : editor_(editor) {}
  std::string Text() const override;
  size_t SelStart() const override;
  size_t SelLength() const override;
  std::string SelText() const override;
  void ReplaceSelection(const std::string& text) override;
  void ReplaceText(const std::string& text) override;
  void SetCaret(size_t position) override;
  void Focus() override;
  bool IsCurrentEditor() const override;

 private:
  TMyRich& editor_;
};

// A plain text box: a text and a selection, nothing on screen.
class TTextBox : public TEditControl {
 public:
  explicit TTextBox(std::string text) : text_(std::move(text)) {}
  std::string Text() const override { return text_; }
  size_t SelStart() const override { return selStart_; }
  size_t SelLength() const override { return selLength_; }
  std::string SelText() const override;
  void ReplaceSelection(const std::string& text) override;
  void ReplaceText(const std::string& text) override;
  void SetCaret(size_t position) override;
  void Focus() override {}
  bool IsCurrentEditor() const override { return false; }
  // Selects a range of positions (clamped to the text).
  void Select(size_t start, size_t length);

 private:
  // The byte index of a position (a CR LF counts once).
  size_t IndexOf(size_t position) const;
  size_t Positions() const;

  std::string text_;
  size_t selStart_ = 0;
  size_t selLength_ = 0;
};

}  // namespace quorrel
