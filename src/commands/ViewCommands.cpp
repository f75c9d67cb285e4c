#include "commands/ViewCommands.h"

#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"

namespace quorrel {

void MaximiseClick() {
  TMainWindow* window = MainWindow();
  if (!window) return;
  TWindowPlacement placement = window->Placement();
  if (placement.showCmd != ShowMaximised) {
    window->Maximise();
    return;
  }
  // Back to the normal rectangle, in a window with its sizeable frame.
  placement.showCmd = ShowNormal;
  window->SetPlacement(placement);
}

void ExploreTempClick() {
  const std::string folder = TempFolder();
  if (!ShellOpen(folder)) ShowMsg("Unable to open " + folder);
}

void InstallViewCommands() {
  MainMenu().SetHandler("Maximise", [](const TMenuItem&) { MaximiseClick(); });
  MainMenu().SetHandler("ExploreTemp", [](const TMenuItem&) { ExploreTempClick(); });
}

}  // namespace quorrel
