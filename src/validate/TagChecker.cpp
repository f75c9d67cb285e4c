// The tag checker's run: what it reads once at the start, its walk, and what
// becomes of an error: the corrected page in the editor with the caret at it.
#include "validate/TagChecker.h"

#include <algorithm>

#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "validate/HtmlRun.h"
#include "validate/HtmlShow.h"
#include "validate/HtmlSteps.h"
#include "validate/ScriptDelimiters.h"
#include "validate/TagRun.h"
#include "validate/ValUnit.h"

namespace quorrel {

bool TagsPassed = false;

namespace {

bool Ticked(const char* option) {
  const TMenuItem* item = MainMenu().Find(option);
  return item && item->checked;
}

bool HasHtmlTag(const std::string& text) {
  for (size_t at = PosNoCase("<HTML", text); at != 0; at = PosNoCase("<HTML", text, at + 1)) {
    const char next = at - 1 + 5 < text.size() ? text[at - 1 + 5] : '>';
    if (next == '>' || static_cast<unsigned char>(next) <= ' ') return true;
  }
  return false;
}

void StartRun(TTagRun& run, const THtmlRun& html) {
  run.xhtml = html.xhtml;
  run.utf8 = html.utf8;
  run.viewState = html.viewState;
  run.htmlTag = HasHtmlTag(run.text);
  run.serverPage = IsServerPage;
  run.php = IsPhp;
  run.dotPage = IsDotPage;
  run.inSite = !NotInSite;
  run.asax = CurrentExt == ".ASAX";
  run.noRefs = PosNoCase("NoRefs", run.text) != 0;
  ScriptDelimiters();
  run.serverStart = ServerScriptStart;
  run.serverEnd = ServerScriptEnd;

  run.validateAll = CurrentCommand == ValidateAllCommand || CurrentCommand == ValidateAllOneCommand;
  run.serverCheck = CurrentCommand == ServerWindowCommand;
  run.download = CurrentCommand == DownloadCommand;
  run.buildAll = CurrentCommand == BuildAllCommand;
  run.checkAmp = Ticked("CheckAmp");
  run.leaveAlone = Ticked("LeaveAlone");
  run.toNDash = Ticked("ToNDash");
}

// The editor's place of an index into the page: the editor reads each line end out
// as CR LF, and OffsetToPos counts it as one place again.
size_t EditorPlace(const std::string& text, size_t at) {
  at = std::min(at, text.size());
  const size_t lineEnds = static_cast<size_t>(std::count(text.begin(), text.begin() + at, '\n'));
  return CurrentEditor->OffsetToPos(at + lineEnds);
}

// After an error: the editor (a report tab when the run only checks) holds the page
// as far as it was corrected, with the caret at the error.
void ShowCheckedPage(const THtmlRun& html, const TTagRun& run) {
  const std::string& page = html.out;
  if (run.serverCheck || run.download) Abort();
  if (CheckOnly) {
    ShowInTextTab(page, false);
    if (CurrentEditor) CurrentEditor->SetModified(false);
  } else if (CurrentEditor) {
    WriteHtmlBack(html, page);
  }
  if (CurrentEditor) ScrollToPos(EditorPlace(page, run.errorAt), false);
  if (run.dotPage) {
    if (!run.fatal.empty()) ShowMsg(run.fatal);
    if (CurrentEditor) CurrentEditor->SetModified(false);
    CurrentCommand.clear();
    Abort();
  }
}

}  // namespace

bool PassInSilence(TTagRun& run) {
  if (!run.serverCheck && IdleReady) return false;
  TagsPassed = true;
  run.stopped = true;
  return true;
}

void CheckerError(TTagRun& run, const std::string& message) {
  if (PassInSilence(run)) return;
  ShowMsg(run.dotPage ? message + "\rwhen generating page " + CurrentPageName : message);
}

void StopAt(TTagRun& run, size_t at, const std::string& message) {
  run.errorAt = OutPlace(run, at);
  if (!message.empty()) CheckerError(run, message);
  run.stopped = true;
}

void CheckHtmlTags(THtmlRun& html) {
  TagsPassed = false;
  TTagRun run(std::move(html.out));
  // The corrected page is written into the memory the last run left over: fresh
  // memory for a big page on every pass costs more than the walk itself.
  static std::string spare;
  run.out.swap(spare);
  run.out.clear();
  StartRun(run, html);
  TagWalk(run);
  html.out = std::move(run.out);
  spare = std::move(run.text);

  ShowStatus("");
  if (TMainWindow* window = MainWindow()) window->SetStatusText(InfoPanel, "");
  if (!run.fatal.empty()) {
    if (PassInSilence(run)) return;
    ShowCheckedPage(html, run);
    ShowErrorAndAbort(run.fatal);
  }
  if (!TagsPassed) {
    ShowCheckedPage(html, run);
    if (run.endCommand) {
      CurrentCommand.clear();
      Abort();
    }
    return;
  }
  if (run.serverPage && !run.serverSeen && !run.validateAll) {
    CheckerError(run, "No ASP/PHP code in this file.");
  }
}

namespace {
const TResetEntry resetTagChecker([] { TagsPassed = false; });
}  // namespace

}  // namespace quorrel
