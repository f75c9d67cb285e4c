#include "platform/RtfModel.h"

#include <algorithm>
#include <cctype>

#include "platform/CodePage.h"

namespace quorrel {

void AppendRun(TRtfParagraph& paragraph, std::u16string_view text, const TRtfCharFormat& format) {
  if (text.empty()) return;
  if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
    paragraph.runs.back().text.append(text);
    return;
  }
  paragraph.runs.push_back(TRtfRun{std::u16string(text), format});
}

std::string RtfPlainText(const TRtfDocument& document) {
  std::string text;
  bool first = true;
  for (const TRtfParagraph& paragraph : document.paragraphs) {
    if (!first) text += "\r\n";
    first = false;
    for (const TRtfRun& run : paragraph.runs) {
      for (char16_t ch : run.text) {
        text += ch == 0x2028 ? '\v' : static_cast<char>(UnicodeToAnsi(ch));
      }
    }
  }
  return text;
}

TRtfDocument RtfDocumentOfText(const std::string& ansi, const TRtfCharFormat& format) {
  TRtfDocument document;
  document.paragraphs.emplace_back();
  document.paragraphs.back().markFormat = format;
  std::u16string line;
  auto endParagraph = [&](bool more) {
    AppendRun(document.paragraphs.back(), line, format);
    line.clear();
    if (more) {
      document.paragraphs.emplace_back();
      document.paragraphs.back().markFormat = format;
    }
  };
  for (size_t i = 0; i < ansi.size(); ++i) {
    const auto byte = static_cast<unsigned char>(ansi[i]);
    if (byte == '\r' || byte == '\n') {
      if (byte == '\r' && i + 1 < ansi.size() && ansi[i + 1] == '\n') ++i;
      endParagraph(true);
    } else {
      line += byte == '\v' ? char16_t{0x2028} : AnsiToUnicode(byte);
    }
  }
  endParagraph(false);
  return document;
}

std::u16string RtfTextOfAnsi(const std::string& ansi) {
  std::u16string text;
  text.reserve(ansi.size());
  for (char c : ansi) {
    text += c == '\v' ? char16_t{0x2028} : AnsiToUnicode(static_cast<unsigned char>(c));
  }
  return text;
}

namespace {

size_t ParagraphLength(const TRtfParagraph& p) {
  size_t length = 0;
  for (const TRtfRun& run : p.runs) length += run.text.size();
  return length;
}

// The runs of a paragraph before and from an offset.
void SplitRuns(const std::vector<TRtfRun>& runs, size_t offset, std::vector<TRtfRun>& before,
               std::vector<TRtfRun>& after) {
  for (const TRtfRun& run : runs) {
    if (offset >= run.text.size()) {
      before.push_back(run);
      offset -= run.text.size();
    } else if (offset == 0) {
      after.push_back(run);
    } else {
      before.push_back(TRtfRun{run.text.substr(0, offset), run.format});
      after.push_back(TRtfRun{run.text.substr(offset), run.format});
      offset = 0;
    }
  }
}

// The paragraph holding an editor position, and the offset in it.
void Locate(const TRtfDocument& doc, size_t pos, size_t& paragraph, size_t& offset) {
  for (paragraph = 0; paragraph + 1 < doc.paragraphs.size(); ++paragraph) {
    const size_t length = ParagraphLength(doc.paragraphs[paragraph]);
    if (pos <= length) break;
    pos -= length + 1;
  }
  offset = std::min(pos, ParagraphLength(doc.paragraphs[paragraph]));
}

void AppendRuns(TRtfParagraph& paragraph, const std::vector<TRtfRun>& runs) {
  for (const TRtfRun& run : runs) AppendRun(paragraph, run.text, run.format);
}

}  // namespace

size_t RtfLength(const TRtfDocument& document) {
  size_t length = document.paragraphs.empty() ? 0 : document.paragraphs.size() - 1;
  for (const TRtfParagraph& p : document.paragraphs) length += ParagraphLength(p);
  return length;
}

void RtfReplace(TRtfDocument& doc, size_t pos, size_t length, std::u16string_view text) {
  if (doc.paragraphs.empty()) doc.paragraphs.emplace_back();
  size_t first, firstOffset, last, lastOffset;
  Locate(doc, pos, first, firstOffset);
  Locate(doc, pos + length, last, lastOffset);
  std::vector<TRtfRun> head, dropped, tail, ignored;
  SplitRuns(doc.paragraphs[first].runs, firstOffset, head, ignored);
  SplitRuns(doc.paragraphs[last].runs, lastOffset, dropped, tail);
  TRtfCharFormat format = doc.paragraphs[first].markFormat;
  if (!head.empty()) {
    format = head.back().format;
  } else if (!ignored.empty()) {
    format = ignored.front().format;
  }
  const TRtfParaFormat paraFormat = doc.paragraphs[first].format;
  std::vector<TRtfParagraph> made(1);
  made[0].format = paraFormat;
  made[0].markFormat = doc.paragraphs[first].markFormat;
  for (const TRtfRun& run : head) AppendRun(made[0], run.text, run.format);
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n') continue;
    AppendRun(made.back(), text.substr(start, i - start), format);
    if (i < text.size()) {
      made.emplace_back();
      made.back().format = paraFormat;
      made.back().markFormat = format;
    }
    start = i + 1;
  }
  for (const TRtfRun& run : tail) AppendRun(made.back(), run.text, run.format);
  for (TRtfParagraph& p : made) {
    if (!p.runs.empty()) p.markFormat = p.runs.front().format;
  }
  doc.paragraphs.erase(doc.paragraphs.begin() + first, doc.paragraphs.begin() + last + 1);
  doc.paragraphs.insert(doc.paragraphs.begin() + first, made.begin(), made.end());
}

