// What the program loads before it shows anything: the libraries for sound, MP3s,
// the synthesizer and transfers are loaded with their first use, not at start-up.
#include <gtest/gtest.h>

#include <string>

#include "platform/Paths.h"
#include "support/ProgramOutput.h"

namespace quorrel {
namespace {

TEST(StartupLibrariesTest, LibrariesLoadedOnFirstUseAreNotNeededAtStart) {
  const std::string program = NativePath(ExecutableDir() + "quorrel");
  const std::string needed = test::ProgramOutput("ldd '" + program + "' 2>&1");
  ASSERT_NE(needed.find("libQt6Widgets.so"), std::string::npos) << needed;
  for (const char* later : {"libQt6Multimedia.so", "libQt6Network.so", "libpulse",
                            "libcurl", "libfluidsynth"}) {
    EXPECT_EQ(needed.find(later), std::string::npos) << later << " is loaded at start-up";
  }
}

}  // namespace
}  // namespace quorrel
