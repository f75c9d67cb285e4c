#pragma once
// The .NO slide notes: an entry of the show's notes file per command.
#include <string>

namespace quorrel {

struct TBuildRun;

// .NO: the title on the command line, the note's lines after it.
void RunNotesCommand(TBuildRun& run);

// Text as RTF text: "\", "{" and "}" escaped, characters from 128 up as "\'xx".
std::string RtfEscaped(const std::string& text);

}  // namespace quorrel
