#include "platform/RtfMasterWords.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <string>

namespace quorrel {

namespace {

std::string Lower(const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool IsFixedPitch(const std::string& font) {
  static constexpr std::array kMarks = {"courier", "mono", "consolas", "console", "fixed",
                                        "terminal", "typewriter"};
  const std::string lower = Lower(font);
  return std::any_of(kMarks.begin(), kMarks.end(),
                     [&](const char* mark) { return lower.find(mark) != std::string::npos; });
}

// The font and size most of the text is in.
TRtfCharFormat MainFormat(const TRtfDocument& document) {
  std::map<std::pair<std::string, int>, size_t> counts;
  TRtfCharFormat main = document.paragraphs.empty() ? TRtfCharFormat()
                                                    : document.paragraphs[0].markFormat;
  size_t best = 0;
  for (const TRtfParagraph& p : document.paragraphs) {
    for (const TRtfRun& run : p.runs) {
      const size_t count = counts[{run.format.font, run.format.halfPoints}] += run.text.size();
      if (count > best) {
        best = count;
        main.font = run.format.font;
        main.halfPoints = run.format.halfPoints;
      }
    }
  }
  return main;
}

class TMasterWords {
 public:
  explicit TMasterWords(const TRtfDocument& document) : main_(MainFormat(document)) {}

  TRtfCharFormat Format(const TRtfCharFormat& from) {
    TRtfCharFormat to = from;
    to.halfPoints = main_.halfPoints;
    to.font = main_.font;
    if (from.font != main_.font && IsFixedPitch(from.font) && !IsFixedPitch(main_.font)) {
      if (fixed_.empty()) fixed_ = from.font;
      to.font = fixed_;
    }
    to.caps = false;
    to.highlight = -1;
    return to;
  }

 private:
  TRtfCharFormat main_;
  std::string fixed_;
};

std::u16string Text(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t ch : text) {
    if (ch == kRtfOptionalHyphen) continue;
    out += ch == kRtfNonBreakingHyphen ? u'-' : ch;
  }
  return out;
}

}  // namespace

bool IsDotMasterDocument(const TRtfDocument& document) {
  if (document.paragraphs.empty()) return false;
  std::u16string start;
  for (const TRtfRun& run : document.paragraphs[0].runs) {
    start += run.text;
    if (start.size() >= 3) break;
  }
  return start.size() >= 3 && start[0] == u'.' && (start[1] == u'P' || start[1] == u'p') &&
         (start[2] == u'G' || start[2] == u'g');
}

TRtfDocument InMasterWords(const TRtfDocument& document) {
  TMasterWords words(document);
  TRtfDocument out;
  out.paragraphs.reserve(document.paragraphs.size());
  for (const TRtfParagraph& p : document.paragraphs) {
    TRtfParagraph q;
    q.format = p.format;
    q.markFormat = words.Format(p.markFormat);
    for (const TRtfRun& run : p.runs) {
      AppendRun(q, Text(run.text), words.Format(run.format));
    }
    out.paragraphs.push_back(std::move(q));
  }
  return out;
}

}  // namespace quorrel
