// How long printing a 1 MB text takes: the print job's layout and pages into a PDF
// file, against Qt's own QTextDocument::print of the same text. Run on the
// offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./build/bench_ui_print_large
#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "shell/PrintLayout.h"
#include "ui/platform/QtPrinting.h"

using namespace quorrel;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::string text;
  for (int line = 0; text.size() < 1000000; ++line) {
    text += "Line " + std::to_string(line) + " of a large page, <p>with some markup</p>\r\n";
  }
  const std::string folder = std::filesystem::temp_directory_path().string() + "/print-bench/";
  std::filesystem::create_directories(folder);
  std::vector<double> ours, qt;
  for (int round = 0; round < 3; ++round) {
    TPrintJob job;
    job.title = "large.txt";
    job.text = text;
    job.target.outputFile = folder + "ours.pdf";
    QElapsedTimer timer;
    timer.start();
    const std::string error = PrintJob(job, nullptr);
    ours.push_back(timer.nsecsElapsed() / 1e6);
    if (!error.empty()) std::printf("error: %s\n", error.c_str());

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(QString::fromStdString(folder + "qt.pdf"));
    QTextDocument document;
    document.setPlainText(AnsiToQString(text));
    timer.restart();
    document.print(&printer);
    qt.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::printf("1 MB text to PDF, best of 3: print job %.0f ms, QTextDocument::print %.0f ms\n",
              *std::min_element(ours.begin(), ours.end()), *std::min_element(qt.begin(), qt.end()));
  std::filesystem::remove_all(folder);
  return 0;
}
