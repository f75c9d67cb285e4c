#include "commands/HelpMenuCommands.h"

#include <QProcess>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "commands/AbcHelp.h"
#include "commands/OpenDocs.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "platform/Launcher.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"
#include "validate/ColourSyntax.h"

namespace quorrel {

namespace {

namespace fs = std::filesystem;

constexpr char kConfigurationLine[] = "Loaded Configuration File:";
constexpr char kGhostscriptManual[] = "/usr/share/doc/ghostscript/Use.htm";
constexpr char kGhostscriptReleases[] = "https://ghostscript.com/releases/";
// The page the program is downloaded from, where a newer version shows.
constexpr char kDownloadPage[] = "https://quorrel.org/download/";
constexpr char kLocalQuery[] = "?Local=Y";

// The php.ini that `php --ini` reports, or "".
std::string PhpIniOfPhp() {
  QProcess php;
  php.start(QStringLiteral("php"), {QStringLiteral("--ini")});
  if (!php.waitForStarted(5000) || !php.waitForFinished(10000)) return {};
  const QString output = QString::fromLocal8Bit(php.readAllStandardOutput());
  for (const QString& line : output.split('\n')) {
    if (!line.startsWith(QLatin1String(kConfigurationLine))) continue;
    const QString path = line.mid(static_cast<int>(sizeof(kConfigurationLine)) - 1).trimmed();
    // "(none)" when PHP runs without one.
    if (path.startsWith('/')) return path.toStdString();
  }
  return {};
}

// The newest version's command-line php.ini under /etc/php, or "".
std::string NewestPhpIni(const std::string& root) {
  std::error_code error;
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(root, error)) {
    const fs::path ini = entry.path() / "cli" / "php.ini";
    if (fs::is_regular_file(ini, error)) found.push_back(ini.string());
  }
  if (found.empty()) return {};
  // Versions compare as numbers: 8.10 is newer than 8.9.
  auto version = [](const std::string& path) {
    const std::string name = fs::path(path).parent_path().parent_path().filename().string();
    std::vector<int> parts;
    size_t start = 0;
    while (start <= name.size()) {
      const size_t dot = std::min(name.find('.', start), name.size());
      parts.push_back(std::atoi(name.substr(start, dot - start).c_str()));
      start = dot + 1;
    }
    return parts;
  };
  return *std::max_element(found.begin(), found.end(),
                           [&](const auto& a, const auto& b) { return version(a) < version(b); });
}

void CSyntaxClick() {
  if (!CurrentEditor) return;
  CurrentCommand = "CSyntax";
  TMainWindow* window = MainWindow();
  if (window) window->SetBusyCursor(true);
  RequestRecolour(RecolourFull);
  ApplySyntaxColours();
  if (window) window->SetBusyCursor(false);
  CurrentCommand.clear();
}

// Hands a page to the desktop's opener; one that cannot even start is said at once
// (one that starts and fails says so when it ends).
void OpenOutside(const std::string& target) {
  if (!ShellOpen(target)) {
    ShowMsg(std::string("Could not start ") + ShellOpenProgram + " to open " + target + ".");
  }
}

// The page opens in the browser; no menu of the main window stays open behind it.
void UpdatesClick() {
  OpenOutside(kDownloadPage);
  if (TMainWindow* window = MainWindow()) window->CloseMenus();
}

}  // namespace

std::string FindPhpIni() {
  std::string ini = PhpIniOfPhp();
  if (ini.empty()) ini = NewestPhpIni("/etc/php");
  return ini;
}

void LoginClick() {
  if (LoginPage.empty()) return;
  GoBrowserHook(LoginPage + kLocalQuery, true);
}

void InstallHelpMenuCommands() {
  TMenuModel& menu = MainMenu();
  for (const char* name :
       {"ShowHelp", "Welcome", "WhatsNew", "Overview", "DosCodes", "FtpCodes", "WinInetCodes"}) {
    menu.SetHandler(name, [](const TMenuItem& item) { ShowHelpContext(item.helpContext); });
  }
  for (int tag = 1; tag <= 9; ++tag) {
    menu.SetHandler("AbcHelp" + std::to_string(tag),
                    [](const TMenuItem& item) { AbcHelpClick(item.tag); });
  }
  menu.SetHandler("GsHelp", [](const TMenuItem&) {
    std::error_code error;
    OpenOutside(fs::exists(kGhostscriptManual, error) ? kGhostscriptManual : kGhostscriptReleases);
  });
  menu.SetHandler("Updates", [](const TMenuItem&) { UpdatesClick(); });
  menu.SetHandler("CSyntax", [](const TMenuItem&) { CSyntaxClick(); });
  // The option changes how comments of style sheets are coloured: the text shows it at once.
  menu.SetHandler("ColourCSS", [](const TMenuItem&) { CSyntaxClick(); });
}

}  // namespace quorrel
