#include "publish/BulkRun.h"

#include <fstream>

#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "publish/Connection.h"
#include "publish/Download.h"
#include "publish/FetchUrl.h"
#include "publish/ServerDates.h"
#include "publish/ServerListing.h"
#include "publish/Transfers.h"
#include "publish/UpDown.h"
#include "publish/ValidationReplies.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"
#include "shell/SiteState.h"
#include "shell/StatusBar.h"

namespace quorrel {

bool BulkRunActive = false;

namespace {

// At most this much of the web root's inner folders goes in front of an address.
constexpr size_t kMaxWebRootPrefix = 99;
inline constexpr char kArchiveFolder[] = "Archive/";
inline constexpr char kResultsFile[] = "Validate.htm";

void RowsChanged() {
  if (TServerView* view = ServerView()) view->RowsChanged();
}

std::string CheckAddress() {
  if (!SettingsIni) return DefaultValidatorAddress;
  return SettingsIni->ReadString("System", ValidatorAddressKey, DefaultValidatorAddress);
}

// When the web root lies in a folder ("www/html/"), the web address of a page
// holds what follows that folder's name.
std::string WebRootPrefix() {
  const size_t slash = WebRootPath.find('/');
  if (slash == std::string::npos || slash + 1 >= WebRootPath.size()) return "";
  return WebRootPath.substr(slash + 1, kMaxWebRootPrefix);
}

// The folder of a header row below the web root ("" for the web root itself).
std::string FolderPrefix(const std::string& header) {
  if (header == RootNodeName) return "";
  if (header.starts_with(WebRootPath)) return header.substr(WebRootPath.size());
  return header;
}

// The date of a server file; 0 when there is none.
double ServerDateOfFile(const std::string& path) {
  if (!FtpFindFirst(path)) return 0;
  ReadServerFileDate();
  return ServerFileDate;
}

// Everything a run changed goes back as it ends, however it ends.
class TRunScope {
 public:
  TRunScope() : title_(ApplicationTitle) {
    BulkRunActive = true;
    StopAfterThis = false;
  }
  TRunScope(const TRunScope&) = delete;
  TRunScope& operator=(const TRunScope&) = delete;
  ~TRunScope() {
    ServerList.stopButton = false;
    TServerView* view = ServerView();
    if (view) view->Close();
    BulkRunMode = ' ';
    if (view) view->TickFlat(false);
    FlatListing = false;
    CurrentCommand.clear();
    StopAfterThis = false;
    BulkRunActive = false;
    // Boxes shown later are not headed with the last page validated.
    ApplicationTitle = title_;
  }

