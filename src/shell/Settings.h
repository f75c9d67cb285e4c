#pragma once
// Options and histories kept in the settings files. The standard file is MainIni
// ("Quorrel.Ini" in the documents folder); SettingsIni is the current one: the
// open file set's, or a second object on MainIni's file (both in ShellState.h).
// Texts are Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

struct TMenuItem;

// The name of the standard settings file in the documents folder.
inline constexpr char MainIniName[] = "Quorrel.Ini";
// The most entries a history (and the option table) can hold.
constexpr int MaxHistory = 20;

// Opens MainIni on the standard settings file when it is not open yet.
void OpenMainIni();

// ---- persisted options ------------------------------------------------------
// Component names of the options registered in this start-up run, in order.
extern std::vector<std::string> PersistedOptions;
// Empties the option table (every start-up run begins with this).
void ResetPersistedOptions();
// Appends an option to the table and sets its menu item's state from [System] of
// SettingsIni under its component name (the default when absent). The table holds
// at most PersistedOptionCount entries: one more is a program error.
void LoadMenuCheck(const std::string& component, bool defaultValue);
// Registers every persisted option in its order and applies the rules that tie
// them together: "Show errors" and "Validate on Save" are on at every start; with
// no browser chosen the internal one is, with no document type "None" is, with no
// dash conversion "Leave well alone" is.
void LoadPersistedOptions();
// Writes the state of every option of the table to [System] of SettingsIni.
void SavePersistedOptions();

// ---- histories ----------------------------------------------------------------
// The entries of a history section: the values of keys "1" to "20" that exist,
// newest first.
std::vector<std::string> LoadComboHistory(const std::string& section);
// On leaving a history box: the text moves to (or is added at) the top of its list,
// which never holds more than 20 entries nor two equal ones. An empty text is not
// added.
void AnyExit(std::vector<std::string>& history, const std::string& text);

// ---- option announcements and browser parameter --------------------------------------
// A caption as shown: "&&" is a "&", a single "&" (the accelerator) goes.
std::string StripAccelerator(const std::string& caption);
// "<caption> is now ON" (or OFF) for an option item in its new state.
std::string OptionAnnouncement(const TMenuItem& item);
// For option items without a command of their own: tells the new state in the
// status line.
void AnyCheck(const TMenuItem& item);
// "&Parameter": asks for the parameter passed to the browser and keeps it.
void ParameterClick();

// Gives the option items and "&Parameter" their commands in the main menu.
void InstallSettingsCommands();

// Back to the state of a freshly started program.
void ResetSettings();

}  // namespace quorrel
