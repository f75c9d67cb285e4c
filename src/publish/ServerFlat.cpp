// The server files window in flat mode: the whole site in one list, folder by
// folder, as the bulk runs and the whole-site download walk it.
#include <algorithm>

#include "platform/CodePage.h"
#include "platform/InetListing.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/FtpErrors.h"
#include "publish/ServerDates.h"
#include "publish/ServerListing.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"
#include "shell/SiteState.h"

namespace quorrel {

namespace {

// Folders of a hosting account that are not the site: never walked.
constexpr char kSkippedFolders[] =
    "|clientbackup/|etc/|logs/|tmp/|ssl/|var/|wp-admin/|wp-content/|wp-includes/|";
// Links aside, a tree deeper than this is no site: the walk stops there.
constexpr int kMaxDepth = 30;

// Pages and style sheets, the files an on-line validation looks at.
bool IsPageOrStyleSheet(const std::string& name) {
  const std::string ext = UpperCaseLatin1(ExtractFileExt(name));
  return ext.starts_with(".HTM") || ext == ".CSS" || ext.starts_with(".ASP") ||
         ext.starts_with(".PHP");
}

struct TFolder {
  std::string name;
  int icon;
  bool onServer;
};

// Adds a folder to the sorted list, once whatever its letter case.
TFolder* AddFolder(std::vector<TFolder>& folders, const std::string& name, int icon, bool server) {
  const std::string upper = UpperCaseLatin1(name);
  auto at = std::lower_bound(folders.begin(), folders.end(), upper,
                             [](const TFolder& f, auto& u) { return UpperCaseLatin1(f.name) < u; });
  if (at != folders.end() && UpperCaseLatin1(at->name) == upper) return &*at;
  return &*folders.insert(at, {name, icon, server});
}

bool Stopped() {
  TServerView* view = ServerView();
  return StopTransfer || (view && !view->FlatTicked());
}

void SetCaption(const std::string& caption) {
  ServerList.caption = caption;
  if (TServerView* view = ServerView()) view->ListingChanged();
}

// Whether the walk passes a folder by: hidden folders and the account's own.
bool SkippedFolder(const std::string& name) {
  if (!EntireRun && !FlatListing) return false;
  return name.starts_with(".") || InBarListNoCase(name + "/", kSkippedFolders) != 0;
}

void ListFlatFolder(const std::string& folder, bool onServer, int depth);

// The server's entries of one folder: its files as rows, its folders collected.
void ListServerEntries(const std::string& folder, std::vector<TFolder>& folders) {
  TServerListing& list = ServerList;
  const int folderIcon = BulkRunMode == ' ' ? NotOnLocalIcon : IgnoreDateIcon;
  if (!FtpFindFirst(folder + "*.*")) {
    // An empty folder, an empty web root among them, has nothing to list.
    if (OnlineChecked() && FtpConnected() && GetLastError() != ERROR_NO_MORE_FILES)
      ReportInternetError("Error listing files");
    return;
  }
  for (const std::string& name : FtpFindRejectedNames(FtpFind))
    list.rejectedNames.push_back(folder + name);
  do {
    const std::string name = CurrentFindName();
    if (name == "." || name == "..") continue;
    if (folder.empty() && name == "mail" && MainMenu().Checked("IgnoreMail")) continue;
    // A link is never a folder here: a link to its own folder would never end.
    if (FtpFindData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (inet::IsAcceptableServerName(name)) {
        AddFolder(folders, name, folderIcon, true);
      } else {
        list.rejectedNames.push_back(folder + name);
      }
      continue;
    }
    if (BulkRunMode == 'V' && !IsPageOrStyleSheet(name)) continue;
    if (!PassesNameFilter(name)) continue;
    if (EntireRun && name.starts_with(".")) continue;
    AddServerListItem(name);
  } while (!StopTransfer && FtpFind && InternetFindNextFileA(FtpFind, &FtpFindData));
  if (FtpFind) InternetCloseHandle(FtpFind);
  FtpFind = nullptr;
}

void ListFlatFolder(const std::string& folder, bool onServer, int depth) {
  TServerListing& list = ServerList;
  list.listingFolder = folder;
  std::vector<TFolder> folders;
  if (onServer) ListServerEntries(folder, folders);
  if (BulkRunMode == ' ' || BulkRunMode == 'S') {
    const std::string local = LocalFolderOf(folder);
    ListLocalFiles(local);
    for (const std::string& name : LocalSubFolders(local)) {
      TFolder* known = AddFolder(folders, name, NotOnServerIcon, false);
      if (known->onServer) known->icon = IgnoreDateIcon;
    }
  }
  // Rows of a folder by name, under its header.
  const size_t first = list.headerRow + 1;
  if (first < list.rows.size()) {
    std::stable_sort(
        list.rows.begin() + static_cast<long>(first), list.rows.end(),
        [](const TServerRow& a, const TServerRow& b) { return ServerNameLess(a.name, b.name); });
  }
  if (depth >= kMaxDepth) return;
  for (const TFolder& sub : folders) {
    if (Stopped()) return;
    const std::string path = folder + sub.name + "/";
    SetCaption("Processing " + path);
    if (SkippedFolder(sub.name)) continue;
    list.headerRow = list.rows.size();
    list.rows.push_back({path, sub.icon, true, false});
    ListFlatFolder(path, sub.onServer, depth + 1);
  }
}

// Rows of files outside the web root are marked, so that no run takes them for
// pages of the site.
void MarkOutsideWebRoot() {
  if (WebRootPath.empty()) return;
  std::string folder;
  for (TServerRow& row : ServerList.rows) {
    if (row.header) {
      folder = row.name;
      continue;
    }
    if (row.icon == NoIcon) continue;
    if (!folder.starts_with(WebRootPath)) row.name.insert(0, 1, OutsideWebRootMark);
  }
}

}  // namespace

void ListFlat() {
  TServerListing& list = ServerList;
  const bool bulk = BulkRunMode != ' ';
  list.treeVisible = false;
  list.listVisible = false;
  list.rows.clear();
  list.rejectedNames.clear();
  list.condenseProbe = 0;
  list.headerRow = 0;
  TListingRun run;
  CheckConnection(false);
  // An on-line validation from a page below the web root starts at the web root.
  std::string start;
  if (BulkRunMode == 'V' && !WebRootPath.empty() &&
      CurrentFolder.find(ToLocalPath(WebRootPath)) != std::string::npos) {
    start = WebRootPath;
  }
  // The archive keeps the site's pages: what lies beside the web root (the archive
  // itself among it) is none of them.
  if (BulkRunMode == 'A') start = WebRootPath;
  list.flatStart = start;
  list.rows.push_back({bulk ? WebRootPath : std::string(RootNodeName), IgnoreDateIcon, true});
  try {
    ListFlatFolder(start, true, 0);
  } catch (...) {
    StopTransfer = false;
    throw;
  }
  if (TServerView* view = ServerView(); view && !view->FlatTicked()) {
    // Flat was unticked meanwhile: the window goes back to its tree.
    StopTransfer = false;
    FlatListing = false;
    ShowDir(list.chosenNode);
    return;
  }
  if (BulkRunMode == ' ') MarkOutsideWebRoot();
  StopTransfer = false;
  list.listVisible = true;
  list.topVisible = !bulk;
  if (BulkRunMode == 'V')
    list.caption = "On-line validate:  " + SiteWebAddress;
  else if (BulkRunMode == 'A')
    list.caption = "Archiving " + SiteWebAddress;
  else if (BulkRunMode == 'S')
    list.caption = "Synchronising " + SiteWebAddress;
  else
    list.caption = ServerWindowCaption();
  if (!bulk) {
    const TColumnWidth width = FirstColumnWidth(list.rows.size(), list.rememberedWidth);
    list.columnWidth = width.width;
    if (width.remember) {
      list.wider = true;
      list.rememberedWidth = width.width;
    }
  }
  if (TServerView* view = ServerView()) view->ListingChanged();
  ReportRejectedNames();
}

void ListServerWindow() {
  if (FlatListing) {
    ListFlat();
  } else {
    ShowDir(ServerList.chosenNode);
  }
}

void RefreshAfterError(const std::function<void()>& refresh) {
  static bool refreshing = false;
  if (refreshing || !refresh) return;
  refreshing = true;
  try {
    refresh();
  } catch (...) {
    refreshing = false;
    throw;
  }
  refreshing = false;
}

TColumnWidth FirstColumnWidth(size_t rows, int rememberedWidth) {
  int width;
  if (rows > 450) {
    width = 89;
  } else if (rows < 130) {
    width = 360;
  } else if (rows >= 250) {
    width = rememberedWidth;
  } else {
    width = 200;
  }
  return {width, width > 120 || width == 89};
}

}  // namespace quorrel
