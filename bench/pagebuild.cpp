// The page builder's reader and typography on 1 MB of master body: real prose
// (the GPL) in the editor's RTF layout with bold, italic, quotes, accented letters
// and sentences ending in two blanks, read as four sections of 256 KB each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Abort.h"
#include "platform/UserDialogs.h"
#include "shell/SiteState.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildState.h"

namespace {

class OkDialogs : public quorrel::TUserDialogs {
 public:
  int ShowBox(const quorrel::DialogCall& call) override {
    std::fprintf(stderr, "message: %s\n", call.text.c_str());
    return 1;
  }
};

// One section of master body: prose with formatting every few words.
std::string MakeSection(size_t bytes) {
  std::ifstream in("/usr/share/common-licenses/GPL-3", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  std::string prose = ss.str();
  if (prose.size() < 1000) prose = "The quick brown fox. It jumps over the lazy dog.\n";
  std::string body;
  size_t word = 0;
  for (size_t i = 0; body.size() < bytes; i = (i + 1) % prose.size()) {
    const char ch = prose[i];
    if (ch == '\n') {
      body += (i + 1 < prose.size() && prose[i + 1] == '\n') ? "\r\n\r\n" : " ";
      continue;
    }
    if (ch == '{' || ch == '}' || ch == '\\' || ch == '<' || ch == '>') continue;
    if (ch == ' ' && ++word % 9 == 0) {
      body += (word % 18 == 0) ? " \\b bold\\b0 " : " \\i it\\'e9lic\\i0 ";
      continue;
    }
    body += ch;
    if (ch == '.' && word % 3 == 0) body += ' ';  // two blanks after a sentence
  }
  return body;
}

}  // namespace

int main() {
  static OkDialogs dialogs;
  quorrel::SetUserDialogs(&dialogs);
  const std::string section = MakeSection(256 * 1024);
  constexpr int kSections = 4;
  std::vector<double> times;
  size_t output = 0;
  for (int round = 0; round < 9; ++round) {
    output = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int s = 0; s < kSections; ++s) {
      quorrel::TBuildRun run;
      try {
        quorrel::StartBuildRun(run, section);
        run.BodySeen = true;
        quorrel::RunBuildLoop(run);
      } catch (const quorrel::EAbort&) {
        std::fprintf(stderr, "the build stopped\n");
        return 1;
      }
      output += quorrel::PageBuffer.size();
    }
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  std::printf("master body: %zu bytes in %d sections, page output %zu bytes\n",
              section.size() * kSections, kSections, output);
  std::printf("reader and typography: median %.1f ms, best %.1f ms (limit 50 ms)\n",
              times[times.size() / 2], times.front());
  return times[times.size() / 2] < 50.0 ? 0 : 1;
}
