#include "publish/OpenUnit.h"

#include "platform/ResetRegistry.h"
#include "publish/OpenChoices.h"
#include "publish/SiteFileList.h"

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

TScanObserver* OpenFormObserver() {
  return installed ? installed->ScanObserver() : nullptr;
}

bool ShowOpenForm() {
  if (installed) return installed->ShowModal();
  return WinOpenClick("");
}

void OpenNext() {
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
