// How long opening a 5 MB text file into a tab takes, against reading the file
// alone. The tab is the real one: the main window, its editor control and the tab
// change that makes the document current. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./build-x/bench_ui_open_large_text
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "ui/shell/WebForm.h"

using namespace quorrel;

namespace {

std::string MakeText(size_t bytes) {
  std::string text;
  text.reserve(bytes + 100);
  for (int line = 0; text.size() < bytes; ++line) {
    text += "Line " + std::to_string(line) +
            " of a large plain text file, with some words to wrap and to look at.\r\n";
  }
  return text;
}

double Best(const std::vector<double>& times) {
  return *std::min_element(times.begin(), times.end());
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorrel-bench-open";
  std::filesystem::create_directories(folder);
  std::string path = (folder / "large.txt").string();
  const std::string text = MakeText(5 * 1000 * 1000);
  std::ofstream(path, std::ios::binary) << text;

  const int rounds = 5;
  std::vector<double> readTimes, openTimes;
  for (int round = 0; round < rounds; ++round) {
    QElapsedTimer timer;
    timer.start();
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    readTimes.push_back(timer.nsecsElapsed() / 1e6);
    if (bytes.size() != text.size()) return 1;
  }
  for (int round = 0; round < rounds; ++round) {
    TWebForm window;
    window.resize(1000, 700);
    window.show();
    SetMainWindow(&window);
    app.processEvents();
    OpenFiles.clear();
    AppPhase = 1;
    QElapsedTimer timer;
    timer.start();
    OpenThis(path);       // the tab, its editor, the text, the tab change
    app.processEvents();  // and the first paint of the view
    openTimes.push_back(timer.nsecsElapsed() / 1e6);
    if (CurrentText.size() != text.size()) {
      std::fprintf(stderr, "opened %zu bytes, expected %zu\n", CurrentText.size(), text.size());
      return 1;
    }
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
  }
  double read = Best(readTimes), open = Best(openTimes);
  std::printf("file of %zu bytes, best of %d\n", text.size(), rounds);
  std::printf("  reading the file alone:   %8.1f ms\n", read);
  std::printf("  opening it into a tab:    %8.1f ms\n", open);
  std::printf("  ratio open / read:        %8.1f\n", open / read);
  std::filesystem::remove_all(folder);
  return 0;
}
