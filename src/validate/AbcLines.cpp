#include "validate/AbcLines.h"

#include "platform/Chars.h"
#include "shell/TextLines.h"

namespace quorrel {

bool IsBlankLine(std::string_view line) {
  return TrimBlanks(line).empty();
}

bool IsCommentLine(std::string_view line) {
  return !line.empty() && line[0] == '%';
}

bool IsFieldLine(std::string_view line) {
  return line.size() >= 2 && IsLetter(line[0]) && line[1] == ':';
}

bool IsMusicLine(std::string_view line) {
  return !IsBlankLine(line) && !IsCommentLine(line) && !IsFieldLine(line);
}

bool IsFieldOf(std::string_view line, char letter) {
  return IsFieldLine(line) && (line[0] & ~0x20) == letter;
}

size_t CommentStart(std::string_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '%' && !quoted && (i == 0 || line[i - 1] != '\\')) return i;
  }
  return std::string_view::npos;
}

int CountBarLines(std::string_view line) {
  line = line.substr(0, CommentStart(line));
  int bars = 0;
  bool quoted = false;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == '"') quoted = !quoted;
    if (quoted || (c != '|' && !(c == ':' && i + 1 < line.size() && line[i + 1] == ':'))) {
      ++i;
      continue;
    }
    // One run of bar signs: "|", ":" and the brackets that close or open one.
    ++bars;
    while (i < line.size() &&
           (line[i] == '|' || line[i] == ':' || (line[i] == ']' && line[i - 1] == '|'))) {
      ++i;
    }
  }
  return bars;
}

size_t Utf8CharLength(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

std::vector<std::string> AbcLinesOf(const std::string& text) {
  return LinesWithoutEnds(text);
}

std::string AbcTextOf(const std::vector<std::string>& lines) {
  std::string text;
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

size_t AbcLineOffset(const std::vector<std::string>& lines, size_t line) {
  size_t offset = 0;
  for (size_t i = 0; i < line && i < lines.size(); ++i) offset += lines[i].size() + 2;
  return offset;
}

}  // namespace quorrel
