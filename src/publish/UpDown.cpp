#include "publish/UpDown.h"

#include <algorithm>
#include <filesystem>

#include "platform/Abort.h"
#include "platform/InetListing.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "publish/Connection.h"
#include "publish/Download.h"
#include "publish/FtpErrors.h"
#include "publish/ServerDates.h"
#include "publish/ServerListing.h"
#include "publish/Transfers.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Document.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"
#include "shell/SiteState.h"
#include "shell/TextFiles.h"

namespace quorrel {

bool StopAfterThis = false;

namespace {

// The server's reply to a folder made: success, whatever the call made of it.
constexpr uint32_t kFolderCreated = 257;
// A tree deeper than this is no site: an upload goes no further down.
constexpr int kMaxFolderDepth = 30;
// More rows than this take part: each transfer gets the long time-out.
constexpr size_t kManyRows = 5;

void RowsChanged() {
  if (TServerView* view = ServerView()) view->RowsChanged();
}

// The word of the caption for each command.
std::string CaptionVerb(const std::string& command) {
  if (command == ServerUploadCommand) return "Uploading";
  if (command == UnarchiveCommand) return "Unarchiving";
  if (command == SynchroniseCommand) return "Synchronising";
  return "Downloading";
}

bool IsDownload(const std::string& command) {
  return command == ServerDownloadCommand || command == DownloadToCommand;
}

// The long time-out, once a row asks for it, on the connection and, for a
// connection made again meanwhile, on the session; the session gets its own value
// back when the command ends.
class TLongTimeout {
 public:
  TLongTimeout() = default;
  TLongTimeout(const TLongTimeout&) = delete;
  TLongTimeout& operator=(const TLongTimeout&) = delete;
  ~TLongTimeout() {
    if (sessionSaved_) {
      InternetSetOptionA(InternetSession, INTERNET_OPTION_CONNECT_TIMEOUT, &sessionValue_,
                         sizeof sessionValue_);
    }
  }
  void Apply() {
    const uint64_t value = LongTransferTimeout;
    if (!sessionSaved_ && InternetSession) {
      uint32_t length = sizeof sessionValue_;
      sessionSaved_ = InternetQueryOptionA(InternetSession, INTERNET_OPTION_CONNECT_TIMEOUT,
                                           &sessionValue_, &length);
      if (sessionSaved_) {
        InternetSetOptionA(InternetSession, INTERNET_OPTION_CONNECT_TIMEOUT, &value, sizeof value);
      }
    }
    if (FtpConnection) {
      InternetSetOptionA(FtpConnection, INTERNET_OPTION_CONNECT_TIMEOUT, &value, sizeof value);
    }
  }

 private:
  bool sessionSaved_ = false;
  uint32_t sessionValue_ = 0;
};

// The caption and "Stop after this one" as they were before the command, back
// however it ends.
class TWindowScope {
 public:
  TWindowScope() : caption_(ServerList.caption), stopButton_(ServerList.stopButton) {}
  TWindowScope(const TWindowScope&) = delete;
  TWindowScope& operator=(const TWindowScope&) = delete;
  ~TWindowScope() {
    if (!listed_) ServerList.caption = caption_;
    ServerList.stopButton = stopButton_;
    RowsChanged();
  }
  // The window was listed again: its caption is the new listing's.
  void Listed() { listed_ = true; }

