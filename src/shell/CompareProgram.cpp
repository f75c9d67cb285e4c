#include "shell/CompareProgram.h"

namespace quorrel {

void RunExamDiff(const std::string&, const std::string&) {}

}  // namespace quorrel
