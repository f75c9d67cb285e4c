// Validate all: every matching file in and below a folder, one after the other in
// the current tab, each saved when its validation changed it.
#include <algorithm>
#include <vector>

#include "commands/OpenDocs.h"
#include "commands/ValidateCurrentFile.h"
#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "publish/Connection.h"
#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ProgUnit.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "shell/SiteFiles.h"
#include "shell/SiteState.h"
#include "validate/ColourSyntax.h"
#include "validate/ValUnit.h"

namespace quorrel {

namespace {

void SetTabsVisible(bool visible) {
  if (TMainWindow* window = MainWindow()) window->SetTabsVisible(visible);
}

// However the run ends (its last file, Cancel, an error in a file, a stop request)
// the tabs come back, the batch state is over and the preset folder is used up.
class TFolderRun {
 public:
  TFolderRun() { BatchState = BatchRunning; }
  ~TFolderRun() {
    SetTabsVisible(true);
    BatchState = BatchIdle;
    ValidateFolderRoot.clear();
  }
  TFolderRun(const TFolderRun&) = delete;
  TFolderRun& operator=(const TFolderRun&) = delete;
};

// The files of every mask below CurrentFolder, relative to it, sorted without
// regard to case; a file that several masks find ("*.HTM" and "*.HTML") is listed once.
std::vector<std::string> FilesToValidate(const std::string& patterns) {
  std::vector<std::string> files;
  size_t pos = 0;
  while (pos <= patterns.size()) {
    size_t bar = patterns.find('|', pos);
    if (bar == std::string::npos) bar = patterns.size();
    const std::string mask = patterns.substr(pos, bar - pos);
    if (!mask.empty()) {
      for (std::string& file : GrabLines(DoGrab(mask))) files.push_back(std::move(file));
    }
    pos = bar + 1;
  }
  auto key = [](const std::string& name) { return UpperCaseAnsi(name); };
  std::sort(files.begin(), files.end(), [&](const std::string& a, const std::string& b) {
    const std::string ka = key(a), kb = key(b);
    return ka != kb ? ka < kb : a < b;
  });
  files.erase(std::unique(files.begin(), files.end()), files.end());
  return files;
}

// The run reuses the current tab: a document whose save did not happen (the
// save said why, or the user declined) must not be replaced, or its edits would
// be lost. The run ends there.
void SaveIfModified() {
  if (!CurrentEditor || !CurrentEditor->Modified()) return;
  SaveClick();
  if (CurrentEditor && CurrentEditor->Modified()) Abort();
}

// The entry without the " »" and page title the site file list may give it.
std::string EntryPath(const std::string& entry) {
  const size_t mark = entry.find(" \xBB");
  return mark == std::string::npos ? entry : entry.substr(0, mark);
}

}  // namespace

void ValidateFolder(const std::string& patterns) {
  TFolderRun run;
  MainMenu().SetChecked("SubDirs", true);

  std::string folder = ValidateFolderRoot;
  if (folder.empty() &&
      !UserDialogs().SelectFolder("Validate files in and below...", SiteRootFolder(), folder)) {
    return;
  }
  folder = AddBackslash(folder);
  if (patterns != "*.VBA" && !DirectoryExists(folder)) {
    ShowErrorAndAbort(folder + "\rFolder does not exist.");
  }

  CurrentFolder = folder;
  CurrentCommand = ValidateAllCommand;
  SetOnline(false);
  if (AskServerImages) {
    AskServerImages = false;
    if (AskYesNo("Check images against server?")) {
      SetOnline(true);
      EnsureConnected();
    }
  }
  SaveIfModified();

  const std::vector<std::string> files = FilesToValidate(patterns);
  if (files.empty()) {
    ShowErrorAndAbort("No suitable files found in or below folder \r" + folder);
  }

  SetTabsVisible(false);
  size_t first = 0;
  if (CurrentEditor && CurrentFileName.starts_with(folder)) {
    const std::string current = CurrentFileName.substr(folder.size());
    auto it = std::find(files.begin(), files.end(), current);
    if (it != files.end() && AskYesNo("Start from current file?")) first = it - files.begin();
  }

  TProgress progress("Validate all", 0, false, false);
  size_t validated = 0;
  size_t notChecked = 0;  // files of kinds whose validator is still to come
  for (size_t i = first; i < files.size(); ++i) {
    if (BatchState == BatchStopAsked) {
      BatchState = BatchIdle;
      ShowErrorAndAbort("Validation terminated.");
    }
    if (RunCancelled) break;
    const std::string entry = EntryPath(files[i]);
    progress.Add(entry);
    // The run goes on in the current tab; with no document open the first file
    // brings one.
    OpenInCurrentTab(folder + entry);
    if (!IsOfficeHtml) {
      RecolourRequest = RecolourFull;
      if (CurrentExt != ".RTF") CurrentPageName = ExtractFileName(CurrentFileName);
      ApplySyntaxColours();
      const TValidation verdict = ValidateCurrentFile("Validate");
      if (verdict.status == NotCheckedYetStatus(CurrentKind())) ++notChecked;
      SetTabsVisible(false);
      SaveIfModified();
    }
    ++validated;
  }
  const bool cancelled = RunCancelled;
  progress.Destroy();

  SetTabsVisible(true);
  CurrentCommand.clear();
  RequestRecolour(RecolourFull);
  // After Cancel the count is of the files that were validated, not of the list.
  const size_t count = (cancelled ? validated : files.size()) - notChecked;
  std::string status = "  " + std::to_string(count) + " files validated";
  if (notChecked > 0) status += ", " + std::to_string(notChecked) + " not checked yet";
  if (TMainWindow* window = MainWindow()) window->SetStatusText(MessagePanel, status);
}

}  // namespace quorrel
