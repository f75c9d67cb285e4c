#include "shell/TextSearch.h"

#include "platform/Chars.h"
#include "shell/FastStrings.h"

namespace quorrel {

bool IsWordChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (IsLetter(c) || IsDigit(c) || c == '_') return true;
  // Accented letters of Windows-1252, its letters among 0x83-0x9F, and the letters
  // among its signs: the ordinals, and micro.
  if (u >= 0xC0 && u != 0xD7 && u != 0xF7) return true;
  return u == 0x83 || u == 0x8A || u == 0x8C || u == 0x8E || u == 0x9A || u == 0x9C || u == 0x9E ||
         u == 0x9F || u == 0xAA || u == 0xB5 || u == 0xBA;
}

size_t FindOccurrence(std::string_view text, std::string_view pattern, size_t from, size_t limit,
                      const TSearchOptions& options) {
  if (pattern.empty()) return std::string_view::npos;
  if (limit > text.size()) limit = text.size();
  const std::string_view range = text.substr(0, limit);
  size_t start = from + 1;
  while (start + pattern.size() - 1 <= range.size()) {
    const size_t at =
        options.caseSensitive ? PosCase(pattern, range, start) : PosNoCase(pattern, range, start);
    if (at == 0) return std::string_view::npos;
    const size_t pos = at - 1;
    if (!options.wholeWords) return pos;
    const size_t end = pos + pattern.size();
    const bool before = pos > 0 && IsWordChar(text[pos - 1]) && IsWordChar(pattern.front());
    const bool after = end < text.size() && IsWordChar(text[end]) && IsWordChar(pattern.back());
    if (!before && !after) return pos;
    start = at + 1;
  }
  return std::string_view::npos;
}

}  // namespace quorrel
