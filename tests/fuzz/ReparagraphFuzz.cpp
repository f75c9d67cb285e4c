// libFuzzer target of re-paragraphing: any text, as plain text or as a page, is
// re-paragraphed without a crash, an overrun or a hang, and plain text keeps its
// words in their order (only blanks, line breaks and quote marks may change). Built
// and run by scripts/fuzz with the target "reparagraph", outside the suite.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "edit/Reparagraph.h"
#include "edit/ReparagraphWords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool html = data[0] & 1;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string out = quorrel::ReparagraphText(text, html);
  if (!html && quorrel::test::Words(out) != quorrel::test::Words(text)) {
    std::fprintf(stderr, "re-paragraphing lost, gained or moved words\n");
    std::abort();
  }
  return 0;
}
