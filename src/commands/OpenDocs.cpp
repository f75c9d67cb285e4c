#include "commands/OpenDocs.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "commands/OpenSteps.h"
#include "music/AbcTools.h"
#include "music/AbcWorkFiles.h"
#include "music/ReportView.h"
#include "platform/FileWrites.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/ResetRegistry.h"
#include "publish/OpenUnit.h"
#include "shell/ClassifyDocument.h"
#include "shell/Closing.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RunPrograms.h"
#include "shell/ShellState.h"

namespace quorrel {

std::string LoginPage;

namespace {

bool IsNewItem(const std::string& name) {
  return name.starts_with("New") || name == "CopyFrom";
}

bool IsRecentItem(const std::string& name) {
  return name.size() > 6 && name.starts_with("Recent");
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// PostScript shown as a PDF: Ghostscript writes "ABC.PDF" in the work folder, which
// the default viewer then opens.
void ShowPostScript(const std::string& path) {
  if (GhostscriptPath.empty()) ABCClick();
  const std::string pdf = AbcPdfFile();
  ::unlink(NativePath(pdf).c_str());  // an old one must not pass for the new
  const std::string gs = GhostscriptPath.empty() ? "gs" : NativePath(GhostscriptPath);
  if (!RunHidden(gs, {"-sDEVICE=pdfwrite", "-o", NativePath(pdf), NativePath(path)})) return;
  WaitForLastProgram();
  WaitForOutputFile(NativePath(pdf));
  ShellOpen(pdf);
}

// The tab of a document already open, to be shown instead of a second copy; -1
// when the document is to be opened.
int OpenTabOf(const std::string& path, bool newTab) {
  TMainWindow* w = MainWindow();
  if (path.starts_with("Untitled")) return -1;
  for (size_t slot = 0; slot < Documents.size(); ++slot) {
    if (Documents[slot].FileName != path) continue;
    const int tab = TabOfSlot(static_cast<int>(slot));
    if (tab >= 0 && (tab != w->ActiveTab() || newTab)) return tab;
  }
  return -1;
}

// name is the sender's component name; path, when given, is the document a caller
// hands over ("" with "Reload": the current one).
void RunOpen(const std::string& name, int tag, const std::string& hint, bool forceNewTab,
             const std::string& path = "") {
  TMainWindow* w = MainWindow();
  if (!w) return;
  CloseReportViewer();

  // The path.
  TOpenRun run;
  run.sender = name;
  run.reload = name == "Reload";
  if (name == "NextFile" || name == FindNextCommand) {
    OpenNext();
    if (FileListEnded) return;
    run.path = ChosenPath;
  } else if (name.empty()) {
    run.path = path;
  } else if (IsRecentItem(name)) {
    run.path = hint;
  } else if (run.reload) {
    if (!CurrentEditor) ShowErrorAndAbort("No current file.");
    run.path = path.empty() ? CurrentFileName : path;
    run.keptCaret = CurrentEditor->SelStart();
  } else if (!IsNewItem(name)) {
    if (!ShowOpenForm()) return;
    run.path = ChosenPath;
  } else if (name == "CopyFrom") {
    run.path = "Untitled.htm";
  } else {
    run.path = "Untitled." + LowerAscii(name.substr(3, 3));
  }
  run.path = run.path.substr(0, run.path.find('|'));
  if (run.path.empty()) return;
  bool newTab =
      forceNewTab || tag != 0 || IsRecentItem(name) || !CurrentEditor || w->ActiveTab() < 0;

  // A document already open is shown, not opened twice.
  if (const int tab = OpenTabOf(run.path, newTab); tab >= 0) {
    w->ActivateTab(tab);
    if (!w->SplashShowing()) w->SetStatusText(MessagePanel, "  File already open");
    PCChange();
    return;
  }
  const std::string ext = UpperCaseAnsi(ExtractFileExt(run.path));
  const bool newDocument = IsNewItem(name);
  if (!newDocument && ext == ".7Z") {
    if (!CloseAllClick("")) return;
    newTab = true;
  }
  if (!newDocument && ext == ".PS" &&
      AskYesNo("Display Postscript output rather than as a text file?")) {
    ShowPostScript(run.path);
    return;
  }

  // The tab: a new one, or the current one emptied through Close.
  if (newTab || !CurrentEditor) {
    run.slot = NewDocumentTab(run.path);
  } else {
    if (run.reload) CurrentEditor->SetModified(false);
    const bool another = run.path != CurrentFileName;
    if (!CloseClick("")) return;
    run.slot = CurrentEditor->Tag();
    // Another document, another record: nothing of the one closed carries over.
    TDocument* document = DocumentAt(run.slot);
    if (document && another) *document = TDocument{};
  }
  CurrentEditor = w->TabEditor(w->ActiveTab());
  SetCurrentDocument(run.slot);
  CurrentFileName = run.path;
  CurrentText.clear();
  DocModified = false;
  ClassifyDocument();
  SetTabCaption(run.path);
  CurrentEditor->SetModified(false);
  // A new document, or another file in a reused tab, has not been read with LF.
  CurrentEditor->SetLfOnlyFile(false);
  BeginBusy();
  if ((IsAsp || IsPhp) && PosNoCase("login", run.path) > 0) {
    MainMenu().SetVisible("Login", true);
    LoginPage = run.path;
  }

  if (newDocument) {
    OpenNewDocument(run);
  } else {
    OpenExistingFile(run);
  }
}

bool WriteWorkText(const std::string& path, const std::string& text) {
  int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = WriteAllBytes(fd, text);
  return ::close(fd) == 0 && written;
}

}  // namespace

void OpenClick(const TMenuItem* sender) {
  if (sender) {
    RunOpen(sender->name, sender->tag, sender->hint, false);
  } else {
    RunOpen("", 0, "", false, CurrentFileName);
  }
}

void OpenInNewTab(const std::string& path) {
  RunOpen("", 0, "", true, path);
}

void OpenInCurrentTab(const std::string& path) {
  RunOpen(CurrentEditor ? "Reload" : "", 0, "", false, path);
}

void OpenThis(const std::string& path) {
  OpenInNewTab(path);
  if (!CurrentEditor || CurrentFileName != path || CurrentExt != ".ABC") return;
  ABCClick();
  if (CurrentCommand != "ExParts") MainMenu().Click(PlayCommand);
}

void OpenText(const std::string& text) {
  const std::string path = ToolTextFile();
  if (!WriteWorkText(path, text)) ShowErrorAndAbort("Unable to create file " + path);
  TMainWindow* w = MainWindow();
  // A tab that shows the file already would show its old text.
  for (size_t slot = 0; w && slot < Documents.size(); ++slot) {
    const int tab = Documents[slot].FileName == path ? TabOfSlot(static_cast<int>(slot)) : -1;
    if (tab < 0) continue;
    w->ActivateTab(tab);
    PCChange();
    RunOpen("Reload", 0, "", false);
    return;
  }
  OpenInNewTab(path);
}

void OpenRawClick() {
  const std::string outer = CurrentCommand;
  CurrentCommand = OpenRawCommand;
  try {
    RunOpen("Reload", 0, "", false);
  } catch (...) {
    CurrentCommand = outer;
    throw;
  }
  CurrentCommand = outer;
}

void FileMenuClick() {
  MainMenu().SetEnabled("Compare",
                        CurrentEditor != nullptr && FileExists(CurrentFileName + ".Bak"));
}

void InstallOpenCommands() {
  TMenuModel& menu = MainMenu();
  for (const char* name : {"Open", "OpenTab", "NextFile", "Reload", "NewHTM", "NewABC", "NewRTF",
                           "NewSCR", "NewTXT", "CopyFrom"}) {
    menu.SetHandler(name, [](const TMenuItem& item) { OpenClick(&item); });
  }
  menu.SetHandler("OpenRaw", [](const TMenuItem&) { OpenRawClick(); });
  menu.SetHandler("FileMenu", [](const TMenuItem&) { FileMenuClick(); });
}

void ResetOpenDocs() {
  LoginPage.clear();
}

namespace {
const TResetEntry resetOpenDocs(ResetOpenDocs);
}  // namespace

}  // namespace quorrel
