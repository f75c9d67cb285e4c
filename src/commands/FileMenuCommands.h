#pragma once
// The remaining commands of the File menu: the hex editor, the file's name to the
// clipboard, the file manager, the task list, the printer set-up and the file's
// date; and the handlers of saving and of these commands. Texts and paths are
// Windows-1252 bytes.
#include <cstdint>
#include <string>

namespace quorrel {

// The hex editor: [System] "HexEditor" of the settings, else the first of the
// known hex editors found on the path ("ghex" when none is).
std::string HexEditorProgram();

// "Hex edit": the hex editor on the current document's file.
void HexEditClick();
// "Clip name": the document's path to the clipboard.
void ClipNameClick();
// "Explore folder": the file manager with the document's file selected.
void ExploreFolderClick();
// "List tasks": the running windows of this program and of the programs it
// started, as a text document.
void ListTasksClick();
// "Printer setup...".
void PrinterSetupClick();

// A date with an optional time as the user types it: "dd/mm/yyyy", "dd-mm-yyyy" or
// "yyyy-mm-dd", then optionally "hh:nn" or "hh:nn:ss" (also with "."), local time.
// False when it is no valid date and time.
bool ParseDateTime(const std::string& text, int64_t* secondsSinceEpoch);
// The same layout for a time: "10/12/2026 14:05:00".
std::string FormatDateTime(int64_t secondsSinceEpoch);

// "Redate": asks for a new date and time and gives the document's file that time.
void RedateClick();

// Gives the File menu's saving and file commands their handlers. "Elevate" has no
// meaning on this system and is not shown.
void InstallSaveCommands();

}  // namespace quorrel
