#include "commands/BuildCommands.h"

#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

std::string BuildWeb(bool oneSection) {
  if (!CurrentEditor) return "";
  // The pages are built from the file, so it must hold what the editor shows.
  SaveClick("NoValidate");
  GetEditorText();
  // Pages are validated as they are built, whichever item started the build.
  CurrentCommand = BuildAllCommand;
  TBuildRun run;
  BuildPagesFromRtf(run, oneSection);
  std::string page = run.PageName + run.PageExt;
  ShowStatus(page + " built");
  return page;
}

void InstallBuildCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("BuildAll", [](const TMenuItem&) { BuildWeb(false); });
  menu.SetHandler("BuildOne", [](const TMenuItem&) { BuildWeb(true); });
}

}  // namespace quorrel
