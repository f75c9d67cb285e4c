#include "commands/StartUp.h"

#include <ctime>
#include <iterator>

#include "commands/ColourCommands.h"
#include "commands/CompositionRoot.h"
#include "commands/Exit.h"
#include "commands/FileMenuCommands.h"
#include "commands/IdleLoop.h"
#include "commands/OpenDocs.h"
#include "commands/OptionsMenu.h"
#include "commands/SpellCheck.h"
#include "commands/ValidateCommands.h"
#include "music/MyPlayer.h"
#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Instances.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "publish/Connection.h"
#include "shell/Closing.h"
#include "shell/CommandLine.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/DocumentsPending.h"
#include "shell/FastStrings.h"
#include "shell/FileSets.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyException.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "spell/ISpellConfig.h"
#include "spell/SpellerRegistry.h"
#include "validate/ColourScheme.h"

namespace quorrel {

std::vector<std::string> StartParameters;
bool ProgramEnding = false;
bool StartWithNoFiles = false;

namespace {

// Help topics of the start-up.
constexpr int CommandLineHelp = 10010;
constexpr int WelcomeHelp = 10200;   // shown at the first start
constexpr int WhatsNewHelp = 12000;  // shown at the first start of a new version
constexpr int CheckReferencesHelp = 100600;
constexpr int RecentHelp = 21500;

const char kSystem[] = "System";
bool activated = false;

// Paths of the documents named on the command line that exist.
int namedExisting = 0;

TMainWindow* Window() {
  return MainWindow();
}

void EndProgram() {
  ProgramEnding = true;
  if (TMainWindow* w = Window()) w->Terminate();
}

// A switch whose action the program cannot do yet says so and ends the start.
bool NotAvailable(const std::string& what) {
  ShowMsg(what + " is not available yet.");
  EndProgram();
  return false;
}

// Opens one document; a failure to open it is reported and the next one follows.
bool OpenGuarded(const std::string& path) {
  try {
    OpenInNewTab(path);
    return true;
  } catch (const EAbort&) {
    return false;
  }
}

int CurrentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// ---- the first activation only ---------------------------------------------

// The spellers find their engines and dictionaries through the registry: the
// first start registers every installed dictionary, a later one the Hunspell
// dictionaries installed since.
void RegisterSpellers() {
  try {
    RegisterHunspellDictionaries();
    RegisterISpellLanguages();
  } catch (const std::runtime_error&) {
    // A registry that cannot be written leaves the languages without a speller,
    // which the spell check reports when it is asked for.
  }
}

void PrepareFolders() {
  std::string documents = DocumentsFolder();
  AbcCodesPath = documents + "ABCCodes.txt";
  DefaultTunePath = documents + "Default.abc";
  DefaultTuneText = DefaultTune(CurrentYear());
  StartFolder = CurrentDirWithBackslash();
  RegisterSpellers();
  CreateSpellChecker();
  MainMenu().SetVisible("ABCMenu", false);
  MainMenu().SetVisible("ScriptMenu", false);
  OpenMainIni();
}

// After an unclean exit (Running still set) with no other instance running, the
// user may start without the documents of the last run.
void CrashCheck() {
  if (!StartParameters.empty()) return;
  if (MainIni->ReadBool(kSystem, "Running", false) && OtherLiveInstances() == 0) {
    if (AskYesNo("Quorrel did not terminate properly.  Start with no files open?")) {
      StartWithNoFiles = true;
    }
  }
  MainIni->WriteBool(kSystem, "Running", true);
}

// The first candidate on disk; with none, the last, which the optimise command then
// reports as not found.
void FindOptimiser() {
  const std::string candidates[] = {MainIni->ReadString(kSystem, "Optimiser", ""),
                                    ExecutableDir() + OptimiserScriptName};
  OptimiserPath = candidates[std::size(candidates) - 1];
  for (const std::string& path : candidates) {
    if (!path.empty() && FileExists(path)) {
      OptimiserPath = path;
      break;
    }
  }
}

void CheckLargeFontScreen() {
  TMainWindow* w = Window();
  if (FontScale == LargeFontScale && w && w->ScreenWidth() < 1000)
    ShowMsg("Large fonts need higher resolution");
}

// ---- every start-up run -------------------------------------------------------

// The first parameter, upper-cased; "?" after "Start with no files open".
std::string FirstParameter() {
  if (StartWithNoFiles) return "?";
  return StartParameters.empty() ? "" : UpperCaseLatin1(StartParameters[0]);
}

// Chooses SettingsIni: the set named by "/L", by a set being opened or by
// [System] "ThisSet", else MainIni's own file. "/L" drops itself and its set name.
void ChooseSettingsFile(std::string& first, bool openingSet) {
  std::string setName;
  if (openingSet) {
    setName = CurrentSetName;
    first.clear();
  } else if (first.empty()) {
    setName = MainIni->ReadString(kSystem, "ThisSet", "");
  } else if (first == "/L") {
    setName = StartParameters.size() > 1 ? StartParameters[1] : "";
    first.clear();
  }
  std::string path = MainIni->FileName();
  CurrentSetName.clear();
  if (!setName.empty()) {
    std::string setPath = DocumentsFolder() + setName + ".Ini";
    if (FileExists(setPath)) {
      CurrentSetName = setName;
      path = setPath;
    } else {
      // Runs on the standard file; the set is not made anew from it.
      ShowMsg("Error: File " + setPath + " not found.");
    }
  }
  SettingsIni = std::make_unique<TIniFile>(path);
  OpenSetIni();
}

void ReadStartSettings() {
  PdfViewerPath = SettingsIni->ReadString(kSystem, "Viewer", "");
  LoadColours();
  ShowFontCaptions();
  LocalServerRoot = MainIni->ReadString(kSystem, "Scripts", "");
  ApplyStoredZoom();
}

void RestorePlacement(const std::string& first) {
  TMainWindow* w = Window();
  if (!w) return;
  if (first.size() >= 2 && IsSwitch(StartParameters[0]) && first[1] != 'L') {
    w->Minimise();
    return;
  }
  TWindowPlacement p;  // its defaults stand where the settings give no value
  p.left = SettingsIni->ReadInteger(kSystem, "Left", p.left);
  p.top = SettingsIni->ReadInteger(kSystem, "Top", p.top);
  p.right = SettingsIni->ReadInteger(kSystem, "Right", p.right);
  p.bottom = SettingsIni->ReadInteger(kSystem, "Bottom", p.bottom);
  p.showCmd = SettingsIni->ReadInteger(kSystem, "ShowCmd", p.showCmd);
  if (p.showCmd == ShowMinimised) p.showCmd = ShowMaximised;  // never start minimised by accident
  w->SetPlacement(p);
}

void ReadOptionSettings() {
  OtherBrowserPath = SettingsIni->ReadString(kSystem, "OBrowser", "");
  WebParm = SettingsIni->ReadString(kSystem, "WebParm", "");
  TabWidth = SettingsIni->ReadInteger(kSystem, "TabWidth", DefaultTabWidth);
  TMenuModel& menu = MainMenu();
  if (menu.Checked("Condense") && !menu.Checked("DelBlanks")) {
    ShowMsg(
        "Inconsistent settings: Condense on upload but not Delete blank lines.\rSwitching on "
        "Delete blank lines.");
    menu.SetChecked("DelBlanks", true);
  }
  if (!menu.Checked("CheckRefs") &&
      AskYesNoHelp("You are not asking for references to be checked.  Won't you change your mind?",
                   CheckReferencesHelp)) {
    menu.SetChecked("CheckRefs", true);
  }
  if (TMainWindow* w = Window()) w->SetMultiRowTabs(menu.Checked("MultiRow"));
  CreatePlayer();
}

// Opens the documents named from a parameter on; "/F" gives the find text.
void OpenNamedDocuments(size_t from) {
  auto exists = [](const std::string& name) {
    std::string path = CommandLinePath(name, StartFolder);
    return FileExists(path) || DirectoryExists(path);
  };
  std::vector<std::string> names = JoinDocumentNames(StartParameters, from, &StartFindText, exists);
  for (const auto& name : names) {
    if (name.size() < 3) continue;
    std::string path = CommandLinePath(name, StartFolder);
    bool exists = FileExists(path);
    if (OpenGuarded(path) && exists) ++namedExisting;
  }
}

// The command line decides what the start does; false when the program ends.
bool HandleCommandLine() {
  TMainWindow* w = Window();
  if (w && w->SplashCaption() != "Reformatter") w->HideSplash();
  TCommandLine line = ParseCommandLine(StartParameters);
  switch (line.action) {
    case TStartSwitch::None:
      return true;
    case TStartSwitch::Names:
      OpenNamedDocuments(0);
      return true;
    case TStartSwitch::Print:
      PrintAndQuit = true;
      if (!StartModeAvailable(StartPrint)) return NotAvailable("Printing and closing (\"/P\")");
      OpenNamedDocuments(line.namesFrom);
      return true;
    case TStartSwitch::Reformat:
      StartMode = StartReformat;
      if (!StartModeAvailable(StartReformat)) return NotAvailable("The re-formatter mode (\"/R\")");
      OpenNamedDocuments(line.namesFrom);
      return true;
    case TStartSwitch::Server:
      StartMode = StartServer;
      if (!StartModeAvailable(StartServer)) {
        return NotAvailable("Opening the server window and closing (\"/S\")");
      }
      OpenNamedDocuments(line.namesFrom);
      return true;
    case TStartSwitch::SetMode:
      StartMode = StartSet;
      if (!StartModeAvailable(StartSet)) return NotAvailable("Opening a set maximised (\"/E\")");
      OpenNamedDocuments(line.namesFrom);
      return true;
    case TStartSwitch::QuickDelete:
      return NotAvailable("Quick deletion of back-up files (\"/Q\")");
    case TStartSwitch::Archive:
      return NotAvailable("Archiving the site (\"/A\")");
    case TStartSwitch::Tune:
      return NotAvailable("Finding a tune by its title (\"/T\")");
    case TStartSwitch::TuneNoTitle:
      ShowMsg("You need \"quotes\" round the whole paramater string.");
      EndProgram();
      return false;
    case TStartSwitch::Invalid:
      AskOkHelpCancel(InvalidParametersMessage(StartParameters), CommandLineHelp);
      EndProgram();
      return false;
  }
  return true;
}

bool SkippedOnReopen(const std::string& entry) {
  return entry.starts_with("Content|") || entry.starts_with("http:") ||
         entry.starts_with("https:") || InTempFolder(entry);
}

// The documents of the last run, from [Files]; the one active then is active again.
void ReopenLastDocuments() {
  std::vector<std::string> entries;
  for (int key = 1; SettingsIni->ValueExists("Files", std::to_string(key)); ++key) {
    entries.push_back(SettingsIni->ReadString("Files", std::to_string(key), ""));
  }
  std::string active = SettingsIni->ReadString(kSystem, "File", "?");
  for (const auto& entry : entries) {
    if (SkippedOnReopen(entry)) continue;
    OpenGuarded(entry.substr(0, entry.find('|')));
  }
  TMainWindow* w = Window();
  if (!w || w->TabCount() == 0) return;
  int chosen = 0;
  for (int tab = w->TabCount() - 1; tab >= 1; --tab) {
    if (TabPath(tab) == active) {
      chosen = tab;
      break;
    }
  }
  w->ActivateTab(chosen);
  CurrentFolder = ExtractFilePath(TabPath(chosen));
}

void CheckVersion() {
  std::string stored = MainIni->ReadString(kSystem, "Version", "");
  if (CompareVersions(stored, QUORREL_VERSION) >= 0) return;
  MainIni->WriteString(kSystem, "Version", QUORREL_VERSION);
  ShowHelpContext(stored.empty() ? WelcomeHelp : WhatsNewHelp);
}

// Steps that run at the first activation and again for each opened set.
void StartUpRun(bool openingSet) {
  OpenFiles.clear();
  namedExisting = 0;
  ResetPersistedOptions();
  std::string first = FirstParameter();
  ChooseSettingsFile(first, openingSet);
  FileAges.fill(0);
  for (auto& m : Markers) m = TMarkerState{};
  if (TMainWindow* w = Window()) w->HideMarkers();
  ReadStartSettings();
  RestorePlacement(first);
  LoadPersistedOptions();
  ReadOptionSettings();

  if (first.empty()) {
    ReopenLastDocuments();
  } else if (!HandleCommandLine()) {
    return;
  }

  FillRecentMenu();
  PlayStart = SettingsIni->ReadInteger(kSystem, "MStart", 0);
  PlayEnd = SettingsIni->ReadInteger(kSystem, "MEnd", 0);
  AddStyleItems();

  AppPhase = PhaseRunning;
  IdleReady = true;
  PCChange();
  DocModified = false;
  TMainWindow* w = Window();
  if (CurrentEditor) {
    CurrentEditor->SetModified(false);
    if (w) w->SetTabsVisible(true);
    FocusEditor();
    if (w) w->SetStatusText(MessagePanel, "");
  }
  if (StartMode == StartNormal) {
    if (w) w->CloseSplash();
    int open = w ? w->TabCount() : 0;
    bool onlyOneNamed = open == 1 && namedExisting == 1;
    if (open == 0 || onlyOneNamed) CurrentSetName.clear();
    if (!CurrentSetName.empty()) ShowStatusMessage("Set: " + CurrentSetName);
  }
  CheckVersion();
}

}  // namespace

std::string DefaultTune(int year) {
  return "X:?\r\nT:?\r\nC:Varek Dask, " + std::to_string(year) +
         "\r\nL:1/4\r\nM:2/2\r\nR:\r\nQ:1/2=112\r\nK:G\r\nP:A\r\n|: \r\n :|\r\nP:B\r\n|: \r\n "
         ":|\r\n\r\n";
}

int CompareVersions(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    auto field = [](const std::string& s, size_t& at) {
      long value = 0;
      while (at < s.size() && s[at] >= '0' && s[at] <= '9') value = value * 10 + (s[at++] - '0');
      if (at < s.size()) ++at;  // the dot (or any other separator)
      return value;
    };
    long x = field(a, i), y = field(b, j);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

void FillRecentMenu() {
  TMenuModel& menu = MainMenu();
  menu.ClearItems("Recent");
  for (int n = 0; n < 10; ++n) {
    std::string value =
        SettingsIni ? SettingsIni->ReadString(ClosedSection, std::to_string(n), "") : "";
    TMenuItem item;
    item.name = "Recent" + std::to_string(n);
    item.tag = n;
    item.helpContext = RecentHelp;
    item.visible = !value.empty();
    if (!value.empty()) {
      std::string path = value.substr(0, value.find('|'));
      std::string name = ExtractFileName(path);
      if (name.size() >= 21) name = name.substr(0, 18) + "...";
      item.hint = path;
      item.caption = "&" + std::to_string(n) + "  " + EscapeAmpersands(name);
    }
    menu.AddItem("Recent", std::move(item));
    menu.SetHandler("Recent" + std::to_string(n),
                    [](const TMenuItem& chosen) { OpenClick(&chosen); });
  }
}

void FormActivate() {
  if (activated) return;
  activated = true;
  ProgramEnding = false;
  StartedWithParameters = !StartParameters.empty();
  WorkList.clear();
  ReadList.clear();
  SectionLines.clear();
  PrepareFolders();
  InstallHandlers();
  FileSetHost().restartStartUp = RerunStartUp;
  MainMenu().SetHandler("PrevTab", [](const TMenuItem&) { TabClick(false); });
  MainMenu().SetHandler("NextTab", [](const TMenuItem&) { TabClick(true); });
  CrashCheck();
  FindOptimiser();
  SetBrowserEmulation();
  CheckLargeFontScreen();
  StartUpRun(false);
}

void RerunStartUp() {
  StartUpRun(true);
}

void ResetStartUp() {
  StartParameters.clear();
  ProgramEnding = false;
  StartWithNoFiles = false;
  activated = false;
  namedExisting = 0;
}

namespace {
const TResetEntry resetStartUp(ResetStartUp);
}  // namespace

}  // namespace quorrel
