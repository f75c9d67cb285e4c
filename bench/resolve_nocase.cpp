// Looking up a file without regard to case in a crowded folder, as the site details
// are looked for at every tab change: a name that is not there makes the lookup read
// the whole folder. Prints the best of five of 20 lookups.
//   bench_resolve_nocase [folder]   (default: a folder of 40,000 empty files it makes)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Paths.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::string folder = argc > 1 ? argv[1] : "";
  if (folder.empty()) {
    folder = (fs::temp_directory_path() / "quorrel-bench-resolve").string();
    if (!fs::exists(folder)) {
      fs::create_directories(folder);
      for (int i = 0; i < 40000; ++i) {
        std::ofstream(folder + "/page" + std::to_string(i) + ".htm");
      }
    }
  }
  if (folder.back() != '/') folder += '/';
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) {
      if (!quorrel::ResolveNoCase(folder + "Data.FTP").empty()) return 1;
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count() /
        20;
    if (ms < best) best = ms;
  }
  std::printf("one lookup of a missing name among the folder's names: %.2f ms\n", best);
  return 0;
}
