// The spell checker over about 1 MB of real English words on the tests' in-memory
// editor, against the speller back end alone on the same runs (the lines), in the
// same run. Every word is one the speller knows, so the check runs to the end
// without a finding and the difference is the checker's own work: reading the
// editor, finding runs, the hidden copy.
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "shell/MainWindow.h"
#include "spell/CSAPISpeller.h"
#include "spell/SpellChecker.h"
#include "spell/SpellerRegistry.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"

using namespace quorrel;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Words of the word list that the speller accepts on their own.
std::vector<std::string> KnownWords(TAbstractSpeller& speller) {
  std::ifstream in("/usr/share/dict/american-english", std::ios::binary);
  std::vector<std::string> words;
  std::string line;
  while (std::getline(in, line) && words.size() < 20000) {
    if (line.empty() || line.find('\'') != std::string::npos) continue;
    const std::string word = Utf8ToAnsi(line);
    size_t length = 0, position = 0;
    if (speller.CheckText(word, length, position) == srNoErrors) words.push_back(word);
  }
  return words;
}

// Lines of twelve words, CR LF between them, about 1 MB.
std::string MakeText(const std::vector<std::string>& words) {
  std::string text;
  uint32_t seed = 12345;
  for (int n = 1; text.size() < 1024 * 1024; ++n) {
    seed = seed * 1103515245u + 12345u;
    text += words[(seed >> 8) % words.size()];
    text += n % 12 == 0 ? "\r\n" : " ";
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

int main() {
  char pattern[] = "/tmp/quorrel-bench-XXXXXX";
  const std::string home = mkdtemp(pattern);
  // Gone again however the run ends.
  const std::unique_ptr<const std::string, void (*)(const std::string*)> removeHome(
      &home, [](const std::string* folder) { std::filesystem::remove_all(*folder); });
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  RegisterHunspellDictionaries();

  TSpellChecker checker;
  checker.Language = 1033;
  TCSAPISpeller alone(1033, checker.Options, &checker);
  if (alone.NotAvailable) {
    fprintf(stderr, "no en_US speller: install hunspell-en-us\n");
    return 1;
  }
  const std::vector<std::string> words = KnownWords(alone);
  if (words.empty()) {
    fprintf(stderr, "no word list: install wamerican\n");
    return 1;
  }
  const std::string text = MakeText(words);

  // The back end alone, line by line as the checker hands the runs over.
  auto start = Clock::now();
  int findings = 0;
  for (size_t lineStart = 0; lineStart < text.size();) {
    size_t lineEnd = text.find('\r', lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    size_t length = 0, position = 0;
    const std::string_view run(text.data() + lineStart, lineEnd - lineStart);
    if (alone.CheckSentenceStart(run, length, position) != srNoErrors) ++findings;
    lineStart = lineEnd + 2;
  }
  const double backEnd = Seconds(start);

  test::MemoryMainWindow window;
  SetMainWindow(&window);
  test::MemoryRich editor;
  editor.SetText(text);
  int shown = 0;
  checker.OnMisspelling = [&](TSpellChecker&, TSpellReturnCode, size_t, size_t) { ++shown; };
  checker.GetSpeller(1033, TSpellerType::sptMSOffice);  // opening the dictionary is not checking
  start = Clock::now();
  const bool checked = checker.Check(editor);
  const double whole = Seconds(start);
  SetMainWindow(nullptr);

  printf("text: %zu bytes, %zu known words to draw from\n", text.size(), words.size());
  printf("back end alone:  %.3f s (%d findings)\n", backEnd, findings);
  printf("Check:           %.3f s (%s, %d findings)\n", whole, checked ? "true" : "false", shown);
  printf("ratio Check / back end: %.2f\n", whole / backEnd);
  return findings == 0 && shown == 0 && checked ? 0 : 1;
}
