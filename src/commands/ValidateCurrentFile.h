#pragma once
// The validation dispatcher: makes a page of the current document, runs its
// validator (again while the validator asks for another pass) and applies each
// verdict to the editor: the new text with the caret kept, the modified flag, the
// first error, the recolour and the closing status. It alone reads the editor for
// a validator, so the validators can check pages that are not open.
#include <string>

#include "shell/Page.h"

namespace quorrel {

// Validates (and where the validator and options allow, re-formats) the current
// document. sender is the menu item of the command: "Validate", "NoReformat",
// "Reformat", "N0" (after a download), "Compact", another item, or "" for none.
// Returns the last pass's verdict when the document is valid; at the first error
// shows one message and ends the command with the silent abort.
TValidation ValidateCurrentFile(const std::string& sender);

// The page of the current document for a validator on the current pass
// (ValidationPass): the HTML validator is handed its text by the site tools, the
// server-page checkers and its own earlier passes, and a master's page comes from
// the page builder's buffer; every other validator reads the document itself.
TPage PageOfCurrentDocument(TValidatorKind validator, const std::string& sender);

}  // namespace quorrel
