#pragma once
// The Validation menu's commands that hand the current document, or a folder of
// documents, to the validation dispatcher.
#include <string>

namespace quorrel {

// TWebForm.ValidateClick: "Validate" (F10), "NoReformat" (Shift+F10), "Reformat",
// and the commands of other parts that validate before they go on (sender is the
// component name). A document outside a site, or one named "temp", is re-formatted
// instead of validated. Nothing happens without a document.
void ValidateClick(const std::string& sender);

// TWebForm.ValAllClick: validates the pages, scripts and style sheets in and below a
// folder the user chooses.
void ValAllClick();

// Gives the Validation menu's items their commands.
void InstallValidationCommands();

}  // namespace quorrel
