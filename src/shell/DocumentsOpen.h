#pragma once
// The plain load of a tab whose file was never read: the file's bytes become the
// editor's text. The open command itself, with its conversions, questions and
// special file types, is in commands/OpenDocs.h.
#include <string>

namespace quorrel {

class TMyRich;

// Loads a file's bytes into a tab's editor as plain text, unmodified, with the
// caret where [Files] or [Closed] last had it, and stores its file time in the slot.
void LoadIntoEditor(TMyRich& editor, const std::string& path, int slot);

// The caret position kept with a path in [Files] or [Closed]; 0 when none.
size_t StoredCaretPosition(const std::string& path);

}  // namespace quorrel
