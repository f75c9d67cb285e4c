// The builder's reader on small master bodies in the rich-edit layout: each
// control word, symbol and character rule, quotes and typography, read back from
// the page buffer.
#include <gtest/gtest.h>

#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/BuildTestKit.h"

namespace quorrel::test {
namespace {

const std::string kBulletImage = R"(<Img Src="images/Bullet.gif" Width=7 Height=9 Alt="">)";

struct Case {
  const char* name;
  std::string body;
  std::string page;
};

void ExpectPages(const std::vector<Case>& cases, bool withBody) {
  for (const Case& c : cases) {
    const TBuildResult result = withBody ? BuildWithBody(c.body) : BuildBody(c.body);
    EXPECT_FALSE(result.aborted) << c.name << ": " << result.LastMessage();
    EXPECT_EQ(result.page, c.page) << c.name;
    EXPECT_TRUE(result.messages.empty()) << c.name << ": " << result.LastMessage();
  }
}

TEST(RtfReaderTest, ControlWordsAndSymbols) {
  ExpectPages(
      {
          {"bold", "a\\b x\\b0  y", "a<b>x</b> y"},
          {"italic", "\\i x\\i0 y", "<i>x</i>y"},
          {"underline as ul and ulnone", "\\ul x\\ulnone y", "<u>x</u>y"},
          {"run of words", "\\b\\i x\\i0\\b0 y", "<b><i>x</i></b>y"},
          {"hex symbol, no blank skipped", "\\'e9 t\\'e9", "&eacute; t&eacute;"},
          {"hex bb is a fixed blank", "a\\'bbb", "a&nbsp;b"},
          {"hex below 128", "\\'41\\'3d", "A="},
          {"hex backslash stays a character", "\\'5cb x", "\\b x"},
          {"tilde", "a\\~b", "a b"},
          {"escaped characters", "\\\\ \\{ \\}", "\\ { }"},
          {"dashes", "a\\endash b\\emdash c", "a-b-c"},
          {"strike", "\\strike x\\strike0 y", "<strike>x</strike>y"},
          {"single quotes are real entities", "\\lquote x\\rquote", "&lsquo;x&rsquo;"},
          {"line", "a\\line b", "a<br>b"},
          {"unicode with fallback in the word", "\\u8364?", "&#8364;"},
          {"unicode with a hex fallback", "\\u8217\\'92x", "&#8217;x"},
          {"negative unicode", "\\u-4064?", "&#61472;"},
          {"superscript", "x\\super 2\\nosupersub y", "x<Sup>2</Sup>y"},
          {"subscript", "H\\sub 2\\nosupersub O", "H<Sub>2</Sub>O"},
          {"plain closes innermost first", "\\b\\i x\\plain y", "<b><i>x</I></B>y"},
          {"red", "\\cf1 r\\cf0 x", "<Font Color=Red>r</Font>x"},
          {"other colours ignored", "\\cf2 x\\cf0 y", "x</Font>y"},
          {"par ignored", "\\par x", "x"},
          {"bullet", "\\bullet x", "<Br> &nbsp; " + kBulletImage + " &nbsp;x"},
          {"fixed pitch", "\\f1 a<b>&c\\f0 z", "<TT>a&#60;b&#62;&#38;c</TT>z"},
          {"swap keeps tags nested", "\\b \\i x\\b0\\i0", "<i><b>x</b></i>"},
      },
      false);
}

TEST(RtfReaderTest, CharactersFromOneHundredTwentyEight) {
  std::string named = "\xA3\xBC\xBD\xBE\xE8\xE9\xEA\xFC\xDF\xE4\xB0\xF8\xF4\xF6\xC4\xE5";
  ExpectPages(
      {
          {"sixteen named", named,
           "&pound;&frac14;&frac12;&frac34;&egrave;&eacute;&ecirc;&uuml;&szlig;&auml;&deg;"
           "&oslash;&ocirc;&ouml;&Auml;&aring;"},
          {"raquo is a fixed blank",
           "a\xBB"
           "b",
           "a&nbsp;b"},
          {"copyright is the bullet image", "\xA9", kBulletImage},
          {"others by their Windows-1252 value", "\xA5\xFF", "&#165;&#255;"},
          {"128 to 159 by name", "\x80\x92\x85\x99\x8a", "&euro;&rsquo;&hellip;&trade;&Scaron;"},
          {"undefined bytes of the code page", "\x81\x9d", "&#65533;&#65533;"},
          {"dashes as the dash words give them", "\\'96\\'97", "--"},
          {"curly double quotes as plain ones", "\\'93x\\'94", "\"x\""},
      },
      false);
}

TEST(RtfReaderTest, QuotesOnceThePageHasABody) {
  ExpectPages(
      {
          {"pair", "say \"hi\" now", "say &ldquo;hi&rdquo; now"},
          {"from rtf words", "\\ldblquote x\\rdblquote", "&ldquo;x&rdquo;"},
          {"inch mark after a digit", "5\" wide", "5&quot; wide"},
          {"inch mark after a fraction", "2\\'bd\" wide", "2&frac12;&quot; wide"},
          {"first on the page opens", "\"a\"", "&ldquo;a&rdquo;"},
          {"pushed markup keeps its quotes", "\\bullet \"x\"",
           "<Br> &nbsp; " + kBulletImage + " &nbsp;&ldquo;x&rdquo;"},
          {"typed tag keeps its quotes", "<a href=\"x.htm\">\"x\"</a>",
           "<a href=\"x.htm\">&ldquo;x&rdquo;</a>"},
      },
      true);
  ExpectPages({{"no body, no curling", "\"a\" 5\"", "\"a\" 5\""}}, false);
}

TEST(RtfReaderTest, TwoBlanksAfterASentence) {
  ExpectPages(
      {
          {"one blank stays", "End. Next", "End. Next"},
          {"two blanks", "End.  Next", "End.&nbsp; Next"},
          {"three blanks", "Wow!   x", "Wow!&nbsp;  x"},
          {"question", "Why?  No", "Why?&nbsp; No"},
          {"after a comma nothing", "a,  b", "a,  b"},
          {"inside a tag nothing", "<img alt=\"A.  B\">", "<img alt=\"A.  B\">"},
      },
      false);
}

TEST(RtfReaderTest, LineEndsAndParagraphs) {
  ExpectPages(
      {
          {"line end", "a\r\nb", "a\r\nb"},
          {"paragraph", "a\r\n\r\nb", "a<P>\r\nb"},
          {"comment line emits nothing", "a\r\n.CM note \\zz\r\nb", "a\r\nb"},
          {"dash comment", "a\r\n.-- note\r\nb", "a\r\nb"},
          {"form feed never emitted", "a\f", "a"},
          {"lone CR emitted", "a\rb", "a\rb"},
      },
      false);
}

// Scripts and styles keep their braces and backslashes; words stay as written.
TEST(RtfReaderTest, RawModeDecodesEscapes) {
  const TBuildResult result = BuildBody("f() \\{ a\\tab b; c = \"\\\\\\'e9\"; \\b x \\}",
                                        [](TBuildRun& run) { run.RawMode = true; });
  EXPECT_FALSE(result.aborted) << result.LastMessage();
  EXPECT_EQ(result.page, "f() { a\tb; c = \"\\\xE9\"; \\b x }");
}

TEST(RtfReaderTest, TabsAreMarkedAndWarnedOnce) {
  const TBuildResult result = BuildBody("a\\tab b\\tab c");
  EXPECT_EQ(result.page, "a@@@@b@@@@c");
  ASSERT_EQ(result.messages.size(), 1u);
  // The line as the editor shows it, not its RTF.
  EXPECT_EQ(result.messages[0],
            "Unexpected tab character converted to @@@@ in line\ra b c\rand maybe others.");
}

TEST(RtfReaderTest, TabsInTablesAndCommentLines) {
  struct Case {
    const char* name;
    std::string body;
    bool rowCellPending;
    std::string page;
  };
  const std::vector<Case> cases = {
      {"first tab of a table row splits it", "a\\tab b\\tab c", true, "a </TD><TD>b &nbsp; c"},
      {"later tabs of a row", "a\\tab b", false, "a &nbsp; b"},
      {"tab at the line's third character", "x\r\nab\\tab c", false, "x\r\nabc"},
  };
  for (const Case& c : cases) {
    const TBuildResult result = BuildBody(c.body, [&c](TBuildRun& run) {
      run.OhTableOpen = true;
      run.OhRowCellPending = c.rowCellPending;
    });
    EXPECT_EQ(result.page, c.page) << c.name;
    EXPECT_TRUE(result.messages.empty()) << c.name;
  }
}

TEST(RtfReaderTest, TheTabWarningQuotesAtMost255CharactersOfItsLine) {
  const std::string line = std::string(300, 'x') + "\\tab y";
  const TBuildResult result = BuildBody(line);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0], "Unexpected tab character converted to @@@@ in line\r" +
                                    std::string(255, 'x') + "\rand maybe others.");
}

