// Replace all (no prompt) of a common word in a 5 MB real text (Debian's licence
// texts and word list) in the real main window, from the command to the repaint,
// against `sed -i` and Python's re.sub on the same file in the same run. The Find
// dialog's OK and the answer No to the loop question are the user's.
//   QT_QPA_PLATFORM=offscreen ./build/bench_ui_replace_all [rounds]
#include <unistd.h>

#include <QApplication>
#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchUser.h"
#include "RealMaterial.h"
#include "commands/FindClick.h"
#include "commands/FindState.h"
#include "commands/OpenDocs.h"
#include "platform/UserDialogs.h"
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "ui/shell/WebForm.h"

using namespace quorrel;

namespace {

const char kWord[] = "the";
const char kReplacement[] = "THE";

size_t Count(const std::string& text, const std::string& word) {
  size_t n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

// A command on a fresh copy of the file, the copy made outside the time.
double TimeCommand(const std::string& copy, const std::string& source, const std::string& command) {
  std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing);
  QElapsedTimer timer;
  timer.start();
  if (std::system(command.c_str()) != 0) return -1;
  return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty() && qgetenv("DISPLAY").isEmpty()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::filesystem::path folder = bench::MakeBenchHome("replace");
  QApplication app(argc, argv);

  const std::string path = (folder / "licences.txt").string();
  const std::string copy = (folder / "copy.txt").string();
  const std::string text = bench::LicenceText(5 * 1000 * 1000);
  std::ofstream(path, std::ios::binary) << text;
  const size_t hits = Count(text, kWord);
  std::printf("text: %.1f MB, %zu occurrences of \"%s\"\n", text.size() / 1e6, hits, kWord);

  bench::OkFindDialog dialog;
  SetFindDialog(&dialog);
  bench::AnswerAll answers(mrNo);  // not in a loop
  SetUserDialogs(&answers);
  TWebForm window;
  window.resize(1000, 700);
  window.show();
  SetMainWindow(&window);
  app.processEvents();
  AppPhase = PhaseRunning;

  OpenFiles.clear();
  OpenThis(path);
  app.processEvents();
  double ours = 1e18, sed = 1e18, python = 1e18;
  bool right = true;
  for (int round = 0; round < rounds; ++round) {
    if (round > 0) {  // the text as read again
      CurrentEditor->SetText(text);
      DocModified = true;
      GetEditorText();
      app.processEvents();
    }
    // The user has read for a while: Qt has laid the whole text out.
    if (auto* edit = dynamic_cast<QTextEdit*>(CurrentEditor)) {
      edit->document()->documentLayout()->documentSize();
    }
    app.processEvents();
    CurrentEditor->Select(CurrentEditor->LineIndex(1000), 0);  // the user is reading there
    CurrentEditor->ScrollLines(1000 - static_cast<long>(CurrentEditor->FirstVisibleLine()));
    const size_t firstLine = CurrentEditor->FirstVisibleLine();
    FindAnswers.findText = kWord;
    FindAnswers.replaceText = kReplacement;
    FindAnswers.caseSensitive = true;
    FindAnswers.prompt = false;
    QElapsedTimer timer;
    timer.start();
    FindClick(ReplaceCommand);
    app.processEvents();  // and the repaint
    ours = std::min(ours, timer.nsecsElapsed() / 1e6);
    const size_t left = Count(CurrentText, kWord);
    const size_t made = Count(CurrentText, kReplacement) - Count(text, kReplacement);
    const size_t line = CurrentEditor->FirstVisibleLine();
    if (left != 0 || made != hits || line != firstLine) {
      std::printf("round %d: %zu left, %zu made, first visible line %zu (was %zu)\n", round, left,
                  made, line, firstLine);
      right = false;
    }
    sed = std::min(sed, TimeCommand(copy, path, "sed -i 's/the/THE/g' " + copy));
    python = std::min(python, TimeCommand(copy, path,
                                          "python3 -c \"import re,sys; p=sys.argv[1]; "
                                          "t=open(p,encoding='latin-1').read(); "
                                          "open(p,'w',encoding='latin-1').write("
                                          "re.sub('the','THE',t))\" " +
                                              copy));
  }
  std::printf("best of %d: ours %.1f ms, sed -i %.1f ms, python re.sub %.1f ms\n", rounds, ours,
              sed, python);
  std::printf("ours/sed %.2f, ours/python %.2f; %s\n", ours / sed, ours / python,
              right ? "every occurrence replaced, the view kept" : "WRONG RESULT");
  SetMainWindow(nullptr);
  CurrentEditor = nullptr;
  std::filesystem::remove_all(folder);
  std::fflush(stdout);
  std::_Exit(right && ours <= 300 ? 0 : 1);  // the teardown of large documents is no part of it
}
