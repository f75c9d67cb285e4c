#pragma once
// Closing documents: one tab, all of them, or all but the current one. A changed
// document is asked about first; a closed file goes to the top of the Recent list
// ([Closed] of the settings file) with its caret offset; an archive member
// extracted into the work folder is wiped. Texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

// False after a close question was cancelled; every close command sets it true
// first.
extern bool CloseRefused;

// "Save changes to " path "?".
std::string SaveChangesQuestion(const std::string& path);

// The settings section of recently closed documents, "path|offset" under the keys
// NewestClosedKey ("0") to OldestClosedKey.
inline constexpr char ClosedSection[] = "Closed";
inline constexpr int NewestClosedKey = 0;
inline constexpr int OldestClosedKey = 10;

// Puts "path|offset" at the top of [Closed] in SettingsIni: an entry for the same
// path is overwritten where it stands; otherwise keys "0" to "9" move one down
// (to "1" to "10") and the entry becomes "0".
void StoreClosedEntry(const std::string& path, size_t caretOffset);

// TWebForm.CloseClick: closes the current tab. The sender is the command's
// component name ("CloseTab"); "" closes the document for the open command, which
// reuses the tab: its editor is emptied and its slot blanked. With no document
// open it exits the program. A changed document is asked about: Yes saves, No
// drops the changes, Cancel (offered outside Close all only) keeps the document
// and ends the command silently. Returns true when the document was closed.
bool CloseClick(const std::string& sender);

// TWebForm.CloseAllClick: closes every tab, from the last to the first; "" when
// no menu item asked (a set being opened, "None", the exit); "CloseOthers" keeps
// the current tab. Only a menu item's Close all forgets the standard settings
// file's document list and set. Returns false when a document stays open (an
// error stopped it; the tabs before it stay too).
bool CloseAllClick(const std::string& sender);

// Back to the state of a freshly started program.
void ResetClosing();

}  // namespace quorrel
