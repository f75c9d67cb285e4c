#pragma once
// Entry points of the shell that the start-up and the tab change call but whose
// own parts are still to be built: the marker store. Each keeps its
// real name and does only what is stated here until its part replaces it.
#include <string>

namespace quorrel {

// The activation check (a document changed on disk or gone); editor/Activation.h.
void MyActivate();

// Saves the current document's markers in its settings section. Does nothing yet.
void SaveMarkers();

}  // namespace quorrel