void RtfInsertDocument(TRtfDocument& target, size_t pos, size_t length,
                       const TRtfDocument& insert) {
  if (insert.paragraphs.empty()) return;
  RtfReplace(target, pos, length, u"");
  size_t index, offset;
  Locate(target, pos, index, offset);
  const TRtfParagraph host = target.paragraphs[index];
  std::vector<TRtfRun> head, tail;
  SplitRuns(host.runs, offset, head, tail);

  std::vector<TRtfParagraph> made(insert.paragraphs.begin(), insert.paragraphs.end());
  // The first inserted paragraph joins the text before the position; its mark is
  // the inserted one unless the insert is a single paragraph, which takes the host's.
  TRtfParagraph& first = made.front();
  std::vector<TRtfRun> firstRuns = std::move(first.runs);
  first.runs.clear();
  AppendRuns(first, head);
  AppendRuns(first, firstRuns);
  if (made.size() == 1) first.format = host.format;
  // The last one carries the rest of the host paragraph and the host's mark.
  TRtfParagraph& last = made.back();
  AppendRuns(last, tail);
  if (made.size() > 1) {
    last.format = host.format;
    if (last.runs.empty()) last.markFormat = host.markFormat;
  }
  for (TRtfParagraph& paragraph : made) {
    if (!paragraph.runs.empty()) paragraph.markFormat = paragraph.runs.front().format;
  }
  target.paragraphs.erase(target.paragraphs.begin() + static_cast<long>(index));
  target.paragraphs.insert(target.paragraphs.begin() + static_cast<long>(index), made.begin(),
                           made.end());
}

void TRtfFormatChange::ApplyTo(TRtfCharFormat& format) const {
  if (font) format.font = *font;
  if (halfPoints) format.halfPoints = *halfPoints;
  if (bold) format.bold = *bold;
  if (italic) format.italic = *italic;
  if (underline) format.underline = *underline;
  if (strike) format.strike = *strike;
  if (script) format.script = *script;
  if (color) format.color = *color;
  if (highlight) format.highlight = *highlight;
}

void TRtfFormatChange::Add(const TRtfFormatChange& later) {
  if (later.font) font = later.font;
  if (later.halfPoints) halfPoints = later.halfPoints;
  if (later.bold) bold = later.bold;
  if (later.italic) italic = later.italic;
  if (later.underline) underline = later.underline;
  if (later.strike) strike = later.strike;
  if (later.script) script = later.script;
  if (later.color) color = later.color;
  if (later.highlight) highlight = later.highlight;
}

TRtfCharFormat RtfFormatAt(const TRtfDocument& document, size_t pos) {
  if (document.paragraphs.empty()) return {};
  size_t index, offset;
  Locate(document, pos, index, offset);
  const TRtfParagraph& paragraph = document.paragraphs[index];
  const TRtfRun* last = nullptr;
  for (const TRtfRun& run : paragraph.runs) {
    if (offset < run.text.size()) return run.format;
    offset -= run.text.size();
    last = &run;
  }
  return last ? last->format : paragraph.markFormat;
}

void RtfChangeFormat(TRtfDocument& document, size_t pos, size_t length,
                     const TRtfFormatChange& change) {
  if (length == 0 || document.paragraphs.empty()) return;
  size_t first, firstOffset, last, lastOffset;
  Locate(document, pos, first, firstOffset);
  Locate(document, pos + length, last, lastOffset);
  for (size_t index = first; index <= last; ++index) {
    TRtfParagraph& paragraph = document.paragraphs[index];
    const size_t from = index == first ? firstOffset : 0;
    const size_t to = index == last ? lastOffset : ParagraphLength(paragraph);
    if (paragraph.runs.empty()) {
      // The mark of an empty paragraph is selected with the line end after it.
      if (index < last) change.ApplyTo(paragraph.markFormat);
      continue;
    }
    std::vector<TRtfRun> runs = std::move(paragraph.runs);
    paragraph.runs.clear();
    size_t at = 0;
    for (TRtfRun& run : runs) {
      const size_t end = at + run.text.size();
      const size_t cutFrom = std::clamp(from, at, end) - at;
      const size_t cutTo = std::clamp(to, at, end) - at;
      if (cutFrom < cutTo) {
        TRtfCharFormat changed = run.format;
        change.ApplyTo(changed);
        AppendRun(paragraph, std::u16string_view(run.text).substr(0, cutFrom), run.format);
        AppendRun(paragraph, std::u16string_view(run.text).substr(cutFrom, cutTo - cutFrom),
                  changed);
        AppendRun(paragraph, std::u16string_view(run.text).substr(cutTo), run.format);
      } else {
        AppendRun(paragraph, run.text, run.format);
      }
      at = end;
    }
    paragraph.markFormat = paragraph.runs.front().format;
  }
}

void RtfAlignParagraphs(TRtfDocument& document, size_t pos, size_t length, TRtfAlign align) {
  if (document.paragraphs.empty()) return;
  size_t first, last, offset;
  Locate(document, pos, first, offset);
  Locate(document, pos + length, last, offset);
  for (size_t index = first; index <= last; ++index)
    document.paragraphs[index].format.align = align;
}

bool IsSymbolFont(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "symbol" || lower.starts_with("wingdings") || lower == "webdings" ||
         lower == "marlett" || lower == "mt extra";
}

}  // namespace quorrel