 private:
  std::string title_;
};

struct TWalk {
  std::string command;
  int ok = 0;
  int errors = 0;
  bool complete = true;  // not cut short by the service or the user
  std::string results;
};

// A page or style sheet sent to the validation service.
void Validate(TWalk& walk, TServerRow& row, const std::string& path, int n, int count) {
  const std::string caption =
      "Validating " + std::to_string(n) + " of " + std::to_string(count) + ": " + row.name;
  ServerList.caption = caption;
  ApplicationTitle = caption;
  RowsChanged();
  const std::string address = CheckAddress();
  const std::string reply =
      FetchUrl(ValidationRequest(address, SiteWebAddress + EncodeUrlPath(path)), "");
  if (StopAfterThis && reply.empty()) {
    walk.complete = false;  // stopped in the middle: this page was not checked
    return;
  }
  const bool styleSheet = UpperCaseLatin1(ExtractFileExt(path)) == ".CSS";
  const TValidationReply result = ReadValidationReply(reply, styleSheet);
  switch (result.kind) {
    case TReplyKind::Valid:
      row.icon = SameDateIcon;
      ++walk.ok;
      break;
    case TReplyKind::Abused:
      ShowMsg("IP address blocked.  You may have to try again later.");
      walk.complete = false;
      break;
    case TReplyKind::Errors:
      row.icon = ServerNewerIcon;
      ++walk.errors;
      walk.results += ResultsFileHeading(path) + result.report;
      break;
  }
  RowsChanged();
}

// A page missing from the archive, or newer than its archived copy, is copied there.
void ArchivePage(TServerRow& row, const std::string& folderPath) {
  const std::string live = WebRootPath + folderPath;
  const std::string archived = kArchiveFolder + folderPath;
  const double archivedDate = ServerDateOfFile(archived);
  if (archivedDate != 0 && archivedDate >= ServerDateOfFile(live)) return;
  row.icon = ServerNewerIcon;
  RowsChanged();
  const std::string work = TempFolder() + ArchivedWorkFile;
  DownloadFile(SiteFolder + ToLocalPath(live), work);
  UploadFile(work, archived, false);
  row.icon = SameDateIcon;
  RowsChanged();
}

// The rows to walk: from the first, or for On-line validate all from the current
// file's row when the user wants.
size_t FirstRow(const std::string& command) {
  if (command != OnlineValidateAllCommand) return 0;
  if (!AskYesNoHelp("Start from current file?", StartFromCurrentHelp)) return 0;
  const std::string name = ExtractFileName(CurrentFileName);
  for (size_t i = 0; i < ServerList.rows.size(); ++i) {
    if (!ServerList.rows[i].header && AnsiSameText(ServerList.rows[i].name, name)) return i;
  }
  ShowMsg("Error: " + name + " not found");
  return 0;
}

// The folder header a row lies under.
std::string HeaderAbove(size_t index) {
  for (size_t i = index + 1; i-- > 0;)
    if (ServerList.rows[i].header) return ServerList.rows[i].name;
  return RootNodeName;
}

// The path of a file row below the web root; "" for a row the walk passes over:
// no file, in the archive itself, or in an exempt folder.
std::string WalkedPath(const TServerRow& row, const std::string& prefix) {
  if (row.header || row.icon == NoIcon || prefix.starts_with(kArchiveFolder)) return "";
  std::string name = row.name;
  if (!name.empty() && name.front() == OutsideWebRootMark) name.erase(0, 1);
  if (IsExemptFolder(prefix + name)) return "";
  return prefix + name;
}

void Walk(TWalk& walk, char mode) {
  std::vector<TServerRow>& rows = ServerList.rows;
  const size_t first = FirstRow(walk.command);
  const std::string firstPrefix = FolderPrefix(HeaderAbove(first));
  int count = 0;
  std::string prefix = firstPrefix;
  for (size_t i = first; i < rows.size(); ++i) {
    if (rows[i].header) prefix = FolderPrefix(rows[i].name);
    if (!WalkedPath(rows[i], prefix).empty()) ++count;
  }
  prefix = firstPrefix;
  int n = 0;
  for (size_t i = first; i < rows.size() && walk.complete; ++i) {
    TServerRow& row = rows[i];
    if (row.header) {
      prefix = FolderPrefix(row.name);
      // Never the archive of the archive.
      if (prefix.starts_with(kArchiveFolder)) continue;
      if (mode == 'A') {
        const std::string folder = kArchiveFolder + prefix;
        // It is there already from an earlier run more often than not.
        FtpCreateDirectoryA(FtpConnection, folder.substr(0, folder.size() - 1));
      }
      row.icon = SameDateIcon;
      RowsChanged();
      continue;
    }
    const std::string path = WalkedPath(row, prefix);
    if (path.empty()) continue;
    ++n;
    if (mode == 'A') ArchivePage(row, path);
    if (mode == 'V') Validate(walk, row, WebRootPrefix() + path, n, count);
    if (StopAfterThis) walk.complete = false;
  }
}

// Synchronise: the newer and the one-sided files of both sides go across.
int Synchronise() {
  int up = 0, down = 0;
  for (TServerRow& row : ServerList.rows) {
    row.selected = false;
    if (row.icon == NotOnServerIcon || row.icon == LocalNewerIcon) {
      row.selected = true;
      ++up;
    } else if (row.icon == ServerNewerIcon || row.icon == NotOnLocalIcon) {
      row.selected = true;
      ++down;
    }
  }
  RowsChanged();
  if (!AskYesNo("Files to upload (white or yellow):  " + std::to_string(up) +
                "\rFiles to download (black or red):  " + std::to_string(down))) {
    return 0;
  }
  // Files replaced here keep their back-ups, as with any download the user asks for.
  CurrentCommand = SynchroniseCommand;
  const TUpDownResult moved = UpDownClick(SynchroniseCommand);
  return moved.uploads + moved.downloads;
}

// The path of the current file below the web root, in server form.
std::string CurrentFileBelowWebRoot() {
  const std::string root = SiteFolder + ToLocalPath(WebRootPath);
  if (!CurrentFileName.starts_with(root)) return "";
  return ToServerPath(CurrentFileName.substr(root.size()));
}

void WriteResults(const TWalk& walk) {
  std::string page = ResultsPageStart(CheckAddress()) + walk.results +
                     ResultsPageEnd(walk.ok, walk.errors);
  page = ReplaceAll(page, "<Base href=\"\">", "<Base href=\"" + CheckAddress() + "\">", true);
  const std::string path = TempFolder() + kResultsFile;
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
  out << page;
  out.close();
  if (!out) ShowErrorAndAbort("Unable to create file " + path);
  ShellOpen(path);
}

}  // namespace

void BulkServerRun(const std::string& command) {
  const bool validation = command == OnlineValidateOneCommand || command == OnlineValidateAllCommand;
  ShowStatus("Waiting for website...");
  CurrentCommand = OnlineValidateAllCommand;
  BulkRunMode = ' ';
  if (command != OnlineValidateOneCommand &&
      !AskYesNo("This probably won't work correctly!\rDo you want to continue?")) {
    CurrentCommand.clear();
    return;
  }
  TRunScope scope;
  TListingRun busy;
  const char mode = validation ? 'V' : command == ArchiveCommand ? 'A' : 'S';
  BulkRunMode = mode;
  FlatListing = true;
  TServerView* view = ServerView();
  if (view) {
    view->TickFlat(true);
    view->ShowWithoutWaiting();
  }
  ListFlat();
  ServerList.stopButton = true;
  StopAfterThis = false;
  RowsChanged();

  TWalk walk;
  walk.command = command;
  if (command == OnlineValidateOneCommand) {
    if (ServerList.rows.size() <= 1) {
      ShowMsg("You are not online");
      return;
    }
    TServerRow row{ExtractFileName(CurrentFileName), NotOnServerIcon};
    Validate(walk, row, WebRootPrefix() + CurrentFileBelowWebRoot(), 1, 1);
  } else if (mode != 'S') {
    Walk(walk, mode);
  }
  const int synchronised = mode == 'S' ? Synchronise() : 0;

  ServerList.stopButton = false;
  RowsChanged();
  if (walk.errors == 0 && walk.complete) {
    if (mode == 'A') {
      ShowStatus("Website archived");
      if (SettingsIni && !SettingsIni->ReadString("System", "ArchDate", "").empty()) {
        SettingsIni->WriteString("System", "ArchDate",
                                 FormatLongDate(NowDateTime()).substr(0, 11));
      }
    } else if (mode == 'S') {
      ShowStatus("Files synchronised: " + std::to_string(synchronised));
    } else {
      ShowStatus("No validation errors");
    }
  }
  if (validation) WriteResults(walk);
}

void InstallBulkRunCommands() {
  for (const char* command :
       {OnlineValidateOneCommand, OnlineValidateAllCommand, SynchroniseCommand}) {
    MainMenu().SetHandler(command, [](const TMenuItem& item) { BulkServerRun(item.name); });
  }
}

void ResetBulkRun() {
  BulkRunActive = false;
}

namespace {
const TResetEntry resetBulkRun(ResetBulkRun);
}  // namespace

}  // namespace quorrel
