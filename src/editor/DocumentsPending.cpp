#include "editor/DocumentsPending.h"

#include <stdexcept>

#include "editor/Documents.h"
#include "editor/MainWindow.h"
#include "editor/ShellState.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"
#include "validate/ValUnit.h"

namespace quorrel {

void SaveMarkers() {}

bool FormCloseQuery() {
  // A folder validation is running: it stops at its next file, and the window stays.
  if (BatchState == 1) {
    BatchState = 2;
    return false;
  }
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
