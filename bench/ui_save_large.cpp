// How long saving a 5 MB document takes: the real main window and editor, the
// save with its back-up, checked work file and line ends, against writing the
// same bytes to a file alone. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./build-x/bench_ui_save_large
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "ui/shell/WebForm.h"

using namespace quorrel;

namespace {

std::string MakeText(size_t bytes, const char* lineEnd) {
  std::string text;
  text.reserve(bytes + 100);
  for (int line = 0; text.size() < bytes; ++line) {
    text += "<p>Line " + std::to_string(line) +
            " of a large document, with some words and a few trailing blanks.</p>   " + lineEnd;
  }
  return text;
}

double Best(const std::vector<double>& times) {
  return *std::min_element(times.begin(), times.end());
}

struct Result {
  double write = 0, save = 0;
  size_t bytes = 0;
};

Result Measure(QApplication& app, const std::string& path, const std::string& text) {
  const int rounds = 5;
  std::vector<double> writeTimes, saveTimes;
  for (int round = 0; round < rounds; ++round) {
    QElapsedTimer timer;
    timer.start();
    std::ofstream(path + ".plain", std::ios::binary) << text;
    writeTimes.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::ofstream(path, std::ios::binary) << text;
  TWebForm window;
  window.resize(1000, 700);
  window.show();
  SetMainWindow(&window);
  app.processEvents();
  ClearDocuments();
  AppPhase = 1;
  OpenThis(path);
  app.processEvents();
  for (int round = 0; round < rounds; ++round) {
    CurrentEditor->Select(0, 0);
    CurrentEditor->SetSelText("x");  // a change to save
    QElapsedTimer timer;
    timer.start();
    SaveClick("Save");
    saveTimes.push_back(timer.nsecsElapsed() / 1e6);
  }
  Result result{Best(writeTimes), Best(saveTimes), std::filesystem::file_size(path)};
  SetMainWindow(nullptr);
  CurrentEditor = nullptr;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  MainMenu().SetChecked("ValSave", false);
  std::filesystem::path folder = std::filesystem::current_path() / "quorrel-bench-save";
  std::filesystem::create_directories(folder);
  struct Kind {
    const char* name;
    const char* file;
    const char* lineEnd;
  } kinds[] = {{"text, CR LF", "large.txt", "\r\n"}, {"HTML page, LF", "large.htm", "\n"}};
  std::printf("best of 5 rounds\n");
  for (const Kind& kind : kinds) {
    const std::string text = MakeText(5 * 1000 * 1000, kind.lineEnd);
    const Result r = Measure(app, (folder / kind.file).string(), text);
    std::printf("%-16s %zu bytes saved\n", kind.name, r.bytes);
    std::printf("  writing the bytes alone:  %8.1f ms\n", r.write);
    std::printf("  saving the document:      %8.1f ms\n", r.save);
    std::printf("  ratio save / write:       %8.1f\n", r.save / r.write);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
