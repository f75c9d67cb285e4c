// Reading Debian's compressed documentation: whole, cut off, not compressed, missing.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/GzipFile.h"
#include "support/Installed.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

TEST(GzipFileTest, WholeFilesOnly) {
  const std::string guide = "/usr/share/doc/abcmidi/abcguide.txt.gz";
  const std::string compressed = test::InstalledFile(guide, "abcmidi");
  ASSERT_GT(compressed.size(), 1000u);
  const std::string folder = test::TestHome() + "gzip/";
  std::filesystem::create_directories(folder);
  test::WriteFile(folder + "cut.gz", compressed.substr(0, compressed.size() / 2));
  test::WriteFile(folder + "plain.txt", "Not compressed.\n");

  struct Case {
    std::string path;
    bool read;
    const char* opening;
  } cases[] = {
      {guide, true, "Guide to writing abc for abc2midi"},
      {folder + "cut.gz", false, ""},
      {folder + "plain.txt", true, "Not compressed.\n"},
      {folder + "missing.gz", false, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "left over";
    EXPECT_EQ(ReadGzipFile(c.path, bytes), c.read) << c.path;
    EXPECT_EQ(bytes.rfind(c.opening, 0), 0u) << c.path;
    if (!c.read) {
      EXPECT_EQ(bytes, "") << c.path;
    }
    if (c.path == guide) {
      EXPECT_GT(bytes.size(), 2 * compressed.size());
    }
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorrel
