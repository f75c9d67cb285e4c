#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/FileWrites.h"

namespace quorrel {
namespace {

TEST(FileWrites, UmaskReadWithoutChangingIt) {
  const mode_t saved = ::umask(027);
  EXPECT_EQ(CurrentUmask(), 027u);
  EXPECT_EQ(CurrentUmask(), 027u);  // still in force after the look
  ::umask(saved);
  EXPECT_EQ(CurrentUmask(), saved);
}

TEST(FileWrites, EveryByteOrFalse) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const std::string bytes("a\0b\r\n", 5);  // zero bytes are written too
  EXPECT_TRUE(WriteAllBytes(ends[1], bytes));
  EXPECT_TRUE(WriteAllBytes(ends[1], ""));
  char buffer[16];
  EXPECT_EQ(::read(ends[0], buffer, sizeof buffer), 5);
  EXPECT_EQ(std::string(buffer, 5), bytes);
  ::close(ends[0]);
  ::close(ends[1]);
  EXPECT_FALSE(WriteAllBytes(-1, "x"));  // no file
}

}  // namespace
}  // namespace quorrel
