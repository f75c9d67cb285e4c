#pragma once
// Entry points of the shell that the start-up and the tab change call but whose
// own parts are still to be built: the idle pass, the status line's information
// panel and the marker store. Each keeps its real name and does only what is
// stated here until its part replaces it.
#include <string>

namespace quorrel {

// The idle pass. Until the idle loop exists it only does its last step: the
// editor's redrawing and the normal cursor come back after a busy spell.
void OnIdle();

// The activation check (a document changed on disk or gone); editor/Activation.h.
void MyActivate();

// Refreshes the information panel. Until the status line's part exists it shows
// StatusText after six blanks, without the selection's counts.
void ShowInfo();

// Saves the current document's markers in its settings section. Does nothing yet.
void SaveMarkers();

// Whether the main window may close. Until the exit part exists it only clears
// "Running" when no other instance runs, so that the next start does not take
// this exit for a crash, and lets the window close.
bool FormCloseQuery();

// Whether the idle pass can run the one-shot actions of "/P", "/R", "/S" and "/E".
bool StartActionsAvailable();

}  // namespace quorrel
