// Opening large real files, side by side in one run: Debian's licence texts and
// word list (with the licences' web addresses, each coloured on its own) at 5 and
// 20 MB, and a 5 MB HTML page of git's manual pages:
//   read  reading the file alone;
//   bare  a bare QTextEdit (the kind of widget our editor control is, in the same
//         font) in a bare main window opening the same file: reading it, Qt's
//         Latin-1 conversion and Qt's setPlainText, up to the first paint, then a
//         keystroke and its paint; "set" is its setPlainText and paint alone;
//   ours  our open into a tab of the real main window: the tab, its editor, the
//         text, the tab change, the colours and the validator's ending, up to the
//         first paint, then the same keystroke and its paint.
// Each measurement runs in a process of its own, so that its peak memory (the
// kernel's count for the finished process) is its own; each process starts Qt
// first, so the peaks share the same floor. Times are the best of the rounds,
// peaks their median. Run on the offscreen platform (or under Xvfb):
//   QT_QPA_PLATFORM=offscreen ./build/bench_ui_open_large_text [rounds [text|html]]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/OpenDocs.h"
#include "shell/MainWindow.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"
#include "ui/shell/WebForm.h"
#include "BenchUser.h"
#include "RealMaterial.h"

using namespace quorrel;

namespace {

// A key typed into the editor and shown: the window takes input once open.
void TypeKey(QApplication& app, QWidget* editor) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  QApplication::sendEvent(editor, &press);
  QApplication::sendEvent(editor, &release);
  app.processEvents();
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  if (!FileBytes(path, bytes)) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    std::exit(1);
  }
  return bytes;
}

// ---- the measurements, one a process ---------------------------------------

double MeasureRead(const std::string& path) {
  QElapsedTimer timer;
  timer.start();
  const std::string bytes = ReadBytes(path);
  const double ms = timer.nsecsElapsed() / 1e6;
  return bytes.empty() ? -1 : ms;
}

// The whole open; set receives the time of setPlainText and the paint alone.
double MeasureBare(QApplication& app, const std::string& path, double& set) {
  QMainWindow window;
  auto* edit = new QTextEdit(&window);
  QFont font(QStringLiteral("Monospace"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(10);
  edit->setFont(font);
  window.setCentralWidget(edit);
  window.resize(1000, 700);
  window.show();
  app.processEvents();
  QElapsedTimer timer;
  timer.start();
  const std::string bytes = ReadBytes(path);
  const QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QElapsedTimer setTimer;
  setTimer.start();
  edit->setPlainText(text);
  app.processEvents();  // and the first paint of the view
  set = setTimer.nsecsElapsed() / 1e6;
  TypeKey(app, edit);
  return timer.nsecsElapsed() / 1e6;
}

double MeasureOurs(QApplication& app, const std::string& path) {
  TWebForm window;
  window.resize(1000, 700);
  window.show();
  SetMainWindow(&window);
  app.processEvents();
  OpenFiles.clear();
  AppPhase = PhaseRunning;
  QElapsedTimer timer;
  timer.start();
  OpenThis(path);       // the tab, its editor, the text, the tab change
  app.processEvents();  // and the first paint of the view
  auto* editor = dynamic_cast<QWidget*>(CurrentEditor);
  if (!editor) return -1;
  TypeKey(app, editor);
  const double ms = timer.nsecsElapsed() / 1e6;
  if (CurrentText.size() < std::filesystem::file_size(path) / 2) {
    std::fprintf(stderr, "opened %zu bytes of %s\n", CurrentText.size(), path.c_str());
    return -1;
  }
  SetMainWindow(nullptr);
  CurrentEditor = nullptr;
  return ms;
}

int RunChild(int argc, char** argv) {
  const std::string kind = argv[2];
  const std::string path = argv[3];
  QApplication app(argc, argv);
  double ms = -1, set = 0;
  if (kind == "read") ms = MeasureRead(path);
  if (kind == "bare") ms = MeasureBare(app, path, set);
  if (kind == "ours") ms = MeasureOurs(app, path);
  std::printf("%.3f %.3f\n", ms, set);
  std::fflush(stdout);
  // Leaving at once spares the teardown of a large document: it is no part of opening.
  std::_Exit(ms < 0 ? 1 : 0);
}

// ---- the parent: runs the children, sums up --------------------------------

struct TRun {
  double ms = -1;
  double setMs = 0;  // bare: setPlainText and the paint alone
  long peakKb = 0;
};

TRun RunOne(const std::string& kind, const std::string& path) {
  int out[2];
  if (::pipe(out) != 0) std::exit(1);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    if (const int null = ::open("/dev/null", O_WRONLY); null >= 0) ::dup2(null, STDERR_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::execl("/proc/self/exe", "bench_ui_open_large_text", "--child", kind.c_str(), path.c_str(),
            static_cast<char*>(nullptr));
    std::_Exit(127);
  }
  ::close(out[1]);
  std::string printed;
  char buffer[256];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) printed.append(buffer, n);
  ::close(out[0]);
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  TRun run;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    std::sscanf(printed.c_str(), "%lf %lf", &run.ms, &run.setMs);
  }
  run.peakKb = usage.ru_maxrss;
  return run;
}

