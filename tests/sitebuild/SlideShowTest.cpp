// The navigation at the end of slide-show pages.
#include <gtest/gtest.h>

#include "sitebuild/SlideShow.h"
#include "support/ScriptedDialogs.h"

namespace quorrel::test {
namespace {

const char kShow[] =
    ".pg show.php|My show|Slides\r\n.BO\r\nx\r\n.PG show01|First \xBB one\r\ny\r\n.PG "
    "second|Second\r\nz\r\n";

TEST(SlideShowTest, SlidesAreThePageLinesInOrder) {
  const std::vector<TSlide> slides = SlidesOf(kShow);
  ASSERT_EQ(slides.size(), 3u);
  EXPECT_EQ(slides[0].name, "show");
  EXPECT_EQ(slides[1].name, "show01");
  EXPECT_EQ(slides[2].title, "Second");
}

TEST(SlideShowTest, ThreeSectionShowLinksRoundItsSlides) {
  const std::vector<TSlide> slides = SlidesOf(kShow);
  struct Case {
    std::string page;
    std::string end;
  };
  const Case cases[] = {
      // The first page is the index: it lists the other slides with the show's extension.
      {"show",
       "\n<A Href=\"show01.php\">First &nbsp; one</A><Br><A Href=\"second.php\">Second</A><Br>"
       "<Script>Arrows(\"second\", \"show01\", \"index\")</Script>\r\n</Body>\r\n</HTML>"},
      // The first numbered slide goes back to the last; the last goes on to the second.
      {"show01",
       "\n<Script>Arrows(\"second\", \"second\", \"show\")</Script>\r\n</Body>\r\n</HTML>"},
      {"second",
       "\n<Script>Arrows(\"show01\", \"show01\", \"show\")</Script>\r\n</Body>\r\n</HTML>"},
  };
  for (const Case& c : cases) EXPECT_EQ(SlideShowEnd(slides, c.page, ".php"), c.end) << c.page;
}

TEST(SlideShowTest, PageLineWithOneArgumentIsRefused) {
  Dialogs().Answer(2);
  EXPECT_ANY_THROW(SlidesOf(".pg a|A\r\n.pg lonely\r\n"));
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Last().text, ".PG command has less than 2 arguments:\r.pg lonely");
}

}  // namespace
}  // namespace quorrel::test
