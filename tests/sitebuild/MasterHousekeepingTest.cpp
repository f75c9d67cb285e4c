// Tidying a master before a build: language codes, slide names, link kinds.
#include <gtest/gtest.h>

#include "sitebuild/LinkKind.h"
#include "sitebuild/MasterHousekeeping.h"

namespace quorrel::test {
namespace {

TEST(MasterHousekeepingTest, LangCodesGoWholeAndTheTextAroundThemStays) {
  struct Case {
    std::string rtf;
    std::string expected;
  };
  const Case cases[] = {
      {"\\pard\\lang1033 Hello", "\\pard Hello"},
      {"x\\lang2057\\b bold", "x\\b bold"},
      // Five digits and the two-letter forms used to leave digits in the text.
      {"\\lang13322 Text", "Text"},
      {"\\langfe1033\\f0 Text", "\\f0 Text"},
      {"\\langnp2057 Text", "Text"},
      {"a\\LANG1033 b", "ab"},
      {"\\lang-1 x", "x"},
      // Only one blank belongs to the word.
      {"\\lang1033  two", " two"},
      {"\\lang1033\r\n\\par x", "\r\n\\par x"},
      // A backslash the writer typed is text, not a control word.
      {"see \\\\lang1033 here\\lang1033 now", "see \\\\lang1033 herenow"},
      {"end\\lang", "end"},
      // A control word before keeps its delimiter: "\pardHello" would be one word.
      {"\\b\\lang2057x", "\\b x"},
      {"\\'e9\\lang1033 x", "\\'e9x"},
      {"\\\\pard\\lang1033 Hi", "\\\\pardHi"},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> out = WithoutLangCodes(c.rtf);
    ASSERT_TRUE(out) << c.rtf;
    EXPECT_EQ(*out, c.expected) << c.rtf;
  }
  // \deflang in the header is another word; with no \lang nothing is put back.
  EXPECT_FALSE(WithoutLangCodes("{\\rtf1\\deflang2057 x \\\\lang1033}"));
}

TEST(MasterHousekeepingTest, SlideShowBaseIsTheFirstPageLinesName) {
  const std::pair<std::string, std::string> cases[] = {
      {".pg show.php|My show|Slides\r\n.PG other|x\r\n", "show"},
      {"intro\r\n.PG  talk|Title\r\n", "talk"},
      {".Pg deck\r\n", "deck"},
      {"no pages here\r\n", ""},
  };
  for (const auto& [text, base] : cases) EXPECT_EQ(SlideShowBase(text), base) << text;
}

TEST(MasterHousekeepingTest, SectionsAfterTheFirstAreNumberedFromTheBase) {
  const std::string rtf =
      "{\\rtf1 .pg show.php|Show|Slides\r\n\\par x\r\n\\par .PG first|One\r\n\\par y\r\n"
      "\\par .pg show02.php|Two\r\n\\par .PG  whatever\r\n\\par }";
  const std::optional<std::string> out = WithNumberedSlides(rtf, "show");
  ASSERT_TRUE(out);
  EXPECT_EQ(*out,
            "{\\rtf1 .pg show.php|Show|Slides\r\n\\par x\r\n\\par .PG show01|One\r\n\\par y\r\n"
            "\\par .pg show02.php|Two\r\n\\par .PG show03\r\n\\par }");
  // Numbered already: nothing to put back.
  EXPECT_FALSE(WithNumberedSlides(*out, "show"));
  // A name that only begins with the wanted one is another name.
  EXPECT_EQ(*WithNumberedSlides("a\r\n\\par .PG show011|T", "show"), "a\r\n\\par .PG show01|T");
  EXPECT_FALSE(WithNumberedSlides("{\\rtf1 .PG show|only one\r\n\\par }", "show"));
}

TEST(MasterHousekeepingTest, SlideNotesFileSitsBesideTheShow) {
  EXPECT_EQ(SlideNotesPath("/srv/site/", "show"), "/srv/site/showNotes.rtf");
}

TEST(MasterHousekeepingTest, LinkKinds) {
  const std::pair<std::string, char> cases[] = {
      {"images/a.jpg", 'I'},
      {"B.GIF", 'I'},
      {"x.png", 'I'},
      {"http://x.org/", 'W'},
      {"HTTPS://x.org/a.png", 'I'},
      {"www.example.org", 'W'},
      {"page.htm", 'W'},
      {"page.HTML", 'W'},
      {"doc.pdf", 'W'},
      {"none", 'W'},
      {"NONE", 'W'},
      {"nonesuch", ' '},
      {"notes.txt", ' '},
      {"", ' '},
      {".htmlfile", ' '},
  };
  for (const auto& [target, kind] : cases) EXPECT_EQ(LinkKindOf(target), kind) << target;
}

}  // namespace
}  // namespace quorrel::test
