#pragma once
// Small text searches of the HTML validator's page steps: 0-based indexes, letters
// matched without regard to case, npos when absent.
#include <string>
#include <string_view>

#include "shell/FastStrings.h"

namespace quorrel::html {

inline size_t Find(const std::string& text, std::string_view pattern, size_t from = 0) {
  if (from >= text.size()) return std::string::npos;
  const size_t at = PosNoCase(pattern, text, from + 1);
  return at == 0 ? std::string::npos : at - 1;
}

inline bool Has(const std::string& text, std::string_view pattern) {
  return PosNoCase(pattern, text) != 0;
}

// Where the line holding `at` ends, after its line end (the text's end when it has none).
inline size_t AfterLine(const std::string& text, size_t at) {
  const size_t end = text.find('\n', at);
  return end == std::string::npos ? text.size() : end + 1;
}

// Whether the part stands at the index (exact case); false past the end.
inline bool StartsAt(std::string_view text, size_t at, std::string_view part) {
  return !part.empty() && at <= text.size() && text.substr(at).starts_with(part);
}

// Whether the part stands at the index, letters in any case; false past the end.
inline bool StartsAtNoCase(std::string_view text, size_t at, std::string_view part) {
  if (at > text.size() || text.size() - at < part.size()) return false;
  return PosNoCase(part, text.substr(at, part.size())) == 1;
}

// At most n characters before the index, fewer near the start of the text.
inline std::string CharsBefore(std::string_view text, size_t at, size_t n) {
  if (at > text.size()) at = text.size();
  const size_t from = at > n ? at - n : 0;
  return std::string(text.substr(from, at - from));
}

// At most n characters from the index, fewer near the end of the text.
inline std::string CharsFrom(std::string_view text, size_t at, size_t n) {
  if (at > text.size()) return "";
  return std::string(text.substr(at, n));
}

inline std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \n\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \n\r") - first + 1);
}

}  // namespace quorrel::html
