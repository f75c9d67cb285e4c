#include "publish/SiteDetailsDialog.h"

#include <QDir>

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "publish/Connection.h"
#include "publish/PasswordCodec.h"
#include "publish/ServerPaths.h"
#include "publish/SiteDetails.h"
#include "shell/Closing.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

// The web root as a local folder name: "\" as "/", "%20" as a blank. Only for
// comparing with local folders, so it never stops the command.
std::string LocalWebRoot(const std::string& webRoot) {
  std::string local = ReplaceAll(webRoot, "%20", " ", true);
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  return local;
}

bool HasSystemSection(const std::string& path) {
  return !path.empty() && FileExists(path) && TIniFile(path).ValueExists("System", "Section");
}

// Where the save dialog opens: the folder of the "Data.FTP" in use, the Open
// form's root for its list, or the current folder.
std::string SaveDialogFolder() {
  if (!DataFtpPath.empty()) return ExtractFilePath(DataFtpPath);
  if (!CurrentFileName.empty() && CurrentFileName.back() == '*' && SettingsIni) {
    const std::string root = SettingsIni->ReadString("Root", "1", "");
    if (!root.empty()) return AddBackslash(root);
  }
  return CurrentFolder;
}

std::function<bool()>& DetailsForm() {
  static std::function<bool()> show;
  return show;
}

// The file closed last ("path|offset" under the newest key); "" when none.
std::string LastClosedFile() {
  if (!SettingsIni) return "";
  const std::string entry =
      SettingsIni->ReadString(ClosedSection, std::to_string(NewestClosedKey), "");
  return entry.substr(0, entry.find('|'));
}

}  // namespace

std::string ServerDetailsCaption() {
  return "Server details for " + SiteFolder;
}

TServerFields CurrentServerFields() {
  return {JoinFtpAddress(), ServerUser, ServerPassword, SiteWebAddress, SiteWebRoot};
}

int CurrentServerSetNumber() {
  if (ServerSet.size() == 1 && ServerSet[0] >= '1' && ServerSet[0] <= '9')
    return ServerSet[0] - '0';
  return 1;
}

int ChooseServerSet(int n, int current, TServerFields& fields) {
  if (!HasSystemSection(DataFtpPath)) {
    ShowMsg("Please save the Server Details and then try again!");
    return current;
  }
  TIniFile ini(DataFtpPath, TIniPrivacy::Private);
  const std::string set = std::to_string(n);
  if (ini.ValueExists(set, "FTPAddr")) {
    fields.ftpAddress = ini.ReadString(set, "FTPAddr", "");
    fields.user = ini.ReadString(set, "User", "");
    fields.password = DecodeServerPassword(ini.ReadString(set, "Password", ""));
    fields.website = ini.ReadString(set, "WWWAddr", "");
    fields.webRoot = ini.ReadString(set, "WebRoot", "");
    ini.WriteString("System", "Section", set);
    return n;
  }
  // The fields stay as they are for the user to fill in.
  return AskYesNo("Create new section?") ? n : current;
}

bool BrowseWebRoot(std::string& webRoot) {
  std::string folder = webRoot;
  if (!UserDialogs().SelectFolder("", AddBackslash(QStringToAnsi(QDir::homePath())), folder))
    return false;
  webRoot = folder;
  return true;
}

bool RemoveServerDetails() {
  if (!AskYesNo("Remove server details?")) return false;
  DeleteDetailsFile(DataFtpPath);
  DataFtpPath.clear();
  SiteFolder.clear();
  return true;
}

