// Colouring of HTML, ASP and PHP text: the runs read back for small pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TestEnvironment.h"
#include "validate/ColourHtml.h"
#include "validate/ColourNames.h"
#include "validate/ColourSyntax.h"
#include "validate/ColourTestKit.h"

namespace quorrel::test {
namespace {

enum Page { kHtml, kAsp, kPhp };

THtmlColourOptions OptionsFor(Page page) {
  THtmlColourOptions o;
  if (page == kPhp) {
    o.serverStart = "<?php";
    o.serverEnd = "?>";
    o.php = true;
  }
  o.trackNames = page != kHtml;
  return o;
}

THtmlColouring Colour(const std::string& text, const THtmlColourOptions& options) {
  return HtmlRuns(TScanText(text), options, ColourScheme.defaultColour);
}

std::string Runs(const std::string& text, Page page = kHtml) {
  return Describe(text, Colour(text, OptionsFor(page)).runs);
}

class ColourHtmlTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetColouring(); }
};

struct Case {
  const char* name;
  Page page;
  const char* text;
  const char* runs;
};

const Case kCases[] = {
    {"tags", kHtml, "<p>Hi</p>\n", "H{<p>} H{</p>}"},
    {"a \"<\" before a blank, quote, digit, \"=\" or \">\" is text", kHtml,
     "a < b <3 <=c <\"x <>\n", ""},
    {"declaration tag", kHtml, "<!DOCTYPE html>\n", "H{<!DOCTYPE html>}"},
    {"comment", kHtml, "x<!-- <b> -->y\n", "Comments{<!-- <b> -->}"},
    {"conditional comment: its content is the page's", kHtml, "<!--[if IE]><p><![endif]-->\n",
     "H{<p>} Comments{<![endif]-->}"},
    {"a string in a tag hides \">\"", kHtml, "<a title=\"a>b\">x\n", "H{<a title=\"a>b\">}"},
    {"a string ends at the line end", kHtml, "<a title=\"x\n>y\n", "H{<a title=\"x\n>}"},
    {"\"<>\" does not end a tag", kHtml, "<a b=<>c>\n", "H{<a b=<>c>}"},
    {"script content, strings and comments", kHtml, "<script>a='</b>'; // c\nx</script>\n",
     "H{<script>} JavaScript{a='</b>'; } Comments{// c} JavaScript{\nx} H{</script>}"},
    {"a script comment ends at \">\"", kHtml, "<script>//-->x\n</script>\n",
     "H{<script>} Comments{//-->} JavaScript{x\n} H{</script>}"},
    {"\"//\" after \":\" is no comment", kHtml, "<script>a=b://c\n</script>\n",
     "H{<script>} JavaScript{a=b://c\n} H{</script>}"},
    {"comment in a script string", kHtml, "<script>a=\"//x\"</script>\n",
     "H{<script>} JavaScript{a=\"//x\"} H{</script>}"},
    {"function lines", kHtml, "<script>\nfunction f() {\n}\n</script>\n",
     "H{<script>} JavaScript{\n} Functions{function f() {} JavaScript{\n}\n} H{</script>}"},
    {"a script ends on a comment line", kHtml, "<script>// c</script><p>\n",
     "H{<script>} Comments{// c} H{</script>} H{<p>}"},
    {"server block with comment", kAsp, "<p><% x = 1 ' note\n y %></p>\n",
     "H{<p>} VBScript{<% x = 1 } Comments{' note} VBScript{\n y %>} H{</p>}"},
    {"a comment ends at the end delimiter", kAsp, "<% ' c %>x\n",
     "VBScript{<% } Comments{' c } VBScript{%>}"},
    {"server block in a tag's string", kHtml, "<a href=\"<%=u%>\">x\n",
     "H{<a href=\"} VBScript{<%=u%>} H{\">}"},
    {"server block in a script", kHtml, "<script>a=<%=b%>;</script>\n",
     "H{<script>} JavaScript{a=} VBScript{<%=b%>} JavaScript{;} H{</script>}"},
    {"a line beginning with a quote and semicolon", kHtml, "\";x\n%>\n", "VBScript{\";x\n%>}"},
    {"PHP comments", kPhp, "<?php /* c */ f(); // d\n?>\n",
     "VBScript{<?php } Comments{/* c */} VBScript{ f(); } Comments{// d} VBScript{\n?>}"},
    {"apostrophe is no comment in PHP", kPhp, "<?php f('x'); ?>\n", "VBScript{<?php f('x'); ?>}"},
    {"ASP names", kAsp, "<% Dim a, b(3)\nb = a %>\n",
     "VBScript{<% Dim } Names{a} VBScript{, } Names{b} VBScript{(3)\n} Names{b} VBScript{ = } "
     "Names{a} VBScript{ %>}"},
    {"names are found without regard to case", kAsp, "<% Const Max = 3\nx = MAX %>\n",
     "VBScript{<% Const } Names{Max} VBScript{ = 3\nx = } Names{MAX} VBScript{ %>}"},
    {"procedures and their parameters", kAsp,
     "<%\nPublic Sub Show(ByVal x, y)\nShow x\nEnd Sub\n%>\n",
     "VBScript{<%\nPublic Sub } Functions{Show} VBScript{(ByVal } Names{x} VBScript{, } Names{y} "
     "VBScript{)\n} Functions{Show} VBScript{ } Names{x} VBScript{\nEnd Sub\n%>}"},
    {"\"End Sub\" declares nothing", kAsp, "<%\nEnd Sub \n%>\n", "VBScript{<%\nEnd Sub \n%>}"},
    {"members of objects are not the page's names", kAsp, "<% Dim Name\nrs.Name = 1 %>\n",
     "VBScript{<% Dim } Names{Name} VBScript{\nrs.Name = 1 %>}"},
    {"names in strings and comments stay plain", kAsp, "<% Dim a\nx = \"a\" ' a\n%>\n",
     "VBScript{<% Dim } Names{a} VBScript{\nx = \"a\" } Comments{' a} VBScript{\n%>}"},
    {"PHP variables and globals", kPhp, "<?php\nglobal $g;\n$g = $l;\n?>\n",
     "VBScript{<?php\nglobal } PHPG{$g} VBScript{;\n} PHPG{$g} VBScript{ = } Names{$l} "
     "VBScript{;\n?>}"},
    {"a PHP function forgets the globals before it", kPhp,
     "<?php\nglobal $g;\nfunction f($p = array(1, 2)) {\n$g;\n}\nf(); ?>\n",
     "VBScript{<?php\nglobal } PHPG{$g} VBScript{;\nfunction } Functions{f} VBScript{(} Names{$p} "
     "VBScript{ = array(1, 2)) {\n} Names{$g} VBScript{;\n}\n} Functions{f} VBScript{(); ?>}"},
};

