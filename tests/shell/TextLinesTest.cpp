// A text split into lines, with and without their line ends.
#include <gtest/gtest.h>

#include "shell/TextLines.h"

namespace quorrel {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, WithoutEndsEveryKindOfLineEndEndsALine) {
  struct Case {
    std::string text;
    Lines lines;
    bool endsWithLineEnd;
  } cases[] = {
      {"", {}, false},
      {"a", {"a"}, false},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}, false},
      {"a\r\n", {"a"}, true},
      {"\r\n", {""}, true},
      {"a\n\r\nb\r", {"a", "", "b"}, true},
      {"a\r\rb", {"a", "", "b"}, false},  // two lone CRs are two line ends
      {"a\n\rb", {"a", "", "b"}, false},  // LF CR is not one line end
  };
  for (const Case& c : cases) {
    bool lineEnd = !c.endsWithLineEnd;
    EXPECT_EQ(LinesWithoutEnds(c.text, &lineEnd), c.lines) << c.text;
    EXPECT_EQ(lineEnd, c.endsWithLineEnd) << c.text;
  }
}

TEST(TextLines, WithEndsEachLineKeepsItsLineFeed) {
  struct Case {
    std::string text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\n", {"a\r\n", "b\n"}},
      {"a\nb", {"a\n", "b"}},
      {"a\rb\n\n", {"a\rb\n", "\n"}},  // a lone CR ends no line
  };
  for (const Case& c : cases) EXPECT_EQ(LinesWithEnds(c.text), c.lines) << c.text;
}

}  // namespace
}  // namespace quorrel
