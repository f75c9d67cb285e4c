#pragma once
// Entry points of the shell that the start-up and the tab change call but whose
// own parts live higher up.
#include <string>

namespace quorrel {

// The activation check (a document changed on disk or gone); editor/Activation.h.
void MyActivate();

}  // namespace quorrel
