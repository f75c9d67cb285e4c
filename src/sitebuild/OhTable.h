#pragma once
// The two-column table of .OH: each paragraph a row, the row's first tab between
// its two cells.
#include <string>

namespace quorrel {

struct TBuildRun;

// .OH: opens the table (with a border when the command has an argument).
void RunOhCommand(TBuildRun& run);
// An empty line inside the table: ends the row and opens the next.
void NextOhRow(TBuildRun& run);
// The markup that closes an open table ("" when none is open); the table is closed.
std::string CloseOhTable(TBuildRun& run);

}  // namespace quorrel
