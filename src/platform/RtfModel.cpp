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

bool IsSymbolFont(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "symbol" || lower.rfind("wingdings", 0) == 0 || lower == "webdings" ||
         lower == "marlett" || lower == "mt extra";
}

}  // namespace quorrel
