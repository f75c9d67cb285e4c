// libFuzzer target of re-paragraphing: any text, as plain text or as a page, is
// re-paragraphed without a crash, an overrun or a hang, and plain text keeps its
// words in their order (only blanks, line breaks and quote marks may change). Built
// and run by scripts/fuzz with the target "reparagraph", outside the suite.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "edit/Reparagraph.h"

namespace {

std::vector<std::string> Words(std::string text) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool html = data[0] & 1;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string out = quorrel::ReparagraphText(text, html);
  if (!html && Words(out) != Words(text)) {
    std::fprintf(stderr, "re-paragraphing lost, gained or moved words\n");
    std::abort();
  }
  return 0;
}
