#include "shell/SaveText.h"

#include <vector>

#include "shell/FastStrings.h"
#include "shell/MyRich.h"

namespace quorrel {

namespace {

bool IsTrailing(char c, bool rtf) {
  return c == '\r' || c == '\v' || (!rtf && c == ' ');
}

// A blank, or the no-break space that looks like one.
bool IsBlankOrNbsp(char c) {
  return c == ' ' || c == '\xA0';
}

}  // namespace

std::string TextForDisk(const std::string& text, bool lfOnly, bool rtf) {
  std::string out;
  out.reserve(text.size() + text.size() / 24 + 4);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t last = end;
    while (last > start && IsTrailing(text[last - 1], rtf)) --last;
    out.append(text, start, last - start);
    if (!lfOnly) out += '\r';
    out += '\n';
    start = end + 1;
  }
  if (rtf) out += '\0';
  return out;
}

bool HasLfOnlyLineEnds(const std::string& bytes) {
  return bytes.find('\n') != std::string::npos && bytes.find('\r') == std::string::npos;
}

size_t RtfZeroByte(const std::string& source) {
  return source.find('\0');
}

std::string RtfZeroByteMessage(size_t offset) {
  return "RTF contains X'00' at offset " + std::to_string(offset) +
         ".  If you save this you will lose stuff.";
}

std::string TightenRtfLineBreaks(const std::string& source) {
  if (source.find(" \\line") == std::string::npos) return source;
  return ReplaceAll(source, " \\line", "\\line", true);
}

bool SaveShrankFile(int64_t oldSize, int64_t newSize) {
  return newSize < oldSize - 500;
}

std::string ShrinkWarning(int64_t oldSize, int64_t newSize) {
  return "Warning: Old size was " + std::to_string(oldSize) + "; New size is " +
         std::to_string(newSize);
}

size_t RemoveBlanksBeforeLineEnds(TMyRich& editor) {
  const std::string text = editor.GetText();
  // Runs of blanks as editor positions (one position per line end).
  std::vector<std::pair<size_t, size_t>> runs;
  size_t pos = 0;
  size_t runStart = 0, runLength = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsBlankOrNbsp(c)) {
      if (runLength == 0) runStart = pos;
      ++runLength;
      ++pos;
      continue;
    }
    const bool lineEnd = c == '\r' || c == '\n' || c == '\v';
    if (lineEnd && runLength > 0) runs.emplace_back(runStart, runLength);
    runLength = 0;
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    ++pos;
  }
  // The last paragraph ends where the text ends.
  if (runLength > 0) runs.emplace_back(runStart, runLength);
  size_t removed = 0;
  // From the end, so that the positions before stay right.
  for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
    editor.Select(it->first, it->second);
    editor.SetSelText("");
    removed += it->second;
  }
  return removed;
}

}  // namespace quorrel
