// The HTML validator's walk between tags: comments and conditional comments,
// server-script blocks, reading a tag, and the raw content of SCRIPT, STYLE, PRE
// and TEXTAREA, with the style block handed to the CSS validator.
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/DBoxUnit.h"
#include "support/TestEnvironment.h"
#include "validate/HtmlTestKit.h"
#include "validate/StyleBlock.h"

namespace quorrel::test {
namespace {

class HtmlWalkTest : public HtmlTest {};

TEST_F(HtmlWalkTest, Comments) {
  struct Case {
    const char* page;
    const char* out;
    const char* error;
    int help;
  } cases[] = {
      {"a <!-- note  \xE9 -->  b", "a <!-- note  \xE9 -->\nb", "", 0},
      {"<!-->x", "<!-->\nx", "", 0},
      {"a <!-- open", "", "No \"-->\" to end \"<!--\" comment", 0},
      {"a --> b", "", "--> in wrong place.", 20770},
      {"<!--[if IE]><Div>old</Div><![endif]-->x", "<!--[if IE]>\n<Div>old</Div>\n<![endif]-->x", "",
       0},
      {"<Div>a</Div>\n<!--[if lt IE 9]>\n<Script Src=x.js></Script>\n<![endif]-->",
       "<Div>a</Div>\n<!--[if lt IE 9]>\n<Script Src=x.js Type=\"text/javascript\"></Script>\n"
       "<![endif]-->",
       "", 0},
  };
  for (const Case& c : cases) {
    TWalkResult r = WalkPage(c.page);
    EXPECT_EQ(r.error, c.error) << c.page;
    EXPECT_EQ(r.help, c.help) << c.page;
    if (*c.error == 0) {
      EXPECT_EQ(r.out, c.out) << c.page;
    }
  }
  // An error report page may hold "-->" anywhere.
  EXPECT_EQ(WalkPage("Error Report: a --> b").error, "");
}

TEST_F(HtmlWalkTest, IncludedFilesMustExist) {
  const std::string folder = TestHome() + "site/";
  std::filesystem::create_directories(folder + "inc");
  std::ofstream(folder + "inc/Menu.htm") << "<P>menu";
  CurrentFolder = folder;
  EXPECT_EQ(WalkPage("<!-- #include file=\"inc/menu.htm\" -->").error, "");
  EXPECT_EQ(WalkPage("<!--#INCLUDE FILE=\"inc\\Menu.htm\"-->").error, "");
  EXPECT_EQ(WalkPage("<!-- #include file=\"inc/gone.htm\" -->").error, "inc/gone.htm not found");
  EXPECT_EQ(WalkPage("<!-- #include file=\"inc\" -->").error, "inc not found");
}

TEST_F(HtmlWalkTest, ServerBlocksAreCopiedAsTheyAre) {
  IsServerPage = true;
  TWalkResult r = WalkPage("<Div>\n<% If a < b Then x = \"<p>\" %>\n<%= y %></Div>");
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.out, "<Div>\n<% If a < b Then x = \"<p>\" %>\n<%= y %></Div>\n");
  // A string that runs into a line end, in a block without comments.
  EXPECT_EQ(WalkPage("<p>x<% s = \"open\nmore %>").error,
            "End of line within string, after\r<p>x<% s = \"open");
  EXPECT_EQ(WalkPage("<% s = \"open ' comment\nmore %>").error, "");
  EXPECT_EQ(WalkPage("<% s = \"a\\\"b\" %>").error, "");
  // Procedures leave no open tags behind.
  EXPECT_EQ(WalkPage("<Div><%\nSub Show()\n%><Span>x</Span>").error, "");
  // A directive starts a line of its own; a missing end runs to the end of the page.
  EXPECT_EQ(WalkPage("x<%@ Page %>").out, "x\n<%@ Page %>");
  EXPECT_EQ(WalkPage("x \n<%@ Page %>").out, "x\n<%@ Page %>");
  EXPECT_EQ(WalkPage("<%  x = 1\n").out, "<%  x = 1\n");
  // A line holding only blanks up to a quote continues a script's string.
  EXPECT_EQ(WalkPage("<Div>\n   \"<b>\" & x %></Div>").out, "<Div>\n   \"<b>\" & x %></Div>\n");

