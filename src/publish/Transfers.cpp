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
int runningTransfers = 0;

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
  if (total > 0 && serverWindow) {
    const double share = static_cast<double>(TransferredBytes) / static_cast<double>(total);
    serverWindow->SetFillerWidth(static_cast<int>(std::lround(share * serverWindow->GaugeWidth())));
  }
  if (TMainWindow* window = MainWindow()) window->ProcessMessages();
  // Only the layer may end the transfer: it closes the data connection and then
  // returns, and the command cleans up after it.
  return !StopTransfer;
}

TTransferProgress::TTransferProgress(bool showGauge) : shown_(showGauge && serverWindow) {
  ++runningTransfers;
  TransferredBytes = 0;
  StopTransfer = false;
  if (serverWindow) serverWindow->SetFillerWidth(1);
  if (shown_) serverWindow->ShowGauge(true);
}

TTransferProgress::~TTransferProgress() {
  HideGauge();
  if (installed_) InternetSetStatusCallback(FtpConnection, nullptr);
  --runningTransfers;
}

bool TransferRunning() {
  return runningTransfers > 0;
}

void TTransferProgress::Install() {
  if (!InternetSetStatusCallback(FtpConnection, TransferStatusCallback)) {
    HideGauge();
    ShowErrorAndAbort("Invalid callback - please try again.");
  }
  installed_ = true;
}

void TTransferProgress::HideGauge() {
  if (shown_ && serverWindow) serverWindow->ShowGauge(false);
  shown_ = false;
}

void TTransferProgress::EndIfStopped() {
  if (!StopTransfer) return;
  HideGauge();
  EndStoppedTransfer();
}

void EndStoppedTransfer() {
  ShowHelpContext(StopTransferHelp);
  Abort();
}

bool GaugeWanted(int64_t bytes) {
  return bytes > GaugeThreshold && serverWindow && serverWindow->Active();
}

// ---- uploading ---------------------------------------------------------------------

void UploadFile(const std::string& localPath, const std::string& serverPath, bool sameName) {
  // The next EnsureConnected makes a new connection: a long put may leave this one
  // stale.
  LastConnectTime = 0;
  if (!FtpConnection) EnsureConnected();
  std::string sent = CondenseForUpload(localPath);
  if (PosNoCase(".ASPX", localPath) != 0) sent = FixAspxSources(localPath);
  TWorkCopy workCopy(localPath, sent);

  TBusyCursor busy;
  LocalFileSize = FileSize64(sent);
  TTransferProgress progress(GaugeWanted(LocalFileSize));
  if (GaugeWanted(LocalFileSize)) progress.Install();
  const bool put =
      FtpPutFileA(FtpConnection, sent, serverPath, FTP_TRANSFER_TYPE_BINARY, UploadContext);
  progress.HideGauge();
  if (!put) {
    if (StopTransfer) {
      // What reached the server is a truncated file: it must not stay live.
      FtpDeleteFileA(FtpConnection, serverPath);
      progress.EndIfStopped();
    }
    ReportFailedCall(localPath + "\rCould not upload file to server.");
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
}

namespace {
const TResetEntry resetTransfers(ResetTransfers);
}  // namespace

}  // namespace quorrel
