#include "publish/SiteDetails.h"

#include <sys/stat.h>
#include <unistd.h>


#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "publish/Connection.h"
#include "publish/PasswordCodec.h"
#include "publish/ServerPaths.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

// Folders a site publishes, in the order they are tried; a later hit wins.
constexpr const char* kWebRootGuesses[] = {"wwwroot", "public_html", "www/html", "httpdocs",
                                           "htdocs"};

std::function<TBuildTarget()>& BuildTargetQuery() {
  static std::function<TBuildTarget()> query;
  return query;
}

// Like a read-only attribute: no write permission bit at all, or none for this user.
bool IsReadOnlyFile(const std::string& path) {
  if (path.empty()) return false;
  const std::string native = NativePath(path);
  struct stat st;
  if (stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return (st.st_mode & 0222) == 0 || access(native.c_str(), W_OK) != 0;
}

// The "Data.FTP" of the folder or of the nearest folder above it; "" when none.
// The file system's root is never examined, nor a relative folder.
std::string FindDetailsFile(std::string folder, std::string& foundFolder) {
  while (folder.size() > 1 && folder.front() == '/') {
    const std::string file = ResolveNoCase(folder + ServerDetailsFile);
    if (!file.empty() && FileExists(file)) {
      foundFolder = folder;
      return file;
    }
    const size_t cut = folder.rfind('/', folder.size() - 2);
    if (cut == std::string::npos) break;
    folder.resize(cut + 1);
  }
  return "";
}

// The web root from the current document's path, else from the sub-folders of its
// folder; "" when nothing fits.
std::string GuessWebRoot() {
  std::string guess;
  for (const char* name : kWebRootGuesses) {
    if (CurrentFileName.find(name) != std::string::npos) guess = std::string(name) + "/";
  }
  if (!guess.empty() || CurrentFolder.empty() || CurrentFolder.front() != '/') return guess;
  for (const char* name : kWebRootGuesses) {
    const std::string folder = ResolveNoCase(CurrentFolder + name);
    if (folder.empty() || !DirectoryExists(folder)) continue;
    // The folder as it is spelt on disk.
    guess = (folder.starts_with(CurrentFolder) ? folder.substr(CurrentFolder.size()) : name) + "/";
  }
  return guess;
}

// The details become the current site's.
void ApplySiteDetails(const TSiteDetails& details) {
  ServerCheckedFiles.clear();
  DataFtpPath = details.DataFtpPath;
  DataFtpFolder = details.DataFtpFolder;
  ServerSet = details.ServerSet;
  SplitFtpAddress(details.FtpAddress);
  ServerUser = details.ServerUser;
  ServerPassword = details.ServerPassword;
  SiteWebAddress = details.SiteWebAddress;
  SiteWebRoot = details.SiteWebRoot;
  SiteFolder = details.SiteFolder;
}

// Reads the details for a path and makes them the current site's, with what the
// reading asked for written to the file and the connection made when on-line.
bool ReadAndApplyDetails(const std::string& path) {
  const TSiteDetails details = ReadDetails(path);
  if (details.switchedToSetOne) {
    TIniFile(details.DataFtpPath, TIniPrivacy::Private).WriteString("System", "Section", "1");
  }
  if (details.found && details.FtpAddress.empty() && CurrentCommand != ServerDetailsCommand) {
    // Leave nothing half-read behind: the next lookup reads the file again.
    TSiteDetails unread;
    unread.DataFtpPath = details.DataFtpPath;
    unread.DataFtpFolder = details.DataFtpFolder;
    unread.ServerSet = details.ServerSet;
    unread.SiteFolder = SiteFolder;
    ApplySiteDetails(unread);
    SetOnline(false);
    HideSplash();
    ShowErrorAndAbort("Error in Data.FTP");
  }
  if (details.webRootGuessed) {
    TIniFile(details.DataFtpPath, TIniPrivacy::Private)
        .WriteString(details.ServerSet, "WebRoot", details.SiteWebRoot);
  }
  ApplySiteDetails(details);
  if (details.FtpAddress == "None") {
    SetOnline(false);
  } else if (OnlineChecked() && !details.FtpAddress.empty() &&
             CurrentCommand != ServerDetailsCommand) {
    // Not for the details dialog: details that cannot connect would stop the very
    // command that corrects them. Its OK tests the connection itself.
    EnsureConnected();
    if (!FtpConnected()) {
      LastConnectTime = 0;
      EnsureConnected();
    }
  }
  return details.found;
}

}  // namespace

