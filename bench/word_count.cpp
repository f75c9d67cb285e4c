// Word count on 5 MB of real English (the system's licence texts over and over)
// against `wc -w` on the same file, in the same run. Run by hand:
//   ./build/bench_word_count
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/StatusBar.h"

using namespace quorrel;

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main() {
  std::string piece;
  for (const char* name : {"GPL-3", "Apache-2.0", "LGPL-2.1", "MPL-2.0", "Artistic"}) {
    piece += Read(std::string("/usr/share/common-licenses/") + name);
  }
  if (piece.empty()) {
    std::fprintf(stderr, "no licence texts in /usr/share/common-licenses\n");
    return 1;
  }
  std::string text;
  while (text.size() < 5 * 1000 * 1000) text += piece;
  const std::string path =
      (std::filesystem::temp_directory_path() / "quorrel-bench-words.txt").string();
  std::ofstream(path, std::ios::binary) << text;

  double ours = 1e9;
  size_t words = 0;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    words = CountWords(text);
    ours = std::min(ours, Seconds(start));
  }
  double wc = 1e9;
  unsigned long wcWords = 0;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = ::popen(("wc -w < " + path).c_str(), "r");
    if (!pipe || std::fscanf(pipe, "%lu", &wcWords) != 1) {
      std::fprintf(stderr, "wc did not run\n");
      return 1;
    }
    ::pclose(pipe);
    wc = std::min(wc, Seconds(start));
  }
  std::filesystem::remove(path);
  std::printf("word count of %zu bytes, best of 5\n", text.size());
  std::printf("  ours     %8.1f ms  %zu words\n", ours * 1000, words);
  std::printf("  wc -w    %8.1f ms  %lu words (whole program, reading the file)\n", wc * 1000,
              wcWords);
  std::printf("  ratio    %8.2f (budget 2.00)\n", ours / wc);
  return ours <= 2 * wc ? 0 : 1;
}
