#include "commands/FindWorkText.h"

namespace quorrel {

void TWorkText::Join() {
  if (done_.empty()) return;
  done_.append(source_, rest_, std::string::npos);
  source_ = std::move(done_);
  done_.clear();
  rest_ = 0;
}

std::string_view TWorkText::Tail(size_t offset) {
  if (offset < done_.size()) Join();
  return std::string_view(source_).substr(rest_ + offset - done_.size());
}

std::string TWorkText::Substr(size_t offset, size_t length) const {
  std::string out;
  out.reserve(length);
  if (offset < done_.size()) out.append(done_, offset, length);
  if (offset + length > done_.size()) {
    const size_t from = offset > done_.size() ? offset - done_.size() : 0;
    const size_t count = offset + length - done_.size() - from;
    out.append(source_, rest_ + from, count);
  }
  return out;
}

size_t TWorkText::Find(std::string_view pattern, size_t from, size_t limit,
                       const TSearchOptions& options) {
  if (from < done_.size()) Join();
  if (limit > Size()) limit = Size();
  if (from > limit) return std::string::npos;
  const size_t base = done_.size();
  const std::string_view rest = std::string_view(source_).substr(rest_);
  size_t start = from - base;
  for (;;) {
    const size_t at = FindOccurrence(rest, pattern, start, limit - base, options);
    if (at == std::string::npos) return at;
    // The character before the junction is in the final part.
    const bool joinedToWord = options.wholeWords && at == 0 && base > 0 &&
                              IsWordChar(done_.back()) && IsWordChar(pattern.front());
    if (!joinedToWord) return base + at;
    start = at + 1;
  }
}

void TWorkText::Replace(size_t offset, size_t length, std::string_view text) {
  if (offset < done_.size()) Join();
  const size_t skipped = offset - done_.size();
  done_.append(source_, rest_, skipped);
  done_.append(text);
  rest_ += skipped + length;
}

std::string TWorkText::Take() && {
  Join();
  if (rest_ > 0) source_.erase(0, rest_);
  return std::move(source_);
}

}  // namespace quorrel
