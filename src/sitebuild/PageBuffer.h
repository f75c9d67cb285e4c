#pragma once
// The page that the page builder is generating from a dot-command master; the
// validators read it while the master is the current document.
#include <string>

namespace quorrel {

// The bytes of the current generated page ("" while no page is being built).
extern std::string PageBuffer;

// Back to the state of a freshly started program.
void ResetPageBuffer();

}  // namespace quorrel
