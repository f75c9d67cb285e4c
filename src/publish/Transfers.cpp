#include "publish/Transfers.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "publish/Condense.h"
#include "publish/Connection.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/ShellRoutines.h"

namespace quorrel {

int64_t TransferredBytes = 0;
bool StopTransfer = false;
bool ReformatDownloads = true;
bool Uploading = false;

namespace {

TServerWindowView* serverWindow = nullptr;
TTransferGauge* mainWindowGauge = nullptr;
// The gauge the running transfer shows; nullptr when it shows none.
TTransferGauge* shownGauge = nullptr;
bool transferUnderWay = false;

// Where a transfer of that many bytes shows its progress, if anywhere.
TTransferGauge* GaugeFor(int64_t bytes) {
  if (bytes <= GaugeThreshold) return nullptr;
  if (serverWindow && serverWindow->Active()) return serverWindow;
  return mainWindowGauge;
}

// The busy cursor for the length of a transfer.
class TBusyCursor {
 public:
  TBusyCursor() {
    if (TMainWindow* window = MainWindow()) window->SetBusyCursor(true);
  }
  ~TBusyCursor() {
    if (TMainWindow* window = MainWindow()) window->SetBusyCursor(false);
  }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// A work copy made for the upload goes however the upload ends.
class TWorkCopy {
 public:
  TWorkCopy(std::string original, std::string sent)
      : original_(std::move(original)), sent_(std::move(sent)) {}
  ~TWorkCopy() {
    if (sent_ != original_) std::remove(NativePath(sent_).c_str());
  }
  TWorkCopy(const TWorkCopy&) = delete;
  TWorkCopy& operator=(const TWorkCopy&) = delete;
  // Deleted as the program deletes files, with a word when it cannot be.
  void Delete() {
    if (sent_ != original_) DeleteFileOrAbort(sent_);
    sent_ = original_;
  }

 private:
  std::string original_;
  std::string sent_;
};

}  // namespace

// ---- the gauge -------------------------------------------------------------------

void SetServerWindowView(TServerWindowView* view) {
  serverWindow = view;
}

TServerWindowView* ServerWindowView() {
  return serverWindow;
}

void SetMainWindowGauge(TTransferGauge* gauge) {
  mainWindowGauge = gauge;
}

bool TransferUnderWay() {
  return transferUnderWay;
}

void RefuseDuringTransfer() {
  if (!transferUnderWay) return;
  ShowErrorAndAbort("A file transfer is under way.\rWait for it to end, or press \"Stop NOW\".");
}

void NowBtnClick() {
  StopTransfer = true;
}

bool TransferStatusCallback(HINTERNET, uintptr_t context, uint32_t status, const void* info,
                            uint32_t infoLength) {
  const int64_t total = context == UploadContext ? LocalFileSize : ServerFileSize;
  if ((status == INTERNET_STATUS_REQUEST_SENT || status == INTERNET_STATUS_RESPONSE_RECEIVED) &&
      info && infoLength >= sizeof(uint32_t)) {
    uint32_t bytes = 0;
    std::memcpy(&bytes, info, sizeof bytes);
    TransferredBytes += bytes;
  }
  TTransferGauge* gauge = shownGauge ? shownGauge : serverWindow;
  if (total > 0 && gauge) {
    const double share = static_cast<double>(TransferredBytes) / static_cast<double>(total);
    gauge->SetFillerWidth(static_cast<int>(std::lround(share * gauge->GaugeWidth())));
  }
  if (TMainWindow* window = MainWindow()) window->ProcessMessages();
  // Only the layer may end the transfer: it closes the data connection and then
  // returns, and the command cleans up after it.
  return !StopTransfer;
}

TTransferProgress::TTransferProgress(int64_t bytes) : gauge_(GaugeFor(bytes)) {
  TransferredBytes = 0;
  StopTransfer = false;
  transferUnderWay = true;
  shownGauge = gauge_;
  if (gauge_) {
    gauge_->SetFillerWidth(1);
    gauge_->ShowGauge(true);
  }
}

TTransferProgress::~TTransferProgress() {
  HideGauge();
  shownGauge = nullptr;
  transferUnderWay = false;
  if (installed_) InternetSetStatusCallback(FtpConnection, nullptr);
}

void TTransferProgress::Install() {
  if (!InternetSetStatusCallback(FtpConnection, TransferStatusCallback)) {
    HideGauge();
    ShowErrorAndAbort("Invalid callback - please try again.");
  }
  installed_ = true;
}

void TTransferProgress::HideGauge() {
  if (gauge_) gauge_->ShowGauge(false);
  gauge_ = nullptr;
}

void EndStoppedTransfer() {
  ShowHelpContext(StopTransferHelp);
  Abort();
}

bool GaugeWanted(int64_t bytes) {
  return GaugeFor(bytes) != nullptr;
}

// ---- uploading ---------------------------------------------------------------------

std::string UploadWorkName(const std::string& serverPath) {
  const size_t slash = serverPath.rfind('/');  // npos + 1: no folder
  return serverPath.substr(0, slash + 1) + "." + serverPath.substr(slash + 1) + ".upload";
}

void UploadFile(const std::string& localPath, const std::string& serverPath, bool sameName) {
  if (serverPath.empty() || serverPath.back() == '/') {
    // No name to put it under: nothing is sent, not even the work copy.
    SetLastError(ERROR_INVALID_NAME);
    ReportFailedCall(localPath + "\rCould not upload file to server.");
  }
  // The next EnsureConnected makes a new connection: a long put may leave this one
  // stale.
  LastConnectTime = 0;
  if (!FtpConnection) EnsureConnected();
  std::string sent = CondenseForUpload(localPath);
  if (PosNoCase(".ASPX", localPath) != 0) sent = FixAspxSources(localPath);
  TWorkCopy workCopy(localPath, sent);

  TBusyCursor busy;
  LocalFileSize = FileSize64(sent);
  const std::string arriving = UploadWorkName(serverPath);
  bool put;
  TInternetError failure;
  {
    TTransferProgress progress(LocalFileSize);
    // Installed whatever the size: the window repaints, and the transfer can be
    // stopped, however long it takes.
    progress.Install();
    put = FtpPutFileA(FtpConnection, sent, arriving, FTP_TRANSFER_TYPE_BINARY, UploadContext);
    if (!put) failure = ReadInternetError(0);
  }
  if (!put) {
    // What reached the server goes; the copy the site serves stays as it was.
    FtpDeleteFileA(FtpConnection, arriving);
    if (StopTransfer) EndStoppedTransfer();
    ReportFailedCall(localPath + "\rCould not upload file to server.", &failure);
  }
  if (!FtpRenameFileA(FtpConnection, arriving, serverPath)) {
    ReportFailedCall(serverPath + "\rThe server would not let the uploaded file replace its copy." +
                     "\rThe upload is on the server as " + arriving);
  }

  if (!FtpFindFirst(serverPath)) {
    // A server that hides files beginning with "." does not list this one.
    if (serverPath.find("/.") != std::string::npos) {
      workCopy.Delete();
      return;
    }
    ReportFailedCall(serverPath + "\rUploaded file not found!");
  }
  ReadServerFileDate();
  if (sameName) MySetDate(localPath);
  workCopy.Delete();
}

void ResetTransfers() {
  TransferredBytes = 0;
  StopTransfer = false;
  ReformatDownloads = true;
  Uploading = false;
  serverWindow = nullptr;
  mainWindowGauge = nullptr;
  shownGauge = nullptr;
  transferUnderWay = false;
}

namespace {
const TResetEntry resetTransfers(ResetTransfers);
}  // namespace

}  // namespace quorrel
