// Bold over a 100 KB selection of an RTF document, as the Bold command does it:
// one format change over the range, in the editor control and in the tests'
// in-memory editor. Each change must finish well under half a second.
//
//   bench_rtf_style [kilobytes]   (default 100)
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/RtfCompose.h"
#include "support/MemoryRich.h"
#include "ui/platform/RichEdit.h"

using namespace quorrel;

namespace {

// One paragraph (the command refuses a selection over a line end) of words, every
// fifth one italic, so that the change meets many runs.
std::string MakeSource(size_t bytes) {
  TRtfDocument doc;
  doc.paragraphs.emplace_back();
  TRtfCharFormat plain;
  plain.font = "Calibri";
  TRtfCharFormat italic = plain;
  italic.italic = true;
  size_t size = 0;
  for (int n = 0; size < bytes; ++n) {
    const std::u16string word = u"word" + std::u16string(1, u'a' + n % 26) + u" ";
    AppendRun(doc.paragraphs[0], word, n % 5 == 0 ? italic : plain);
    size += word.size();
  }
  doc.paragraphs[0].markFormat = plain;
  return ComposeRtf(doc);
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Measure(const char* name, TMyRich& editor, const std::string& source) {
  editor.SetRtfSource(source);
  const size_t length = editor.TextLength();
  TRtfFormatChange bold;
  bold.bold = true;
  const double on = Seconds([&] { editor.ChangeCharFormat(0, length, bold); });
  bold.bold = false;
  const double off = Seconds([&] { editor.ChangeCharFormat(0, length, bold); });
  std::printf("%-12s %7zu characters  bold on %.3f s  off %.3f s  %s\n", name, length, on, off,
              on < 0.5 && off < 0.5 ? "ok" : "TOO SLOW");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const size_t kilobytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const std::string source = MakeSource(kilobytes * 1024);
  TRichEdit control;
  control.resize(800, 600);
  Measure("control", control, source);
  test::MemoryRich memory;
  Measure("in memory", memory, source);
  return 0;
}