  // PHP pages use their own delimiters.
  IsPhp = true;
  r = WalkPage("<Div><?php echo \"<b>\"; ?></Div>");
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.out, "<Div><?php echo \"<b>\"; ?></Div>\n");
}

TEST_F(HtmlWalkTest, ReadingATag) {
  std::string thousand = "Img Alt=\"" + std::string(989, 'x') + "\"";  // 999 characters
  ASSERT_EQ(thousand.size(), 999u);
  struct Case {
    std::string page;
    std::string error;
    size_t rest;
  } cases[] = {
      {"a <>", "Empty tag.", 2},
      {"a </>", "</> is not a valid tag", 2},
      {"<Div<Span>", "DIV<SPAN\rTag contains \"<\"", 0},
      {"<php echo 1 ?>", "<php should be <?php", 0},
      {"<A Href=\"x\n\">", "End of line within string in tag A\rafter\r<A Href=\"x", 0},
      {"<A Title='it's'>x</A>\n",
       "End of line within string in tag A\rafter\r<A Title='it's'>x</A>", 0},
      {"<A Title='it's'>x</A>", "Unterminated tag: \r<A Title='it's'>x</A>", 0},
      {"<A Title=\"a\\\"b\">x</A>", "", 0},
      {"ab <A Href=x", "Unterminated tag: \r<A Href=x", 3},
      {"<" + thousand + ">", "", 0},
      {"<" + thousand + "x>",
       "Tag > 999 characters: \r<" + ("Img Alt=\"" + std::string(391, 'x')) +
           "\r==== [Middle chunk] ====\r" + std::string(198, 'x') + "\"x",
       0},
      {"<Input Type=hidden Value=\"" + std::string(1000, 'v') + "\">", "", 0},
      {"<Meta Content=\"" + std::string(1000, 'v') + "\">", "", 0},
  };
  for (const Case& c : cases) {
    TWalkResult r = WalkPage(c.page);
    EXPECT_EQ(r.error, c.error) << c.page.substr(0, 40);
    if (!c.error.empty()) {
      EXPECT_EQ(r.rest, c.rest) << c.page.substr(0, 40);
    }
  }
  // A tag that its entities make longer than 999 characters is too long as well: the
  // next pass would find it so.
  const std::string accents = "Img Alt=\"" + std::string(200, '\xE9') + "\"";
  ASSERT_LT(accents.size(), 999u);
  EXPECT_EQ(WalkPage("<" + accents + ">").error.substr(0, 24), "Tag > 999 characters: \r<");
  EXPECT_EQ(WalkPage("<Img Alt=\"" + std::string(150, '\xE9') + "\">").error, "");
  // So is one that the eight characters of "&hellip;" make too long.
  const std::string dots = "A Title=\"" + std::string(125, '\x85') + "\"";
  EXPECT_EQ(WalkPage("<" + dots + ">").error.substr(0, 24), "Tag > 999 characters: \r<");
  // Outside a site long tags pass.
  NotInSite = true;
  EXPECT_EQ(WalkPage("<" + thousand + "x>").error, "");
  NotInSite = false;
  // A tag's final "/" goes with the blanks after it as well as before it, in one pass.
  for (const std::string tag :
       {"<Link Rel=x Type=\"text/css\"/>", "<Link Rel=x Type=\"text/css\"/ >",
        "<Link Rel=x Type=\"text/css\" / >"}) {
    const TWalkResult once = WalkPage(tag);
    EXPECT_EQ(once.out, "<Link Rel=x Type=\"text/css\">\n") << tag;
    EXPECT_EQ(WalkPage(once.out).out, once.out) << tag;
  }
  // A server block inside a tag is taken whole.
  IsServerPage = true;
  TWalkResult r = WalkPage("<A Href=\"<%= Url(\"a>b\") %>\">x</A><Td<%= c %>>");
  EXPECT_EQ(r.out, "<A Href=\"<%= Url(\"a>b\") %>\">x</A>\n<Td<%= c %>>");
}

