#include "support/MemoryRich.h"

#include <algorithm>

#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"

namespace quorrel::test {

namespace {

// Every CR LF, lone CR and lone LF becomes one '\n'.
std::string ToLineFeeds(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += '\n';
    } else {
      out += c;
    }
  }
  return out;
}

std::string ToCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

// The format of text put in as plain text: the editor's font.
TRtfCharFormat TextFormat(const std::string& font, int size) {
  TRtfCharFormat format;
  format.font = font;
  if (size > 0) format.halfPoints = 2 * size;
  return format;
}

}  // namespace

std::string MemoryRich::GetText() const {
  return ToCrLf(text_);
}

void MemoryRich::SetText(const std::string& text) {
  size_t oldLength = text_.size();
  text_ = ToLineFeeds(text);
  MoveColourRuns(0, oldLength, text_.size());
  if (!plain_) rtf_ = RtfDocumentOfText(text_, TextFormat(fontName_, fontSize_));
  indexed_ = false;
  selStart_ = 0;
  selLength_ = 0;
  typing_.reset();
  firstVisible_ = 0;
  modified_ = false;
  Changed();
}

std::string MemoryRich::TextRange(size_t start, size_t length) const {
  if (start >= text_.size()) return "";
  return ToCrLf(text_.substr(start, length));
}

void MemoryRich::Select(size_t start, size_t length) {
  start = std::min(start, text_.size());
  length = std::min(length, text_.size() - start);
  if (start != selStart_ || length != selLength_) typing_.reset();
  selStart_ = start;
  selLength_ = length;
}

void MemoryRich::SetSelText(const std::string& text) {
  std::string insert = ToLineFeeds(text);
  if (!plain_) {
    RtfReplace(rtf_, selStart_, selLength_, RtfTextOfAnsi(insert));
    if (typing_) RtfChangeFormat(rtf_, selStart_, insert.size(), *typing_);
  }
  text_.replace(selStart_, selLength_, insert);
  MoveColourRuns(selStart_, selLength_, insert.size());
  indexed_ = false;
  selStart_ += insert.size();
  selLength_ = 0;
  modified_ = true;
  firstVisible_ = std::min(firstVisible_, MaxFirstLine());
  Changed();
}

void MemoryRich::ReplaceKeepingFormats(size_t start, const std::string& text) {
  const std::string wanted = ToLineFeeds(text);
  start = std::min(start, text_.size());
  const size_t end = std::min(start + wanted.size(), text_.size());
  if (text_.compare(start, end - start, wanted, 0, end - start) == 0) return;
  if (!plain_) {
    // Run by run, each keeping its format; paragraph marks are the '\n's.
    const std::u16string chars = RtfTextOfAnsi(wanted);
    size_t pos = 0;
    for (TRtfParagraph& paragraph : rtf_.paragraphs) {
      for (TRtfRun& run : paragraph.runs) {
        for (char16_t& c : run.text) {
          if (pos >= start && pos < end) c = chars[pos - start];
          ++pos;
        }
      }
      ++pos;  // the paragraph's mark
      if (pos >= end) break;
    }
  }
  text_.replace(start, end - start, wanted, 0, end - start);
  modified_ = true;
  Changed();
}

void MemoryRich::ReplaceRanges(const std::vector<TReplacement>& replacements) {
  if (replacements.empty()) return;
  std::vector<TMovedSpan> moved;
  size_t caret = 0;
  // From the last to the first, so that the positions still to come hold.
  for (auto it = replacements.rbegin(); it != replacements.rend(); ++it) {
    const size_t start = std::min(it->start, text_.size());
    const size_t length = std::min(it->length, text_.size() - start);
    const std::string insert = ToLineFeeds(it->text);
    if (!plain_) RtfReplace(rtf_, start, length, RtfTextOfAnsi(insert));
    text_.replace(start, length, insert);
    moved.push_back({start, length, insert.size()});
    caret = it == replacements.rbegin() ? start + insert.size() : caret + insert.size() - length;
  }
  std::reverse(moved.begin(), moved.end());
  MoveColourRuns(moved);
  selStart_ = caret;
  selLength_ = 0;
  typing_.reset();
  indexed_ = false;
  modified_ = true;
  firstVisible_ = std::min(firstVisible_, MaxFirstLine());
  Changed();
}

