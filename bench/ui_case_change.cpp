// Upper on the whole of a 1 MB document in the real editor control: a plain text
// and an RTF document with a format change every few words (bold, colour), each
// character keeping its format. The question above 1000 characters is answered
// Yes by a stand-in. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./build/bench_ui_case_change
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <string>

#include "edit/CaseChange.h"
#include "platform/UserDialogs.h"
#include "shell/ShellState.h"
#include "ui/platform/RichEdit.h"

using namespace quorrel;

namespace {

class YesToAll : public TUserDialogs {
 public:
  int ShowBox(const DialogCall&) override { return mrYes; }
};

std::string PlainText(size_t bytes) {
  std::string text;
  for (int line = 0; text.size() < bytes; ++line) {
    text += "Line " + std::to_string(line) + " of a large text file, with words and more.\r\n";
  }
  return text;
}

std::string RtfText(size_t bytes) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
      "Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 ";
  for (int line = 0; rtf.size() < bytes; ++line) {
    if (line > 0) rtf += "\r\n\\par ";
    rtf += "Paragraph " + std::to_string(line) +
           " with \\b bold words\\b0  and \\cf1 red ones\\cf0  and plain text after them.";
  }
  return rtf + "\r\n\\par }\r\n";
}

bool Time(TRichEdit& editor, const char* what) {
  editor.Select(0, 0);
  const std::string before = editor.GetText();
  QElapsedTimer timer;
  timer.start();
  CaseClick(TCaseChange::Upper);
  const double ms = timer.nsecsElapsed() / 1e6;
  const std::string after = editor.GetText();
  if (after != ChangeCase(before, TCaseChange::Upper)) {
    std::fprintf(stderr, "%s: the text did not come out upper-cased\n", what);
    return false;
  }
  // The editor's own part: the characters put back over the old ones.
  const std::string lower = ChangeCase(after, TCaseChange::Lower);
  timer.restart();
  editor.ReplaceKeepingFormats(0, lower);
  const double replace = timer.nsecsElapsed() / 1e6;
  std::printf("  %-28s %9zu positions  %8.1f ms  (the editor's replacement alone %.1f ms)\n", what,
              editor.TextLength(), ms, replace);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  YesToAll dialogs;
  SetUserDialogs(&dialogs);
  std::printf("Upper on the whole text (budget: 1000 ms each)\n");
  bool ok = true;
  {
    TRichEdit editor;
    editor.resize(1000, 700);
    editor.show();
    editor.SetText(PlainText(1000 * 1000));
    CurrentEditor = &editor;
    ok = Time(editor, "plain text, 1 MB") && ok;
  }
  {
    TRichEdit editor;
    editor.resize(1000, 700);
    editor.show();
    editor.SetPlainText(false);
    editor.SetRtfSource(RtfText(1000 * 1000));
    CurrentEditor = &editor;
    ok = Time(editor, "RTF, bold and colour, 1 MB") && ok;
  }
  CurrentEditor = nullptr;
  SetUserDialogs(nullptr);
  return ok ? 0 : 1;
}
