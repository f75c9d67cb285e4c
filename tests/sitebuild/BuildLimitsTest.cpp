// The builder's fixed limits at their exact boundaries: a page's size, the
// push-back stack and the round cap; every stop ends the run.
#include <gtest/gtest.h>

#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/BuildTestKit.h"

namespace quorrel::test {
namespace {

TEST(BuildLimitsTest, PageHoldsAtMostItsLimit) {
  const TBuildResult full = BuildBody(std::string(kMaxPageBytes, 'x'));
  EXPECT_FALSE(full.aborted) << full.LastMessage();
  EXPECT_EQ(full.page.size(), kMaxPageBytes);

  const TBuildResult over = BuildBody(std::string(kMaxPageBytes + 1, 'x'));
  EXPECT_TRUE(over.aborted);
  EXPECT_EQ(ErrorOf(over.LastMessage()), "Web page too large: ");
  // The message shows the last 600 characters of the page.
  EXPECT_EQ(over.LastMessage().substr(over.LastMessage().size() - 601),
            "\r" + std::string(600, 'x'));
}

// The run starts with a line end on the stack; what remains fills it exactly.
TEST(BuildLimitsTest, StackHoldsAtMostItsCapacity) {
  const TBuildResult fits = BuildBody(
      "a", [](TBuildRun& run) { PushInput(run, std::string(kPushBackCapacity - 2, 'p')); });
  EXPECT_FALSE(fits.aborted) << fits.LastMessage();
  EXPECT_EQ(fits.page, std::string(kPushBackCapacity - 2, 'p') + "a");

  const TBuildResult over = BuildBody(
      "a", [](TBuildRun& run) { PushInput(run, std::string(kPushBackCapacity - 1, 'p')); });
  EXPECT_TRUE(over.aborted);
  EXPECT_EQ(ErrorOf(over.LastMessage()), "Stack overflow when trying to add 11999 characters");
}

// A "<" whose ">" never comes within what the stack holds opens no tag: it is
// text, and the rest of the master is read as text, not pushed back as a tag.
TEST(BuildLimitsTest, EndlessTagIsText) {
  const TBuildResult result = BuildBody("<a " + std::string(20000, 'x'));
  EXPECT_FALSE(result.aborted) << result.LastMessage();
  EXPECT_EQ(result.page, "&lt;a " + std::string(20000, 'x'));
}

TEST(BuildLimitsTest, RoundCapStopsWithAMessage) {
  BuildRoundLimit = 10;
  const TBuildResult within = BuildBody(std::string(8, 'x'));
  EXPECT_FALSE(within.aborted) << within.LastMessage();

  TBuildRun run;
  const TBuildResult over = BuildBody(run, std::string(20, 'x'));
  EXPECT_TRUE(over.aborted);
  EXPECT_EQ(ErrorOf(over.LastMessage()), "Build loop limit reached");
  EXPECT_FALSE(run.BuildRunning);
}

TEST(BuildLimitsTest, ExcerptsAreClampedToTheText) {
  struct Case {
    long long start;
    size_t length;
    std::string out;
  };
  const std::vector<Case> cases = {
      {-80, 160, "abcdef"}, {2, 3, "cde"}, {4, 100, "ef"}, {10, 5, ""}, {-10, 5, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Excerpt("abcdef", c.start, c.length), c.out) << c.start;
}

}  // namespace
}  // namespace quorrel::test