void MemoryRich::IndexLines() const {
  if (indexed_) return;
  lineStarts_.assign(1, 0);
  for (size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n') lineStarts_.push_back(i + 1);
  }
  indexed_ = true;
}

size_t MemoryRich::LineCount() const {
  IndexLines();
  return lineStarts_.size();
}

size_t MemoryRich::LineFromChar(size_t pos) const {
  IndexLines();
  pos = std::min(pos, text_.size());
  return std::upper_bound(lineStarts_.begin(), lineStarts_.end(), pos) - lineStarts_.begin() - 1;
}

size_t MemoryRich::LineIndex(size_t line) const {
  IndexLines();
  return line < lineStarts_.size() ? lineStarts_[line] : text_.size();
}

size_t MemoryRich::LineLength(size_t line) const {
  IndexLines();
  if (line >= lineStarts_.size()) return 0;
  size_t end = line + 1 < lineStarts_.size() ? lineStarts_[line + 1] - 1 : text_.size();
  return end - lineStarts_[line];
}

size_t MemoryRich::MaxFirstLine() const {
  size_t lines = LineCount();
  return lines > visibleLines_ ? lines - visibleLines_ : 0;
}

void MemoryRich::ScrollLines(long lines) {
  long target = static_cast<long>(firstVisible_) + lines;
  if (target < 0) target = 0;
  firstVisible_ = std::min(static_cast<size_t>(target), MaxFirstLine());
}

void MemoryRich::ScrollCaret() {
  size_t caretLine = LineFromChar(selStart_ + selLength_);
  if (caretLine < firstVisible_) {
    firstVisible_ = caretLine;
  } else if (caretLine >= firstVisible_ + visibleLines_) {
    firstVisible_ = caretLine - visibleLines_ + 1;
  }
}

void MemoryRich::ScrollToBottom() {
  firstVisible_ = MaxFirstLine();
}

size_t MemoryRich::BottomLeftPos() const {
  size_t last = std::min(firstVisible_ + visibleLines_, LineCount()) - 1;
  return LineIndex(last);
}

void MemoryRich::SetRedraw(bool on) {
  if (on && !redraw_) ++repaints_;
  redraw_ = on;
}

void MemoryRich::SetEditorFont(const std::string& name, int size, bool bold) {
  fontName_ = name;
  fontSize_ = size;
  fontBold_ = bold;
}

void MemoryRich::SetPlainText(bool plain) {
  if (plain_ && !plain) rtf_ = RtfDocumentOfText(text_, TextFormat(fontName_, fontSize_));
  plain_ = plain;
}

TRtfCharFormat MemoryRich::CharFormatAt(size_t pos) const {
  if (plain_) return TextFormat(fontName_, fontSize_);
  return RtfFormatAt(rtf_, pos);
}

void MemoryRich::ChangeCharFormat(size_t start, size_t length, const TRtfFormatChange& change) {
  if (plain_) return;
  if (length == 0) {
    if (start != selStart_ || selLength_ != 0) Select(start, 0);
    if (!typing_) typing_.emplace();
    typing_->Add(change);
    return;
  }
  RtfChangeFormat(rtf_, start, length, change);
  modified_ = true;
  Changed();
}

void MemoryRich::AlignParagraphs(size_t start, size_t length, TRtfAlign align) {
  if (plain_) return;
  RtfAlignParagraphs(rtf_, start, length, align);
  modified_ = true;
  Changed();
}

void MemoryRich::SetRtfSource(const std::string& rtf) {
  TRtfDocument doc = ParseRtf(rtf);
  plain_ = true;
  SetText(RtfPlainText(doc));
  plain_ = false;
  rtf_ = std::move(doc);
}

std::string MemoryRich::GetRtfSource() const {
  if (plain_) return ComposeRtf(RtfDocumentOfText(text_, TextFormat(fontName_, fontSize_)));
  return ComposeRtf(rtf_);
}

int MemoryRich::CharColour(size_t pos) const {
  if (plain_) return -1;
  size_t at = 0;
  for (const TRtfParagraph& paragraph : rtf_.paragraphs) {
    for (const TRtfRun& run : paragraph.runs) {
      if (pos < at + run.text.size()) {
        const int32_t rgb = run.format.color;
        if (rgb < 0) return -1;
        return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
      }
      at += run.text.size();
    }
    if (pos == at) return -1;  // the paragraph's end
    ++at;
  }
  return -1;
}

}  // namespace quorrel::test
