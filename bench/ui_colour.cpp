// Syntax colouring on the editor control: a full recolour of a 100,000-character
// HTML page, a 1 MB page coloured to its last line, and a character typed into the
// 1 MB page with the lighter recolour that follows it. The peer is Qt's own
// QSyntaxHighlighter applying the same runs; for the 1 MB page, on a
// QPlainTextEdit (which lays out only what it shows).
//
//   bench_ui_colour [page.html]   (default: Node.js's API pages when installed, else
//                                  a generated page)
#include <QApplication>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "platform/CodePage.h"
#include "shell/ClassifyDocument.h"
#include "shell/ShellState.h"
#include "ui/platform/RichEdit.h"
#include "validate/ColourHtml.h"
#include "validate/ColourScheme.h"
#include "validate/ColourSyntax.h"

using namespace quorrel;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Real pages when there are some, cut at a line end after `size` characters.
std::string MakePage(const std::string& given, size_t size) {
  std::string text = given;
  for (const char* path :
       {"/usr/share/doc/nodejs/api/all.html", "/usr/share/doc/nodejs/api/fs.html"}) {
    if (text.size() >= size) break;
    text += ReadFile(path);
  }
  for (int i = 0; text.size() < size; ++i) {
    text += "<tr><td class=\"n\">" + std::to_string(i) +
            "</td><td><a href=\"http://www.example.org/p" + std::to_string(i) +
            ".html\">Page</a> <!-- row --></td></tr>\n"
            "<script>var a = '<b>'; // note\n</script>\n<p>Plain text of the page.</p>\n";
  }
  std::string lf;
  for (char c : text) {
    if (c != '\r') lf += c;
  }
  size_t end = lf.find('\n', size);
  return lf.substr(0, end == std::string::npos ? lf.size() : end + 1);
}

// The page as saving leaves it: no blanks before line ends.
std::string Saved(const std::string& page) {
  std::string out;
  for (char c : page) {
    if (c == '\n') {
      while (!out.empty() && out.back() == ' ') out.pop_back();
    }
    out += c;
  }
  return out;
}

// QSyntaxHighlighter fed with runs worked out beforehand.
class PeerHighlighter : public QSyntaxHighlighter {
 public:
  PeerHighlighter(std::vector<TColourRun> runs)
      : QSyntaxHighlighter(static_cast<QObject*>(nullptr)), runs_(std::move(runs)) {}

 protected:
  void highlightBlock(const QString&) override {
    const size_t start = currentBlock().position(), end = start + currentBlock().length();
    auto run =
        std::lower_bound(runs_.begin(), runs_.end(), start,
                         [](const TColourRun& r, size_t at) { return r.start + r.length <= at; });
    for (; run != runs_.end() && run->start < end; ++run) {
      size_t a = std::max(run->start, start), b = std::min(run->start + run->length, end);
      QTextCharFormat format;
      format.setForeground(
          QColor(run->colour & 0xFF, (run->colour >> 8) & 0xFF, run->colour >> 16));
      setFormat(static_cast<int>(a - start), static_cast<int>(b - a), format);
    }
  }

 private:
  std::vector<TColourRun> runs_;
};

using Clock = std::chrono::steady_clock;

// Best of five runs of work, each after its set-up.
double Best(const std::function<void()>& setUp, const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    setUp();
    auto t0 = Clock::now();
    work();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  return best;
}

void Report(const char* what, double ms) {
  std::printf("  %-58s %8.2f ms\n", what, ms);
}

void OpenPage(TRichEdit& editor, const std::string& text) {
  CurrentFileName = "/site/page.htm";
  editor.SetText(text);
  CurrentEditor = &editor;
  DocModified = true;
  ClassifyDocument();
}

