#pragma once
// The ABC validator's walk over the tunes of its work list: the header of each
// tune, its music lines, and what it adds or mends at the tune's end. A fault
// stops the walk with a TAbcStop (validate/AbcRun.h).
#include <cstddef>

#include "validate/AbcRun.h"

namespace quorrel {

// Checks the tunes from the line given: every tune to the end of the text when the
// run takes the whole file, else the one tune starting there.
void WalkTunes(TAbcRun& run, size_t from);

}  // namespace quorrel
