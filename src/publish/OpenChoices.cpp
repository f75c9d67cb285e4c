#include "publish/OpenChoices.h"

#include <filesystem>
#include <system_error>

#include "platform/Paths.h"
#include "publish/OpenUnit.h"
#include "publish/SiteFileList.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

constexpr char kOpenDialogTitle[] = "File to be opened";
constexpr char kAllFiles[] = "All files|*.*";

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path here = std::filesystem::current_path(error);
  if (error) return "/";
  std::string folder = PathFromNative(here.string());
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

TOpenChoice OpenBtnClick(bool webAddressUsedLast, const std::string& webAddress) {
  if (webAddressUsedLast && webAddress != EmptyWebAddress) {
    ChosenPath = webAddress;
    return TOpenChoice::Chosen;
  }
  if (SiteFileList.root.empty()) return TOpenChoice::Cancelled;
  std::string path = SelectedEntryPath();
  if (path.empty()) return TOpenChoice::Stay;
  // A title that slipped past the entry's path stays out of the file's.
  const size_t mark = path.find('\xBB');
  if (mark != std::string::npos) {
    path.erase(mark > 0 && path[mark - 1] == ' ' ? mark - 1 : mark);
  }
  ChosenPath = path;
  return TOpenChoice::Chosen;
}

bool WinOpenClick(const std::string& mask) {
  // The dialog's filter pairs its parts with "|": masks the mask box holds apart
  // with "|" go in apart with ";".
  const std::string masks = ReplaceChar(mask, '|', ';');
  const std::string filter = mask.empty() ? kAllFiles : masks + "|" + masks + "|" + kAllFiles;
  std::string folder = ExtractFilePath(ChosenPath);
  if (folder.empty() || !DirectoryExists(folder)) folder = CurrentFolder;
  std::string path;
  if (!ShowFileDialog(filter, folder, false, path, kOpenDialogTitle)) return false;
  ChosenPath = path;
  const std::string chosenFolder = ExtractFilePath(path);
  if (chosenFolder.size() > 1) {
    SiteFileList.root = CheckOpenRoot(chosenFolder);
    SiteFileList.entries.clear();
    SiteFileList.selected = -1;
  }
  return true;
}

std::string UpOneLevel(const std::string& root) {
  if (root.size() < 2) return root;
  const size_t slash = root.rfind('/', root.size() - 2);
  if (slash == std::string::npos) return root;
  return root.substr(0, slash + 1);
}

std::string CheckOpenRoot(const std::string& root) {
  if (root.empty()) ShowErrorAndAbort("Root directory cannot be blank.");
  std::string folder = root[0] == '/' ? root : CurrentDirectory() + root;
  if (folder.back() != '/') folder += '/';
  // "/" always exists; any other root must.
  if (folder != "/" && !DirectoryExists(folder)) {
    ShowErrorAndAbort(root + " does not exist.\rPlease specify a valid root directory");
  }
  return folder;
}

void GrabBtnClick() {
  const std::string text = GrabList();
  SiteFileList.rescanOnShow = true;
  UseUntitledTab();
  // Unsaved text of the "Untitled" document is the user's: the list goes elsewhere.
  if (CurrentEditor && CurrentEditor->Modified()) OpenBySenderHook(NewTextCommand);
  if (!CurrentEditor) return;
  CurrentEditor->SetText(text);
  CurrentEditor->SetModified(false);
  CurrentEditor->Select(0, 0);
  DocModified = true;
  GetEditorText();
  RequestRecolour(RecolourFull);
}

bool OpenFormShowRescan(bool findFilesRunning) {
  TSiteFileList& list = SiteFileList;
  bool due = false;
  if (!findFilesRunning) {
    GetHighest();
    if (!CurrentFolder.empty() && !HighestFolder.empty() && list.root != HighestFolder) {
      list.root = HighestFolder;
      due = true;
    }
  }
  if (StartedWithParameters && list.root.empty()) {
    list.root = CurrentFolder;
    due = true;
  }
  return due || list.entries.empty() || list.rescanOnShow;
}

}  // namespace quorrel
