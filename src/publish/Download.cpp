#include "publish/Download.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/ServerPaths.h"
#include "publish/Transfers.h"
#include "shell/Backups.h"
#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/SaveText.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"
#include "shell/SiteState.h"
#include "shell/StatusBar.h"
#include "shell/TextFiles.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

// The file a download arrives in, beside its target; gone however the command ends
// unless it took the target's place.
class TArrivingFile {
 public:
  explicit TArrivingFile(const std::string& target)
      : path_(ExtractFilePath(target) + "." + ExtractFileName(target) + ".download") {}
  ~TArrivingFile() { std::remove(NativePath(path_).c_str()); }
  TArrivingFile(const TArrivingFile&) = delete;
  TArrivingFile& operator=(const TArrivingFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The current document as it stands; put back however the block ends.
class TCurrentDocumentScope {
 public:
  TCurrentDocumentScope()
      : editor_(CurrentEditor),
        slot_(CurrentSlot()),
        fileName_(CurrentFileName),
        text_(CurrentText),
        folder_(CurrentFolder),
        modified_(DocModified),
        type_(CurrentDocumentType()),
        command_(CurrentCommand) {}
  ~TCurrentDocumentScope() {
    CurrentEditor = editor_;
    SetCurrentDocument(slot_);
    CurrentFileName = fileName_;
    CurrentText = text_;
    CurrentFolder = folder_;
    DocModified = modified_;
    SetCurrentDocumentType(type_);
    CurrentCommand = command_;
  }
  TCurrentDocumentScope(const TCurrentDocumentScope&) = delete;
  TCurrentDocumentScope& operator=(const TCurrentDocumentScope&) = delete;

 private:
  TMyRich* editor_;
  int slot_;
  std::string fileName_, text_, folder_;
  bool modified_;
  TDocumentType type_;
  std::string command_;
};

bool IsPage(const std::string& ext) {
  return ext == ".HTM" || ext == ".HTML";
}

// A downloaded page or sheet that came condensed is laid out as the validator lays
// out the document, in an editor nobody sees; the user's document stays as it is.
void ReformatDownload(const std::string& target) {
  const std::string ext = UpperCaseLatin1(ExtractFileExt(target));
  const bool styleSheet = ext == ".CSS";
  if ((!IsPage(ext) && !styleSheet) || !ReformatDownloads ||
      CurrentCommand == OnlineValidateAllCommand) {
    return;
  }
  const std::string text = ReadTextFile(target);
  if (!LooksCondensed(text, styleSheet)) return;
  std::unique_ptr<TMyRich> hidden = MainWindow() ? MainWindow()->NewHiddenEditor() : nullptr;
  if (!hidden) return;

  TCurrentDocumentScope document;
  hidden->SetText(text);
  CurrentEditor = hidden.get();
  SetCurrentDocument(-1);  // the download has no tab; the user's document stays as it was
  CurrentFileName = target;
  CurrentFolder = ExtractFilePath(target);
  CurrentText = styleSheet ? text : ReplaceAll(text, "\r\n", "\n", true);
  DocModified = false;
  ClassifyDocument();
  CurrentCommand = ServerWindowCommand;
  HandOverText.clear();
  try {
    ValidateDocumentHook("N0");
  } catch (const EAbort&) {
    // A page the validator stops on is kept as it came.
    return;
  }
  const std::string laidOut = HandOverText;
  HandOverText.clear();
  if (laidOut.empty() || laidOut == CurrentText) return;
  if (ReplaceFile(target, TextForDisk(laidOut, !styleSheet, false), false) !=
      TReplaceResult::Replaced) {
    ShowErrorAndAbort("Unable to create file " + target);
  }
}

// The downloaded file takes the target's place, the target becoming its back-up
// first when one is kept. Stops the command when that cannot be done, with the
// previous file back in place.
void PutInPlace(const std::string& arrived, const std::string& target, bool keepBackup,
                const std::string& serverPath) {
  struct stat st;
  const bool existed = ::stat(NativePath(target).c_str(), &st) == 0;
  // The new copy keeps what the old one allowed.
  if (existed) ::chmod(NativePath(arrived).c_str(), st.st_mode & 07777);
  const std::string backup = BackupPath(target);
  const bool backedUp = keepBackup && existed;
  if (backedUp) RenameToBackup(target);
  if (std::rename(NativePath(arrived).c_str(), NativePath(target).c_str()) == 0) return;
  std::string message =
      "Could not transfer file from server:\r" + serverPath + "\r" + std::strerror(errno);
  if (backedUp && std::rename(NativePath(backup).c_str(), NativePath(target).c_str()) != 0) {
    message += "\rCould not rename " + backup + "\r back to " + target;
  }
  ShowErrorAndAbort(message);
}

// The transfer itself, once the server path and the file it lands in are known;
// redate gives the file the server copy's date. False when a missing file was
// passed over.
bool Fetch(const std::string& serverPath, const std::string& target, bool redate) {
  ShowStatus("Downloading " + serverPath);
  std::error_code madeError;
  std::filesystem::create_directories(NativePath(ExtractFilePath(target)), madeError);

  if (!FtpFindFirst(serverPath)) {
    BulkRunMode = ' ';
    TServerWindowView* window = ServerWindowView();
    if (window && window->SelectedRows() > 1 && CurrentCommand != OnlineValidateAllCommand) {
      EnsureConnected();
      return false;
    }
    if (serverPath.find("/.") != std::string::npos) {
      ShowErrorAndAbort(serverPath + " is a hidden file so you can't download it.  Sorry!");
    }
    ShowErrorAndAbort("File " + serverPath + "\ris not on the server.\r" +
                      "If you doubt this, switch tabs and back.");
  }
  const bool keepBackup = !InTempFolder(target) && CurrentCommand != OnlineValidateAllCommand;
  ReadServerFileDate();
  const int64_t serverTime = TransferFileTime;
  // A name with blanks is fetched from within its folder, by the name alone.
  std::string remote = serverPath;
  const bool inFolder = serverPath.find(' ') != std::string::npos;
  if (inFolder) {
    std::string folder;
    SplitServerPath(serverPath, remote, folder);
    SetServerDir(folder);
  }

  TArrivingFile arriving(target);
  bool got;
  TInternetError failure;
  {
    TTransferProgress progress(ServerFileSize);
    progress.Install();
    got = FtpGetFileA(FtpConnection, remote, arriving.Path(), false, FILE_ATTRIBUTE_NORMAL,
                      INTERNET_FLAG_RELOAD | FTP_TRANSFER_TYPE_BINARY, DownloadContext);
    progress.HideGauge();
    if (!got) failure = ReadInternetError(0);
  }
  if (inFolder && !ServerFolder.empty()) SetServerDir(ServerFolder);
  if (!got) {
    if (StopTransfer) EndStoppedTransfer();
    // A whole-site download goes on with the next file.
    if (EntireRun) return false;
    ReportFailedCall("Could not transfer file from server:\r" + serverPath, &failure);
  }
  PutInPlace(arriving.Path(), target, keepBackup, serverPath);

  ReformatDownload(target);
  if (redate) {
    TransferFileTime = serverTime;
    MySetDate(target);
  }
  if (CurrentCommand == ServerWindowCommand) CurrentCommand.clear();
  return true;
}

}  // namespace

bool LooksCondensed(const std::string& text, bool styleSheet) {
  if (styleSheet) return text.find(" {") == std::string::npos;
  return PosNoCase("\n<head", text) == 0;
}

bool DownloadFile(const std::string& localPath, const std::string& saveAsPath) {
  const std::string target = saveAsPath.empty() ? localPath : saveAsPath;
  if (!CheckConnection(true)) ShowErrorAndAbort("Cannot connect to server.");
  // Whatever the command, the server copy is that of the site's file.
  const std::string serverPath = SiteServerPathOf(localPath);
  // A name from the server never takes a download out of the site.
  if (saveAsPath.empty() && !InTempFolder(target)) {
    const std::string tested = NormaliseSitePath(target);
    if (SiteFolder.empty() || !tested.starts_with(SiteFolder)) NotWithinSite(target, tested);
  }
  return Fetch(serverPath, target, saveAsPath.empty());
}

void DownloadServerFile(const std::string& serverPath, const std::string& localPath) {
  if (!CheckConnection(true)) ShowErrorAndAbort("Cannot connect to server.");
  Fetch(serverPath, localPath, true);
}

}  // namespace quorrel
