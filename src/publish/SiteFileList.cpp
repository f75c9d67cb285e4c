#include "publish/SiteFileList.h"

#include "platform/ResetRegistry.h"
#include "publish/OpenUnit.h"
#include "shell/SiteFiles.h"

namespace quorrel {

TSiteFileList SiteFileList;

void ScanSiteFileList() {
  TSiteFileList& list = SiteFileList;
  if (!list.root.empty() && list.root.back() != '/') list.root += '/';
  std::string mask = list.fileMask.empty() ? "*" : list.fileMask;
  if (mask.find('.') == std::string::npos) mask += ".*";
  list.entries = list.root.empty() ? std::vector<std::string>{}
                                   : SiteFilePaths(list.root, mask, list.subFolders);
  list.selected = -1;
}

void SiteFileListNext() {
  TSiteFileList& list = SiteFileList;
  const size_t next = static_cast<size_t>(list.selected + 1);
  if (next >= list.entries.size()) {
    FileListEnded = true;
    return;
  }
  list.selected = static_cast<int>(next);
  ChosenPath = list.root + list.entries[next];
  FileListEnded = false;
}

void ResetSiteFileList() {
  SiteFileList = TSiteFileList{};
}

namespace {
const TResetEntry resetSiteFileList(ResetSiteFileList);
}  // namespace

}  // namespace quorrel
