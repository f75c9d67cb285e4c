#pragma once
// Entry points of the shell that the start-up and the tab change call but whose
// own parts are still to be built: the marker store and the exit. Each keeps its
// real name and does only what is stated here until its part replaces it.
#include <string>

namespace quorrel {

// The activation check (a document changed on disk or gone); editor/Activation.h.
void MyActivate();

// Saves the current document's markers in its settings section. Does nothing yet.
void SaveMarkers();

// Whether the main window may close. Not while a folder validation runs: that run
// is asked to stop (BatchState 2) instead. Until the exit part exists it only clears
// "Running" when no other instance runs, so that the next start does not take
// this exit for a crash, and lets the window close.
bool FormCloseQuery();

}  // namespace quorrel