TEST_F(ColourHtmlTest, RunsOfSmallPages) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Runs(c.text, c.page), c.runs);
  }
}

TEST_F(ColourHtmlTest, EveryContextCloses) {
  EXPECT_EQ(Colour("<p><script>x</script><% a %>\n", OptionsFor(kAsp)).depth, 0u);
  // An unclosed tag or script leaves its colour on the stack.
  EXPECT_EQ(Colour("<p\n", OptionsFor(kHtml)).depth, 1u);
  EXPECT_EQ(Colour("<script>x\n", OptionsFor(kHtml)).depth, 1u);
  EXPECT_EQ(Colour("<a href=\"<%=x\n", OptionsFor(kHtml)).depth, 2u);
}

TEST_F(ColourHtmlTest, UnclosedCommentRunsToTheEnd) {
  std::string text = "<p><!-- never closed\n<b>\n";
  EXPECT_EQ(Runs(text), "H{<p>} Comments{<!-- never closed\n<b>\n}");
}

struct MessageCase {
  const char* name;
  Page page;
  const char* text;
  const char* message;
  const char* at;  // the text the message's offset points at ("" when none)
};

const MessageCase kMessages[] = {
    {"a name declared twice", kAsp, "<% Dim a\nDim b, a %>\n", "a: Duplicate declaration", "a %>"},
    {"a parameter declared again", kAsp, "<%\nSub S(x)\nDim x\nEnd Sub %>\n",
     "x: Duplicate declaration", "x\nEnd"},
    {"the same local name in two procedures is no duplicate", kAsp,
     "<%\nSub A\nDim i\nEnd Sub\nSub B\nDim i\nEnd Sub\nDim i %>\n", "", ""},
    {"a function declared twice", kAsp, "<%\nSub A\nEnd Sub\nFunction a()\nEnd Function\n%>\n",
     "a: Duplicate function name", "a()"},
    {"a PHP function declared twice", kPhp, "<?php\nfunction f() {}\nfunction F() {}\n?>\n",
     "F: Duplicate function name", "F()"},
    {"no duplicates", kAsp, "<% Dim a, b\nSub S(c)\nEnd Sub %>\n", "", ""},
};

