// Link texts with break points: pieces of at most 30 characters between blanks and
// breaks, broken after a separator where the piece has one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/BreakLongUrl.h"

namespace quorrel {
namespace {

// The pieces between blanks and break points.
std::vector<std::string> Pieces(const std::string& text) {
  std::vector<std::string> pieces;
  std::string piece;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 5, "<WBr>") == 0 || text[i] == ' ') {
      pieces.push_back(piece);
      piece.clear();
      if (text[i] != ' ') i += 4;
      continue;
    }
    piece += text[i];
  }
  pieces.push_back(piece);
  return pieces;
}

TEST(BreakLongUrlTest, ShortTextsStayAsTheyAre) {
  EXPECT_EQ(BreakLongUrl("example.com/page.htm"), "example.com/page.htm");
  EXPECT_EQ(BreakLongUrl(std::string(30, 'a')), std::string(30, 'a'));
  EXPECT_EQ(BreakLongUrl("http://www.example.com/"), "www.example.com/");
  EXPECT_EQ(BreakLongUrl("HTTPS://example.com"), "example.com");
  EXPECT_EQ(BreakLongUrl("www.example.com"), "example.com");
  EXPECT_EQ(BreakLongUrl("my%20page<WBr>.htm"), "my page.htm");
  const std::string image = "<Img Src=\"a-very-long-file-name-of-an-image-with-no-end.png\">";
  EXPECT_EQ(BreakLongUrl(image), image);
}

TEST(BreakLongUrlTest, LongAddressesBreakAtSeparators) {
  const std::string address =
      "https://example.com/documentation/reference/volume-three/chapter_twelve/"
      "section.html?lang=en";
  ASSERT_GT(address.size(), 90u);
  const std::string shown = BreakLongUrl(address);
  std::string joined;
  for (const std::string& piece : Pieces(shown)) {
    EXPECT_LE(piece.size(), 30u) << shown;
    EXPECT_FALSE(piece.empty()) << shown;
    joined += piece;
  }
  EXPECT_EQ(joined, address.substr(8));
  // Every break follows a separator.
  for (size_t at = shown.find("<WBr>"); at != std::string::npos; at = shown.find("<WBr>", at + 1)) {
    EXPECT_NE(std::string(",-./?_").find(shown[at - 1]), std::string::npos) << shown;
  }
  // Doing it again changes nothing.
  EXPECT_EQ(BreakLongUrl(shown), shown);
}

TEST(BreakLongUrlTest, WithoutSeparatorsAndWithEntities) {
  const std::string letters(70, 'x');
  EXPECT_EQ(BreakLongUrl(letters),
            std::string(10, 'x') + "<WBr>" + std::string(30, 'x') + "<WBr>" + std::string(30, 'x'));
  // Blanks end pieces; an entity counts as one character and is never cut, and a
  // break goes before an "&".
  EXPECT_EQ(BreakLongUrl(std::string(25, 'a') + " " + std::string(25, 'b')),
            std::string(25, 'a') + " " + std::string(25, 'b'));
  const std::string entities =
      "a&amp;b&amp;c&amp;d&amp;e&amp;f&amp;g&amp;h&amp;i&amp;j&amp;k&amp;l"
      "&amp;m&amp;n&amp;o&amp;p";
  const std::string shown = BreakLongUrl(entities);
  // 31 characters: the break before the first "&" leaves 30 after it.
  EXPECT_EQ(shown,
            "a<WBr>&amp;b&amp;c&amp;d&amp;e&amp;f&amp;g&amp;h&amp;i&amp;j&amp;k&amp;l&amp;m"
            "&amp;n&amp;o&amp;p");
}

}  // namespace
}  // namespace quorrel
