// What the program loads before it shows anything: the libraries for sound, MP3s,
// the synthesizer and transfers are loaded with their first use, not at start-up.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/Paths.h"

namespace quorrel {
namespace {

std::string Dependencies(const std::string& program) {
  std::string out;
  FILE* pipe = ::popen(("ldd '" + program + "' 2>&1").c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

TEST(StartupLibrariesTest, LibrariesLoadedOnFirstUseAreNotNeededAtStart) {
  const std::string program = NativePath(ExecutableDir() + "quorrel");
  const std::string needed = Dependencies(program);
  ASSERT_NE(needed.find("libQt6Widgets.so"), std::string::npos) << needed;
  for (const char* later : {"libQt6Multimedia.so", "libQt6Network.so", "libpulse",
                            "libcurl", "libfluidsynth"}) {
    EXPECT_EQ(needed.find(later), std::string::npos) << later << " is loaded at start-up";
  }
}

}  // namespace
}  // namespace quorrel
