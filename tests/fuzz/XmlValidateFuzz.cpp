// libFuzzer target: the XML layout on any bytes after a declaration ends without a
// crash, an overrun or a hang, and a document it lays out is laid out again as it
// stands. Built and run by scripts/fuzz, outside the test suite.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "validate/XmlLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorrel;
  const std::string text =
      "<?xml version=\"1.0\"?>" + std::string(reinterpret_cast<const char*>(data), size);
  const TXmlLayout first = LayOutXml(text);
  if (first.error) return 0;
  const TXmlLayout second = LayOutXml(first.out);
  if (second.error || second.out != first.out) std::abort();  // the layout is not stable
  return 0;
}
