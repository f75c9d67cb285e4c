#include "shell/Closing.h"

#include <algorithm>

#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "shell/Archive7z.h"
#include "shell/ArchiveMemberWipe.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FileSets.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"

namespace quorrel {

bool CloseRefused = true;

namespace {

// Documents whose changes are worth a question: not new, not the content
// document, not a work file of ours.
bool AskedAbout(const TMyRich& editor, const std::string& path) {
  return editor.Modified() && !path.starts_with("Untitled") && path != "Content" &&
         !InTempFolder(path);
}

// Yes saves, No lets the changes go; Cancel, outside Close all, keeps the
// document and ends the command.
void AskToSave(TMainWindow& w, const std::string& path) {
  const std::string question = SaveChangesQuestion(path);
  if (ClosingAll) {
    // The tabs close unpainted; from the first question on they are drawn, or the
    // user would be asked about a text that is not on the screen.
    w.ShowForm(true);
    ShowUpdates();
    if (AskYesNo(question)) SaveClick();
    return;
  }
  w.ShowForm(true);
  const int answer = AskYesNoCancel(question);
  if (answer == mrCancel) {
    CloseRefused = false;
    ClosingAll = false;
    if (AppPhase == PhaseClosingAll) AppPhase = PhaseRunning;
    Abort();
  }
  if (answer == mrYes) SaveClick();
}

// Close all mode ends however the run ends: the form shows again unless the
// program is on its way out.
class TClosingAll {
 public:
  explicit TClosingAll(TMainWindow& w) : w_(w) {
    AppPhase = PhaseClosingAll;
    ClosingAll = true;
  }
  ~TClosingAll() {
    ClosingAll = false;
    AppPhase = PhaseRunning;
    if (CurrentCommand != ExitCommand) w_.ShowForm(true);
  }
  TClosingAll(const TClosingAll&) = delete;
  TClosingAll& operator=(const TClosingAll&) = delete;

 private:
  TMainWindow& w_;
};

}  // namespace

std::string SaveChangesQuestion(const std::string& path) {
  return "Save changes to " + path + "?";
}

void StoreClosedEntry(const std::string& path, size_t caretOffset) {
  if (!SettingsIni) return;
  const std::string prefix = path + "|";
  const std::string entry = prefix + std::to_string(caretOffset);
  for (const std::string& key : SettingsIni->ReadSection(ClosedSection)) {
    if (SettingsIni->ReadString(ClosedSection, key, "").starts_with(prefix)) {
      SettingsIni->WriteString(ClosedSection, key, entry);
      return;
    }
  }
  for (int key = OldestClosedKey - 1; key >= NewestClosedKey; --key) {
    const std::string from = std::to_string(key);
    const std::string to = std::to_string(key + 1);
    if (SettingsIni->ValueExists(ClosedSection, from)) {
      SettingsIni->WriteString(ClosedSection, to, SettingsIni->ReadString(ClosedSection, from, ""));
    } else {
      SettingsIni->DeleteKey(ClosedSection, to);
    }
  }
  SettingsIni->WriteString(ClosedSection, std::to_string(NewestClosedKey), entry);
}

bool CloseClick(const std::string& sender) {
  CloseRefused = true;
  TMainWindow* w = MainWindow();
  if (!w) return true;
  const int tab = w->ActiveTab();
  if (!CurrentEditor || tab < 0) {
    if (!sender.empty()) ExitHook(ExitCommand);
    return true;
  }
  TMyRich* editor = w->TabEditor(tab);
  const std::string path = TabPath(tab);
  if (AskedAbout(*editor, path)) AskToSave(*w, path);

  if (!ExtractedMember.empty() && path == ExtractedMember) WipeExtractedMember();

  if (!sender.empty() && !ClosingAll && !path.starts_with("Untitled") &&
      !path.starts_with("http://") && !path.starts_with("https://")) {
    StoreClosedEntry(path, editor->SelStart());
    RecentMenuHook();
  }

  // The document leaves for good: its markers are kept now, as a tab change would.
  SaveMarkersHook();
  const int slot = editor->Tag();
  if (TDocument* document = DocumentAt(slot)) document->FileName.clear();
  if (sender.empty()) {
    // The open command fills the emptied editor.
    editor->SetText("");
    editor->SetModified(false);
    DocModified = true;
    FocusEditor();
    return true;
  }
  w->CloseTab(tab);
  CurrentEditor = nullptr;
  if (w->TabCount() > 0) w->ActivateTab(std::max(tab - 1, 0));
  PCChange();
  FocusEditor();
  return true;
}

bool CloseAllClick(const std::string& sender) {
  CloseRefused = true;
  TMainWindow* w = MainWindow();
  if (!w) {
    ClearDocuments();
    return true;
  }
  const bool others = sender == "CloseOthers";
  TClosingAll closingAll(*w);
  if (!CurrentEditor || !CurrentEditor->Modified()) w->ShowForm(false);
  CurrentSetName.clear();
  SiteFolder = "?";
  if (!sender.empty()) {
    // The user has done with these documents: the next start opens none of them.
    OpenMainIni();
    MainIni->WriteString("System", "ThisSet", "");
    MainIni->EraseSection("Files");
    OpenSetIni();
  }

  TMyRich* kept = others && w->ActiveTab() >= 0 ? w->TabEditor(w->ActiveTab()) : nullptr;
  const std::string keptPath = kept ? TabPath(w->ActiveTab()) : "";
  for (int tab = w->TabCount() - 1; tab >= 0; --tab) {
    if (tab >= w->TabCount() || w->TabEditor(tab) == kept) continue;
    w->ActivateTab(tab);
    // Entered anew: no tab's record is current, and its path is no document's.
    SetCurrentDocument(-1);
    CurrentFileName = "?";
    PCChange();
    if (!CloseClick("CloseAll")) return false;
  }

  const TDocument* keptRecord = kept ? DocumentAt(kept->Tag()) : nullptr;
  TDocument keptDocument = keptRecord ? *keptRecord : TDocument{};
  keptDocument.FileName = keptPath;
  ClearDocuments();
  if (kept && w->TabCount() > 0) {
    // The kept document starts the count of tabs afresh, with its record: the file
    // time and server date it had.
    Documents.push_back(keptDocument);
    kept->SetTag(0);
    w->ActivateTab(0);
    PCChange();
  }
  return true;
}

void ResetClosing() {
  CloseRefused = true;
}

}  // namespace quorrel
