// The yardstick of bench_ui_startup: a bare main window with a QTextEdit showing a
// file, in a program that links Qt Widgets only. It prints the monotonic clock, in
// nanoseconds, once the text has first been painted, and ends.
//   ./build/bench_startup_bare_window FILE
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// The first paint of a text view that holds text: once it is done, the time.
class TFirstPaint : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (done_ || event->type() != QEvent::Paint) return false;
    auto* edit = qobject_cast<QTextEdit*>(watched->parent());
    if (!edit || edit->viewport() != watched || edit->document()->isEmpty()) return false;
    done_ = true;
    QTimer::singleShot(0, [] {
      timespec now;
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fflush(stdout);
      std::_Exit(0);
    });
    return false;
  }

 private:
  bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  app.installEventFilter(new TFirstPaint(&app));
  QMainWindow window;
  auto* edit = new QTextEdit(&window);
  window.setCentralWidget(edit);
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) return 1;
  edit->setPlainText(QString::fromLatin1(file.readAll()));
  window.resize(950, 500);
  window.showMaximized();
  return app.exec();
}
