#include "editor/DocumentsPending.h"

#include "editor/Documents.h"
#include "editor/MainWindow.h"
#include "editor/ShellState.h"

namespace quorrel {

void OnIdle() {
  if (!IdleReady || AppPhase == 0) return;
  if (Busy) StdCursor();
}

void MyActivate() {}

void ShowInfo() {
  if (!CurrentEditor) return;
  if (TMainWindow* window = MainWindow()) window->SetStatusText(InfoPanel, "      " + StatusText);
}

void SaveMarkers() {}

bool StartActionsAvailable() {
  return false;
}

}  // namespace quorrel
