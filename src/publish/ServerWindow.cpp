#include "publish/ServerWindow.h"

#include "publish/Connection.h"
#include "publish/ServerListing.h"
#include "publish/ServerPaths.h"
#include "publish/SiteDetailsDialog.h"
#include "publish/BulkRun.h"
#include "publish/UpDown.h"
#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"

namespace quorrel {

void ServerMClick(const std::string& sender) {
  CurrentCommand = sender;
  if (!ServerName.empty() && ServerName != "None") {
    if (!OnlineChecked()) {
      // Only the Server menu itself asks; the commands that open the window want
      // the server anyway.
      const bool goOnline = sender != ServerWindowCommand || AskYesNo("Do you want to go online?");
      CheckConnection(goOnline);
    } else if (!CheckConnection(true)) {
      SDetsClick();
      return;
    }
  }
  if (TServerView* view = ServerView()) view->ShowModal();
  // A stop asked for in the window is for its own runs, not for later fetches.
  StopAfterThis = false;
  CurrentCommand.clear();
  ClassifyDocument();
  if (sender != DownloadSiteCommand) ActivateHook();
}

void ServerFormShow() {
  StopTransfer = false;
  StopAfterThis = false;
  ServerList.stopButton = false;
  ServerList.treeChosen = false;
  EnsureConnected();
  // The window starts at the current document's folder, or at the folder a page
  // builder writes into.
  const std::string local = IsDotPage && !OutputFolder.empty() ? OutputFolder : CurrentFolder;
  ServerList.folder.clear();
  if (!SiteFolder.empty() && local.starts_with(SiteFolder)) ServerList.folder = ServerPathOf(local);
  ApplicationTitle = "Quorrel";
  ServerList.tree = TServerNode{RootNodeName, RootNodeState, {}};
  ServerList.rows.clear();
  if (TServerView* view = ServerView()) view->ListingChanged();
}

void ServerFormTimer() {
  // A run over the whole site lists it itself; a window closed meanwhile lists nothing.
  if (EntireRun || BulkRunActive) return;
  if (TServerView* view = ServerView(); view && !view->IsActive()) return;
  ShowDir(std::nullopt);
}

void InstallServerWindowCommand() {
  MainMenu().SetHandler(ServerWindowCommand,
                        [](const TMenuItem& item) { ServerMClick(item.name); });
}

}  // namespace quorrel
