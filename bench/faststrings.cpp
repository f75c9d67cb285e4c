// Compares PosNoCase with a naive case-insensitive search and with std::search
// over a multi-megabyte text, counting every occurrence of a few patterns.
#include "shell/FastStrings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using quorrel::UpperCaseTable;

namespace {

std::string LoadText() {
  std::string text;
  for (const char* path : {"/usr/share/dict/words", "/usr/share/common-licenses/GPL-3",
                           "/usr/share/common-licenses/Apache-2.0"}) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    text += ss.str();
  }
  if (text.size() < 100000) {  // no word list here: make a text of our own
    for (int i = 0; i < 200000; ++i)
      text += "lorem ipsum dolor sit amet " + std::to_string(i) + "\n";
  }
  std::string big;
  while (big.size() < 8 * 1024 * 1024) big += text;
  return big;
}

size_t CountNaive(const std::string& pat, const std::string& text) {
  size_t count = 0;
  for (size_t i = 0; i + pat.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < pat.size() &&
           UpperCaseTable[(unsigned char)text[i + k]] == UpperCaseTable[(unsigned char)pat[k]])
      ++k;
    if (k == pat.size()) ++count, i += pat.size() - 1;
  }
  return count;
}

size_t CountStdSearch(const std::string& pat, const std::string& text) {
  auto eq = [](char a, char b) {
    return UpperCaseTable[(unsigned char)a] == UpperCaseTable[(unsigned char)b];
  };
  size_t count = 0;
  for (auto it = text.begin();;) {
    it = std::search(it, text.end(), pat.begin(), pat.end(), eq);
    if (it == text.end()) break;
    ++count;
    it += pat.size();
  }
  return count;
}

size_t CountPosNoCase(const std::string& pat, const std::string& text) {
  size_t count = 0;
  for (size_t at = 1; (at = quorrel::PosNoCase(pat, text, at)) != 0; at += pat.size()) ++count;
  return count;
}

// Best of five runs, so that a busy machine disturbs the figures less.
template <typename F>
double Time(F f, size_t& result) {
  double best = 1e300;
  for (int i = 0; i < 5; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    result = f();
    best = std::min(
        best,
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

}  // namespace

int main() {
  const std::string text = LoadText();
  std::printf("text: %.1f MB\n", text.size() / 1048576.0);
  std::printf("%-24s %10s %10s %10s %8s %8s\n", "pattern", "PosNoCase", "naive", "std::search",
              "x naive", "x std");
  for (std::string pat :
       {"the", "License", "zygote", "WARRANTIES OF MERCHANTABILITY", "</blockquote>"}) {
    size_t a, b, c;
    double ta = Time([&] { return CountPosNoCase(pat, text); }, a);
    double tb = Time([&] { return CountNaive(pat, text); }, b);
    double tc = Time([&] { return CountStdSearch(pat, text); }, c);
    std::printf("%-24.24s %8.1fms %8.1fms %8.1fms %8.2f %8.2f%s\n", pat.c_str(), ta, tb, tc,
                tb / ta, tc / ta, (a == b && b == c) ? "" : "  COUNTS DIFFER");
  }
  size_t n;
  double tr = Time([&] { return quorrel::ReplaceAll(text, "the", "THE!", false).size(); }, n);
  std::printf("ReplaceAll the -> THE!: %.1f ms (%zu bytes out)\n", tr, n);
  return 0;
}
