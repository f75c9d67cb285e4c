#pragma once
// The silent abort: thrown to unwind a command after its one message (or after
// the user cancelled). The command dispatcher drops it without a further word.
#include <stdexcept>

namespace quorrel {

class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] inline void Abort() { throw EAbort(); }

}  // namespace quorrel
