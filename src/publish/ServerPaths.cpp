#include "publish/ServerPaths.h"

#include "publish/Connection.h"
#include "publish/SiteDetails.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"

namespace quorrel {

std::string OutputFolder;

void SplitFtpAddress(const std::string& address) {
  std::string text = address;
  if (!text.empty() && text.back() == '/') text.pop_back();
  const size_t slash = text.find('/');
  if (slash == std::string::npos) {
    ServerName = text;
    ServerStartDir.clear();
  } else {
    ServerName = text.substr(0, slash);
    ServerStartDir = text.substr(slash + 1);
  }
}

std::string JoinFtpAddress() {
  if (ServerStartDir.empty()) return ServerName;
  return AddSlash(ServerName) + ServerStartDir;
}

std::string ServerPathOf(const std::string& localPath) {
  if (!OnlineChecked() || NotInSite) return "";
  if (CurrentCommand == UpdateCoursesCommand || CurrentCommand == DownloadToCommand) {
    return ToServerPath(localPath);
  }
  return SiteServerPathOf(localPath);
}

std::string SiteServerPathOf(const std::string& localPath) {
  if (!OnlineChecked() || NotInSite) return "";
  if (!SiteFolder.empty()) {
    const std::string path = NormaliseSitePath(ReplaceChar(localPath, '\\', '/'));
    if (path.starts_with(SiteFolder)) return ToServerPath(path.substr(SiteFolder.size()));
    if (localPath.find("Untitled.") == std::string::npos) NotWithinSite(localPath, path);
  }
  return "";
}

std::string BuildOutputFolder() {
  std::string folder = CurrentFolder;
  const std::string webRoot = ToLocalPath(WebRootPath);
  if (folder.find(webRoot) == std::string::npos) folder += webRoot;
  return folder;
}

void SetBuildOutputFolder() {
  OutputFolder = BuildOutputFolder();
}

void ResetServerPaths() {
  OutputFolder.clear();
}

}  // namespace quorrel
