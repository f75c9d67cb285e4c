// Reads and writes a 1 MB RTF document: our RTF parser and writer on their own, then
// into and out of a QTextDocument, and through the editor control. Qt's own HTML
// import and export of the same document runs alongside as the peer to compare with.
//
//   bench_ui_rtf_roundtrip [file.rtf]   (default: a generated document of about 1 MB)
#include <QApplication>
#include <QTextDocument>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "platform/CodePage.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "ui/platform/RichEdit.h"
#include "ui/platform/RtfReader.h"
#include "ui/platform/RtfWriter.h"

using namespace quorrel;

namespace {

// Text from the licences Debian ships, else a made-up one.
std::string SampleText() {
  std::string text;
  for (const char* path :
       {"/usr/share/common-licenses/GPL-3", "/usr/share/common-licenses/Apache-2.0"}) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    text += ss.str();
  }
  if (text.size() < 10000) {
    for (int i = 0; i < 2000; ++i) text += "Lorem ipsum dolor sit amet, consectetur.\n";
  }
  return text;
}

// Paragraphs of the sample with a bold word, an italic phrase, accented letters,
// headings in a larger size and a colour now and then, until the source passes 1 MB.
std::string MakeDocument() {
  const std::string sample = SampleText();
  TRtfDocument doc;
  TRtfCharFormat plain;
  plain.font = "Calibri";
  size_t start = 0;
  int n = 0;
  for (;;) {
    size_t end = sample.find('\n', start);
    if (end == std::string::npos) {
      start = 0;
      continue;
    }
    std::u16string line = RtfTextOfAnsi(sample.substr(start, end - start));
    start = end + 1;
    TRtfParagraph p;
    p.markFormat = plain;
    ++n;
    if (n % 40 == 0) {
      TRtfCharFormat heading = plain;
      heading.halfPoints = 36;
      heading.highlight = 0x0080FF;
      AppendRun(p, line, heading);
    } else {
      size_t cut = line.size() / 3;
      AppendRun(p, line.substr(0, cut), plain);
      TRtfCharFormat bold = plain;
      bold.bold = true;
      AppendRun(p, u"caf\u00E9 cr\u00E8me", bold);
      TRtfCharFormat italic = plain;
      italic.italic = true;
      if (n % 7 == 0) italic.color = 0xFF0000;
      AppendRun(p, line.substr(cut, cut), italic);
      AppendRun(p, line.substr(2 * cut) + u"\t\u2192", plain);
    }
    if (!p.runs.empty()) p.markFormat = p.runs.front().format;
    doc.paragraphs.push_back(std::move(p));
    if (n % 100 == 0 && ComposeRtf(doc).size() > 1024 * 1024) break;
  }
  return ComposeRtf(doc);
}

double Time(const char* what, const std::function<void()>& work) {
  const auto t0 = std::chrono::steady_clock::now();
  work();
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  std::printf("  %-46s %8.1f ms\n", what, ms);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::string source;
  if (argc > 1) {
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    source = ss.str();
  } else {
    source = MakeDocument();
  }
  std::printf("RTF source: %zu bytes\n", source.size());

  TRtfDocument model;
  std::string written;
  Time("parse RTF (core)", [&] { model = ParseRtf(source); });
  std::printf("  (%zu paragraphs)\n", model.paragraphs.size());
  Time("compose RTF (core)", [&] { written = ComposeRtf(model); });

  QTextDocument document;
  const double read = Time("read RTF into a QTextDocument", [&] { ReadRtf(source, document); });
  const double write = Time("write RTF from the QTextDocument", [&] { written = WriteRtf(document); });
  std::printf("  written: %zu bytes, %s\n", written.size(),
              written == ComposeRtf(ParseRtf(written)) ? "stable" : "NOT STABLE");

  TRichEdit editor;
  editor.resize(800, 600);
  editor.show();
  Time("editor: SetRtfSource", [&] { editor.SetRtfSource(source); });
  Time("editor: GetRtfSource", [&] { written = editor.GetRtfSource(); });

  QString html;
  Time("peer: QTextDocument::toHtml", [&] { html = document.toHtml(); });
  QTextDocument other;
  Time("peer: QTextDocument::setHtml", [&] { other.setHtml(html); });
  std::printf("  (HTML: %lld bytes)\n", static_cast<long long>(html.toUtf8().size()));

  const bool ok = read < 1000 && write < 1000;
  std::printf("%s: reading and writing 1 MB each %s a second\n", ok ? "OK" : "SLOW",
              ok ? "well under" : "NOT under");
  return ok ? 0 : 1;
}
