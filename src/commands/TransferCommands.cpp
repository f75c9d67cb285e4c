#include "commands/TransferCommands.h"

#include <algorithm>

#include "commands/BuildCommands.h"
#include "commands/OpenDocs.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "publish/Connection.h"
#include "publish/Download.h"
#include "publish/ServerPaths.h"
#include "publish/ServerWindow.h"
#include "publish/SiteDetails.h"
#include "publish/Transfers.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

void Send(const std::string& path) {
  UploadFile(path, ServerPathOf(path));
}

// Where the server keeps its PHP error log, relative to the FTP folder of the site
// as every server path is. Hosts differ, so it is a setting; the default is
// written out the first time, for the user to find and change.
constexpr char kErrorLogKey[] = "PhpErrorLog";
constexpr char kErrorLogDefault[] = "logs/PHP_errors.log";

std::string ServerErrorLogPath() {
  if (!SettingsIni) return kErrorLogDefault;
  std::string path = SettingsIni->ReadString("System", kErrorLogKey, "");
  if (path.empty()) {
    path = kErrorLogDefault;
    SettingsIni->WriteString("System", kErrorLogKey, path);
  }
  return path;
}

}  // namespace

void UploadClick(const std::string& openFormFile) {
  // Refused before the save: nothing of the command happens while another runs.
  RefuseDuringTransfer();
  CurrentCommand = UploadCommand;
  // Uploading stays set for the length of the command, however it ends.
  TFlagScope uploading(Uploading, true);
  ShowStatus("Uploading...");
  std::string file = openFormFile;
  std::string masterFirst;
  if (file.empty()) {
    if (!CurrentEditor) return;
    GetEditorText();
    if (CurrentText.empty()) ShowErrorAndAbort("Cannot upload blank file.");
    if (IsContentDoc) {
      // The content document stands for the page it fills.
      file = CurrentPageName;
      if (file.empty() || !FileExists(file)) {
        ShowErrorAndAbort("Page name missing - you may need to restart Quorrel");
      }
    } else if (IsDotPage) {
      const std::string master = CurrentFileName;
      const std::string page = BuildWeb(true);
      CurrentCommand = UploadCommand;
      file = OutputFolder + page;
      if (OutputFolder == CurrentFolder) masterFirst = master;
    } else {
      try {
        SaveClick(UploadCommand);
      } catch (const EAbort&) {
        // The save stopped (at an error its validation showed, or at a question):
        // nothing went up, and the status says so where "uploaded" would stand.
        ShowStatus(ExtractFileName(CurrentFileName) + "  not uploaded");
        throw;
      }
      file = CurrentFileName;
    }
  }
  SiteHasServer = LoadServerDetails(file);
  if (!SiteHasServer) ShowErrorAndAbort("You first need to set up your server details.");
  if (!CheckConnection(true)) ShowErrorAndAbort("Cannot connect to server.");
  try {
    if (!masterFirst.empty()) Send(masterFirst);
    Send(file);
  } catch (const EAbort&) {
    // The save changed the local date; the server kept its copy.
    ShowServerComparison();
    throw;
  }
  Uploading = false;
  EnsureConnected();
  ShowStatus(ExtractFileName(file) + "  uploaded");
}

void DownloadCurrentFile() {
  RefuseDuringTransfer();
  if (!CurrentEditor || CurrentFileName.empty()) return;
  if (CurrentEditor->Modified()) {
    if (!AskYesNo(CurrentFileName + "\rhas changes that are not saved.\r" +
                  "Save them before the server copy replaces the file?")) {
      Abort();
    }
    SaveClick("NoValidate");
  }
  SiteHasServer = LoadServerDetails(CurrentFileName);
  if (!SiteHasServer) ShowErrorAndAbort("You first need to set up your server details.");
  const size_t caret = CurrentEditor->SelStart();
  if (IsServerErrorLogCopy(CurrentFileName)) {
    DownloadServerFile(ServerErrorLogPath(), CurrentFileName);
  } else {
    DownloadFile(CurrentFileName);
  }
  {
    // The file's new time is the server's: nothing to ask about it now.
    TFlagScope quiet(TimeStampQuestionSuppressed, true);
    OpenClick(MainMenu().Find(ReloadCommand));
  }
  if (!CurrentEditor) return;
  CurrentEditor->SetModified(false);
  CurrentEditor->Select(std::min(caret, CurrentEditor->TextLength()), 0);
  ShowStatus("Downloaded");
}

bool IsServerErrorLogCopy(const std::string& path) {
  return path.find("/!") != std::string::npos;
}

void InstallTransferCommands() {
  MainMenu().SetHandler(UploadCommand, [](const TMenuItem&) { UploadClick(); });
  MainMenu().SetHandler(DownloadCommand, [](const TMenuItem&) { DownloadCurrentFile(); });
  SetCurrentFileDownloader([] { DownloadCurrentFile(); });
}

}  // namespace quorrel
