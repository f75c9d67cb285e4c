#pragma once
// Deleting and renaming a file from the file-list form, or the current document
// from the main menu's "&Delete" and "Rename".
#include <string>

namespace quorrel {

// TOpenForm.DelRenClick: sender is the component name of the command ("DeleteF",
// "RenameF" from the main menu). The form's file commands are still to be built;
// until then nothing is deleted or renamed.
void DelRenClick(const std::string& sender);

}  // namespace quorrel
