#include "commands/ReportTab.h"

#include "shell/CommandNames.h"
#include "shell/Document.h"
#include "shell/Documents.h"
#include "shell/Hooks.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "validate/ValUnit.h"

namespace quorrel {

void OpenReportTab() {
  if (CurrentFileName.compare(0, 8, "Untitled") == 0) {
    OpenBySenderHook(NewTextCommand);
  } else {
    UseUntitledTab();
  }
}

void ShowReport(const std::string& text, const TMyRich* never) {
  OpenReportTab();
  if (!CurrentEditor || CurrentEditor == never) return;
  CurrentEditor->SetText(text);
  CurrentEditor->SetModified(false);
  CurrentEditor->Select(0, 0);
  DocModified = true;  // the editor's text is new
  GetEditorText();
}

}  // namespace quorrel