TEST_F(ColourHtmlTest, PendingMessages) {
  for (const MessageCase& c : kMessages) {
    SCOPED_TRACE(c.name);
    std::string text = c.text;
    THtmlColouring result = Colour(text, OptionsFor(c.page));
    EXPECT_EQ(result.message, c.message);
    if (*c.at) {
      EXPECT_EQ(result.messageOffset, text.rfind(c.at));
    }
  }
}

TEST_F(ColourHtmlTest, UnreferencedVariables) {
  std::string text = "<%\nSub S(p)\nx = used + p\nEnd Sub\nDim used, spare, other\n%>\n";
  THtmlColourOptions o = OptionsFor(kAsp);
  o.reportUnused = true;
  THtmlColouring result = Colour(text, o);
  EXPECT_EQ(result.message, "Unreferenced variable(s) spare, other");
  EXPECT_EQ(result.messageOffset, text.find("spare"));
  // Every variable used: the heading alone is no message.
  EXPECT_EQ(Colour("<% Dim a\na = 1 %>\n", o).message, "");
}

class ColourIncludeTest : public ColourHtmlTest {
 protected:
  void SetUp() override {
    ColourHtmlTest::SetUp();
    folder_ = TestHome() + "site-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::create_directories(folder_ + "Inc");
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ + name, std::ios::binary) << text;
  }
  std::string folder_;
};

TEST_F(ColourIncludeTest, IncludedNamesAreDeclared) {
  // Named with a backslash and another letter case than on disk, as Windows sites do.
  Write("Inc/Lib.asp",
        "<%\r\nDim shared, other(2)\r\nPrivate Function Helper(x)\r\nEnd Function\r\n%>\r\n");
  std::string text =
      "<!-- #Include File=\"inc\\lib.asp\" -->\n<% shared = Helper(1)\nSub Helper\nEnd Sub %>\n";
  THtmlColourOptions o = OptionsFor(kAsp);
  o.pageFolder = folder_;
  o.reportUnused = true;
  THtmlColouring result = Colour(text, o);
  EXPECT_EQ(Describe(text, result.runs),
            "Comments{<!-- #Include File=\"inc\\lib.asp\" -->} VBScript{<% } Names{shared} "
            "VBScript{ = } Functions{Helper} VBScript{(1)\nSub } Functions{Helper} "
            "VBScript{\nEnd Sub %>}");
  EXPECT_EQ(result.message,
            "Helper: Duplicate function name\rThis function also appears in an included file.");
}

TEST_F(ColourIncludeTest, AnIncludeFileIsReadOnce) {
  Write("one.inc", "Dim first\n");
  EXPECT_EQ(IncludeNamesOf(folder_, "one.inc").names, std::vector<std::string>{"first"});
  Write("one.inc", "Dim second\n");
  EXPECT_EQ(IncludeNamesOf(folder_, "one.inc").names, std::vector<std::string>{"first"});
  ResetIncludeCache();
  EXPECT_EQ(IncludeNamesOf(folder_, "one.inc").names, std::vector<std::string>{"second"});
  // A missing file declares nothing.
  EXPECT_TRUE(IncludeNamesOf(folder_, "missing.inc").names.empty());
}

}  // namespace
}  // namespace quorrel::test
