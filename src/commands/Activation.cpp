#include "commands/Activation.h"

#include <algorithm>
#include <set>
#include <string>

#include "commands/OpenDocs.h"
#include "commands/Restore.h"
#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "publish/ServerListing.h"
#include "publish/ServerPaths.h"
#include "publish/Transfers.h"
#include "shell/Backups.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/DocumentsPending.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

bool running = false;
// Missing documents whose back-up the user chose not to bring back: not offered
// again until the file is seen again.
std::set<std::string> declinedRestores;

// A listing or a transfer under way, or anything else that shows the busy cursor,
// owns the server window's list: it is not listed again under it.
bool ServerWindowAtRest() {
  const TMainWindow* window = MainWindow();
  return !(window && window->BusyCursor()) && !ListingRunning() && !TransferUnderWay();
}

bool LocksOn() {
  TMainWindow* window = MainWindow();
  bool caps = false, num = false;
  return window && window->LockKeyState(caps, num) && (caps || num);
}

// Runs that bring files in from elsewhere reload what they changed without asking.
bool ReloadsWithoutAsking(const std::string& path) {
  return CurrentCommand == BuildAllCommand || CurrentCommand == "DownloadSite" ||
         CurrentCommand == DownloadToCommand || path.find("Notes.rtf") != std::string::npos ||
         InTempFolder(path);
}

// The document reloaded from its file, the caret where it was.
void Reload(TMyRich& editor) {
  const size_t caret = editor.SelStart();
  editor.SetModified(false);
  OpenClick(MainMenu().Find("Reload"));
  if (!CurrentEditor) return;
  ScrollToPos(std::min(caret, CurrentEditor->TextLength()), true);
}

void CheckFileOnDisk() {
  TMyRich* editor = CurrentEditor;
  if (!editor || editor->TextLength() == 0) return;
  if (ActivationWindows().serverWindowActive && ActivationWindows().serverWindowActive()) return;
  ScheduleTimerRefresh();
  const std::string path = CurrentFileName;
  if (path.empty() || path[0] != '/') return;  // untitled, web addresses, the content document
  const int slot = editor->Tag();
  const int64_t age = FileAge(path);
  if (age == 0) {
    if (CurrentCommand == "DeleteF" || !FileExists(BackupPath(path))) return;
    if (!declinedRestores.insert(path).second) return;
    RestoreMClick();
    declinedRestores.erase(path);
    return;
  }
  declinedRestores.erase(path);
  if (slot < 0 || slot >= MaxTabs || FileAges[slot] == 0 || FileAges[slot] == age) return;
  // Taken before asking, so that whatever the answer this change is not asked about
  // again.
  FileAges[slot] = age;
  // Unsaved edits are never dropped without a question.
  const bool silent = ReloadsWithoutAsking(path) && !editor->Modified();
  if (silent || AskYesNo(path + "\rTimestamp has changed.  Reload file?")) Reload(*editor);
  if (CurrentEditor) {
    const int now = CurrentEditor->Tag();
    if (now >= 0 && now < MaxTabs && FileAge(CurrentFileName) != 0) {
      FileAges[now] = FileAge(CurrentFileName);
    }
  }
  FocusEditor();
}

void Activate(bool byApplication) {
  if (running) return;
  running = true;
  try {
    if (byApplication && MainMenu().Checked("WarnLocks") && LocksOn()) {
      PlayWaveResource("On");
      ShowStatus("CAPS LOCK or NUM LOCK on");
    }
    if (ActivationWindows().browserActive && ActivationWindows().browserActive()) {
      if (ActivationWindows().focusBrowser) ActivationWindows().focusBrowser();
    }
    if (ActivationWindows().serverWindowActive && ActivationWindows().serverWindowActive() &&
        MainMenu().Checked("Online") && ServerWindowAtRest() &&
        ActivationWindows().refreshServerWindow) {
      ActivationWindows().refreshServerWindow();
    }
    CheckFileOnDisk();
  } catch (const EAbort&) {
    // A question answered No, or a reload that failed after its message: the
    // command that made the tab current goes on.
  } catch (...) {
    running = false;
    throw;
  }
  running = false;
}

}  // namespace

void MyActivate() {
  Activate(false);
}

void ApplicationActivate() {
  Activate(true);
}

void ResetActivation() {
  running = false;
  declinedRestores.clear();
}

namespace {
const TResetEntry resetActivation(ResetActivation);
}  // namespace

}  // namespace quorrel
