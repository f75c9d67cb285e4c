#pragma once
// The word count a letter or script may give near its start ("about 1,234 words"),
// brought up to date. Texts are Windows-1252 bytes.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

// Where the number of a word count stands: a number (digits and commas) before
// " words" in the first 500 characters, after a blank or a tab.
struct TWordCountField {
  size_t offset = 0;
  size_t length = 0;
};
std::optional<TWordCountField> FindWordCount(std::string_view text);

// A count as the document gives it: a comma between each three digits from the
// right ("1,234"; "999").
std::string FormatWordCount(size_t words);

}  // namespace quorrel
