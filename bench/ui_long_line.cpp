// How long the editor control takes to show text whose lines are very long: one
// line of 1 MB (a minified page, a data file) against the same bytes in lines of
// 80 characters, each set into a shown control with word wrap on and painted once,
// then the caret moved to the end and the view scrolled there. Run on the
// offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./build-x/bench_ui_long_line [bytes] [solid|coloured]
// "solid" gives the long line no blank to break at; "coloured" lays colour runs
// over the text as the syntax colouring does.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/platform/RichEdit.h"

using namespace quorrel;

namespace {

// Words of varying length, as prose or markup has them; every 80 characters a line
// end when lineLength is not 0.
std::string MakeText(size_t bytes, size_t lineLength) {
  static const char* words[] = {"the", "quick", "<span>", "brown",       "fox", "jumps", "over",
                                "a",   "lazy",  "dog;",   "class=\"x\"", "and", "runs",  "away."};
  std::string text;
  text.reserve(bytes + 100);
  size_t lineStart = 0;
  for (size_t i = 0; text.size() < bytes; ++i) {
    text += words[i % (sizeof(words) / sizeof(words[0]))];
    if (lineLength != 0 && text.size() - lineStart >= lineLength) {
      text += "\r\n";
      lineStart = text.size();
    } else {
      text += ' ';
    }
  }
  return text;
}

struct TTimes {
  double set = 0, caret = 0;
};

// Colour runs as the syntax colouring lays them: a tag-coloured run every 20
// characters.
std::vector<TColourRun> RunsFor(size_t length) {
  std::vector<TColourRun> runs;
  for (size_t start = 0; start + 8 < length; start += 20) runs.push_back({start, 8, 0xFFAEAE, -1});
  return runs;
}

TTimes Measure(QApplication& app, const std::string& text, bool coloured) {
  TRichEdit rich;
  rich.resize(1000, 700);
  rich.show();
  app.processEvents();
  TTimes times;
  QElapsedTimer timer;
  timer.start();
  rich.SetText(text);
  if (coloured) rich.SetColourRuns(RunsFor(rich.TextLength()));
  app.processEvents();  // the first paint
  times.set = timer.nsecsElapsed() / 1e6;
  timer.restart();
  rich.Select(rich.TextLength(), 0);
  rich.ScrollCaret();
  app.processEvents();
  times.caret = timer.nsecsElapsed() / 1e6;
  if (rich.GetText().size() != text.size()) std::fprintf(stderr, "text lost\n");
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  const size_t bytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000 * 1000;
  const std::string mode = argc > 2 ? argv[2] : "";
  std::string oneLine = MakeText(bytes, 0);
  // "solid": no blank to break at, as in minified scripts and inline data.
  if (mode == "solid") std::replace(oneLine.begin(), oneLine.end(), ' ', 'x');
  const std::string lines = MakeText(bytes, 80);
  const bool coloured = mode == "coloured";
  const int rounds = 3;
  std::vector<TTimes> long_, short_;
  for (int round = 0; round < rounds; ++round) {
    long_.push_back(Measure(app, oneLine, coloured));
    short_.push_back(Measure(app, lines, coloured));
  }
  auto best = [](const std::vector<TTimes>& t, double TTimes::*field) {
    double b = t[0].*field;
    for (const TTimes& x : t) b = std::min(b, x.*field);
    return b;
  };
  std::printf("%zu bytes%s%s, best of %d\n", bytes, mode.empty() ? "" : ", ", mode.c_str(), rounds);
  std::printf("  one line:       set and paint %9.1f ms, caret to the end %9.1f ms\n",
              best(long_, &TTimes::set), best(long_, &TTimes::caret));
  std::printf("  80-char lines:  set and paint %9.1f ms, caret to the end %9.1f ms\n",
              best(short_, &TTimes::set), best(short_, &TTimes::caret));
  return 0;
}