TSiteDetails ReadDetails(const std::string& path) {
  TSiteDetails details;
  const std::string file = FindDetailsFile(ExtractFilePath(path), details.DataFtpFolder);
  if (file.empty()) {
    details.SiteFolder = ExtractFilePath(path);
    return details;
  }

  details.found = true;
  details.DataFtpPath = file;
  details.SiteFolder = details.DataFtpFolder;
  TIniFile ini(file, TIniPrivacy::Private);
  details.ServerSet = ini.ReadString("System", "Section", "1");
  if (details.ServerSet.empty()) details.ServerSet = "1";
  std::string address = ini.ReadString(details.ServerSet, "FTPAddr", "");
  if (address.empty() && details.ServerSet != "1" &&
      AskYesNo("Set " + details.ServerSet + " not known.  Switch to set 1?")) {
    details.switchedToSetOne = true;
    details.ServerSet = "1";
    address = ini.ReadString(details.ServerSet, "FTPAddr", "");
  }
  if (address.empty()) address = ini.ReadString("System", "FTPAddr", "");
  details.FtpAddress = address;

  if (address != "None") {
    details.ServerUser = ini.ReadString(details.ServerSet, "User", "");
    details.ServerPassword = DecodeServerPassword(ini.ReadString(details.ServerSet, "Password", ""));
    details.SiteWebAddress = ini.ReadString(details.ServerSet, "WWWAddr", "");
    details.SiteWebRoot = ini.ReadString(details.ServerSet, "WebRoot", "");
    if (details.SiteWebRoot.empty()) {
      details.SiteWebRoot = GuessWebRoot();
      details.webRootGuessed = !details.SiteWebRoot.empty();
    }
  }
  return details;
}

void SetBuildTargetQuery(std::function<TBuildTarget()> query) {
  BuildTargetQuery() = std::move(query);
}

bool LoadServerDetails(const std::string& givenPath) {
  bool found = true;
  std::string path = givenPath;
  if (BuildTargetQuery()) {
    const TBuildTarget target = BuildTargetQuery()();
    if ((IsDotPage || target.running) && !target.path.empty()) path = target.path;
  }
  CurrentFileReadOnly = IsReadOnlyFile(CurrentFileName);

  // The cached details stand while the path lies in the site folder (or, for a
  // read-only document, whatever the path). "?" or no site folder always re-reads.
  const bool mustRead = ServerName.empty() || SiteFolder.empty() || SiteFolder == "?" ||
                        (!CurrentFileReadOnly && (path.empty() || !path.starts_with(SiteFolder)));
  if (mustRead) found = ReadAndApplyDetails(path);

  WebRootPath = AddSlash(ToServerPath(SiteWebRoot));
  return found;
}

void DoSave(const std::string& path) {
  TIniFile ini(path, TIniPrivacy::Private);
  std::string set = ServerSet.empty() ? "1" : ServerSet;
  if (!ini.ValueExists("System", "Section")) {
    DeleteDetailsFile(path);
    ini.Reload();
    set = "1";
  }
  if (!SiteWebAddress.empty()) {
    if (PosNoCase("http", SiteWebAddress) != 1) SiteWebAddress = "http://" + SiteWebAddress;
    SiteWebAddress = AddSlash(SiteWebAddress);
  }
  ini.WriteString("System", "Section", set);
  ini.WriteString(set, "FTPAddr", JoinFtpAddress());
  ini.WriteString(set, "User", ServerUser);
  ini.WriteString(set, "Password", EncodeServerPassword(ServerPassword));
  ini.WriteString(set, "WWWAddr", SiteWebAddress);
  ini.WriteString(set, "WebRoot", SiteWebRoot);
  ServerSet = set;

  SiteFolder = "?";
  SiteHasServer = LoadServerDetails(path);
}

void DeleteDetailsFile(const std::string& path) {
  if (path.empty() || !FileExists(path)) return;
  DeleteFileOrAbort(path);
}

void OpenControlPanel(bool useShell) {
  SiteHasServer = LoadServerDetails(CurrentFileName);
  const std::string panel =
      SiteFolder.empty() || SiteFolder == "?" ? "" : ResolveNoCase(SiteFolder + "CPanel.htm");
  if (panel.empty() || !FileExists(panel)) {
    ShowHelpContext(ControlPanelHelp);
    return;
  }
  if (useShell) {
    ShellOpen(panel);
  } else {
    PreviewOpen(panel);
  }
}

void ResetSiteDetails() {
  ResetSiteState();
  BuildTargetQuery() = nullptr;
  ResetServerPaths();
  ResetConnection();
}

namespace {
const TResetEntry resetSiteDetails(ResetSiteDetails);
}  // namespace

}  // namespace quorrel
