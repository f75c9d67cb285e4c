#pragma once
// The search of one occurrence of a text, as Find searches a document and the
// site scan searches files: with or without regard to case, whole words or any.
// Texts are Windows-1252 bytes; offsets are 0-based indexes into the text.
#include <cstddef>
#include <string_view>

namespace quorrel {

// Whether a character counts as part of a word for "Whole words": letters (the
// accented ones too), digits and "_".
bool IsWordChar(char c);

struct TSearchOptions {
  bool caseSensitive = false;
  bool wholeWords = false;
};

// The first occurrence of pattern at or after from that ends at or before limit;
// npos when none. Whole words look at the characters round the occurrence, which
// may lie outside [from, limit).
size_t FindOccurrence(std::string_view text, std::string_view pattern, size_t from, size_t limit,
                      const TSearchOptions& options);

}  // namespace quorrel
