#pragma once
// Shutting the program down: the exit commands, the questions about the set's
// document list and about changed documents, what is written to the settings file
// and what is released. Texts are Windows-1252 bytes.
#include <functional>
#include <string>
#include <vector>

namespace quorrel {

// How the program is being left: a plain exit; without updating the settings
// ("&Exit NoUpdate"); storing the open documents in the standard settings file
// ("Exit remember").
enum class TExitMode { Plain, NoUpdate, Remember };
extern TExitMode ExitMode;

// TWebForm.ExitClick: "Exit", "ExitNoUpdate" or "ExitRemember" sets the exit mode
// (any other sender a plain exit) and closes the main form.
void ExitClick(const std::string& sender);

// Writes a list to a section of SettingsIni, which is erased first. Entries that
// begin with "Untitled" are left out; in sections other than [Files] a later
// duplicate too. [Files] takes the open documents in tab order as "path|caret
// offset" (documents in the work folder and blank slots left out; a tab whose
// document was never loaded keeps the offset stored for it before), the others
// keys "1", "2" ... in list order. Keys always run on without a gap, so that the
// next start reads the whole list.
void SaveListSection(std::vector<std::string> list, const std::string& section);

// The histories of the forms that keep them: each form, once it exists, says what
// its box holds. A history nobody provides is left as it is in the settings file.
struct TExitHistories {
  std::function<std::vector<std::string>()> find;     // [Find]
  std::function<std::vector<std::string>()> replace;  // [Replace]
  std::function<std::vector<std::string>()> root;     // [Root], the file-list form's roots
  std::function<std::string()> currentRoot;           // the root it shows now
  std::function<std::vector<std::string>()> url;      // [URL]
};
TExitHistories& ExitHistories();

// TWebForm.FormCloseQuery: whether the main form may close. It stays while the
// sections list shows (the list goes) or a folder validation runs (asked to
// stop). Otherwise the settings are written (unless NoUpdate), every document is
// closed with a Yes/No question for each changed one, and when none stays open
// the program's viewers, players, connection, work files and help go. Any error
// on the way keeps the program open with its documents.
bool FormCloseQuery();

// Gives the exit and close commands of the File menu their handlers.
void InstallExitCommands();

// Back to the state of a freshly started program.
void ResetExit();

}  // namespace quorrel
