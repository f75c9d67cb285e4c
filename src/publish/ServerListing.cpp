// The rows of the server files window: one server file compared with its local
// copy, the local files the server lacks, and the checks of names on the way.
#include "publish/ServerListing.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/CodePage.h"
#include "platform/InetListing.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/WorkFileNames.h"
#include "publish/Condense.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/ServerPaths.h"
#include "publish/SiteDetails.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"
#include "shell/SiteState.h"

namespace quorrel {

TServerListing ServerList;

namespace {

TServerView* view = nullptr;

// The counter is shown, and the screen kept alive, every so many files.
constexpr int kCounterStep = 20;
// Outside a whole-site download the user is asked once a listing grows this long.
constexpr int kAskAfterFiles = 1000;

// Local files that never count as missing on the server. The settings layer keeps
// its lock beside "Data.FTP"; it belongs to this machine as the details do.
constexpr char kLocalOnlyFiles[] = "|DATA.FTP|.DATA.FTP.LOCK|CPANEL.HTM|THUMBS.DB|PHOTOTHUMB.DB|";

bool ComparesDates() {
  return BulkRunMode == ' ' || BulkRunMode == 'S';
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && AnsiSameText(text.substr(text.size() - tail.size()), tail);
}

// Whether a local page still has its layout: a condensed page has no line break
// before its head.
bool PageIsLaidOut(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return PosNoCase("\n<Head", text) != 0;
}

void MarkCondenseMismatch(TServerRow& row, const std::string& localPath) {
  if (row.icon != SameDateIcon) return;
  if (!EndsWithNoCase(row.name, ".HTM") && !EndsWithNoCase(row.name, ".HTML")) return;
  if (IsExemptFolder(localPath)) return;
  const bool condense = MainMenu().Checked("Condense");
  const bool sameSize = LocalFileSize == ServerFileSize;
  if (sameSize != condense) return;
  // A page the upload sends as it is has the same size on both sides by right.
  if (condense && !CondensedOnUpload(localPath)) return;
  if (condense && ServerList.condenseProbe == 0 && !EntireRun) {
    ServerList.condenseProbe = PageIsLaidOut(localPath) ? 2 : 1;
  }
  // Unticked: the sizes differ, so the server copy was condensed. Ticked: the sizes
  // agree although the local page is laid out and should have gone up condensed.
  row.condenseMismatch = !condense || ServerList.condenseProbe == 2;
}

void WarnAboutServerFile(const std::string& name) {
  if (PosNoCase("Data.FTP", name)) {
    AskOkHelpCancel("Data.FTP found on server.  Please delete it (but not from local).",
                    ServerDetailsHelp);
  }
  if (PosNoCase("CPanel.HTM", name)) {
    AskOkHelpCancel("CPanel.HTM found on server.  Please delete it (but not from local).",
                    ControlPanelHelp);
  }
}

void ShowCount() {
  ServerList.counterText = "Files processed: " + std::to_string(ServerList.fileCount);
  if (view) view->ShowCounter(ServerList.counterText);
}

int runningListings = 0;

}  // namespace

TListingRun::TListingRun() : quiet_(InServerRun) {
  InServerRun = true;
  ++runningListings;
  if (TMainWindow* w = MainWindow()) w->SetBusyCursor(true);
}

TListingRun::~TListingRun() {
  InServerRun = quiet_;
  if (--runningListings == 0) {
    if (TMainWindow* w = MainWindow()) w->SetBusyCursor(false);
  }
}

bool ListingRunning() {
  return runningListings > 0;
}

void SetServerView(TServerView* serverView) {
  view = serverView;
}

TServerView* ServerView() {
  return view;
}

bool PassesNameFilter(const std::string& name) {
  return ServerList.nameFilter.empty() || PosNoCase(ServerList.nameFilter, name) != 0;
}

bool ServerNameLess(const std::string& a, const std::string& b) {
  const std::string ua = UpperCaseLatin1(a), ub = UpperCaseLatin1(b);
  return ua != ub ? ua < ub : a < b;
}

std::vector<std::string> LocalSubFolders(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(NativePath(folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code statusError;
    if (!it->is_symlink(statusError) && it->is_directory(statusError)) {
      names.push_back(PathFromNative(it->path().filename().string()));
    }
  }
  std::sort(names.begin(), names.end(), ServerNameLess);
  return names;
}

std::string LocalFolderOf(const std::string& serverFolder) {
  if (SiteFolder.empty() || SiteFolder == "?") return "";
  const std::string folder = SiteFolder + ToLocalPath(serverFolder);
  const std::string onDisk = ResolveNoCase(folder);
  if (onDisk.empty() || !DirectoryExists(onDisk)) return folder;
  return AddBackslash(onDisk);
}

void AddServerListItem(const std::string& name) {
  TServerListing& list = ServerList;
  // A name that cannot be a local file name never becomes part of a local path.
  if (!inet::IsAcceptableServerName(name)) {
    list.rejectedNames.push_back(list.listingFolder + name);
    return;
  }
  ++list.fileCount;
  if (list.fileCount % kCounterStep == 0) {
    ShowCount();
    if (TMainWindow* w = MainWindow()) w->ProcessMessages();
    if (StopTransfer) return;
  }
  if (list.fileCount == kAskAfterFiles + 1 && !EntireRun &&
      AskYesNo("1000 files listed.  Terminate listing?")) {
    StopTransfer = true;
    return;
  }

  TServerRow row;
  row.name = name;
  row.icon = NotOnServerIcon;
  ReadServerFileDate();
  if (ComparesDates()) {
    const std::string folder = LocalFolderOf(list.listingFolder);
    std::string local = folder.empty() ? "" : ResolveNoCase(folder + name);
    if (!local.empty() && FileExists(local)) {
      CheckNameCase(name, ExtractFileName(local));
    } else {
      local = folder + name;
    }
    DateSize(local);
    row.icon = CompareServerDate();
    MarkCondenseMismatch(row, local);
  }
  if (PosNoCase("Web.Config", name) || PosNoCase(".user.ini", name)) row.icon = IgnoreDateIcon;
  list.rows.push_back(row);
  WarnAboutServerFile(name);
}

bool CheckNameCase(const std::string& name, const std::string& other) {
  if (other.size() >= name.size() &&
      other.compare(other.size() - name.size(), name.size(), name) == 0)
    return true;
  std::string context;
  if (view && view->IsActive()) {
    if (FlatListing) context = ServerList.listingFolder;
  } else if (TMainWindow* w = MainWindow(); w && w->ActiveTab() >= 0) {
    context = w->TabCaption(w->ActiveTab());
  }
  AskOkHelpCancel(context +
                      "\rDifference in case will be a problem on a Unix server.\r"
                      "    Server name:\t" +
                      name + "\r    Local name:\t" + other,
                  NameCaseHelp);
  return false;
}

void ListLocalFiles(const std::string& localFolder) {
  TServerListing& list = ServerList;
  if (!localFolder.empty() && DirectoryExists(localFolder)) {
    for (const std::string& name : ListFiles(localFolder, "*.*")) {
      const std::string upper = UpperCaseLatin1(name);
      if (EndsWithNoCase(upper, ".BAK") || InBarList(upper, kLocalOnlyFiles) ||
          IsOwnWorkFile(localFolder, name)) {
        continue;
      }
      bool found = false;
      for (size_t i = list.rows.size(); i > list.headerRow && !found; --i) {
        const TServerRow& row = list.rows[i - 1];
        found = !row.header && UpperCaseLatin1(row.name) == upper;
      }
      if (!found && PassesNameFilter(name)) list.rows.push_back({name, NotOnServerIcon});
    }
  }
  if (list.rows.empty()) list.rows.push_back({NoFilesRow, NoIcon});
  ShowCount();
}

std::string ServerWindowCaption() {
  const bool noServer = ServerName.empty() || ServerName == "None" || !SiteHasServer;
  std::string caption = "Files for " + SiteFolder + "  on server  " +
                        (noServer ? std::string("[No server]") : JoinFtpAddress());
  if (!FlatListing) {
    caption += "  in folder  " +
               (ServerList.folder.empty() ? std::string(RootNodeName) : ServerList.folder);
  }
  if (!ServerList.nameFilter.empty()) caption += " filtered on " + ServerList.nameFilter;
  return caption;
}

void ReportRejectedNames() {
  std::vector<std::string>& names = ServerList.rejectedNames;
  if (names.empty()) return;
  std::string text = "These names on the server cannot be local file names and were left out:";
  for (const std::string& name : names) text += "\r    " + name;
  names.clear();
  ShowMsg(text);
}

void ResetServerListing() {
  ServerList = TServerListing{};
  StopTransfer = false;
}

namespace {
const TResetEntry resetServerListing(ResetServerListing);
}  // namespace

}  // namespace quorrel
