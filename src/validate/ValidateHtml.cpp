// The HTML validator: takes the page, walks it into a re-formatted copy, and
// reports the first error or writes the copy back.
#include "shell/DBoxUnit.h"
#include "validate/ColourSyntax.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlSteps.h"
#include "validate/ValUnit.h"
#include "validate/Validators.h"

namespace quorrel {

TValidation ValidateHtml(const TPage& page) {
  ErrMsg.clear();
  ErrHelpContext = 0;
  TValidation result;
  result.status = ValidatedStatus;
  THtmlRun run;
  if (!TakeHtmlInput(run, page)) return result;
  if (LeaveNoReformatPage(run)) return result;
  HtmlPreEdits(run);
  InitHtmlRun(run);
  AskAboutBlankLines(run);
  if (!AcceptHtmlPage(run)) return result;
  // The colouring of a server page may have found an error first.
  if (!PendingMessage.empty()) {
    const std::string message = PendingMessage;
    const size_t offset = PendingMessageOffset;
    PendingMessage.clear();
    PendingMessageOffset = 0;
    RaiseErrorAt(message, offset > 0 ? static_cast<long>(offset - 1) : 0);
  }
  HtmlPageChecks(run);
  HtmlDoctype(run);
  HtmlWalk(run);
  HtmlAfterWalk(run);
  FinishHtml(run, page, result);
  return result;
}

}  // namespace quorrel
