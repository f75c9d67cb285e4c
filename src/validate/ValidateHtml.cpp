// The HTML validator: takes the page, walks it into a re-formatted copy, and
// reports the first error or writes the copy back.
#include "shell/DBoxUnit.h"
#include "shell/MainWindow.h"
#include "validate/ColourSyntax.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlSteps.h"
#include "validate/ValUnit.h"
#include "validate/Validators.h"

namespace quorrel {

void ValidateHtml(const std::string& sender) {
  ErrMsg.clear();
  ErrHelpContext = 0;
  THtmlRun run;
  if (!TakeHtmlInput(run, sender)) return;
  if (TMainWindow* window = MainWindow()) run.startTab = window->ActiveTab();
  if (LeaveNoReformatPage(run)) return;
  HtmlPreEdits(run);
  InitHtmlRun(run);
  AskAboutBlankLines(run);
  if (!AcceptHtmlPage(run)) return;
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
  FinishHtml(run, sender);
}

}  // namespace quorrel
