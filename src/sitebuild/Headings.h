#pragma once
// The heading commands .T1, .T2 and .T3.
#include <string>

namespace quorrel {

struct TBuildRun;

// Help topic of the heading commands.
inline constexpr int kHeadingHelp = 58130;

// .T1 (level 1), .T2 and .T3: a heading with its text and optional anchor.
void RunHeadingCommand(TBuildRun& run, int level);

// The anchor made from a text: blanks as "_", then only letters, digits and "_".
std::string AnchorFromText(const std::string& text);

}  // namespace quorrel
