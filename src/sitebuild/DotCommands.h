#pragma once
// Line ends and the dot-command lines of a master.
#include <string>

namespace quorrel {

struct TBuildRun;

// Called by the main loop for every CR LF: paragraphs, line ends and command lines.
void HandleLineEnd(TBuildRun& run);
// Reads a command line (after its ".") and runs the command it names.
void RunDotCommand(TBuildRun& run);

// The next line of a command that reads the lines after it (tables, videos,
// notes), through the reader. False, with nothing read, when the command's lines
// have ended: at an empty line, a command line or the end of the source, which are
// left for the page.
bool ReadTextLine(TBuildRun& run, std::string& line);

}  // namespace quorrel
