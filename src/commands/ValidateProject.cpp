#include "commands/ValidateProject.h"

#include "commands/OpenDocs.h"
#include "commands/ValidateCurrentFile.h"
#include "platform/Paths.h"
#include "shell/Closing.h"
#include "shell/CommandNames.h"
#include "shell/Document.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "validate/PascalProject.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

bool running = false;

// Hides the tabs for the run and shows them again however the run ends.
class TProjectRun {
 public:
  TProjectRun() {
    running = true;
    if (TMainWindow* w = MainWindow()) {
      tabsWereVisible_ = w->TabsVisible();
      w->SetTabsVisible(false);
    }
  }
  ~TProjectRun() {
    running = false;
    if (TMainWindow* w = MainWindow()) w->SetTabsVisible(tabsWereVisible_);
  }
  TProjectRun(const TProjectRun&) = delete;
  TProjectRun& operator=(const TProjectRun&) = delete;

 private:
  bool tabsWereVisible_ = true;
};

int SlotOfPath(const std::string& path) {
  for (size_t slot = 0; slot < Documents.size(); ++slot) {
    if (Documents[slot].FileName == path) return static_cast<int>(slot);
  }
  return -1;
}

bool ActivateSlot(int slot) {
  if (!MainWindow() || TabOfSlot(slot) < 0) return false;
  ShowFileTab(slot, false);
  return true;
}

// An open document whose file took another name goes on under the new one.
void FollowRename(const std::string& from, const std::string& to) {
  const int slot = SlotOfPath(from);
  if (slot < 0) return;
  Documents[static_cast<size_t>(slot)].FileName = to;
  TMainWindow* w = MainWindow();
  const int tab = TabOfSlot(slot);
  if (!w || tab < 0) return;
  std::string hint;
  const std::string caption = TabCaptionFor(to, TabWidth, &hint);
  w->SetTabCaption(tab, caption, hint);
  if (slot == CurrentSlot()) w->SetCaption(MainCaption());
}

void FixProjectNames(const std::string& folder, const std::string& baseName) {
  for (const std::string& name : ProjectFileNames(baseName)) {
    const std::string former = FixNameCase(folder, name);
    if (!former.empty()) FollowRename(folder + former, folder + name);
  }
}

// Validates the current document and saves it when that changed it.
void ValidateUnit(const std::string& sender) {
  ValidateCurrentFile(sender);
  if (CurrentEditor && CurrentEditor->Modified()) SaveClick(ValidateCommand);
}

}  // namespace

bool ProjectRunning() {
  return running;
}

TValidation ValidateProject(const std::string& sender) {
  TProjectRun run;
  const TValidation result = ValidateCurrentFile(sender);

  const std::string folder = ExtractFilePath(CurrentFileName);
  FixProjectNames(folder, ExtractFileName(ChangeFileExt(CurrentFileName, "")));
  const int projectSlot = CurrentSlot();

  TMainWindow* w = MainWindow();
  int ownSlot = -1;  // the tab this run opened for its units
  for (const std::string& listed : ProjectUnitPaths(CurrentText, folder)) {
    const std::string found = ResolveNoCase(listed);
    const std::string path = found.empty() ? listed : found;
    if (w && StartMode == StartReformatting) w->SetSplashText(path);
    const int openSlot = SlotOfPath(path);
    if (openSlot >= 0 && openSlot != ownSlot && ActivateSlot(openSlot)) {
      ValidateUnit(sender);
      continue;
    }
    if (ownSlot >= 0 && ActivateSlot(ownSlot)) {
      OpenInCurrentTab(path);
    } else {
      OpenInNewTab(path);
      if (CurrentSlot() != projectSlot) ownSlot = CurrentSlot();
    }
    // A unit the open command could not bring in has been reported by it.
    if (CurrentSlot() != ownSlot || CurrentFileName != path) continue;
    ValidateUnit(sender);
  }
  if (ownSlot >= 0 && ActivateSlot(ownSlot)) CloseClick("CloseTab");
  if (StartMode != StartReformatting && projectSlot >= 0) ActivateSlot(projectSlot);
  // The units' saves have had the status bar: the project's verdict has it back.
  if (result.status) ShowStatusMessage(*result.status);
  return result;
}

}  // namespace quorrel
