#pragma once
// The XML re-layout: checks that the elements of a document nest, and writes it
// again with one element per line, indented two blanks per level, lines ending
// CR LF. Elements that hold only text stay on one line; comments, processing
// instructions, CDATA sections and the DOCTYPE are copied as they stand.
#include <optional>
#include <string>

#include "shell/Page.h"

namespace quorrel {

inline constexpr char XmlFinalLevelMessage[] = "XML final level non-zero.";
// Each level indents its lines by two more blanks, so the laid-out text grows with
// the square of the depth: deeper documents are refused before they exhaust memory.
constexpr size_t MaxXmlDepth = 1000;
inline constexpr char XmlTooDeepMessage[] = "Nesting too deep: more than 1000 levels.";

struct TXmlLayout {
  std::string out;  // the re-laid text (incomplete after an error)
  // The first error. Its offset (0-based, into the input) is shown before the
  // message, unless the message stands alone (atOffset false).
  std::optional<TValidationError> error;
};

// Lays out the text, which begins with its XML declaration. Never recurses on the
// nesting: any depth is handled on the heap.
TXmlLayout LayOutXml(const std::string& text);

}  // namespace quorrel
