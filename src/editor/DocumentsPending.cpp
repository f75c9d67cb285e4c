#include "editor/DocumentsPending.h"

#include <stdexcept>

#include "editor/Documents.h"
#include "editor/MainWindow.h"
#include "editor/ShellState.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"

namespace quorrel {

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

}  // namespace quorrel
