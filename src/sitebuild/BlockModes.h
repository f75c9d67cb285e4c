#pragma once
// Blocks of a master whose lines are not ordinary page text: line-preserving and
// monospace blocks, code blocks, and script and style blocks.
#include <cstddef>
#include <string>

namespace quorrel {

struct TBuildRun;

// Switches to the block mode of a command-table position from 1 to 25: the end
// of normal text, a line-preserving block (4 and 7) or a monospace block, or back
// to normal text (16, 19 and 25). Closes what the old mode and an open two-column
// table left open.
void SetBlockMode(TBuildRun& run, size_t position);
// .WW: a code block, whose text shows as typed.
void RunCodeBlockCommand(TBuildRun& run);
// The markup that ends the current block mode and an open two-column table.
std::string LeaveBlockMode(TBuildRun& run, int newMode);

// Emits one source line of a block (its first character is the next input): the
// line, its line end and, unless it is a list tag, "<Br>".
void EmitBlockLine(TBuildRun& run);

// .BS and .ES: a script block; .BY and .EY: a style block. Their text passes to the
// page as typed.
void RunScriptStart(TBuildRun& run, char opener);
void RunScriptEnd(TBuildRun& run, char closer);

}  // namespace quorrel
