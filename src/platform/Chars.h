#pragma once
// Character classes of Windows-1252 text as the rules of the program mean them:
// ASCII only, whatever the locale (std::isalpha would take accented letters in
// some locales, and is undefined for negative chars).
namespace quorrel {

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace quorrel
