#pragma once
// The .TA table: the lines after the command are its rows, cells split at "|".

namespace quorrel {

struct TBuildRun;

// Help topic of the table command.
inline constexpr int kTableHelp = 58140;

void RunTableCommand(TBuildRun& run);

}  // namespace quorrel
