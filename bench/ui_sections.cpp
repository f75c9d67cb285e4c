// The Sections list of two large documents in the real main window: the rules
// alone (the quiet build the idle pass runs after every choice), and the list
// built for the Sections command, measured, laid out and shown as labels. Run on
// the offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./build/bench_ui_sections
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "commands/OpenDocs.h"
#include "edit/Sections.h"
#include "platform/IniFile.h"
#include "shell/Documents.h"
#include "shell/MainWindow.h"
#include "shell/ShellState.h"
#include "ui/shell/WebForm.h"

using namespace quorrel;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// Best of a few runs, in milliseconds.
template <class F>
double Best(QApplication& app, F&& run) {
  double best = 1e9;
  for (int i = 0; i < 7; ++i) {
    QElapsedTimer timer;
    timer.start();
    run();
    best = std::min(best, timer.nsecsElapsed() / 1e6);
    app.processEvents();
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorrel-bench-sections";
  std::filesystem::create_directories(folder);
  SettingsIni = std::make_unique<TIniFile>((folder / "settings.ini").string());

  TWebForm window;
  window.resize(1000, 700);
  window.show();
  SetMainWindow(&window);
  AppPhase = 1;

  std::string css;
  while (css.size() < 1000 * 1000) {
    css += ".rule-" + std::to_string(css.size()) + " a, #id" + std::to_string(css.size() % 97) +
           " { margin: 0; padding: 1px }\r\n";
  }
  const std::string jquery = ReadFile("/usr/share/javascript/jquery/jquery.js");
  if (jquery.empty()) {
    std::fprintf(stderr, "no jquery.js: install libjs-jquery\n");
    return 1;
  }
  std::printf("%-10s %9s %9s %12s %14s\n", "document", "bytes", "sections", "rules (ms)",
              "with labels");
  for (const auto& [name, text] : {std::pair{"jquery.js", jquery}, std::pair{"big.css", css}}) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << text;
    OpenThis(path);
    PCChange();
    const double rules = Best(app, [] { SectionsClick(""); });
    const size_t count = SectionLines.size();
    const double shown = Best(app, [&] {
      window.HideSectionsBox();
      SectionsClick(SectionsCommand);
      app.processEvents();  // the labels laid out and painted
    });
    window.HideSectionsBox();
    std::printf("%-10s %9zu %9zu %12.2f %14.2f\n", name, CurrentText.size(), count, rules, shown);
  }
  SetMainWindow(nullptr);
  CurrentEditor = nullptr;
  std::filesystem::remove_all(folder);
  return 0;
}
