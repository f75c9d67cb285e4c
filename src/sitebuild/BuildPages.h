#pragma once
// The page builder: an RTF master with dot-command lines in, HTML pages out.
#include <string>

#include "sitebuild/BuildState.h"

namespace quorrel {

// Builds the pages of the current document (CurrentFileName on disk, CurrentText in
// the editor): every section, or only the one round the caret. Ends with its pages
// built, or with a message and the silent abort.
void BuildPagesFromRtf(TBuildRun& run, bool oneSection);

// Starts a run on collected source: fresh run state and buffers, a line end first.
void StartBuildRun(TBuildRun& run, std::string source);
// Reads the run's input to its end, emitting the page text.
void RunBuildLoop(TBuildRun& run);

}  // namespace quorrel
