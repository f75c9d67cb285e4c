// Replace without the prompt and Extract lines over a 5 MB text made of the word
// list and the common licences, on the tests' in-memory editor, each timed against
// sed and grep -F on the same text in the same run.
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "commands/FindClick.h"
#include "commands/FindState.h"
#include "platform/UserDialogs.h"
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "BenchUser.h"

using namespace quorrel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Occurrences = 10000;
const char kWord[] = "Quorrelium";
const char kReplacement[] = "Quorrelium-replaced";

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// About 5 MB of lines, CR LF after each, the word on 10,000 of them.
std::string MakeText() {
  std::string source = Slurp("/usr/share/dict/words");
  for (const auto& entry : std::filesystem::directory_iterator("/usr/share/common-licenses")) {
    if (entry.is_regular_file()) source += Slurp(entry.path().string());
  }
  std::string text;
  size_t lines = 0;
  size_t from = 0;
  int placed = 0;
  while (text.size() < 5 * 1024 * 1024) {
    size_t end = source.find('\n', from);
    if (end == std::string::npos) {
      from = 0;
      continue;
    }
    text.append(source, from, end - from);
    if (++lines % 12 == 0 && placed < Occurrences) {
      text += std::string(" ") + kWord;
      ++placed;
    }
    text += "\r\n";
    from = end + 1;
  }
  return text;
}

double TimeCommand(const char* command) {
  const auto start = Clock::now();
  if (system(command) != 0) return -1;
  return Seconds(start);
}

}  // namespace

int main() {
  test::MemoryMainWindow window;
  SetMainWindow(&window);
  bench::OkFindDialog dialog;  // the Find dialog closed with OK
  SetFindDialog(&dialog);
  bench::AnswerAll answers(mrNo);  // not in a loop
  SetUserDialogs(&answers);
  OpenBySenderHook.Set([](const std::string&) {
    NewDocumentTab("Untitled.txt");
    PCChange();
  });
  const std::string text = MakeText();
  const std::string file = "/tmp/quorrel-bench-find.txt";
  std::ofstream(file, std::ios::binary) << text;
  printf("text: %.1f MB, %d occurrences of \"%s\"\n", text.size() / 1048576.0, Occurrences, kWord);

  NewDocumentTab("bench.txt");
  PCChange();
  CurrentEditor->SetText(text);
  DocModified = true;
  GetEditorText();
  FindAnswers.findText = kWord;
  FindAnswers.replaceText = kReplacement;
  FindAnswers.caseSensitive = true;
  auto start = Clock::now();
  FindClick(ReplaceCommand);
  const double replace = Seconds(start);
  size_t replaced = 0;
  for (size_t at = CurrentText.find(kReplacement); at != std::string::npos;
       at = CurrentText.find(kReplacement, at + 1)) {
    ++replaced;
  }
  const double sed = TimeCommand(("sed 's/" + std::string(kWord) + "/" + kReplacement + "/g' " +
                                  file + " > /dev/null").c_str());
  printf("Replace (no prompt): %.3f s, %zu replaced; sed: %.3f s\n", replace, replaced, sed);

  FindAnswers.findText = "licen";
  FindAnswers.caseSensitive = false;
  start = Clock::now();
  FindClick(ExtractCommand);
  const double extract = Seconds(start);
  const size_t lines = std::count(CurrentText.begin(), CurrentText.end(), '\n');
  const double grep = TimeCommand(("grep -F -i licen " + file + " > /dev/null").c_str());
  printf("Extract lines: %.3f s, %zu lines; grep -F: %.3f s\n", extract, lines, grep);
  std::filesystem::remove(file);
  SetMainWindow(nullptr);
  const bool ok = replace < 1.0 && extract < 1.0 && replaced == Occurrences;
  printf("%s\n", ok ? "OK: each under 1 s" : "TOO SLOW or WRONG");
  return ok ? 0 : 1;
}