TEST_F(HtmlWalkTest, Scripts) {
  struct Case {
    const char* page;
    const char* out;
  } cases[] = {
      // Short scripts stay on one line; longer ones stand between line ends.
      {"<Script>\n  go();\n</Script>", "<Script Type=\"text/javascript\">go();</Script>\n"},
      {"<Script Type=module>\n\n  var a = 1;\r\n  if (a < 2) a++;   \n\n</Script>x",
       "<Script Type=module>\n  var a = 1;\n  if (a < 2) a++;\n</Script>\nx"},
      // The old comment wrapper goes, unless the script has a source.
      {"<Script>\n<!--\nvar a;\nvar b;\n//-->\n</Script>",
       "<Script Type=\"text/javascript\">\nvar a;\nvar b;\n</Script>\n"},
      {"<Script>\n\n<!--\nvar a;\n</Script>", "<Script Type=\"text/javascript\">var a;</Script>\n"},
      {"<Script><!--\nvar a;\nvar b;\n</Script>",
       "<Script Type=\"text/javascript\">\nvar a;\nvar b;\n</Script>\n"},
      {"<Script Src=a.js>\n<!--\n</Script>",
       "<Script Src=a.js Type=\"text/javascript\"><!--</Script>\n"},
      {"<Script >x</Script>", "<Script Type=\"text/javascript\">x</Script>\n"},
      {"<Script runat=\"server\">x</Script>", "<Script runat=\"server\">x</Script>\n"},
      {"<Div><Script Src=a.js Type=x></Script></Div>",
       "<Div>\n  <Script Src=a.js Type=x></Script>\n</Div>\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(WalkPage(c.page).out, c.out) << c.page;
  // HTML5 pages need no type.
  EXPECT_EQ(WalkPage("<!DOCTYPE html>\n<Script Type=\"text/javascript\">x</Script>").out,
            "<!DOCTYPE html>\n<Script>x</Script>\n");
  // A script without its end.
  TWalkResult r = WalkPage("<Script>var a;");
  EXPECT_TRUE(r.aborted);
  EXPECT_EQ(LastBox(), "Unexpected end of text.\rCurrent tag is <Script Type=\"text/javascript\">");
}

TEST_F(HtmlWalkTest, PreAndTextAreaKeepTheirContent) {
  EXPECT_EQ(WalkPage("<Div><Pre>\n  a  <b>\xE9</b>\n</Pre>x</Div>").out,
            "<Div>\n  <Pre>\n  a  <b>\xE9</b>\n</Pre>\nx\n</Div>\n");
  EXPECT_EQ(WalkPage("x <TextArea Name=t>  keep\n  this</TextArea>y").out,
            "x <TextArea Name=t>  keep\n  this</TextArea>\ny");
  EXPECT_TRUE(WalkPage("<Pre>open").aborted);
}

TEST_F(HtmlWalkTest, StyleBlocksGoToTheCssValidator) {
  const std::string page =
      "<HTML>\n<Head>\n<Title>t</Title>\n<Style Type=\"text/css\">\n\n  p { color: red }\n    h1 "
      "{ margin: 0 }\n</Style>\n</Head>\n<Body></Body></HTML>\n";
  TWalkResult r = WalkPage(page);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.out,
            "<HTML>\n<Head>\n  <Title>t</Title>\n  <Style Type=\"text/css\">\n    p { color: red "
            "}\n    h1 { margin: 0 }\n  </Style>\n</Head>\n<Body>\n</Body>\n</HTML>\n");
  // The CSS validator had the block, and knows where it stands in the page.
  EXPECT_EQ(StyleBlockText, "p { color: red }\n    h1 { margin: 0 }");
  EXPECT_EQ(page.substr(StyleBlockOffset - 1, StyleBlockText.size()), StyleBlockText);
  EXPECT_FALSE(CheckingStyleBlock);

  // HTML5 pages drop the type; pages outside a site keep the block unchecked.
  ResetStyleBlock();
  NotInSite = true;
  r = WalkPage("<!DOCTYPE html>\n<HTML><Head><Style type=\"text/css\">p{}</Style>");
  EXPECT_EQ(r.out, "<!DOCTYPE html>\n<HTML>\n<Head>\n  <Style>\n    p{}\n  </Style>\n");
  EXPECT_EQ(StyleBlockText, "");
  // Pages that import style sheets keep their blocks as they are.
  NotInSite = false;
  r = WalkPage("<HTML><Head><Style>\n@Import url(a.css);\n</Style>");
  EXPECT_EQ(r.out, "<HTML>\n<Head>\n  <Style>\n@Import url(a.css);\n</Style>\n");
  EXPECT_EQ(WalkPage("<HTML><Head><Style>p {}").error, "<Style> element has no end.");
}

}  // namespace
}  // namespace quorrel::test
