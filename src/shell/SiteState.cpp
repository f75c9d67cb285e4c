#include "shell/SiteState.h"

#include "platform/ResetRegistry.h"
#include "shell/ShellState.h"

namespace quorrel {

std::string ServerName;
std::string ServerStartDir;
std::string ServerUser;
std::string ServerPassword;
std::string SiteWebAddress;
std::string SiteWebRoot;
std::string WebRootPath;
std::string ServerSet = "1";
std::string DataFtpPath;
std::string DataFtpFolder;
std::string SiteFolder;
bool SiteHasServer = false;
bool CurrentFileReadOnly = false;
bool EntireRun = false;
std::set<std::string> ServerCheckedFiles;

std::string SiteBaseFolder;
std::string PageBuffer;

std::string SiteRootFolder() {
  // "?" asks for the details to be read again: the site is not known yet.
  if (!SiteFolder.empty() && SiteFolder != "?") return SiteFolder;
  return CurrentFolder;
}

void ResetSiteState() {
  ServerName.clear();
  ServerStartDir.clear();
  ServerUser.clear();
  ServerPassword.clear();
  SiteWebAddress.clear();
  SiteWebRoot.clear();
  WebRootPath.clear();
  ServerSet.assign(1, '1');  // not = "1": GCC 12 wrongly warns of an overlapping copy
  DataFtpPath.clear();
  DataFtpFolder.clear();
  SiteFolder.clear();
  SiteHasServer = false;
  CurrentFileReadOnly = false;
  EntireRun = false;
  ServerCheckedFiles.clear();
  SiteBaseFolder.clear();
  PageBuffer.clear();
}

namespace {
const TResetEntry resetSiteState(ResetSiteState);
}  // namespace

}  // namespace quorrel
