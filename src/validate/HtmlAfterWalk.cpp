// What the HTML validator checks once its walk is over.
#include <algorithm>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/EmailScramble.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlShow.h"
#include "validate/HtmlText.h"
#include "validate/ValUnit.h"

namespace quorrel {

using html::Find;
using html::Has;

namespace {

void ErrorAt(THtmlRun& run, const std::string& message, size_t at) {
  if (HtmlFailed()) return;
  HtmlError(message);
  run.errorAt = static_cast<long>(at);
}

// Server code in a page that no server runs.
void ServerCodeInPlainPage(THtmlRun& run) {
  if (run.serverPage || CurrentExt == ".ASAX" || run.part == PartNone || !run.inSite ||
      Has(run.out, "Source Error:")) {
    return;
  }
  size_t at = std::string::npos;
  for (const char* code : {"<asp:", "<%", "runat="}) at = std::min(at, Find(run.out, code));
  if (at == std::string::npos) return;
  ErrorAt(run, "File contains \"<asp:\" or \"<%\" or \"runat\" but is not of type ASP or ASPX.",
          at);
}

// In place, from the first blank before a line end (most pages have none).
void NoBlanksAtLineEnds(std::string& out) {
  const size_t first = PosCase(" \n", out);
  if (first == 0) return;
  size_t kept = first - 1;  // the text before it stays where it is
  while (kept > 0 && out[kept - 1] == ' ') --kept;
  for (size_t i = first - 1; i < out.size(); ++i) {
    const char c = out[i];
    if (c == '\n') {
      while (kept > 0 && out[kept - 1] == ' ') --kept;
    }
    out[kept++] = c;
  }
  out.resize(kept);
}

// The page must be a whole page: from <HTML> to </HTML>.
void Frame(THtmlRun& run) {
  if (run.serverPage || CurrentExt == ".ASAX" || PosNoCase("<script", run.in) == 1 ||
      HtmlFailed()) {
    return;
  }
  std::string message;
  if (run.part != PartNone && !run.out.empty() && run.out[0] == '<') {
    if (run.part != PartHtmlClosed) message = "Does not finish with </Body> and </HTML>";
  } else {
    if (NotInSite && PosNoCase(".HTM", CurrentExt) == 0) {
      // Not a page of ours after all.
      IsHtml = false;
      Abort();
    }
    message = "Does not start <HTML>";
  }
  if (message.empty()) return;
  if (!run.stack.empty()) message += "\r\rNot all tags have been closed.";
  if (run.serverCheck) message += "\n" + CurrentFileName;
  HtmlError(message);
}

// VBScript's InStr takes the text searched first.
void InStrArguments(THtmlRun& run) {
  if (!run.serverPage || run.php) return;
  const size_t at = Find(run.out, "InStr(\"");
  if (at == std::string::npos) return;
  ErrorAt(run,
          "InStr needs the variable as the first argument and the search string as the second.",
          at);
}

}  // namespace

void HtmlAfterWalk(THtmlRun& run) {
  if (MainMenu().Checked("Debug") && AskYesNo("Show OutT?")) {
    ShowInTextTab(run.out, false);
    Abort();
  }
  if (HtmlFailed()) return;
  if (!MainMenu().Checked("EncE") && DecodeEmailScripts(run.out)) MarkHtmlChanged(run);
  ServerCodeInPlainPage(run);
  CheckTitleAndHeading(run);
  if (!HtmlFailed() && !run.serverPage && Has(run.out, "<HTML")) CompleteHead(run);
  NoBlanksAtLineEnds(run.out);
  Frame(run);
  InStrArguments(run);
  if (!HtmlFailed() && run.smartQuoteOpen) HtmlFatal("Error - unmatched smart quotes somewhere.");
}

}  // namespace quorrel
