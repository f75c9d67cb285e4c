#pragma once
// Built pages read by real HTML checkers.
#include <string>
#include <vector>

namespace quorrel::test {

// A checker's complaints about a file (its error output): command and its
// arguments, the file last.
std::string CheckerComplaints(const std::vector<std::string>& command, const std::string& file);

// The page exists, tidy finds no error in it, xmllint nothing at all, and it
// refers to no control character (&#128; to &#159;).
void ExpectValidPage(const std::string& path);

}  // namespace quorrel::test
