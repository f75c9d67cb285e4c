#include "publish/SiteFileList.h"

#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "publish/OpenUnit.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Document.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "shell/TextFiles.h"

namespace quorrel {

TSiteFileList SiteFileList;

namespace {

constexpr char kTooDeep[] = "Error - too many directory levels - some files not scanned.";
// The end of the list, between three bullets on each side.
constexpr char kListEnded[] = "\x95\x95\x95 End of file list \x95\x95\x95";
constexpr char kShowTitlesItem[] = "ShowTitles";
constexpr char kSubDirsItem[] = "SubDirs";

// The busy cursor while the tree is walked.
class TBusyCursor {
 public:
  TBusyCursor() {
    if (TMainWindow* w = MainWindow()) w->SetBusyCursor(true);
  }
  ~TBusyCursor() {
    if (TMainWindow* w = MainWindow()) w->SetBusyCursor(false);
  }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

bool ScanSiteFileList(const TListing& listing) {
  TSiteFileList& list = SiteFileList;
  if (list.root.empty()) list.root = CurrentFolder;
  if (!list.root.empty() && list.root.back() != '/') list.root += '/';
  list.entries.clear();
  list.selected = -1;
  list.counter = "Scanning...";
  if (list.root.empty()) return true;
  // The Find dialog's choice of sub-folders is the form's from now on.
  if (listing.find) MainMenu().SetChecked(kSubDirsItem, list.subFolders);

  TScanRequest request;
  request.root = list.root;
  request.mask = list.fileMask;
  request.subFolders = list.subFolders;
  request.showTitles = MainMenu().Checked(kShowTitlesItem);
  request.regenerate = listing.regenerate;
  request.find = listing.find;
  TScanResult result;
  {
    const TBusyCursor busy;
    result = DoScan(request, OpenFormObserver());
  }
  list.entries = std::move(result.entries);
  list.counter = result.counter;
  if (result.interrupted) return false;
  if (result.tooDeep) ShowMsg(kTooDeep);
  if (CurrentCommand != ValidateCssCommand) ShowStatus("");
  if (list.entries.empty() && !listing.regenerate) {
    list.counter = "Not found";
    if (listing.find) ShowStatus("\"" + listing.find->shownText + "\" not found in any file");
  }
  list.rescanOnShow = false;
  return true;
}

std::vector<std::string> RegenerationPages(const std::string& root, const std::string& mask) {
  const TSiteFileList kept = SiteFileList;
  SiteFileList.root = root;
  SiteFileList.fileMask = mask;
  SiteFileList.subFolders = true;
  TListing listing;
  listing.regenerate = true;
  std::vector<std::string> pages;
  if (!root.empty() && ScanSiteFileList(listing)) {
    for (const std::string& entry : SiteFileList.entries) pages.push_back(ListEntryPath(entry));
  }
  SiteFileList = kept;
  return pages;
}

bool IsErrorLine(const std::string& entry) {
  return !entry.empty() && entry[0] == ErrorLineMark;
}

std::string ListEntryPath(const std::string& entry) {
  const std::string line = entry.substr(0, entry.find(TitleMark));
  const size_t slash = line.rfind('/');
  const size_t blank = line.find(' ', slash == std::string::npos ? 0 : slash);
  if (blank == std::string::npos) return "";
  return line.substr(0, blank) + line.substr(blank + 1);
}

int CurrentFileEntry() {
  const std::vector<std::string>& entries = SiteFileList.entries;
  if (entries.empty()) return -1;
  if (CurrentCommand == ReplaceCommand) return 0;
  const std::string name = ExtractFileName(CurrentFileName);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!name.empty() && ExtractFileName(ListEntryPath(entries[i])) == name) {
      return static_cast<int>(i);
    }
  }
  return 0;
}

std::string SelectedEntryPath() {
  const TSiteFileList& list = SiteFileList;
  if (list.selected < 0 || static_cast<size_t>(list.selected) >= list.entries.size()) return "";
  return list.root + ListEntryPath(list.entries[static_cast<size_t>(list.selected)]);
}

std::string GrabList() {
  std::string text;
  for (const std::string& entry : SiteFileList.entries) text += ListEntryPath(entry) + "\r\n";
  return text;
}

void SiteFileListNext() {
  TSiteFileList& list = SiteFileList;
  // The lines that report unreadable files name no file to open.
  size_t next = static_cast<size_t>(list.selected + 1);
  while (next < list.entries.size() && IsErrorLine(list.entries[next])) ++next;
  if (next >= list.entries.size()) {
    FileListEnded = true;
    ShowStatus(kListEnded);
    return;
  }
  list.selected = static_cast<int>(next);
  ChosenPath = SelectedEntryPath();
  FileListEnded = false;
}

void ResetSiteFileList() {
  SiteFileList = TSiteFileList{};
}

namespace {
const TResetEntry resetSiteFileList(ResetSiteFileList);
}  // namespace

}  // namespace quorrel
