#include "commands/Exit.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "edit/Markers.h"
#include "edit/Sections.h"
#include "music/AbcWorkFiles.h"
#include "music/MyPlayer.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/ResetRegistry.h"
#include "publish/Connection.h"
#include "publish/SessionPage.h"
#include "shell/ArchiveMemberWipe.h"
#include "shell/Closing.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/DocumentsPending.h"
#include "shell/FileSets.h"
#include "shell/HelpSystem.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "validate/ValUnit.h"

namespace quorrel {

TExitMode ExitMode = TExitMode::Plain;

namespace {

const char kSystem[] = "System";
const char kFiles[] = "Files";

// The set's document list is compared once per run.
bool exitStarted = false;

bool LastInstance() {
  try {
    return OtherLiveInstances() == 0;
  } catch (const std::runtime_error&) {
    return true;  // no instance list: this one counts as the only one
  }
}

// The running command is Exit while the exit runs; a program that stays open
// gets its running command back, or the idle pass would never run again.
class TExitCommand {
 public:
  TExitCommand() : outer_(CurrentCommand) { CurrentCommand = ExitCommand; }
  ~TExitCommand() { CurrentCommand = outer_; }
  TExitCommand(const TExitCommand&) = delete;
  TExitCommand& operator=(const TExitCommand&) = delete;

 private:
  std::string outer_;
};

// "Running" goes when the last instance leaves; an exit that does not happen
// after all puts it back, so that a later crash is still noticed.
class TRunningFlag {
 public:
  void Clear() {
    if (!MainIni || !LastInstance()) return;
    MainIni->DeleteKey(kSystem, "Running");
    cleared_ = true;
  }
  void Commit() { cleared_ = false; }
  ~TRunningFlag() {
    if (!cleared_ || !MainIni) return;
    try {
      MainIni->WriteBool(kSystem, "Running", true);
    } catch (const std::runtime_error&) {
    }
  }

