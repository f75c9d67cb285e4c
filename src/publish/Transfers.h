#pragma once
// Moving single files between the local site and the FTP server, always in binary
// mode, keeping the two copies' dates equal: after an upload the local file takes
// the date the server gave its new copy. Paths are Windows-1252 bytes; server
// paths are "/"-separated.
#include <cstdint>
#include <string>

#include "platform/Inet.h"

namespace quorrel {

// The work name an upload has on the server until it is complete.
std::string UploadWorkName(const std::string& serverPath);

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

// A progress gauge (a panel with its Filler bar) and its "Stop NOW" button, shown
// and hidden together.
class TTransferGauge {
 public:
  virtual ~TTransferGauge() = default;
  virtual void ShowGauge(bool visible) = 0;
  virtual int GaugeWidth() const = 0;
  virtual void SetFillerWidth(int width) = 0;
};

// The server window as the transfers see it: its gauge and its rows. The ui's
// TServForm implements it.
class TServerWindowView : public TTransferGauge {
 public:
  // Whether the server window is shown and is the active window.
  virtual bool Active() const = 0;
  // How many rows of its list are selected.
  virtual int SelectedRows() const = 0;
};
void SetServerWindowView(TServerWindowView* view);
TServerWindowView* ServerWindowView();
// The main window's gauge, which a large transfer uses while the server window is
// not the active window, so that it can be followed and stopped from anywhere.
void SetMainWindowGauge(TTransferGauge* gauge);

// Whether a transfer is running. Commands that events start meanwhile must leave
// the connection alone: RefuseDuringTransfer says so and ends such a command.
bool TransferUnderWay();
void RefuseDuringTransfer();

// TServForm.NowBtnClick: asks the running transfer to stop at its next report.
void NowBtnClick();

// TransferStatusCallback: counts the bytes of the statuses "request sent" (31) and
// "response received" (41) against the file's size (LocalFileSize for an upload,
// ServerFileSize for a download), moves the Filler bar, and lets pending events
// run so that "Stop NOW" can be pressed. Returns false, asking the layer to stop
// the transfer, once it has been.
bool TransferStatusCallback(HINTERNET handle, uintptr_t context, uint32_t status, const void* info,
                            uint32_t infoLength);

// The progress display of one transfer of that many bytes: the counters cleared,
// a gauge shown where GaugeWanted puts it, with the Filler bar at width 1; the
// gauge hidden and the status callback removed however the transfer ends. While it
// lives a transfer is under way.
class TTransferProgress {
 public:
  explicit TTransferProgress(int64_t bytes);
  ~TTransferProgress();
  TTransferProgress(const TTransferProgress&) = delete;
  TTransferProgress& operator=(const TTransferProgress&) = delete;
  // Installs TransferStatusCallback; stops the command with "Invalid callback -
  // please try again." when the layer refuses it.
  void Install();
  void HideGauge();

 private:
  TTransferGauge* gauge_;
  bool installed_ = false;
};
// After "Stop NOW": the help on stopping, and the command ends silently.
[[noreturn]] void EndStoppedTransfer();
// Whether a transfer of that many bytes shows a gauge: above GaugeThreshold, in
// the server window while that is the active window, else in the main window.
bool GaugeWanted(int64_t bytes);

// TServForm.UploadFile: sends one file (condensed, or with its ASP.NET sources
// fixed, when that applies) and gives the local file the date of its new server
// copy, unless it went under another name (sameName false). The file goes to a
// work name in the same server folder and takes the target's name only once it is
// all there, so the server copy is the old one or the new one, never a part. A
// failed upload is reported and ends the command; "Stop NOW" opens the help on
// stopping and ends the command silently; either way the work copy goes.
void UploadFile(const std::string& localPath, const std::string& serverPath, bool sameName = true);

// Back to a fresh program.
void ResetTransfers();

}  // namespace quorrel
