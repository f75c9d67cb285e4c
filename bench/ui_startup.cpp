// Start-up with one document: from the start of the process to the main window
// showing the document's text (its first paint done), best of the rounds, against a
// bare QMainWindow with a QTextEdit showing the same file (bench_startup_bare_window,
// a program that links Qt Widgets only). Our side runs the program's own start-up
// (the forms, the settings, the command line, the open, the tab change) in a child
// process started as the program is, with a settings file from an earlier run. Run
// under X (Xvfb) or on the offscreen platform:
//   DISPLAY=:83 ./build/bench_ui_startup [rounds] [file]
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/platform/RichEdit.h"
#include "ui/shell/Startup.h"

namespace {

long long Now() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The first paint of the editor of a tab that holds text: once it is done, the time.
class TFirstPaint : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (done_ || event->type() != QEvent::Paint) return false;
    auto* edit = dynamic_cast<quorrel::TRichEdit*>(watched->parent());
    if (!edit || edit->viewport() != watched || edit->document()->isEmpty()) return false;
    done_ = true;
    QTimer::singleShot(0, [] {
      std::printf("%lld\n", Now());
      std::fflush(stdout);
      std::_Exit(0);  // the exit is no part of the start-up
    });
    return false;
  }

 private:
  bool done_ = false;
};

int RunOurs(int argc, char** argv) {
  // The program sees its own name and the file, as when started from the desktop.
  int count = argc - 1;
  char** args = argv + 1;
  args[0] = argv[0];
  QApplication app(count, args);
  app.installEventFilter(new TFirstPaint(&app));
  return quorrel::RunProgram(app);
}

// The child's first-paint time less the time just before it started, in ms; -1
// when it printed none.
double RunOne(const std::string& program, const std::vector<std::string>& args) {
  int out[2];
  if (::pipe(out) != 0) std::exit(1);
  const long long start = Now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    std::_Exit(127);
  }
  ::close(out[1]);
  std::string printed;
  char buffer[256];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) printed.append(buffer, n);
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || printed.empty()) return -1;
  return (std::atoll(printed.c_str()) - start) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--ours") == 0) return RunOurs(argc, argv);
  if (qgetenv("QT_QPA_PLATFORM").isEmpty() && qgetenv("DISPLAY").isEmpty()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  // A home of its own, with the settings an earlier run left: no first-run help,
  // no crash question.
  // Beside the program, not in the system's temporary folder: looking for the site
  // details case-insensitively lists every folder above the document, and a busy
  // /tmp of tens of thousands of names is not where users keep documents.
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::filesystem::path folder = std::filesystem::path(self).parent_path() /
                                       ("quorrel-bench-start-" + std::to_string(getpid()));
  const std::filesystem::path home = folder / "home";
  std::filesystem::create_directories(home / "Documents");
  qputenv("HOME", home.string().c_str());
  qputenv("XDG_CONFIG_HOME", (home / ".config").string().c_str());
  qputenv("XDG_DATA_HOME", (home / ".local/share").string().c_str());
  qputenv("XDG_DOCUMENTS_DIR", (home / "Documents").string().c_str());
  std::ofstream(home / "Documents" / "Quorrel.Ini", std::ios::binary)
      << "[System]\r\nVersion=" QUORREL_VERSION "\r\nRunning=0\r\n";

  std::string file = argc > 2 ? argv[2] : "";
  if (file.empty()) {
    file = (folder / "page.txt").string();
    std::ofstream out(file, std::ios::binary);
    for (int line = 0; line < 2000; ++line) {
      out << "Line " << line << " of a text file of some size, with words to look at.\r\n";
    }
  }
  const std::string bare =
      (std::filesystem::path(self).parent_path() / "bench_startup_bare_window").string();

  std::vector<double> ours, bares;
  for (int round = 0; round < rounds; ++round) {
    ours.push_back(RunOne(self, {"quorrel", "--ours", file}));
    bares.push_back(RunOne(bare, {"bare", file}));
    if (ours.back() < 0 || bares.back() < 0) {
      std::fprintf(stderr, "a start-up failed (ours %.1f, bare %.1f)\n", ours.back(), bares.back());
      return 1;
    }
  }
  const double o = *std::min_element(ours.begin(), ours.end());
  const double b = *std::min_element(bares.begin(), bares.end());
  std::printf(
      "start-up to the document's first paint, best of %d (%s)\n", rounds,
      qgetenv("QT_QPA_PLATFORM").isEmpty() ? "X display" : qgetenv("QT_QPA_PLATFORM").data());
  std::printf("  bare QMainWindow + QTextEdit: %8.1f ms\n", b);
  std::printf("  ours:                         %8.1f ms\n", o);
  std::printf("  ratio ours / bare:            %8.2f\n", o / b);
  std::filesystem::remove_all(folder);
  return 0;
}
