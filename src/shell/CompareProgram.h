#pragma once
// The outside file-compare program, which shows two files side by side. Paths are
// Windows-1252 bytes.
#include <string>

namespace quorrel {

// TWebForm.RunExamDiff: starts the compare program on two files. The program's
// setting and its start are still to be built; until then this does nothing.
void RunExamDiff(const std::string& file1, const std::string& file2);

}  // namespace quorrel
