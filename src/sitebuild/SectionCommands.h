#pragma once
// Commands of one line that mark a page's sections or the run: .SE, .HR, .ZI, .DT.
#include <string>

namespace quorrel {

struct TBuildRun;

// .SE: a section start with the line image, the argument as its title and, up to
// its first blank, its id.
void RunSectionCommand(TBuildRun& run);
// .HR: a rule image, and with an argument a section title below it.
void RunRuleCommand(TBuildRun& run);
// .ZI: the archiver's arguments for the end of the run.
void RunArchiveListCommand(TBuildRun& run);
// .DT: dance entries drawn from one particular site's tune list; refused here.
void RunDanceTableCommand(TBuildRun& run);

// The command's argument without the blanks round it.
std::string CommandArgument(TBuildRun& run);

}  // namespace quorrel
