#pragma once
// File sets: named settings files in the documents folder, each with its own list
// of open documents, options and histories. MainIni's [Sets] lists them in the
// order shown. Texts are Windows-1252 bytes.
#include <functional>
#include <string>
#include <vector>

namespace quorrel {

// The settings file of a set: the documents folder, the name and ".Ini".
std::string SetFileName(const std::string& name);
// Why a name cannot name a set: empty, the standard settings file's name, or a
// name that would reach another folder or cannot be listed in [Sets]. "" when the
// name is fine.
std::string SetNameProblem(const std::string& name);
// The defined sets, in the order of [Sets].
std::vector<std::string> SetNames();
// Sorts the names (without regard to case) and rewrites [Sets] in that order.
void SortSets(std::vector<std::string>& names);

// Makes SettingsIni the current set's file (created on first use, from the old
// form of the set kept in MainIni when there is one), or MainIni's file when no
// set is current. A set name that cannot name a set is refused with a message and
// leaves no set current.
void OpenSetIni();

// The paths of the open documents in tab order, blank entries left out.
std::vector<std::string> OpenDocumentPaths();

// What the set commands need from the rest of the shell, filled in at start-up.
struct TFileSetHost {
  // Closes every document (no sender: no settings change); false when a close was
  // cancelled and documents stay open.
  std::function<bool()> closeAll;
  // Runs start-up again from the creation of the tabs' records, on the current settings.
  std::function<void()> restartStartUp;
  // The file-list form's root box takes the folder; the find dialog's is emptied.
  std::function<void(const std::string& folder)> setFileListRoot;
  std::function<void()> clearFindRoot;
  // The sets dialog: lists the sets; with saveAs also the new-name box and Select.
  // Returns false when cancelled; otherwise name holds the chosen or typed name.
  std::function<bool(bool saveAs, std::string& name)> chooseSet;
};
TFileSetHost& FileSetHost();

// The "Set" menu as it opens: "&Save" and "Delete" name the current set and are
// enabled only while documents are open and a set is current. With no document
// open, the Open command runs at once.
void SetMenuClick();
// SetMenuClick's first half: the items' states. False when no document is open
// (the Open command is then due).
bool UpdateSetMenu();
void SetOpenClick();
void SetSaveClick();
void SetSaveAsClick();
void SetDeleteClick();
void SetNoneClick();

// Gives the Set menu's items their commands.
void InstallFileSetCommands();

// Back to the state of a freshly started program.
void ResetFileSets();

}  // namespace quorrel
