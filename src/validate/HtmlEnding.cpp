// What becomes of the HTML validator's result: the error with the page as far as
// it was re-formatted, or the re-formatted page.
#include "editor/DBoxUnit.h"
#include "editor/Documents.h"
#include "editor/MyRich.h"
#include "editor/ShellRoutines.h"
#include "editor/ShellState.h"
#include "platform/Abort.h"
#include "validate/HtmlSteps.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

// A long message keeps its start and its end.
std::string Shortened(const std::string& message) {
  if (message.size() <= 1500) return message;
  return message.substr(0, 1300) + "\r...\r" + message.substr(message.size() - 200);
}

// Replaces the editor's text; the document counts as modified when it was before
// or when the text changed, so that no unsaved edit is forgotten.
void WriteBack(const THtmlRun& run, const std::string& text) {
  TMyRich& editor = *CurrentEditor;
  const bool changed = text != run.original;
  editor.SetText(text);
  editor.SetModified(!CheckOnly && (run.wasModified || changed));
  DocModified = true;
  GetEditorText();
}

void RestoreCaret(const THtmlRun& run) {
  TMyRich& editor = *CurrentEditor;
  editor.ScrollLines(static_cast<long>(run.firstVisibleLine) -
                     static_cast<long>(editor.FirstVisibleLine()));
  const size_t line = run.caretLine < editor.LineCount() ? run.caretLine : editor.LineCount() - 1;
  const size_t column =
      run.caretColumn < editor.LineLength(line) ? run.caretColumn : editor.LineLength(line);
  editor.Select(editor.LineIndex(line) + column, 0);
}

}  // namespace

void FinishHtml(THtmlRun& run, const std::string& sender) {
  if (HtmlFailed()) {
    const std::string message = Shortened(ErrMsg);
    const int helpContext = ErrHelpContext;
    ErrMsg.clear();
    ErrHelpContext = 0;
    size_t caret = 0;
    if (run.walkStarted && CurrentEditor) {
      const std::string text = run.out + run.in.substr(HtmlRestStart(run));
      if (text != CurrentText && !CheckOnly) WriteBack(run, text);
      caret = run.out.size();
    }
    ScrollToPos(caret, false);
    if (helpContext != 0) {
      AskOkHelpCancel(message, helpContext);
    } else {
      ShowMsg(message);
    }
    FocusEditor();
    CurrentCommand.clear();
    ScheduleTimerRefresh();
    Abort();
  }
  HandOverText = run.out;
  if (sender == "NoReformat" || !CurrentEditor) return;
  const bool changed = run.out != run.original;
  if (run.out != CurrentText && !CheckOnly) {
    WriteBack(run, run.out);
    RestoreCaret(run);
  }
  if (changed && !run.serverCheck) {
    MarkDocumentChanged();
    ValidateAgain = true;
  }
}

}  // namespace quorrel
