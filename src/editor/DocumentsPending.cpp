#include "editor/DocumentsPending.h"

#include <stdexcept>

#include "editor/Documents.h"
#include "editor/MainWindow.h"
#include "editor/ShellState.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"

namespace quorrel {

void OnIdle() {
  if (!IdleReady || AppPhase == 0) return;
  if (Busy) StdCursor();
}

void ShowInfo() {
  if (!CurrentEditor) return;
  if (TMainWindow* window = MainWindow()) window->SetStatusText(InfoPanel, "      " + StatusText);
}

void SaveMarkers() {}

bool FormCloseQuery() {
  bool alone = true;
  try {
    alone = OtherLiveInstances() == 0;
  } catch (const std::runtime_error&) {
    // No instance list: this instance counts as the only one.
  }
  if (MainIni && alone) MainIni->DeleteKey("System", "Running");
  return true;
}

bool StartActionsAvailable() {
  return false;
}

}  // namespace quorrel