 private:
  std::string caption_;
  bool stopButton_;
  bool listed_ = false;
};

struct TRun {
  std::string command;
  bool treeFolder = false;
  char matching = ' ';      // the answer to "Upload matching files?", once asked
  bool folderMade = false;  // a server folder made outside work on a tree folder
  bool stopped = false;
  TUpDownResult result;
  TLongTimeout timeout;
};

// Makes a server folder. Only here is the server's 257 ("created") a success;
// every other failure is reported and ends the command.
void CreateServerFolder(const std::string& folder, const std::string& message) {
  std::string path = folder;
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  if (FtpCreateDirectoryA(FtpConnection, path)) return;
  const TInternetError error = ReadInternetError(0);
  if (error.code == kFolderCreated) return;
  ReportFailedCall(message, &error);
}

TServerNode* FindNode(const std::vector<std::string>& names) {
  TServerNode* node = &ServerList.tree;
  for (const std::string& name : names) {
    auto child = std::find_if(node->children.begin(), node->children.end(),
                              [&](const TServerNode& n) { return n.name == name; });
    if (child == node->children.end()) return nullptr;
    node = &*child;
  }
  return node;
}

std::string NodeFolder(const std::vector<std::string>& names) {
  std::string path;
  for (const std::string& name : names) path += name + "/";
  return path;
}

// The server folder of a row: in a flat listing that of the header row above it
// (or its own, for a header row), else the folder the window lists.
std::string RowFolder(size_t index) {
  const std::vector<TServerRow>& rows = ServerList.rows;
  if (!FlatListing) return ServerList.folder;
  for (size_t i = index + 1; i-- > 0;) {
    if (!rows[i].header) continue;
    return i == 0 ? ServerList.flatStart : rows[i].name;
  }
  return ServerList.flatStart;
}

// Whether every name of a server folder ("a/b/") can be a local folder's name.
bool AcceptableFolder(const std::string& folder) {
  size_t start = 0;
  while (start < folder.size()) {
    size_t slash = folder.find('/', start);
    if (slash == std::string::npos) slash = folder.size();
    if (!inet::IsAcceptableServerName(folder.substr(start, slash - start))) return false;
    start = slash + 1;
  }
  return true;
}

// The row's local path: the site folder, the local form of its folder, and its
// name without the mark of files outside the web root. Empty, after a word to the
// user, when the row's names would lead out of the site.
std::string RowLocalPath(size_t index) {
  const TServerRow& row = ServerList.rows[index];
  const std::string folder = RowFolder(index);
  std::string name;
  if (!row.header) {
    name = row.name;
    if (!name.empty() && name.front() == OutsideWebRootMark) name.erase(0, 1);
  }
  if (!SiteFolder.empty() && AcceptableFolder(folder) &&
      (row.header || inet::IsAcceptableServerName(name))) {
    const std::string path = SiteFolder + ToLocalPath(folder) + name;
    if (path.starts_with(SiteFolder)) return path;
  }
  ShowMsg(folder + name + "\ris not within site " + SiteFolder + "\rso it is passed over.");
  return "";
}

// The tabs that show a file have not been compared with its new server copy.
void ForgetServerDateOf(const std::string& path) {
  for (TDocument& document : Documents) {
    if (document.FileName == path) document.ServerFileDate = ServerDateUnknown;
  }
}

// The archived copy of a file: the local web root replaced by "Archive/".
std::string ArchivedPathOf(const std::string& localPath) {
  const std::string webRoot = SiteFolder + ToLocalPath(WebRootPath);
  if (!localPath.starts_with(webRoot)) return localPath;
  return SiteFolder + "Archive/" + localPath.substr(webRoot.size());
}

// The archived copy goes back up in place of the server copy. Both transfers run
// as a validation run's do: no condensing, no back-up of the work file.
void Unarchive(const std::string& localPath, const std::string& serverPath) {
  const std::string work = TempFolder() + ArchivedWorkFile;
  CurrentCommand = OnlineValidateAllCommand;
  DownloadFile(ArchivedPathOf(localPath), work);
  UploadFile(work, serverPath, false);
  CurrentCommand = ServerWindowCommand;
}

// "Download to...": a place for the copy, in the file's local folder. Cancel ends
// the command.
std::string AskDownloadTarget(const std::string& localPath) {
  const std::string ext = ExtractFileExt(localPath);
  std::string path = localPath;
  if (!ShowFileDialog(ext + " files|*" + ext + "|All files|*.*", ExtractFilePath(localPath), true,
                      path, "Download to...")) {
    Abort();
  }
  return path;
}

bool AskDatabaseUploads(const std::vector<size_t>& rows) {
  for (size_t index : rows) {
    const TServerRow& row = ServerList.rows[index];
    const std::string ext = UpperCaseLatin1(ExtractFileExt(row.name));
    if ((ext == ".MDB" || ext == ".DB") &&
        !AskYesNo("Are you sure you want to upload the database " + row.name)) {
      return false;
    }
  }
  return true;
}

// One row of the run; n of total for the caption.
void DoRow(TRun& run, size_t index, size_t n, size_t total) {
  const std::string local = RowLocalPath(index);
  if (local.empty()) return;
  // A copy: the transfers let events run, and the list may be made anew meanwhile.
  const TServerRow row = ServerList.rows[index];
  const auto mark = [&](int icon) {
    if (index < ServerList.rows.size() && ServerList.rows[index].name == row.name)
      ServerList.rows[index].icon = icon;
  };
  const std::string serverPath = SiteServerPathOf(local);
  const std::string dateSize = DateSize(local);
  if (dateSize.find("MB") != std::string::npos || total > kManyRows) run.timeout.Apply();
  std::string caption = CaptionVerb(run.command) + ":  " + std::to_string(n) + " of " +
                        std::to_string(total) + "  --  " + row.name;
  if (run.command == ServerUploadCommand) caption += "    " + dateSize;
  ServerList.caption = caption;
  RowsChanged();

  const bool downloadRow = IsDownload(run.command) ||
                           (run.command == SynchroniseCommand &&
                            (row.icon == ServerNewerIcon || row.icon == NotOnLocalIcon));
  if (run.command == UnarchiveCommand) {
    if (row.header) return;
    Unarchive(local, serverPath);
  } else if (downloadRow) {
    if (run.command == DownloadToCommand) {
      if (row.header) return;
      const std::string target = AskDownloadTarget(local);
      if (DownloadFile(local, target)) ++run.result.downloads;
      run.stopped = true;  // one file only
    } else if (FlatListing && row.header) {
      std::error_code ec;
      std::filesystem::create_directories(NativePath(local), ec);
      if (!DirectoryExists(local)) ShowErrorAndAbort("Could not create folder\r" + local);
      mark(IgnoreDateIcon);
    } else if (!(run.treeFolder && row.icon == NotOnServerIcon)) {
      // A folder's own files that the server lacks are no reason to stop.
      if (DownloadFile(local)) {
        mark(SameDateIcon);
        ++run.result.downloads;
      }
    }
  } else if (FileExists(local)) {
    if (run.treeFolder && run.matching == ' ')
      run.matching = AskYesNo("Upload matching files?") ? 'Y' : 'N';
    if (!(run.treeFolder && row.icon == SameDateIcon && run.matching != 'Y')) {
      UploadFile(local, serverPath);
      mark(SameDateIcon);
      ++run.result.uploads;
      ForgetServerDateOf(local);
    }
  } else if (FlatListing && row.icon == NotOnServerIcon && DirectoryExists(local)) {
    CreateServerFolder(serverPath, serverPath +
                                       "\rCould not create folder on server - possibly a "
                                       "higher-level folder is missing.");
    mark(IgnoreDateIcon);
    if (!run.treeFolder && BulkRunMode == ' ') run.folderMade = true;
  }
}

// The rows of the listing shown, each once; the run stops after the row under way
// once "Stop after this one" is pressed.
void DoRows(TRun& run, const std::vector<size_t>& rows) {
  if (run.command == ServerUploadCommand && !AskDatabaseUploads(rows)) {
    run.stopped = true;
    return;
  }
  ServerList.stopButton = rows.size() > 1;
  StopAfterThis = false;
  RowsChanged();
  CheckConnection(false);
  // The rows as they were chosen: should the list be made anew meanwhile, the run
  // ends rather than take another row for the one chosen.
  std::vector<std::string> names;
  for (size_t index : rows) names.push_back(ServerList.rows[index].name);
  const auto unchanged = [&](size_t i) {
    return rows[i] < ServerList.rows.size() && ServerList.rows[rows[i]].name == names[i];
  };
  for (size_t i = 0; i < rows.size() && !run.stopped; ++i) {
    if (!unchanged(i)) break;
    DoRow(run, rows[i], i + 1, rows.size());
    if (!unchanged(i)) break;
    ServerList.rows[rows[i]].selected = false;
    RowsChanged();
    if (StopAfterThis) run.stopped = true;
  }
}

std::vector<size_t> SelectedRows() {
  std::vector<size_t> rows;
  for (size_t i = 0; i < ServerList.rows.size(); ++i)
    if (ServerList.rows[i].selected) rows.push_back(i);
  return rows;
}

// Every row of a folder of the tree that stands for a file.
std::vector<size_t> FolderRows() {
  std::vector<size_t> rows;
  for (size_t i = 0; i < ServerList.rows.size(); ++i)
    if (ServerList.rows[i].icon != NoIcon) rows.push_back(i);
  return rows;
}

// A folder of the tree: listed (when the window shows another), made on the
// server when it is only local, its rows done, and for an Upload its sub-folders
// after it.
void DoTreeFolder(TRun& run, const std::vector<std::string>& names, int depth) {
  if (ServerList.chosenNode != names) ShowDir(names);
  TServerNode* node = FindNode(names);
  if (!node) return;
  const std::string folder = NodeFolder(names);
  if (node->state == FolderLocalOnly) {
    CreateServerFolder(folder, "Could not create folder\r" + folder);
    node->state = FolderOnBoth;
  }
  DoRows(run, FolderRows());
  if (run.stopped || run.command != ServerUploadCommand || depth >= kMaxFolderDepth) return;
  std::vector<std::string> children;
  for (const TServerNode& child : node->children) children.push_back(child.name);
  for (const std::string& child : children) {
    std::vector<std::string> path = names;
    path.push_back(child);
    DoTreeFolder(run, path, depth + 1);
    if (run.stopped) return;
  }
}

}  // namespace

TUpDownResult UpDownClick(const std::string& command,
                          const std::optional<std::vector<std::string>>& treeNode) {
  RefuseDuringTransfer();
  TRun run;
  run.command = command;
  run.treeFolder = treeNode.has_value();
  TWindowScope window;
  TListingRun busy;

  if (run.treeFolder) {
    EnsureConnected();
    TFlagScope folderRun(ServerList.treeFolderRun, true);
    const std::vector<std::string>& folder = *treeNode;
    DoTreeFolder(run, folder, 0);
    // The window shows the folder chosen, not the last one walked.
    if (ServerList.chosenNode != folder) {
      ShowDir(folder);
      window.Listed();
    }
    return run.result;
  }

  const std::vector<size_t> rows = SelectedRows();
  if (rows.empty()) return run.result;
  if (ServerList.treeVisible && !FlatListing) {
    TServerNode* node = FindNode(ServerList.chosenNode);
    if (node && node->state == FolderLocalOnly) {
      const std::string folder = NodeFolder(ServerList.chosenNode);
      if (!AskYesNo(folder + "\rFolder not on server.  Create it?")) return run.result;
      EnsureConnected();
      CreateServerFolder(folder, "Could not create folder\r" + folder);
      node->state = FolderOnBoth;
      if (BulkRunMode == ' ') run.folderMade = true;
    }
  }
  DoRows(run, rows);
  if (run.folderMade && BulkRunMode == ' ') {
    // The new folders show in the listing from the root.
    if (FlatListing) {
      ListFlat();
    } else {
      ShowDir(std::nullopt);
    }
    window.Listed();
  }
  return run.result;
}

void StopAfterThisClick() {
  StopAfterThis = true;
  ServerList.stopButton = false;
  RowsChanged();
}

void TreeClick() {
  ServerList.treeChosen = true;
}

void ListViewClick() {
  ServerList.treeChosen = false;
}

void ResetUpDown() {
  StopAfterThis = false;
}

namespace {
const TResetEntry resetUpDown(ResetUpDown);
}  // namespace

}  // namespace quorrel
