// The server files window in tree mode: the folder tree walked from the root to
// the chosen folder, and the rows of that folder.
#include <algorithm>
#include <filesystem>

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/InetListing.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "publish/Connection.h"
#include "publish/FtpErrors.h"
#include "publish/ServerDates.h"
#include "publish/ServerListing.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/SiteState.h"

namespace quorrel {

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return UpperCaseLatin1(a) == UpperCaseLatin1(b);
}

void Changed() {
  if (TServerView* view = ServerView()) view->ListingChanged();
}

// A search that found nothing: an empty folder, off-line, or an error to report.
void CheckListingError() {
  if (!OnlineChecked() || !FtpConnected()) return;
  if (GetLastError() == ERROR_NO_MORE_FILES) return;
  ReportInternetError("Error listing files");
}

// Lists one level of the walk: its server folders become the node's children (with
// the local folders the server lacks), and at the chosen level its files the rows.
void ListLevel(TServerNode& node, const std::string& path, bool chosen) {
  TServerListing& list = ServerList;
  list.listingFolder = path;
  std::vector<std::string> serverFolders;
  if (node.state != FolderLocalOnly) {
    if (FtpFindFirst(path + "*.*")) {
      for (const std::string& name : FtpFindRejectedNames(FtpFind))
        list.rejectedNames.push_back(path + name);
      do {
        const std::string name = CurrentFindName();
        if (name == RootNodeName) {
          ShowMsg("There is a folder called \"[Root]\" on the server!  Please contact Varek Dask.");
        } else if (FtpFindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (inet::IsAcceptableServerName(name)) {
            serverFolders.push_back(name);
          } else {
            list.rejectedNames.push_back(path + name);
          }
        } else if (chosen && PassesNameFilter(name)) {
          AddServerListItem(name);
          if (StopTransfer) break;
        }
      } while (FtpFind && InternetFindNextFileA(FtpFind, &FtpFindData));
      if (FtpFind) InternetCloseHandle(FtpFind);
      FtpFind = nullptr;
    } else {
      CheckListingError();
    }
  }

  const std::vector<std::string> localFolders = LocalSubFolders(LocalFolderOf(path));
  std::vector<TServerNode> children;
  auto keep = [&](const std::string& name, int state) {
    TServerNode child{name, state, {}};
    for (TServerNode& old : node.children) {
      if (old.name == name) child.children = std::move(old.children);
    }
    children.push_back(std::move(child));
  };
  for (const std::string& name : serverFolders) {
    const bool local = std::any_of(localFolders.begin(), localFolders.end(),
                                   [&](const std::string& l) { return SameName(l, name); });
    keep(name, local ? FolderOnBoth : FolderServerOnly);
  }
  for (const std::string& name : localFolders) {
    if (std::none_of(serverFolders.begin(), serverFolders.end(),
                     [&](const std::string& s) { return SameName(s, name); })) {
      keep(name, FolderLocalOnly);
    }
  }
  std::sort(children.begin(), children.end(), [](const TServerNode& a, const TServerNode& b) {
    return ServerNameLess(a.name, b.name);
  });
  node.children = std::move(children);
}

// Offers to make the local folder of a chosen server folder that has none.
void OfferLocalFolder(const std::string& path) {
  const std::string folder = LocalFolderOf(path);
  if (folder.empty() || DirectoryExists(folder) || ServerList.treeFolderRun) return;
  if (!AskYesNo(folder + "\rCreate local folder?")) return;
  std::error_code ec;
  std::filesystem::create_directories(NativePath(folder), ec);
  if (ec || !DirectoryExists(folder)) ShowMsg("Could not create folder\r" + folder);
}

// Names the same but for case cannot both live in a local folder.
void CheckDuplicateNames() {
  const std::vector<TServerRow>& rows = ServerList.rows;
  for (size_t i = 1; i < rows.size(); ++i) {
    if (!SameName(rows[i - 1].name, rows[i].name)) continue;
    if (AskOkHelpCancel(rows[i - 1].name + " and " + rows[i].name + " both appear in this folder.",
                        NameCaseHelp) == mrCancel) {
      if (TServerView* view = ServerView()) view->Close();
      Abort();
    }
  }
}

}  // namespace

void ShowDir(const std::optional<std::vector<std::string>>& node) {
  TListingRun run;
  TServerListing& list = ServerList;
  list.rows.clear();
  list.headerRow = 0;
  list.condenseProbe = 0;
  list.listVisible = false;
  Changed();
  CheckConnection(false);

  std::string path;
  if (node) {
    for (const std::string& name : *node) path += name + "/";
    OfferLocalFolder(path);
  } else {
    list.tree = TServerNode{RootNodeName, RootNodeState, {}};
    list.fileCount = 0;
  }
  list.chosenNode = node ? *node : std::vector<std::string>{};
  list.folder = path;
  list.rejectedNames.clear();

  TServerNode* level = &list.tree;
  std::string levelPath;
  for (size_t depth = 0;; ++depth) {
    const bool chosen = depth == list.chosenNode.size();
    ListLevel(*level, levelPath, chosen);
    if (chosen) break;
    const std::string& name = list.chosenNode[depth];
    auto child = std::find_if(level->children.begin(), level->children.end(),
                              [&](const TServerNode& n) { return n.name == name; });
    if (child == level->children.end()) {
      // Gone from both sides since it was shown: listed as a server folder.
      level->children.push_back({name, FolderServerOnly, {}});
      child = level->children.end() - 1;
    }
    level = &*child;
    levelPath += name + "/";
  }
  if (BulkRunMode == ' ' || BulkRunMode == 'S') ListLocalFiles(LocalFolderOf(path));
  std::stable_sort(
      list.rows.begin(), list.rows.end(),
      [](const TServerRow& a, const TServerRow& b) { return ServerNameLess(a.name, b.name); });
  // The answer to the 1000-files question ends this listing, not the next one.
  StopTransfer = false;
  CheckDuplicateNames();

  list.listVisible = list.treeVisible = list.topVisible = true;
  list.caption = ServerWindowCaption();
  const TColumnWidth width = FirstColumnWidth(list.rows.size(), list.rememberedWidth);
  list.columnWidth = width.width;
  if (width.remember) {
    list.wider = true;
    list.rememberedWidth = width.width;
  }
  Changed();
  ReportRejectedNames();
}

}  // namespace quorrel
