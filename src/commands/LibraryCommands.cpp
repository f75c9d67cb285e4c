#include "commands/LibraryCommands.h"

#include <filesystem>
#include <utility>

#include "commands/OpenCommand.h"
#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "publish/SiteFileList.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ProgUnit.h"
#include "shell/Recolour.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "shell/SiteFiles.h"
#include "shell/SitePaths.h"
#include "shell/SiteState.h"
#include "shell/TextFiles.h"
#include "sitebuild/Templates.h"

namespace quorrel {

namespace {

constexpr char RefreshLibCommand[] = "RefreshLib";
constexpr char RegenHtmlCommand[] = "RegenHtml";
// The pages a run regenerates.
constexpr char PageMask[] = "*.HTM*";

TUpFormShow& UpForm() {
  static TUpFormShow show;
  return show;
}

std::string SiteRoot() {
  return AddBackslash(SiteRootFolder());
}

// Line ends as the program writes text files.
std::string WithCrLf(const std::string& text) {
  const std::string lf = ReplaceAll(ReplaceAll(text, "\r\n", "\n", true), "\r", "\n", true);
  return ReplaceAll(lf, "\n", "\r\n", true);
}

// An item file written whole before it replaces the old one, which stays as ".Bak".
void WriteItemFile(const std::string& path, const std::string& text) {
  if (ReplaceFile(path, WithCrLf(text), true) != TReplaceResult::Replaced) {
    ShowErrorAndAbort("Unable to create file " + path);
  }
}

// A run reuses tabs: a document whose save did not happen must not be replaced.
void SaveIfModified() {
  if (!CurrentEditor || !CurrentEditor->Modified()) return;
  SaveClick("NoValidate");
  if (CurrentEditor && CurrentEditor->Modified()) Abort();
}

// Makes a tab current, as a click on it does.
void ActivateTab(int tab) {
  TMainWindow* window = MainWindow();
  if (!window || tab < 0 || window->ActiveTab() == tab) return;
  window->ActivateTab(tab);
  PCChange();
}

// The tab already showing a path; -1 when none does.
int TabShowing(const std::string& path) {
  TMainWindow* window = MainWindow();
  for (int tab = 0; window && tab < window->TabCount(); ++tab) {
    if (TabPath(tab) == path) return tab;
  }
  return -1;
}

// The current page regenerated into the editor. Returns the region error, which
// leaves the editor as it was.
std::string RegenerateCurrent(TRegenMode mode, const std::string& siteRoot) {
  GetEditorText();
  const int depth = PageDepth(CurrentFileName, siteRoot);
  TRegenResult result = RegeneratePage(CurrentText, siteRoot, depth, mode);
  if (!result.regionError.empty()) return result.regionError;
  if (result.text != CurrentText && CurrentEditor) {
    const size_t caret = CurrentEditor->SelStart();
    CurrentEditor->SetText(result.text);
    CurrentEditor->SetModified(true);
    DocModified = true;
    GetEditorText();
    CurrentEditor->Select(std::min(caret, CurrentEditor->TextLength()), 0);
  }
  RequestRecolour(RecolourFull);
  return "";
}

// Sets the "Sub-dirs" box for the run and puts it back afterwards.
class TSubFoldersOn {
 public:
  TSubFoldersOn() : was_(MainMenu().Checked("SubDirs")) { MainMenu().SetChecked("SubDirs", true); }
  ~TSubFoldersOn() { MainMenu().SetChecked("SubDirs", was_); }
  TSubFoldersOn(const TSubFoldersOn&) = delete;
  TSubFoldersOn& operator=(const TSubFoldersOn&) = delete;

