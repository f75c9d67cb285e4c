// Paste of a 1 MB plain text into a plain document on the real editor control,
// with "Reformat the pasted text?" answered Yes (paragraph marks, "&nbsp;" after
// sentence ends, then Two spaces over the pasted text), beside a bare
// QTextEdit's own paste of the same text. Best of the rounds:
//   QT_QPA_PLATFORM=offscreen ./build/bench_ui_paste [rounds]
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/ClipboardCommands.h"
#include "platform/UserDialogs.h"
#include "shell/ShellState.h"
#include "ui/platform/QtDesktop.h"
#include "ui/platform/RichEdit.h"

using namespace quorrel;

namespace {

// The user answers every question Yes.
class TYesDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall&) override { return mrYes; }
};

QString MakeText(int bytes) {
  const QString paragraph =
      "The quick brown fox jumps over the lazy dog. It ran far! Did it? Yes, St. Ives etc. "
      "and No. 5 too.\n";
  QString text;
  text.reserve(bytes + paragraph.size());
  while (text.size() < bytes) text += paragraph;
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  TYesDialogs dialogs;
  SetUserDialogs(&dialogs);
  InstallQtDesktop();
  const QString text = MakeText(1 << 20);
  double ours = 1e9, bare = 1e9;
  for (int round = 0; round < rounds; ++round) {
    TRichEdit editor;
    editor.SetPlainText(true);
    CurrentEditor = &editor;
    CurrentFileName = "/tmp/notes.txt";
    CurrentExt = ".TXT";
    QApplication::clipboard()->setText(text);
    QElapsedTimer timer;
    timer.start();
    PasteClick();
    ours = std::min(ours, timer.nsecsElapsed() / 1e9);
    if (editor.TextLength() < static_cast<size_t>(text.size()) ||
        editor.TextRange(0, 200).find("dog.&nbsp; It") == std::string::npos) {
      std::fprintf(stderr, "paste failed\n");
      return 1;
    }
    CurrentEditor = nullptr;

    QTextEdit plain;
    plain.setAcceptRichText(false);
    timer.restart();
    plain.paste();
    bare = std::min(bare, timer.nsecsElapsed() / 1e9);
  }
  std::printf("1 MB paste, reformat Yes: ours %.3f s, bare QTextEdit paste %.3f s\n", ours, bare);
  SetUserDialogs(nullptr);
  return ours < 0.5 ? 0 : 2;
}
