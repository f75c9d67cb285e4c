#pragma once
// The Edit menu's find commands: Find, Next, Replace, Replace tag and Extract
// lines, one engine for all (TWebForm.FindClick).
#include <string>

namespace quorrel {

// Runs a find command on the current document; nothing when none is open. Next
// repeats the last command from the caret without the dialog.
void FindClick(const std::string& command);

// Gives the find commands their menu items.
void InstallFindCommands();

}  // namespace quorrel