 private:
  bool cleared_ = false;
};

// The set's [Files] as paths.
std::vector<std::string> StoredSetList() {
  std::vector<std::string> paths;
  for (const std::string& key : SettingsIni->ReadSection(kFiles)) {
    const std::string entry = SettingsIni->ReadString(kFiles, key, "");
    paths.push_back(entry.substr(0, entry.find('|')));
  }
  return paths;
}

// The open documents a set would list.
std::vector<std::string> SetWorthyDocuments() {
  std::vector<std::string> paths = OpenDocumentPaths();
  std::erase_if(
      paths, [](const std::string& path) { return path == "Untitled.txt" || InTempFolder(path); });
  return paths;
}

// When the open documents are no longer the set's: update the set, or the
// standard file, or nothing at all. Returns false when nothing is to be updated.
bool AskAboutSetList(bool noUpdate) {
  if (CurrentSetName.empty() || !SettingsIni) return true;
  const std::vector<std::string> open = SetWorthyDocuments();
  if (open == StoredSetList() || StartMode != StartNormal || open.size() < 2 || noUpdate)
    return true;
  if (AskYesNo("Update set " + CurrentSetName + " with this list of files?")) {
    SetSaveClick();
    return true;
  }
  if (AskYesNo("Update the standard Ini file with this list of files?")) {
    CurrentSetName.clear();
    OpenSetIni();
    return true;
  }
  OpenMainIni();
  MainIni->WriteString(kSystem, "ThisSet", CurrentSetName);
  return false;
}

void SaveHistory(const std::function<std::vector<std::string>()>& history,
                 const std::string& section) {
  if (history) SaveListSection(history(), section);
}

void WriteSettings(TMainWindow* w, bool remember) {
  const std::string path = SettingsIni->FileName();
  if (!FileExists(path)) ShowMsg("Error: file " + path + " does not exist.");
  SavePersistedOptions();
  if (w) {
    const TWindowPlacement p = w->Placement();
    SettingsIni->WriteInteger(kSystem, "ShowCmd", p.showCmd);
    SettingsIni->WriteInteger(kSystem, "Top", p.top);
    SettingsIni->WriteInteger(kSystem, "Right", p.right);
    SettingsIni->WriteInteger(kSystem, "Left", p.left);
    SettingsIni->WriteInteger(kSystem, "Bottom", p.bottom);
  }
  // A run on documents named at start, or on an archive's member, leaves the
  // standard list of documents alone.
  const bool standardFile = MainIni && path == MainIni->FileName();
  if (remember || !((StartedWithParameters && standardFile) || MemberExtractedThisRun())) {
    SaveListSection(OpenFiles(), kFiles);
    SettingsIni->WriteString(kSystem, "File", CurrentFileName);
  }
  const TExitHistories& histories = ExitHistories();
  SaveHistory(histories.find, "Find");
  SaveHistory(histories.replace, "Replace");
  if (histories.root) {
    std::vector<std::string> roots = histories.root();
    if (histories.currentRoot) AnyExit(roots, histories.currentRoot());
    SaveListSection(roots, "Root");
  }
  SaveHistory(histories.url, "URL");
}

// What goes with the program: our viewers and players, the connection, the
// shared lists, the work files, the session page and the help.
void Release(TMainWindow* w, bool lastInstance) {
  KillWindowsByTitle("Media Player");
  KillWindowsByTitle("Ghostscript");
  FreePlayer();
  CloseInternet();
  WorkList.clear();
  ReadList.clear();
  SectionLines.clear();
  try {
    WipeExtractedMember();
  } catch (...) {
    // It was reported; the program ends all the same.
  }
  if (lastInstance) {
    // Another instance shares the work folder and may be playing its tune.
    try {
      std::remove(NativePath(TempAbcFile()).c_str());
      std::remove(NativePath(TempMidiFile()).c_str());
    } catch (const std::runtime_error&) {
    }
  }
  SettingsIni.reset();
  // Neither the activation check nor the idle pass runs any more.
  AppPhase = PhaseStarting;
  IdleReady = false;
  DeleteSessionPage();
  CloseAllHelp();
  for (auto& marker : Markers) marker = TMarkerState{};
  if (w) w->HideMarkers();
}

}  // namespace

void ExitClick(const std::string& sender) {
  if (sender == "ExitNoUpdate") {
    ExitMode = TExitMode::NoUpdate;
  } else if (sender == "ExitRemember") {
    ExitMode = TExitMode::Remember;
  } else {
    ExitMode = TExitMode::Plain;
  }
  if (TMainWindow* w = MainWindow()) w->CloseForm();
}

void SaveListSection(std::vector<std::string> list, const std::string& section) {
  if (!SettingsIni) return;
  const bool files = AnsiSameText(section, kFiles);
  if (!files) {
    std::vector<std::string> unique;
    for (const std::string& entry : list) {
      if (std::find(unique.begin(), unique.end(), entry) == unique.end()) unique.push_back(entry);
    }
    list.swap(unique);
  }
  std::vector<std::string> old;
  if (files) {
    for (const std::string& key : SettingsIni->ReadSection(section)) {
      old.push_back(SettingsIni->ReadString(section, key, ""));
    }
  }
  SettingsIni->EraseSection(section);

  int key = 0;
  auto write = [&](const std::string& value) {
    SettingsIni->WriteString(section, std::to_string(++key), value);
  };
  if (!files) {
    for (const std::string& entry : list) {
      if (!entry.starts_with("Untitled")) write(entry);
    }
    return;
  }
  // The offset kept for a path from before, for a tab whose document was never
  // loaded.
  auto storedOffset = [&](const std::string& path) -> std::string {
    for (const std::string& entry : old) {
      if (entry.starts_with(path + "|")) return entry.substr(path.size() + 1);
    }
    return "0";
  };
  auto skipped = [](const std::string& path) {
    return path.empty() || path.starts_with("Untitled") || InTempFolder(path);
  };
  TMainWindow* w = MainWindow();
  if (!w) {
    for (const std::string& path : list) {
      if (!skipped(path)) write(path + "|" + storedOffset(path));
    }
    return;
  }
  for (int tab = 0; tab < w->TabCount(); ++tab) {
    const TMyRich* editor = w->TabEditor(tab);
    const int slot = editor->Tag();
    if (slot < 0 || static_cast<size_t>(slot) >= list.size() || skipped(list[slot])) continue;
    const TDocument* document = DocumentAt(slot);
    const bool neverLoaded = document && document->FileAge == 0 && editor->TextLength() == 0;
    const std::string offset =
        neverLoaded ? storedOffset(list[slot]) : std::to_string(editor->SelStart());
    write(list[slot] + "|" + offset);
  }
}

TExitHistories& ExitHistories() {
  static TExitHistories histories;
  return histories;
}

bool FormCloseQuery() {
  TMainWindow* w = MainWindow();
  if (SectionsBoxShowing()) {
    if (w) w->HideSectionsBox();
    return false;
  }
  if (BatchState == BatchRunning) {
    BatchState = BatchStopAsked;
    return false;
  }

  TExitCommand exitCommand;
  const bool remember = ExitMode == TExitMode::Remember;
  bool noUpdate = ExitMode == TExitMode::NoUpdate;
  if (!exitStarted) {
    exitStarted = true;
    if (!remember && !AskAboutSetList(noUpdate)) noUpdate = true;
  }
  if (remember) {
    CurrentSetName.clear();
    OpenSetIni();
  }

  if (w) w->ShowForm(false);
  OpenMainIni();
  TRunningFlag running;
  try {
    if ((!StartedWithParameters && !noUpdate) || remember) {
      MainIni->WriteString(kSystem, "ThisSet", CurrentSetName);
    }
    running.Clear();
    SaveMarkers();
    if (!noUpdate && SettingsIni) WriteSettings(w, remember);
  } catch (const std::runtime_error& e) {
    ShowMsg(e.what());
    if (w) w->ShowForm(true);
    return false;
  }

  try {
    CloseAllClick("");
  } catch (...) {
    if (w) w->ShowForm(true);
    throw;
  }
  if (w && w->TabCount() > 0) {
    w->ShowForm(true);
    return false;
  }
  running.Commit();
  Release(w, LastInstance());
  return true;
}

void InstallExitCommands() {
  TMenuModel& menu = MainMenu();
  for (const char* name : {"Exit", "ExitNoUpdate", "ExitRemember"}) {
    menu.SetHandler(name, [](const TMenuItem& item) { ExitClick(item.name); });
  }
  menu.SetHandler("CloseTab", [](const TMenuItem&) { CloseClick("CloseTab"); });
  menu.SetHandler("CloseAll", [](const TMenuItem&) { CloseAllClick("CloseAll"); });
  menu.SetHandler("CloseOthers", [](const TMenuItem&) { CloseAllClick("CloseOthers"); });
  FileSetHost().closeAll = [] {
    CloseAllClick("");
    TMainWindow* w = MainWindow();
    return !w || w->TabCount() == 0;
  };
}

void ResetExit() {
  ExitMode = TExitMode::Plain;
  exitStarted = false;
  ExitHistories() = TExitHistories{};
  ResetClosing();
  ResetArchiveMemberWipe();
  ResetSessionPage();
}

namespace {
const TResetEntry resetExit(ResetExit);
}  // namespace

}  // namespace quorrel
