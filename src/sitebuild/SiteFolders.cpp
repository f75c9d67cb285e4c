#include "sitebuild/SiteFolders.h"

#include "editor/ShellState.h"
#include "publish/SiteDetails.h"

namespace quorrel {

std::string SiteBaseFolder;

std::string SiteRootFolder() {
  // "?" asks for the details to be read again: the site is not known yet.
  if (!SiteFolder.empty() && SiteFolder != "?") return SiteFolder;
  return CurrentFolder;
}

void ResetSiteFolders() {
  SiteBaseFolder.clear();
}

}  // namespace quorrel