bool AcceptServerDetails(TServerFields& fields, int set) {
  ServerName = fields.ftpAddress;
  ServerUser = fields.user;
  ServerPassword = fields.password;
  SiteWebAddress = fields.website;

  // A full path (a drive letter, or a path from "/") cannot name the web root.
  std::string webRoot = fields.webRoot;
  if (!webRoot.empty() && (webRoot.back() == '/' || webRoot.back() == '\\')) webRoot.pop_back();
  if (fields.webRoot.find(':') != std::string::npos || webRoot.starts_with("/")) {
    ShowMsg("Web root must not contain a full path, just the part after the IIS root.");
    return false;
  }
  fields.webRoot = webRoot;
  SiteWebRoot = webRoot;
  const std::string localRoot = LocalWebRoot(webRoot);

  if (!EntireRun && CurrentFolder.find(localRoot) == std::string::npos &&
      !AskYesNo("Specified Web root " + webRoot + "\rdoes not appear in current path " +
                CurrentFolder + "\rSave anyway?")) {
    return false;
  }

  const bool hasServer = fields.ftpAddress != "None";
  if (hasServer) {
    if (fields.ftpAddress.empty() || fields.user.empty() || fields.password.empty()) {
      ShowMsg("Server, User and Password must all be specified.");
      return false;
    }
    if (StartsWithNoCase(fields.ftpAddress, "ftp://") ||
        StartsWithNoCase(fields.ftpAddress, "http://")) {
      ShowMsg("Do not use \"ftp:// or http://\" prefix.");
      return false;
    }
  }
  // Also for "None", so that no start folder of an earlier address stays behind.
  SplitFtpAddress(fields.ftpAddress);

  // A site without a server has nothing to connect to.
  if (hasServer) {
    SetOnline(true);
    DoConnect();
    const bool connected = FtpConnected();
    CloseFtpConnection();
    // A failed connection turns On-line off, so that saving does not try again.
    if (!connected) SetOnline(false);
    if (!connected &&
        !AskYesNo("Cannot connect to this FTP server using this username and password.\r"
                  "Save anyway?  Error message is:\r" +
                  InternetErrorText)) {
      return false;
    }
  }

  FileDialogCall call;
  call.save = true;
  call.title = "Make sure you save in the top-level folder of the website";
  call.filter = "Data.FTP|Data.FTP";
  call.folder = SaveDialogFolder();
  call.helpContext = ServerDetailsHelp;
  std::string chosen = call.folder + ServerDetailsFile;
  if (!UserDialogs().FileDialog(call, chosen)) Abort();
  std::string folder = ExtractFilePath(chosen);

  if (!localRoot.empty()) {
    // The web root is a folder of the site, so its parent is the top level.
    const size_t at = PosNoCase("/" + localRoot + "/", folder);
    if (at > 0) {
      const std::string above = folder.substr(0, at);
      if (AskYesNoHelp("I think you should be saving into " + above + "\rrather than " + folder +
                           "\rWon't you change your mind?",
                       ServerDetailsHelp)) {
        folder = above;
      }
    }
    const std::string stale = ResolveNoCase(folder + localRoot + "/" + ServerDetailsFile);
    if (!stale.empty()) DeleteDetailsFile(stale);
  }

  ServerSet = std::to_string(set);
  const std::string existing = ResolveNoCase(folder + ServerDetailsFile);
  DoSave(existing.empty() ? folder + ServerDetailsFile : existing);
  return true;
}

void SetServerDetailsForm(std::function<bool()> show) {
  DetailsForm() = std::move(show);
}

void SDetsClick() {
  const std::string path = CurrentEditor ? CurrentFileName : LastClosedFile();
  if (path.empty()) {
    AskOkHelpCancel("No path for server details.", NoPathForDetailsHelp);
    return;
  }
  // Read afresh: the dialog shows what the file holds now.
  SiteFolder = "?";
  SiteHasServer = LoadServerDetails(path);
  if (!DetailsForm() || !DetailsForm()()) Abort();
  // Saving ticked On-line when the server answered: the open page is compared
  // with its server copy as a tab change would.
  if (CurrentEditor) PCChange();
}

void InstallServerDetailsCommand() {
  MainMenu().SetHandler(ServerDetailsCommand, [](const TMenuItem&) { SDetsClick(); });
}

namespace {
const TResetEntry resetDetailsForm([] { DetailsForm() = nullptr; });
}  // namespace

}  // namespace quorrel
