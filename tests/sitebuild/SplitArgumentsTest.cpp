// Splitting a dot-command's argument text at "|".
#include <gtest/gtest.h>

#include "sitebuild/SplitArguments.h"

namespace quorrel::test {
namespace {

TEST(SplitArgumentsTest, SplitsAtUnprotectedBars) {
  struct Case {
    std::string text;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"", {""}},
      {"page", {"page"}},
      {"page|Title", {"page", "Title"}},
      {" index.php|Home|Main|PRINT", {" index.php", "Home", "Main", "PRINT"}},
      // An empty argument in the middle still counts, as a blank.
      {"a||b", {"a", " ", "b"}},
      {"a|||b", {"a", " ", " ", "b"}},
      // An apostrophe protects the bar after it and stays in the field.
      {"Rock'|n roll|x", {"Rock'|n roll", "x"}},
      {"it's|here", {"it's", "here"}},
      {"a|", {"a", ""}},
      {"|a", {"", "a"}},
  };
  for (const Case& c : cases) {
    SplitArguments(c.text);
    EXPECT_EQ(SplitFields, c.fields) << c.text;
  }
}

}  // namespace
}  // namespace quorrel::test
