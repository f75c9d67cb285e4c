#include "ui/editor/Startup.h"

#include <QApplication>
#include <QMainWindow>

namespace quorrel {

int RunProgram(QApplication& app) {
  QMainWindow window;
  window.setWindowTitle("Quorrel");
  window.resize(900, 640);
  window.show();
  return app.exec();
}

}  // namespace quorrel
