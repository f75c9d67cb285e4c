// What becomes of the HTML validator's result: the error with the page as far as
// it was re-formatted, or the re-formatted page, checked by the tag checker and
// written back.
#include "platform/Abort.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "validate/ColourSyntax.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlShow.h"
#include "validate/HtmlSteps.h"
#include "validate/TagChecker.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

constexpr char kSaveAnyway[] = "Do you want to save this file even though it has errors?";

// A long message keeps its start and its end.
std::string Shortened(const std::string& message) {
  if (message.size() <= 1500) return message;
  return message.substr(0, 1300) + "\r...\r" + message.substr(message.size() - 200);
}

void ShowError(const std::string& message, int helpContext) {
  if (helpContext != 0) {
    AskOkHelpCancel(message, helpContext);
  } else {
    ShowMsg(message);
  }
}

// The Save command that validated first may still save what the user wrote.
void OfferSaveAnyway() {
  if (CurrentCommand == SaveCommand && AskYesNo(kSaveAnyway)) {
    SaveClick("NoValidate");
    Abort();
  }
}

[[noreturn]] void EndWithError(THtmlRun& run, std::string message, int helpContext) {
  const bool debug = MainMenu().Checked("Debug");
  if (debug && AskYesNo("Show Error message in full?")) {
    ShowInTextTab(message, false);
    Abort();
  }
  message = Shortened(message);
  if (CheckOnly) message += "\r" + CurrentPageName;
  bool report = run.dotPage || debug;
  if (run.dotPage && debug) report = AskYesNo("Show generated HTML?");
  CompareInputOutput(run.original, run.out);
  const std::string rest = run.walkStarted ? run.in.substr(HtmlRestStart(run)) : run.in;

  if (report) {
    const std::string text = run.out + "\n<!-- " + message + "\n-->\n" + rest;
    ShowInTextTab(text, false);
    // The caret goes to the failing tag, which begins what was not re-laid.
    if (CurrentEditor) {
      size_t restLength = 0;  // editor positions: one per line end
      for (char c : rest) restLength += c != '\r';
      const size_t length = CurrentEditor->TextLength();
      ScrollToPos(length > restLength ? length - restLength : 0, false);
    }
    ShowError(message, helpContext);
    OfferSaveAnyway();
    CurrentCommand.clear();
    Abort();
  }

  size_t caret = 0;
  if (run.walkStarted && CurrentEditor) {
    const std::string text = run.out + rest;
    if (text != CurrentText && !CheckOnly) WriteHtmlBack(run, text);
    caret = run.errorAt >= 0 ? static_cast<size_t>(run.errorAt) : run.out.size();
    if (caret > CurrentText.size()) caret = CurrentText.size();
  }
  RequestRecolour(RecolourFull);
  if (CurrentEditor) ScrollToPos(caret, false);
  ShowError(message, helpContext);
  OfferSaveAnyway();
  if (CheckOnly && CurrentEditor) SetTabCaption(CurrentFileName);
  FocusEditor();
  CurrentCommand.clear();
  ScheduleTimerRefresh();
  Abort();
}

// The comparison of a generated page stops at its feedback form, which the page
// builder fills in anew each time.
bool SameAsInput(const THtmlRun& run) {
  if (run.dotPage) {
    const size_t in = PosNoCase("feedback.asp", run.original);
    const size_t out = PosNoCase("feedback.asp", run.out);
    if (in != 0 && out != 0) return run.original.compare(0, in, run.out, 0, out) == 0;
  }
  return run.original == run.out;
}

}  // namespace

void WriteHtmlBack(const THtmlRun& run, const std::string& text) {
  TMyRich& editor = *CurrentEditor;
  const bool changed = text != run.original;
  editor.SetText(text);
  editor.SetModified(!CheckOnly && (run.wasModified || changed));
  DocModified = true;
  GetEditorText();
}

void FinishHtml(THtmlRun& run, const TPage& page, TValidation& result) {
  if (!HtmlFailed()) {
    CheckHtmlTags(run);
    if (!TagsPassed && !run.dotPage) {
      OfferSaveAnyway();
      CurrentCommand.clear();
      RequestRecolour(RecolourFull);
      ScheduleTimerRefresh();
      Abort();
    }
    CheckSiteMap(run, page.sender);
  }
  if (HtmlFailed()) {
    const std::string message = ErrMsg;
    const int helpContext = ErrHelpContext;
    ErrMsg.clear();
    ErrHelpContext = 0;
    // Before start-up is over nobody is there to read the message.
    if (!IdleReady) {
      if (CurrentEditor) CurrentEditor->Select(0, 0);
      return;
    }
    // The server window's check counts the page and goes on.
    if (run.serverCheck) return;
    EndWithError(run, message, helpContext);
  }

  if (run.serverPage) {
    std::string& out = run.out;
    while (!out.empty() && (out.back() == ' ' || out.back() == '\n')) out.pop_back();
    if (!run.original.empty() && run.original.back() == '\n') out += '\n';
  }
  const bool changed = !SameAsInput(run);
  if (changed) CompareInputOutput(run.original, run.out);
  HandOverText = run.out;
  if (page.sender == "NoReformat") return;
  result.text = run.out;
  result.again = changed && !run.serverCheck;
}

}  // namespace quorrel
