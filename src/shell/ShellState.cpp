#include "shell/ShellState.h"

#include "platform/IniFile.h"
#include "platform/ResetRegistry.h"
#include "shell/MainWindow.h"

namespace quorrel {

std::string ApplicationTitle = "Quorrel";
std::string CurrentCommand;
std::string CurrentPageName;

TMyRich* CurrentEditor = nullptr;
std::string CurrentText;
std::string CurrentExt;
std::string CurrentFolder;
std::string HighestFolder;

bool IsHtml = false;
bool IsServerPage = false;
bool IsPhp = false;
bool IsAsp = false;
bool IsCss = false;
bool IsJs = false;
bool IsCSharp = false;
bool IsPascal = false;
bool IsXml = false;
bool IsTei = false;
bool IsRtf = false;
bool IsAbc = false;
bool IsLog = false;
bool IsScript = false;
bool IsContentDoc = false;
bool IsDotPage = false;
bool IsSlides = false;
bool IsOfficeHtml = false;
bool IsPlainText = false;
bool NotInSite = false;
bool HasBaseTag = false;

int AppPhase = PhaseStarting;
bool IdleReady = false;
bool Busy = false;
bool ClosingAll = false;
char StartMode = StartNormal;
bool PrintAndQuit = false;
std::string StartFindText;
bool StartedWithParameters = false;
std::string StatusText;
std::string StartFolder;
std::string CurrentSetName;

std::unique_ptr<TIniFile> MainIni;
std::unique_ptr<TIniFile> SettingsIni;

int TabWidth = DefaultTabWidth;
std::string PdfViewerPath;
std::string LocalServerRoot;
std::string OtherBrowserPath;
std::string WebParm;
std::string OptimiserPath;
int64_t PlayStart = 0;
int64_t PlayEnd = 0;

std::string DefaultTuneText;
std::string DefaultTunePath;
std::string AbcCodesPath;

std::vector<std::string> WorkList;
std::vector<std::string> ReadList;

namespace {
TMainWindow* mainWindow = nullptr;
}  // namespace

TMainWindow* MainWindow() {
  return mainWindow;
}
void SetMainWindow(TMainWindow* window) {
  mainWindow = window;
}

void HideSplash() {
  if (mainWindow) mainWindow->HideSplash();
}

void ResetShellState() {
  ApplicationTitle = "Quorrel";
  CurrentCommand.clear();
  CurrentPageName.clear();

  CurrentEditor = nullptr;
  CurrentText.clear();
  CurrentExt.clear();
  CurrentFolder.clear();
  HighestFolder.clear();

  IsHtml = IsServerPage = IsPhp = IsAsp = IsCss = IsJs = IsCSharp = IsPascal = false;
  IsXml = IsTei = IsRtf = IsAbc = IsLog = IsScript = IsContentDoc = IsDotPage = false;
  IsSlides = IsOfficeHtml = IsPlainText = NotInSite = HasBaseTag = false;

  AppPhase = PhaseStarting;
  IdleReady = false;
  Busy = false;
  ClosingAll = false;
  StartMode = StartNormal;
  PrintAndQuit = false;
  StartFindText.clear();
  StartedWithParameters = false;
  StatusText.clear();
  StartFolder.clear();
  CurrentSetName.clear();

  SettingsIni.reset();
  MainIni.reset();

  TabWidth = DefaultTabWidth;
  PdfViewerPath.clear();
  LocalServerRoot.clear();
  OtherBrowserPath.clear();
  WebParm.clear();
  OptimiserPath.clear();
  PlayStart = PlayEnd = 0;

  DefaultTuneText.clear();
  DefaultTunePath.clear();
  AbcCodesPath.clear();

  WorkList.clear();
  ReadList.clear();

  mainWindow = nullptr;
}

namespace {
const TResetEntry resetShellState(ResetShellState);
}  // namespace

}  // namespace quorrel
