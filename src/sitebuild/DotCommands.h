#pragma once
// Line ends and the dot-command lines of a master.

namespace quorrel {

// Called by the main loop for every CR LF: paragraphs, line ends and command lines.
void HandleLineEnd();
// Reads a command line (after its ".") and runs the command it names.
void RunDotCommand();

}  // namespace quorrel
