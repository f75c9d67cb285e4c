#include "publish/OpenUnit.h"

#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "publish/SiteFileList.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"

namespace quorrel {

std::string ChosenPath;
bool FileListEnded = false;

namespace {

TOpenFormHost* installed = nullptr;

}  // namespace

void SetOpenForm(TOpenFormHost* form) {
  installed = form;
}

bool OpenFormInstalled() {
  return installed != nullptr;
}

bool ShowOpenForm() {
  if (installed) return installed->ShowModal();
  std::string folder = ExtractFilePath(ChosenPath);
  if (folder.empty() || !DirectoryExists(folder)) folder = CurrentFolder;
  std::string path;
  if (!ShowFileDialog("All files|*.*", folder, false, path, "File to be opened")) return false;
  ChosenPath = path;
  return true;
}

void OpenNext() {
  if (installed) {
    installed->OpenNext();
    return;
  }
  SiteFileListNext();
}

void ResetOpenUnit() {
  installed = nullptr;
  ChosenPath.clear();
  FileListEnded = false;
}

namespace {
const TResetEntry resetOpenUnit(ResetOpenUnit);
}  // namespace

}  // namespace quorrel
