#pragma once
// The words of a text in order, quote marks at their starts left out: all that
// re-paragraphing may change are blanks, line breaks and the quote marks. The
// re-paragraphing tests and its fuzz target compare texts by them.
#include <sstream>
#include <string>
#include <vector>

namespace quorrel::test {

inline std::vector<std::string> Words(std::string text) {
  for (char& c : text) {
    if (c == '\xA0' || c == '\x1A' || c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) {
    const size_t start = word.find_first_not_of('>');
    if (start != std::string::npos) words.push_back(word.substr(start));
  }
  return words;
}

}  // namespace quorrel::test
