#include "validate/RtfWordCount.h"

#include "platform/Chars.h"

namespace quorrel {

namespace {

constexpr size_t kNearStart = 500;
constexpr std::string_view kWords = " words";

}  // namespace

std::optional<TWordCountField> FindWordCount(std::string_view text) {
  const std::string_view start = text.substr(0, kNearStart);
  for (size_t at = start.find(kWords); at != std::string_view::npos;
       at = start.find(kWords, at + 1)) {
    size_t from = at;
    bool digit = false;
    while (from > 0 && (IsDigit(text[from - 1]) || text[from - 1] == ',')) {
      digit = digit || IsDigit(text[from - 1]);
      --from;
    }
    if (digit && from > 0 && IsBlank(text[from - 1])) return TWordCountField{from, at - from};
  }
  return std::nullopt;
}

std::string FormatWordCount(size_t words) {
  const std::string digits = std::to_string(words);
  std::string shown;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) shown += ',';
    shown += digits[i];
  }
  return shown;
}

}  // namespace quorrel
