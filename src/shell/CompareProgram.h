#pragma once
// The outside file-compare program, which shows two files side by side. Paths are
// Windows-1252 bytes.
#include <string>

namespace quorrel {

// The help topic of the question where the compare program is.
inline constexpr int CompareProgramHelp = 32120;

// The compare program: [System] "ExamDiff" of the settings, else the first of
// "meld" and "kdiff3" found on the search path; "" when there is none.
std::string CompareProgram();

// TWebForm.RunExamDiff: the compare program on two files, each its own argument.
// A program that cannot be found is asked for (and the answer stored); the compare
// program this started before is ended first. The program is not waited for.
void RunExamDiff(const std::string& file1, const std::string& file2);

}  // namespace quorrel
