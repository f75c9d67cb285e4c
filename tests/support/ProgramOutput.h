#pragma once
// What a shell command prints, for tests that check against a real program.
#include <string>

namespace quorrel::test {

// Everything the command writes to its standard output, as written; "" when it
// cannot be started.
std::string ProgramOutput(const std::string& command);

// The text Debian's unrtf reads from RTF source, from the rule under its header
// lines on.
std::string UnrtfText(const std::string& source);

}  // namespace quorrel::test
