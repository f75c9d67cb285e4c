// Tabs for the validators and the tools that write reports.
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "validate/ValUnit.h"

namespace quorrel {

void ShowFileTab(int fileIndex, bool toTop) {
  // A closed document's slot has no tab: then nothing changes.
  const int tab = TabOfSlot(fileIndex);
  if (tab < 0) return;
  MainWindow()->ActivateTab(tab);
  CurrentText.clear();
  PCChange();
  if (toTop && CurrentEditor) CurrentEditor->Select(0, 0);
}

void UseUntitledTab() {
  for (size_t slot = 0; slot < Documents.size(); ++slot) {
    if (Documents[slot].FileName.compare(0, 8, "Untitled") != 0) continue;
    if (TabOfSlot(static_cast<int>(slot)) < 0) continue;
    ShowFileTab(static_cast<int>(slot), true);
    return;
  }
  // The "Other" new-document command: an empty plain-text document.
  OpenBySenderHook(NewTextCommand);
}

}  // namespace quorrel
