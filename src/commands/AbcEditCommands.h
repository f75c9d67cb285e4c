#pragma once
// The ABC menu's commands that write tunes: a new tune from the template or the
// clipboard, the template itself, "Same", joining and splitting tunes, copying one
// out, and deleting or extracting lyrics.

namespace quorrel {

// Writes the template of new tunes to "Default.abc" when that file is missing.
void EnsureDefaultTune();

// TWebForm.NewTuneClick: a tune from the clipboard or the template at the caret.
void NewTuneClick();

// Gives the commands their menu items.
void InstallAbcEditCommands();

}  // namespace quorrel
