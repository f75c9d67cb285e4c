#pragma once
// A document's text while a command replaces in it, left to right: the part before
// the junction is final, the rest is still the original's, so that thousands of
// replacements in a large text cost one pass, not a copy each. Offsets are 0-based
// into the text as it now reads.
#include <cstddef>
#include <string>
#include <string_view>

#include "commands/FindText.h"

namespace quorrel {

class TWorkText {
 public:
  explicit TWorkText(std::string text) : source_(std::move(text)) {}

  size_t Size() const { return done_.size() + source_.size() - rest_; }
  char At(size_t offset) const {
    return offset < done_.size() ? done_[offset] : source_[rest_ + offset - done_.size()];
  }
  // The text from offset on, as it now reads (a view until the next change).
  std::string_view Tail(size_t offset);
  // length characters from offset, as the text now reads.
  std::string Substr(size_t offset, size_t length) const;

  // The first occurrence at or after from that ends at or before limit; npos when none.
  size_t Find(std::string_view pattern, size_t from, size_t limit, const TSearchOptions& options);

  // Replaces length characters at offset by the text.
  void Replace(size_t offset, size_t length, std::string_view text);

  // The whole text; the object is spent.
  std::string Take() &&;

 private:
  // Makes the text one string again, for a search or change before the junction.
  void Join();

  std::string done_;
  std::string source_;
  size_t rest_ = 0;  // where the original's unchanged part begins in source_
};

}  // namespace quorrel
