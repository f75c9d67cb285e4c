#include "commands/ReportTab.h"

#include "shell/CommandNames.h"
#include "shell/Hooks.h"
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

}  // namespace quorrel