struct TSummary {
  double bestMs = 1e18;
  double bestSetMs = 1e18;
  double peakMb = 0;
};

TSummary Summarise(const std::vector<TRun>& runs) {
  TSummary s;
  std::vector<long> peaks;
  for (const TRun& run : runs) {
    if (run.ms < 0) {
      std::fprintf(stderr, "a measurement failed\n");
      std::exit(1);
    }
    s.bestMs = std::min(s.bestMs, run.ms);
    s.bestSetMs = std::min(s.bestSetMs, run.setMs);
    peaks.push_back(run.peakKb);
  }
  std::sort(peaks.begin(), peaks.end());
  s.peakMb = peaks[peaks.size() / 2] / 1024.0;
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty() && qgetenv("DISPLAY").isEmpty()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0) return RunChild(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  const std::filesystem::path folder = bench::MakeBenchHome("open");

  std::printf("best of %d rounds; peak memory: median, whole process\n", rounds);
  std::printf("%8s %9s %9s %9s %9s  %9s %9s %9s  %10s %10s %12s\n", "  size", "read ms", "set ms",
              "bare ms", "ours ms", "read MB", "bare MB", "ours MB", "ours/bare", "ours/set",
              "ours-bare MB");
  std::fflush(stdout);
  struct TCase {
    const char* name;
    size_t mb;
    bool html;
  };
  for (const TCase& c : {TCase{"text", 5, false}, TCase{"text", 20, false},
                         TCase{"html", 5, true}}) {
    if (argc > 2 && std::strcmp(argv[2], c.name) != 0) continue;
    const size_t mb = c.mb;
    const std::string path =
        (folder / ("large-" + std::to_string(mb) + (c.html ? ".html" : ".txt"))).string();
    const size_t bytes = mb * 1000 * 1000;
    std::ofstream(path, std::ios::binary)
        << (c.html ? bench::GitDocPage(bytes) : bench::LicenceText(bytes));
    std::vector<TRun> reads, bares, ours;
    for (int round = 0; round < rounds; ++round) {
      reads.push_back(RunOne("read", path));
      bares.push_back(RunOne("bare", path));
      ours.push_back(RunOne("ours", path));
    }
    const TSummary r = Summarise(reads), b = Summarise(bares), o = Summarise(ours);
    std::printf("%s %2zu MB %9.1f %9.1f %9.1f %9.1f  %9.1f %9.1f %9.1f  %10.2f %10.2f %12.1f\n", c.name, mb,
                r.bestMs, b.bestSetMs, b.bestMs, o.bestMs, r.peakMb, b.peakMb, o.peakMb,
                o.bestMs / b.bestMs, o.bestMs / b.bestSetMs, o.peakMb - b.peakMb);
    std::fflush(stdout);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