void Colour(int request) {
  RecolourRequest = request;
  ApplySyntaxColours();
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string given = argc > 1 ? ReadFile(argv[1]) : "";
  const std::string raw = MakePage(given, 100000);
  const std::string page = Saved(raw);
  const std::string big = Saved(MakePage(given, 1000000));

  TRichEdit editor;
  editor.resize(900, 700);
  editor.show();
  QApplication::processEvents();

  std::printf("Full recolour of a %zu-character HTML page\n", page.size());
  std::vector<TColourRun> runs;
  Report(
      "core: runs of the page",
      Best([] {},
           [&] {
             runs =
                 HtmlRuns(TScanText(page), THtmlColourOptions(), ColourScheme.defaultColour).runs;
           }));
  std::printf("  (%zu runs)\n", runs.size());
  const double full = Best([&] { OpenPage(editor, page); }, [&] { Colour(1); });
  Report("ApplySyntaxColours on the editor control, page as saved", full);
  Report("... and until the lines away from the view are coloured",
         Best([&] { OpenPage(editor, page); },
              [&] {
                Colour(1);
                while (editor.ColoursWaiting()) QApplication::processEvents();
              }));
  if (raw != page) {
    Report("the same with blanks before line ends to remove first",
           Best([&] { OpenPage(editor, raw); }, [&] { Colour(1); }));
  }
  Report("the same again, nothing changed", Best(
                                                [&] {
                                                  OpenPage(editor, page);
                                                  Colour(1);
                                                },
                                                [&] { Colour(1); }));
  // The peer colours an editor of the same size showing the same text.
  TRichEdit peerEditor;
  peerEditor.resize(900, 700);
  peerEditor.show();
  runs = editor.ColourRuns();
  PeerHighlighter peer(runs);
  Report("peer: QSyntaxHighlighter::rehighlight, same runs",
         Best(
             [&] {
               peer.setDocument(nullptr);
               peerEditor.SetText(page);
               QApplication::processEvents();
             },
             [&] {
               peer.setDocument(peerEditor.document());
               peer.rehighlight();
             }));
  peer.setDocument(nullptr);

  std::printf("A character typed into a %zu-character HTML page\n", big.size());
  const size_t middle = big.find("<", big.size() / 2) + 1;
  peerEditor.SetText(big);
  QApplication::processEvents();
  QTextCursor plainCursor(peerEditor.document());
  Report("an editor without colours (Qt's own cost)",
         Best([&] { plainCursor.setPosition(static_cast<int>(middle)); },
              [&] { plainCursor.insertText("x"); }));
  OpenPage(editor, big);
  Report("ApplySyntaxColours, full recolour of this page",
         Best([&] { OpenPage(editor, big); }, [&] { Colour(1); }));
  std::vector<TColourRun> bigRuns;
  Report("core: runs of this page",
         Best([] {},
              [&] {
                bigRuns =
                    HtmlRuns(TScanText(big), THtmlColourOptions(), ColourScheme.defaultColour).runs;
              }));
  const double bigFull = Best([&] { OpenPage(editor, big); },
                              [&] {
                                Colour(1);
                                while (editor.ColoursWaiting()) QApplication::processEvents();
                              });
  Report("... until its last line is coloured (the window live between)", bigFull);
  std::printf("  (%zu runs)\n", editor.ColourRuns().size());
  const std::vector<TColourRun> applied = editor.ColourRuns();
  const double givenFull = Best([&] { OpenPage(editor, big); },
                                [&] {
                                  editor.SetColourRuns(applied);
                                  while (editor.ColoursWaiting()) QApplication::processEvents();
                                });
  Report("the same runs laid on the editor control, to the last line", givenFull);
  QPlainTextEdit plainPeerEditor;
  plainPeerEditor.resize(900, 700);
  plainPeerEditor.show();
  PeerHighlighter plainPeer(applied);
  const QString bigText = AnsiToQString(big);
  const double plainFull = Best(
      [&] {
        plainPeer.setDocument(nullptr);
        plainPeerEditor.setPlainText(bigText);
        QApplication::processEvents();
      },
      [&] {
        plainPeer.setDocument(plainPeerEditor.document());
        plainPeer.rehighlight();
        QApplication::processEvents();
      });
  Report("peer: QSyntaxHighlighter on QPlainTextEdit, same runs, every line", plainFull);
  std::printf("  ratio ours / peer: %.2f with our scan, %.2f with the runs given to both\n",
              bigFull / plainFull, givenFull / plainFull);
  plainPeer.setDocument(nullptr);
  QTextCursor cursor(editor.document());
  const double typed =
      Best([&] { cursor.setPosition(static_cast<int>(middle)); }, [&] { cursor.insertText("x"); });
  Report("with colours: runs moved, the line formatted again", typed);
  Report("the lighter recolour after it (whole text rescanned)",
         Best(
             [&] {
               cursor.setPosition(static_cast<int>(middle));
               cursor.insertText("y");
               DocModified = true;
             },
             [&] { Colour(2); }));
  PeerHighlighter bigPeer(editor.ColourRuns());
  bigPeer.setDocument(peerEditor.document());
  bigPeer.rehighlight();
  QApplication::processEvents();
  Report("peer: with QSyntaxHighlighter",
         Best([&] { plainCursor.setPosition(static_cast<int>(middle)); },
              [&] { plainCursor.insertText("x"); }));
  const bool ok = full < 50 && typed < 20;
  std::printf("%s: full recolour of 100,000 characters %s 50 ms; a keystroke in 1 MB %s 20 ms\n",
              ok ? "OK" : "SLOW", full < 50 ? "under" : "NOT under",
              typed < 20 ? "under" : "NOT under");
  return ok ? 0 : 1;
}