 private:
  bool was_;
};

// The pages of a run, in and below CurrentFolder; a regeneration lists them as the
// file-list form does for it.
std::vector<std::string> PagesBelow(const std::string& command) {
  if (command == RegenHtmlCommand) return RegenerationPages(CurrentFolder, PageMask);
  TSubFoldersOn subFolders;
  return GrabLines(DoGrab(PageMask));
}

// Clears the batch page name however the run ends.
class TPageNameGuard {
 public:
  TPageNameGuard() = default;
  ~TPageNameGuard() { CurrentPageName.clear(); }
  TPageNameGuard(const TPageNameGuard&) = delete;
  TPageNameGuard& operator=(const TPageNameGuard&) = delete;
};

void RunOverPages(const std::string& command) {
  const TRegenMode mode = command == RefreshLibCommand ? TRegenMode::LibraryOnly : TRegenMode::Full;
  // Templates and items serve the whole site, so the run covers it all.
  const std::string siteRoot = SiteRoot();
  const std::string folder = siteRoot;
  CurrentFolder = folder;
  // Messages that stop the run name the page they stopped at.
  CurrentCommand = command;
  SaveIfModified();
  const std::vector<std::string> pages = PagesBelow(command);
  TMainWindow* window = MainWindow();
  const int runTab = window ? window->ActiveTab() : -1;

  TPageNameGuard pageName;
  // The report is read in the box (and printed from it on request), not sent to the
  // printer unasked.
  TProgress progress(command == RefreshLibCommand ? "Refresh from Library" : "Regenerate HTML",
                     mode == TRegenMode::LibraryOnly ? RefreshLibHelp : RegenHtmlHelp, false,
                     true);
  for (const std::string& entry : pages) {
    if (RunCancelled) break;
    progress.Add(entry);
    const std::string path = folder + entry;
    // An open page is regenerated in its own tab, the others in the run's tab.
    const int tab = TabShowing(path);
    ActivateTab(tab >= 0 ? tab : runTab);
    SaveIfModified();
    CurrentFileName = path;
    OpenClick(CurrentEditor ? "Reload" : "");
    CurrentPageName = ExtractFileName(path);
    const std::string error = RegenerateCurrent(mode, siteRoot);
    if (!error.empty()) {
      progress.Error(entry + ": " + error);
      continue;
    }
    SaveIfModified();
  }
  progress.Destroy();
}

}  // namespace

void SetUpForm(TUpFormShow show) {
  UpForm() = std::move(show);
}

void CrLibClick() {
  if (!CurrentEditor || CurrentEditor->SelLength() == 0) {
    ShowErrorAndAbort("First highlight the code which is to become a Library item.");
  }
  const std::string siteRoot = SiteRoot();
  std::string library = ResolveNoCase(siteRoot + LibraryFolderName);
  if (library.empty()) library = siteRoot + LibraryFolderName;
  library = AddBackslash(library);
  if (!DirectoryExists(library)) {
    if (!AskYesNo(library + " does not exist.  Create it?")) return;
    std::error_code error;
    std::filesystem::create_directories(NativePath(library), error);
    if (error) ShowErrorAndAbort("Unable to create folder " + library);
  }
  std::string path = library + "menu.lbi";
  if (!ShowFileDialog("Library|*.lbi|All files|*.*", library, true, path, "Save as...")) return;
  // Pages name their items from the site root, so the folder is looked for below it
  // (the site itself may sit in a folder called "library"); an item outside the
  // site could not be found from its pages.
  const std::string chosen = CanonicalPath(path);
  const std::string root = CanonicalPath(siteRoot);
  const std::string below = IsWithinFolder(chosen, root) ? chosen.substr(root.size() - 1) : "";
  const size_t inLibrary = PosNoCase(std::string("/") + LibraryFolderName + "/", below);
  if (inLibrary == 0) ShowErrorAndAbort("Library item MUST go into the Library folder.");
  const std::string itemPath = ToServerPath(below.substr(inLibrary - 1));

  TMyRich& editor = *CurrentEditor;
  const size_t start = editor.SelStart();
  const size_t length = editor.SelLength();
  WriteItemFile(path, editor.SelText());
  editor.BeginEditGroup();
  editor.Select(start + length, 0);
  editor.SetSelText(std::string(LibraryItemEnd) + "\n");
  editor.Select(start, 0);
  editor.SetSelText(LibraryItemBegin + itemPath + "\" -->\n");
  editor.EndEditGroup();
  editor.Select(start, 0);
  ThisChange();
  GetEditorText();
  SaveClick("NoValidate");
  RunOverPages(RefreshLibCommand);
}

void UpdateItemFromPage(const std::string& item) {
  if (!AskYesNo("Update " + item + " from this file?")) return;
  GetEditorText();
  const std::string copy = PageCopyOfItem(CurrentText, item);
  WriteItemFile(SiteFileOfComment(SiteRoot(), item, true), copy);
}

void UpLibClick() {
  if (!CurrentEditor || !UpForm()) return;
  GetEditorText();
  const std::vector<std::string> items = LibraryItemsOfPage(CurrentText);
  if (!UpForm()(items, [](const std::string& item) { UpdateItemFromPage(item); })) return;
  RunOverPages(RefreshLibCommand);
}

void RegenAllClick(const std::string& sender) {
  if (sender == RegenHtmlCommand &&
      !AskYesNo("Regenerate all HTML files in and below " + SiteRoot())) {
    return;
  }
  RunOverPages(sender);
}

void RegenClick() {
  if (!CurrentEditor) return;
  const std::string error = RegenerateCurrent(TRegenMode::Full, SiteRoot());
  if (!error.empty()) ShowMsg(error);
}

void InstallLibraryCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("CreateLib", [](const TMenuItem&) { CrLibClick(); });
  menu.SetHandler("UpdateLib", [](const TMenuItem&) { UpLibClick(); });
  menu.SetHandler(RefreshLibCommand, [](const TMenuItem&) { RegenAllClick(RefreshLibCommand); });
  menu.SetHandler(RegenHtmlCommand, [](const TMenuItem&) { RegenAllClick(RegenHtmlCommand); });
  menu.SetHandler("RegenOne", [](const TMenuItem&) { RegenClick(); });
}

void ResetLibraryCommands() {
  UpForm() = nullptr;
}

namespace {
const TResetEntry resetLibraryCommands(ResetLibraryCommands);
}  // namespace

}  // namespace quorrel
