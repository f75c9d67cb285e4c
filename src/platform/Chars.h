#pragma once
// Character classes of Windows-1252 text as the rules of the program mean them:
// ASCII only, whatever the locale (std::isalpha would take accented letters in
// some locales, and is undefined for negative chars).
#include <string_view>

namespace quorrel {

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool IsLowerLetter(char c) {
  return c >= 'a' && c <= 'z';
}
inline bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The text without the blanks and tabs round it.
inline std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace quorrel
