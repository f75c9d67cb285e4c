#include "commands/CompareCommands.h"

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "shell/Backups.h"
#include "shell/CompareProgram.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

void CompareClick(const std::string& sender) {
  if (!CurrentEditor || CurrentFileName.empty()) return;
  const std::string path = CurrentFileName;
  std::string other;
  if (sender == "CompareWith") {
    FileDialogCall call;
    call.title = "File to compare with";
    call.filter = "All files|*.*";
    call.folder = ExtractFilePath(path);
    if (!UserDialogs().FileDialog(call, other)) Abort();
  } else {
    other = BackupPath(path);
    if (!FileExists(other)) ShowErrorAndAbort(other + " not found");
  }
  // The other file on the left, the document on the right.
  RunExamDiff(other, path);
}

void InstallCompareCommands() {
  TMenuModel& menu = MainMenu();
  for (const char* name : {"Compare", "CompareWith"}) {
    menu.SetHandler(name, [](const TMenuItem& item) { CompareClick(item.name); });
  }
}

}  // namespace quorrel
