#pragma once
// Moving single files between the local site and the FTP server, always in binary
// mode, keeping the two copies' dates equal: after an upload the local file takes
// the date the server gave its new copy. Paths are Windows-1252 bytes; server
// paths are "/"-separated.
#include <cstdint>
#include <string>

#include "platform/Inet.h"

namespace quorrel {

// Transfer contexts, which tell the status callback an upload from a download.
constexpr uintptr_t UploadContext = 12345;
constexpr uintptr_t DownloadContext = 54321;
// Files above this many bytes show the progress gauge.
constexpr int64_t GaugeThreshold = 500000;
// The help topic opened when "Stop NOW" ends a transfer.
constexpr int StopTransferHelp = 70300;

// Bytes moved so far by the running transfer.
extern int64_t TransferredBytes;
// Set by "Stop NOW" and by the answer to the server window's 1000-files question:
// the transfer or listing under way ends.
extern bool StopTransfer;
// Condensed pages are laid out again after a download; true at start.
extern bool ReformatDownloads;
// True while the Upload command runs.
extern bool Uploading;

// The server window as the transfers see it: its gauge (a panel with its Filler
// bar) and "Stop NOW" button, and its rows. The ui's TServForm implements it.
class TServerWindowView {
 public:
  virtual ~TServerWindowView() = default;
  // Whether the server window is shown and is the active window.
  virtual bool Active() const = 0;
  // Shows or hides the gauge and "Stop NOW" together.
  virtual void ShowGauge(bool visible) = 0;
  virtual int GaugeWidth() const = 0;
  virtual void SetFillerWidth(int width) = 0;
  // How many rows of its list are selected.
  virtual int SelectedRows() const = 0;
};
void SetServerWindowView(TServerWindowView* view);
TServerWindowView* ServerWindowView();

// TServForm.NowBtnClick: asks the running transfer to stop at its next report.
void NowBtnClick();

// TransferStatusCallback: counts the bytes of the statuses "request sent" (31) and
// "response received" (41) against the file's size (LocalFileSize for an upload,
// ServerFileSize for a download), moves the Filler bar, and lets pending events
// run so that "Stop NOW" can be pressed. Returns false, asking the layer to stop
// the transfer, once it has been.
bool TransferStatusCallback(HINTERNET handle, uintptr_t context, uint32_t status, const void* info,
                            uint32_t infoLength);

// The progress display of one transfer: the counters cleared, the Filler bar at
// width 1 and the gauge shown when asked; the gauge hidden and the status callback
// removed however the transfer ends. TransferRunning() holds meanwhile.
class TTransferProgress {
 public:
  explicit TTransferProgress(bool showGauge);
  ~TTransferProgress();
  TTransferProgress(const TTransferProgress&) = delete;
  TTransferProgress& operator=(const TTransferProgress&) = delete;
  // Installs TransferStatusCallback; stops the command with "Invalid callback -
  // please try again." when the layer refuses it.
  void Install();
  void HideGauge();
  // After "Stop NOW": the help on stopping, and the command ends silently.
  void EndIfStopped();

 private:
  bool shown_;
  bool installed_ = false;
};
bool TransferRunning();
// After "Stop NOW": the help on stopping, and the command ends silently.
[[noreturn]] void EndStoppedTransfer();
// Whether a transfer of that many bytes shows the gauge: above GaugeThreshold while
// the server window is the active window.
bool GaugeWanted(int64_t bytes);

// TServForm.UploadFile: sends one file (condensed, or with its ASP.NET sources
// fixed, when that applies) and gives the local file the date of its new server
// copy, unless it went under another name (sameName false). A failed upload is
// reported and ends the command; "Stop NOW" removes the part that reached the
// server, opens the help on stopping and ends the command silently.
void UploadFile(const std::string& localPath, const std::string& serverPath, bool sameName = true);

// Back to a fresh program.
void ResetTransfers();

}  // namespace quorrel
