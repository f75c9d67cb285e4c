// The program's entry point: the forms are created in order, then the message loop runs.
#include <QApplication>

#include "ui/shell/Startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return quorrel::RunProgram(app);
}
