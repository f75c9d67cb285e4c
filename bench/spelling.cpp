// Checks about 1 MB of English text with the speller back end (our speller library
// over Hunspell, en_US), line by line as the spell checker hands it over, and the
// same text with the Hunspell library in process (word by word, as the
// `hunspell -l` command would check it) in the same run. The text is words of
// /usr/share/dict/american-english with a made-up word planted every 200 words.
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <hunspell.hxx>

#include "platform/CodePage.h"
#include "spell/CSAPISpeller.h"
#include "spell/SpellerRegistry.h"

using namespace quorrel;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::string> LoadWords() {
  std::ifstream in("/usr/share/dict/american-english", std::ios::binary);
  std::vector<std::string> words;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) words.push_back(Utf8ToAnsi(line));
  }
  return words;
}

// Lines of twelve words, CR LF after each, about 1 MB; every 200th word is made up.
std::string MakeText(const std::vector<std::string>& words, int& planted) {
  std::string text;
  uint32_t seed = 12345;
  planted = 0;
  for (int n = 1; text.size() < 1024 * 1024; ++n) {
    seed = seed * 1103515245u + 12345u;
    if (n % 200 == 0) {
      text += "zqv" + std::string(1, static_cast<char>('a' + n % 26)) + "xw";
      ++planted;
    } else {
      text += words[(seed >> 8) % words.size()];
    }
    text += n % 12 == 0 ? "\r\n" : " ";
  }
  return text;
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main() {
  // A registry and user dictionary of the benchmark's own, not the user's.
  char pattern[] = "/tmp/quorrel-bench-XXXXXX";
  const std::string home = mkdtemp(pattern);
  // Gone again however the run ends.
  const std::unique_ptr<const std::string, void (*)(const std::string*)> removeHome(
      &home, [](const std::string* folder) { std::filesystem::remove_all(*folder); });
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  RegisterHunspellDictionaries();

  const std::vector<std::string> words = LoadWords();
  if (words.empty()) {
    fprintf(stderr, "no word list: install wamerican\n");
    return 1;
  }
  int planted = 0;
  const std::string text = MakeText(words, planted);

  auto start = Clock::now();
  TCSAPISpeller speller(1033, {}, nullptr);
  const double openSeconds = Seconds(start);
  start = Clock::now();
  int ours = 0;
  for (size_t lineStart = 0; lineStart < text.size();) {
    size_t lineEnd = text.find('\r', lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    std::string_view line(text.data() + lineStart, lineEnd - lineStart);
    for (size_t at = 0; at < line.size();) {
      size_t length = 0, position = 0;
      if (speller.CheckText(line.substr(at), length, position) == srNoErrors) break;
      ++ours;
      at += position + std::max<size_t>(length, 1);
    }
    lineStart = lineEnd + 2;
  }
  const double oursSeconds = Seconds(start);
  speller.Close();

  // The peer: Hunspell in process on the same dictionary, each word of each line.
  start = Clock::now();
  Hunspell hunspell("/usr/share/hunspell/en_US.aff", "/usr/share/hunspell/en_US.dic");
  const double theirOpen = Seconds(start);
  start = Clock::now();
  int theirs = 0;
  for (size_t lineStart = 0; lineStart < text.size();) {
    size_t lineEnd = text.find('\r', lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    const std::string line = AnsiToUtf8(text.substr(lineStart, lineEnd - lineStart));
    for (size_t at = 0; at < line.size();) {
      size_t end = line.find(' ', at);
      if (end == std::string::npos) end = line.size();
      if (end > at && !hunspell.spell(line.substr(at, end - at))) ++theirs;
      at = end + 1;
    }
    lineStart = lineEnd + 2;
  }
  const double theirsSeconds = Seconds(start);

  // The findings beyond the planted words are words of the list that Hunspell's
  // en_US dictionary lacks; both count the same ones.
  printf("text: %zu bytes, %d made-up words planted\n", text.size(), planted);
  printf("speller back end: %.3f s (+ %.3f s to open), %d findings\n", oursSeconds, openSeconds,
         ours);
  printf("Hunspell library: %.3f s (+ %.3f s to open), %d findings\n", theirsSeconds, theirOpen,
         theirs);
  printf("ratio ours/hunspell: %.2f\n", oursSeconds / theirsSeconds);
  return 0;
}
