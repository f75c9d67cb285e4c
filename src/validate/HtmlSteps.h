#pragma once
// The steps of ValidateHtml around its walk: taking the page, the edits made
// before the walk, the questions and refusals, and what becomes of the result.
#include <string>

#include "shell/Page.h"
#include "validate/HtmlRun.h"

namespace quorrel {

// Remembers whether the document was modified and takes the page's text. False when
// there is nothing to validate (a VBScript file, no editor, an empty text, a document
// that is not HTML and the user does not want it re-formatted as such).
bool TakeHtmlInput(THtmlRun& run, const TPage& page);

// A page marked "NoReformat" is left alone: the status says so. True for such a page.
bool LeaveNoReformatPage(const THtmlRun& run);

// Tabs become blanks; "<br/>" and "<p/>" lose their "/"; protocol-relative sources
// get "https:"; "<a name=" becomes "<a id=" with a notice.
void HtmlPreEdits(THtmlRun& run);

// Once per program run, a page with an empty line outside its scripts asks whether
// blank lines are to be kept (which unticks "Delete blank lines").
void AskAboutBlankLines(THtmlRun& run);

// Pages the validator does not handle: Office-generated HTML and PHP holding XML.
// False when the page is to be skipped (quietly, during Validate all); otherwise the
// command ends with the message.
bool AcceptHtmlPage(const THtmlRun& run);

// What becomes of the walk's result: with an error, the editor holds the part
// re-formatted so far followed by the rest of the page, the caret goes to the error,
// the message is shown and the command ends; without, the output is handed over and
// returned as the new text (unless the command validates without re-formatting),
// and a changed page asks for another pass.
void FinishHtml(THtmlRun& run, const TPage& page, TValidation& result);

// Replaces the editor's text; the document counts as modified when it was before
// or when the text changed, so that no unsaved edit is forgotten.
void WriteHtmlBack(const THtmlRun& run, const std::string& text);

// Back to the state of a freshly started program.
void ResetHtmlValidator();

}  // namespace quorrel
