#pragma once
// The start-up of the main window (TWebForm.FormActivate): settings, the command
// line, the documents of the last run, the Recent menu and the version check.
// Texts are Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

// The command-line parameters without the program's name.
extern std::vector<std::string> StartParameters;
// A switch ended the program after its message: the start-up stops.
extern bool ProgramEnding;
// The user chose "Start with no files open" after an unclean exit.
extern bool StartWithNoFiles;

// The start-up on the main window's first activation; later activations do nothing.
void FormActivate();
// The second half of the start-up again, for a file set being opened.
void RerunStartUp();

// Fills the File menu's Recent items from [Closed] of SettingsIni.
void FillRecentMenu();

// The template of a new tune for the year given.
std::string DefaultTune(int year);

// Compares two version texts field by field ("1.921" < "1.1000"); negative,
// zero or positive.
int CompareVersions(const std::string& a, const std::string& b);

// Back to the state before the first activation.
void ResetStartUp();

}  // namespace quorrel
