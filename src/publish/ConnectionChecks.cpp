// Checks of local files against the server: the daily report of unwanted and
// non-matching files, and the current document against its server copy.
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/ServerPaths.h"
#include "publish/SiteDetails.h"
#include "publish/Transfers.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ProgUnit.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"

namespace quorrel {

bool TimeStampQuestionSuppressed = false;

namespace {

constexpr int kUnwantedHelp = 101250;
constexpr int kReportWidth = 460;
constexpr int kMessagePanel = 4;

std::function<void()>& Downloader() {
  static std::function<void()> download;
  return download;
}

// "05-Jun-2026": the day as [System] RunDate keeps it.
std::string DayText(double date) {
  return FormatLongDate(date).substr(0, 11);
}

int CurrentSlot() {
  if (!CurrentEditor) return -1;
  const int slot = CurrentEditor->Tag();
  return slot >= 0 && slot < MaxTabs ? slot : -1;
}

bool IsPlainFile(const TFindData& data) {
  return (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

void ListUnwantedFiles(TProgress& progress) {
  std::string exclusions = "99=.user.ini\r\n98=web.config\r\n";
  for (const std::string& line : SettingsIni->ReadSectionValues("Unwanted")) {
    exclusions += line + "\r\n";
  }
  const std::string localFolder = AddBackslash(SiteFolder + ToLocalPath(WebRootPath));
  TFlagScope quiet(InServerRun, true);
  if (!FtpFindFirst(WebRootPath + "*.*")) return;
  do {
    if (RunCancelled) break;
    const std::string name = CurrentFindName();
    if (!IsPlainFile(FtpFindData) || name == "." || name == "..") continue;
    if (PosNoCase("=" + name + "\r", exclusions) != 0) continue;
    ReadServerFileDate();
    const std::string local = ResolveNoCase(localFolder + name);
    if (local.empty() || !FileExists(local)) {
      progress.Error(name + " is on server but not local");
      continue;
    }
    const std::string localDateSize = DateSize(local);
    // Whatever run the server window is in, this report compares dates.
    const int icon = CompareServerDate(ServerFileDate, UnixToDateTime(LocalFileDate), ' ');
    if (icon != SameDateIcon && local != CurrentFileName) {
      progress.Error(name + " time-stamp discrepancy -\r\n    Local:   " + localDateSize +
                     "\rServer: " + FormatServerDate(ServerFileDate, 3) +
                     FormatSize(ServerFileSize));
    }
  } while (FtpFind && InternetFindNextFileA(FtpFind, &FtpFindData));
}

// The indicator's colours (0x00BBGGRR).
constexpr int kServerNewerColour = 0x0000FF;  // red
constexpr int kLocalNewerColour = 0x0080FF;   // orange
constexpr int kSameDateColour = 0x00FF00;     // green
constexpr int kNotOnServerColour = 0xFFFFFF;  // white
constexpr int kNotOnLocalColour = 0x000000;   // black

// "dd-mmm-yy hh.nn".
std::string IndicatorDate(double date) {
  std::string text = FormatServerDate(date, 1);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

void ShowServerComparison() {
  TMainWindow* w = MainWindow();
  if (!w) return;
  const int slot = CurrentSlot();
  const double serverDate = slot >= 0 ? ServerFileDates[slot] : ServerDateUnknown;
  if (!OnlineChecked() || serverDate == ServerDateUnknown || CurrentFileName.empty()) {
    w->SetIndicator("", 0, false);
    return;
  }
  if (serverDate == ServerDateNotOnServer) {
    w->SetIndicator("Not on server", kNotOnServerColour, true);
    return;
  }
  // The local side as the file is now: the tab may have been saved since.
  const int64_t localSeconds = FileExists(CurrentFileName) ? FileAge(CurrentFileName) : 0;
  if (localSeconds == 0) {
    w->SetIndicator("Not on local", kNotOnLocalColour, true);
    return;
  }
  const double localDate = UnixToDateTime(localSeconds);
  const int icon = CompareServerDate(serverDate, localDate, ' ');
  const int colour = icon == ServerNewerIcon  ? kServerNewerColour
                     : icon == LocalNewerIcon ? kLocalNewerColour
                                              : kSameDateColour;
  w->SetIndicator("Local: " + IndicatorDate(localDate) + "  Server: " + IndicatorDate(serverDate),
                  colour, true);
}

void ServerComparisonOfTab() {
  const int slot = CurrentSlot();
  if (slot >= 0 && ServerFileDates[slot] == ServerDateUnknown) CheckServerCopy();
  ShowServerComparison();
}

void SetCurrentFileDownloader(std::function<void()> download) {
  Downloader() = std::move(download);
}

void CheckUnwantedFiles() {
  if (!SettingsIni || !MainMenu().Checked("Unwanted") || EntireRun) return;
  if (CurrentFileName.find(ToLocalPath(WebRootPath)) == std::string::npos) return;
  // The report needs the progress box; a run that holds it is not interrupted.
  if (ActiveProgress) return;
  const std::string today = DayText(NowDateTime());
  if (SettingsIni->ReadString("System", "RunDate", "0") == today) return;
  SettingsIni->WriteString("System", "RunDate", today);
  TProgress progress("Unwanted and non-matching files", kUnwantedHelp, false, true);
  progress.SetWidth(kReportWidth);
  ListUnwantedFiles(progress);
  progress.Destroy();
}

void CheckServerCopy() {
  const int slot = CurrentSlot();
  if (slot >= 0) ServerFileDates[slot] = ServerDateUnknown;
  const std::string path = CurrentFileName;
  if (path.empty() || PosNoCase("HTTP", path) == 1) return;
  // A transfer keeps the connection to itself; the tab is compared next time.
  if (AppPhase != PhaseRunning || !OnlineChecked() || StartMode != StartNormal ||
      MainMenu().Checked("Raw") || TransferUnderWay()) {
    return;
  }
  // Like every server command, for the document's own site: the open command looks
  // before the tab change has read a new site's details, and after Close all the
  // details are to be read again.
  SiteHasServer = LoadServerDetails(path);
  if (!SiteHasServer || !CheckConnection(false)) return;
  const std::string serverPath = ServerPathOf(path);
  if (serverPath.empty()) return;
  bool found = FtpFindFirst(serverPath);
  const uint32_t outcome = GetLastError();
  if (!found && outcome != ERROR_SUCCESS && outcome != ERROR_NO_MORE_FILES) {
    // The connection failed rather than the file: once more on a new one.
    LastConnectTime = 0;
    EnsureConnected();
    found = FtpFindFirst(serverPath);
  }
  if (found) {
    DateSize(path);
    ReadServerFileDate();
    if (CompareServerDate() == ServerNewerIcon && !TimeStampQuestionSuppressed &&
        AskYesNo("Local file\tupdated " + FormatLongDate(UnixToDateTime(LocalFileDate)) +
                 "\rServer file\tupdated " + FormatLongDate(ServerFileDate) +
                 "\rDownload newer version from server?") &&
        Downloader()) {
      Downloader()();
    }
  } else if (slot >= 0) {
    ServerFileDates[slot] = ServerDateNotOnServer;
  }
  if (TMainWindow* w = MainWindow()) w->SetStatusText(kMessagePanel, "");
}

}  // namespace quorrel
