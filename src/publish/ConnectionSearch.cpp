// The server directory, directory searches and the dates of the entries found.
#include <cstring>

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "publish/Transfers.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

void CloseFind() {
  if (FtpFind) InternetCloseHandle(FtpFind);
  FtpFind = nullptr;
}

bool IsFolder(const TFindData& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// "  /name/\r" for each folder at the top of the server, for a user who gave a
// folder that is not there.
std::string TopLevelFolders() {
  std::string list;
  CloseFind();
  TFindData data;
  HINTERNET find = FtpFindFirstFileA(FtpConnection, "*.*", &data, 0, 0);
  if (!find) return list;
  do {
    const std::string name(data.cFileName, strnlen(data.cFileName, MAX_PATH));
    if (IsFolder(data) && name != "." && name != "..") list += "  /" + name + "/\r";
  } while (InternetFindNextFileA(find, &data));
  InternetCloseHandle(find);
  return list;
}

// A name with blanks is looked for with "?" in their place, since servers do not
// take blanks in patterns, and then picked out by its exact spelling.
void FindNameWithBlanks(const std::string& path) {
  std::string name, folder;
  SplitServerPath(path, name, folder);
  SetServerDir(folder);
  std::string pattern = name;
  for (char& c : pattern) {
    if (c == ' ') c = '?';
  }
  FtpFind = FtpFindFirstFileA(FtpConnection, pattern, &FtpFindData, 0, 0);
  while (FtpFind && name != "*.*" && CurrentFindName() != name) {
    if (!InternetFindNextFileA(FtpFind, &FtpFindData)) CloseFind();
  }
  const uint32_t outcome = GetLastError();
  if (!ServerFolder.empty()) SetServerDir(ServerFolder);
  SetLastError(FtpFind ? ERROR_SUCCESS : outcome);
}

}  // namespace

void SetServerDir(const std::string& directory) {
  RefuseDuringTransfer();
  if (FtpSetCurrentDirectoryA(FtpConnection, directory)) return;
  if (EntireRun) {
    ShowErrorAndAbort(directory +
                      "\rYou're asking for trouble using a directory name with spaces.\r"
                      "Please use \"_\" instead.");
  }
  GetInternetError();
  const std::string reason = InternetErrorText;
  InternetErrorCode = 0;
  FtpSetCurrentDirectoryA(FtpConnection, "/");
  AskOkHelpCancel("Could not set server directory to  " + directory + "\r" + reason +
                      "\rValid top-level directories are:\r" + TopLevelFolders(),
                  ServerDetailsHelp);
  Abort();
}

bool FtpFindFirst(const std::string& serverPath) {
  RefuseDuringTransfer();
  CloseFind();
  if (!OnlineChecked() || !FtpConnection) return false;
  if (serverPath.find(' ') != std::string::npos) {
    FindNameWithBlanks(serverPath);
    return FtpFind != nullptr;
  }
  FtpFind = FtpFindFirstFileA(FtpConnection, serverPath, &FtpFindData, 0, 0);
  if (FtpFind && serverPath.find('*') == std::string::npos) {
    const std::string name = CurrentFindName();
    if (serverPath.find(name) == std::string::npos) {
      // A folder of that name was listed instead, or the server spells the name
      // otherwise: its entries are not the file asked for.
      CloseFind();
      SetLastError(ERROR_NO_MORE_FILES);
      if (!EntireRun && !FlatListing) {
        ShowMsg("Error - searched for " + serverPath + " but found " + name);
      }
    }
  }
  return FtpFind != nullptr;
}

std::string CurrentFindName() {
  return std::string(FtpFindData.cFileName, strnlen(FtpFindData.cFileName, MAX_PATH));
}

void SplitServerPath(const std::string& path, std::string& name, std::string& folder) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    folder = ServerFolder;
    name = path;
  } else {
    folder = path.substr(0, slash + 1);
    name = path.substr(slash + 1);
  }
}

void ReadServerFileDate() {
  TransferFileTime = 0;
  if (!OnlineChecked()) {
    ServerFileDate = 0;
    return;
  }
  ServerFileSize = static_cast<int64_t>(FindDataSize(FtpFindData));
  const double date = ServerDateOf(FtpFindData.ftLastWriteTime);
  if (date == 0) {
    ServerFileDate = 0;
    return;
  }
  ServerFileDate = CorrectServerYear(date, NowDateTime());
  // A re-dated copy takes the server's own second, not the comparison's two-second
  // grain, so that both copies show the same time.
  const int64_t seconds = FileTimeToUnixTime(FtpFindData.ftLastWriteTime);
  TransferFileTime =
      ServerFileDate == date
          ? seconds
          : DateTimeToUnix(CorrectServerYear(UnixToDateTime(seconds), NowDateTime()));
  // Only the document's own name counts: "a.htm" is not "data.htm".
  if (!CurrentEditor || CurrentFileName.empty()) return;
  const int slot = CurrentEditor->Tag();
  const std::string localName = ReplaceAll(CurrentFindName(), "%20", " ", true);
  if (slot >= 0 && slot < MaxTabs && AnsiSameText(ExtractFileName(CurrentFileName), localName)) {
    ServerFileDates[slot] = ServerFileDate;
  }
}

}  // namespace quorrel
