#pragma once
// Unit-level state of the editor shell that every subsystem reads and writes
// for the duration of one command. Texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

// The application title: the caption of plain message boxes.
extern std::string ApplicationTitle;

// Component name of the menu item whose command is running; "" when none.
// Cleared by the error routines.
extern std::string CurrentCommand;

// The page a batch run is processing (shown under its messages).
extern std::string CurrentPageName;

// Document-type flags of the active document.
extern bool IsContentDoc;
extern bool IsDotPage;

// Back to the state of a freshly started program (tests call this between cases).
void ResetShellState();

}  // namespace quorrel
