// Colouring of the other document types, and the URL runs laid over every text.
#include <gtest/gtest.h>

#include "validate/ColourSyntax.h"
#include "validate/ColourTestKit.h"
#include "validate/ColourTypes.h"

namespace quorrel::test {
namespace {

class ColourTypesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetColouring(); }
  int def() const { return ColourScheme.defaultColour; }
};

TEST_F(ColourTypesTest, CssAndXmlComments) {
  std::string css = "a { color: red } /* one */\r\nb {} /* two\r\n lines */\r\n";
  EXPECT_EQ(Describe(css, CommentRuns(TScanText(css), "/*", "*/", def())),
            "Comments{/* one */} Comments{/* two\r\n lines */}");
  std::string xml = "<?xml version=\"1.0\"?>\r\n<!-- c -->\r\n<a/>\r\n";
  EXPECT_EQ(Describe(xml, CommentRuns(TScanText(xml), "<!--", "-->", def())),
            "Comments{<!-- c -->}");
  // An unclosed comment runs to the end.
  std::string open = "a /* b\r\n";
  EXPECT_EQ(Describe(open, CommentRuns(TScanText(open), "/*", "*/", def())), "Comments{/* b\r\n}");
}

TEST_F(ColourTypesTest, IniSections) {
  std::string ini = "[Text]\r\nH=1\r\n [not]\r\n[System]\r\n";
  EXPECT_EQ(Describe(ini, IniRuns(TScanText(ini), def())), "Comments{[Text]} Comments{[System]}");
}

TEST_F(ColourTypesTest, PlainTextHeadings) {
  std::string text = "Intro\r\n========\r\nFirst\r\nbody\r\n========\r\nSecond\r\n";
  EXPECT_EQ(Describe(text, PlainTextRuns(TScanText(text), def())),
            "Comments{First} Comments{Second}");
  // A rule on the last line has no line after it.
  std::string last = "a\r\n========\r\n";
  EXPECT_EQ(Describe(last, PlainTextRuns(TScanText(last), def())), "");
}

TEST_F(ColourTypesTest, VbaComments) {
  std::string text = "x = \"/* no */\" /* yes */\r\ny = a://b // c\r\nz\r\n";
  EXPECT_EQ(Describe(text, VbaRuns(TScanText(text), def())), "Comments{/* yes */} Comments{// c}");
}

TEST_F(ColourTypesTest, SectionLines) {
  std::string text = "function a(x) {\r\n}\r\nfunction b() {}\r\n";
  std::vector<size_t> sections{0, text.find("function b")};
  EXPECT_EQ(Describe(text, SectionLineRuns(TScanText(text), sections, false)),
            "Functions{function a(x) {} Functions{function b() {}}");
  EXPECT_EQ(Describe(text, SectionLineRuns(TScanText(text), sections, true)),
            "Functions{function a} Functions{function b}");
  // A section line without a bracket gets nothing up to the bracket.
  std::string open = "[Open code]\r\nfunction c()\r\n";
  EXPECT_EQ(Describe(open, SectionLineRuns(TScanText(open), {0}, true)), "");
}

TEST_F(ColourTypesTest, AbcTune) {
  std::string text =
      "X:1\r\nT:Title\r\nP:A\r\nP:B\r\nV:1\r\nV:1 clef=treble\r\nV:10\r\nK:G\r\n"
      "|:GA|B2 % c\r\n% all\r\nw:la|la\r\nX:2\r\nT:Next\r\n";
  size_t end = text.find("X:2");
  EXPECT_EQ(Describe(text, AbcRuns(TScanText(text), 0, end, def())),
            "TuneName{T:Title} Part{P:A} P1{P:B} V1{V:1} V1{V:1 clef=treble} Voice{V:10} "
            "BarLine{|} BarLine{|} Comments{% c} Comments{% all}");
}

TEST_F(ColourTypesTest, Urls) {
  struct Case {
    const char* text;
    const char* runs;
  } cases[] = {
      {"see www.example.com.\r\n", "U{www.example.com}"},
      {"<a href=\"http://x.org/a?b=1\">\r\n", "U{http://x.org/a?b=1}"},
      {"(https://en.wikipedia.org/wiki/A_(b)) x\r\n", "U{https://en.wikipedia.org/wiki/A_(b}"},
      {"https://en.wikipedia.org/wiki/A_(b) x\r\n", "U{https://en.wikipedia.org/wiki/A_(b)}"},
      {"HTTP://UPPER.COM<br>\r\n", "U{HTTP://UPPER.COM}"},
      {"//www.protocol-relative.org\r\n", ""},
      {"http://a.org/www.b.org\r\n", "U{http://a.org/www.b.org}"},
      {"whatever howwww\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = c.text;
    EXPECT_EQ(Describe(text, UrlRuns(TScanText(text), 0, text.size())), c.runs);
  }
  // Only inside the range asked for.
  std::string text = "www.a.org www.b.org\r\n";
  EXPECT_EQ(Describe(text, UrlRuns(TScanText(text), 5, text.size())), "U{www.b.org}");
}

}  // namespace
}  // namespace quorrel::test