TEST(RtfReaderTest, ThreeUnknownWordsAreMarkedTheFourthStops) {
  const TBuildResult three = BuildBody("\\fs24 a\\pard b\\highlight1 c");
  EXPECT_FALSE(three.aborted);
  EXPECT_EQ(three.page,
            "<font color=red><b>[fs24]</b></font>a<font color=red><b>[pard]</b></font>b"
            "<font color=red><b>[highlight1]</b></font>c");
  ASSERT_EQ(three.messages.size(), 3u);
  // The excerpt starts at the text's start when the word is near it.
  EXPECT_EQ(three.messages[0], "Unknown RTF:  fs24\rin \r\\fs24 a\\pard b\\highlight1 c");

  const TBuildResult four = BuildBody("\\fs24 a\\pard b\\highlight1 c\\caps d");
  EXPECT_TRUE(four.aborted);
  EXPECT_EQ(four.messages.size(), 4u);
  EXPECT_EQ(four.page.find("[caps]"), std::string::npos);
  EXPECT_EQ(four.LastMessage().substr(0, 20), "Unknown RTF:  caps\ri");
  EXPECT_NE(four.LastMessage().find("\r\rScan terminated."), std::string::npos);
}

TEST(RtfReaderTest, RefusalsStopWithTheirText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\\qc x", "Use <center> rather than centring with Text | Centred."},
      {"x\\b0", "RTF stack is empty.  Elem=b0"},
      {"\\f1\\bullet x", "Wrong kind of bullet - can't use \x95"},
      {"\\f1 abc", "\\f1 with no following \\f0"},
      {"<a <b>x", "Nested HTML in <a <b>x"},
      {"<a </b>", "Nested HTML in <a </b> contains \"/\""},
      {"<script>x()</script>", "Do not use <Script> and </Script> - use .BS and .ES instead."},
      {"<%\r\nx = 1 %>", "Do not use <% at start of chunk - use .BA and .EA instead."},
      {"a\r\n.XY z\r\n", "Unknown marker .XY"},
      {"a\r\n.G x\r\n", "Unknown marker .G "},
      {"a\r\n.\r\nb", "Extraneous dot!"},
      {"a\r\n.PG page|Title\r\n", "No .BO marker"},
  };
  for (const auto& [body, message] : cases) {
    TBuildRun run;
    const TBuildResult result = BuildBody(run, body);
    EXPECT_TRUE(result.aborted) << body;
    EXPECT_EQ(ErrorOf(result.LastMessage()), message) << body;
    EXPECT_FALSE(run.BuildRunning) << body;
  }
}

TEST(RtfReaderTest, AcceptedTagsPassUnchanged) {
  ExpectPages(
      {
          {"script with a source", "<Script Src=\"a.js\"></Script>",
           "<Script Src=\"a.js\"></Script>"},
          {"line end inside a tag", "<a\r\nhref=x>y</a>", "<a href=x>y</a>"},
          {"asp inside a tag", "<a href='<%=u%>'>", "<a href='<%=u%>'>"},
          {"arrow is no tag", "a <- b", "a <- b"},
      },
      false);
}

// Markup the builder pushes back was made here: it is neither checked nor curled.
TEST(RtfReaderTest, PushedMarkupIsNotCheckedAgain) {
  const TBuildResult result = BuildBody("\"a\"", [](TBuildRun& run) {
    run.BodySeen = true;
    PushInput(run, "<Script>f()</Script><Img Alt=\"\">");
  });
  EXPECT_FALSE(result.aborted) << result.LastMessage();
  EXPECT_EQ(result.page, "<Script>f()</Script><Img Alt=\"\">&ldquo;a&rdquo;");
}

}  // namespace
}  // namespace quorrel::test
