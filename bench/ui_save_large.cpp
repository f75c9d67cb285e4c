// How long saving a 5 MB real document takes (Debian's licence texts and word
// list; a page of git's manual pages): the real main window and editor, the save
// with its back-up, checked work file and line ends, and validation on saving as
// the settings have it, against writing the same bytes to a file alone. Questions
// are answered as a user who accepts each repair would. Run on the offscreen
// platform:
//   QT_QPA_PLATFORM=offscreen ./build/bench_ui_save_large
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchUser.h"
#include "RealMaterial.h"
#include "commands/OpenDocs.h"
#include "platform/UserDialogs.h"
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

// CR LF line ends, as a document written on Windows has them.
std::string CrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
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
  OpenFiles.clear();
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
  bench::AnswerAll answers(mrYes);  // a user who accepts each repair
  SetUserDialogs(&answers);
  std::filesystem::path folder = std::filesystem::current_path() / "quorrel-bench-save";
  std::filesystem::create_directories(folder);
  std::printf("validation on saving: %s\n", MainMenu().Checked("ValSave") ? "on" : "off");
  struct Kind {
    const char* name;
    const char* file;
    std::string text;
  } kinds[] = {{"text, CR LF", "large.txt", CrLf(bench::LicenceText(5 * 1000 * 1000))},
               {"HTML page, LF", "large.htm", bench::GitDocPage(5 * 1000 * 1000)}};
  std::printf("best of 5 rounds\n");
  for (const Kind& kind : kinds) {
    const Result r = Measure(app, (folder / kind.file).string(), kind.text);
    std::printf("%-16s %zu bytes saved\n", kind.name, r.bytes);
    std::printf("  writing the bytes alone:  %8.1f ms\n", r.write);
    std::printf("  saving the document:      %8.1f ms\n", r.save);
    std::printf("  ratio save / write:       %8.1f\n", r.save / r.write);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
