#pragma once
// Bringing a file into a tab. This is the plain load only: the file's bytes
// become the editor's text. The open command with its conversions, questions
// and special file types replaces it with its own OpenThis.
#include <string>

namespace quorrel {

class TMyRich;

// Opens a file in a new tab (an open file's tab is only activated). A missing
// file is reported and the command stops.
void OpenThis(const std::string& path);

// Loads a file's bytes into a tab's editor as plain text, unmodified, with the
// caret where [Files] or [Closed] last had it, and stores its file time in the slot.
void LoadIntoEditor(TMyRich& editor, const std::string& path, int slot);

// The caret position kept with a path in [Files] or [Closed]; 0 when none.
size_t StoredCaretPosition(const std::string& path);

}  // namespace quorrel
