// Closing tags in the HTML validator's walk: the parents they complete first (with
// the user's consent, asked once), void tags, the page's frame, tags that were
// never opened, mismatches, and the checks of a finished table.
#include <string>

#include "shell/DBoxUnit.h"
#include "validate/HtmlTestKit.h"

namespace quorrel::test {
namespace {

const char kQuestionEnd[] =
    "\rDid you really mean this?\r\nClick the Help button for more information";

class HtmlClosingTagsTest : public HtmlTest {};

TEST_F(HtmlClosingTagsTest, ClosingTagsCompleteTheirParentFirst) {
  struct Case {
    const char* page;
    const char* out;
  } cases[] = {
      {"<Table><TR><TD>x</Table>", "<Table>\n  <TR>\n    <TD>x</TD>\n  </TR>\n</Table>\n"},
      {"<Table><TR><TH>x</TR></Table>", "<Table>\n  <TR>\n    <TH>x</TH>\n  </TR>\n</Table>\n"},
      {"<Table><THead><TR><TD>x</TD></TR></Table>",
       "<Table>\n  <THead>\n    <TR>\n      <TD>x</TD>\n    </TR>\n  </THEAD>\n</Table>\n"},
      {"<Select><Option>a</Select>", "<Select>\n  <Option>a</OPTION>\n</Select>\n"},
      {"<DataList><Option>a</DataList>", "<DataList>\n  <Option>a</OPTION>\n</DataList>\n"},
      {"<UL><LI>a </UL>", "<UL>\n  <LI>a</LI>\n</UL>\n"},
      {"<OL><LI>a</OL>", "<OL>\n  <LI>a</LI>\n</OL>\n"},
      {"<Menu><LI>a</Menu>", "<Menu>\n  <LI>a</LI>\n</Menu>\n"},
      {"<DL><DD><LI>a</DD></DL>", "<DL>\n  <DD>\n    <LI>a</LI>\n  </DD>\n</DL>\n"},
      {"<DL><DT>a</DT><DD>b</DL>", "<DL>\n  <DT>a</DT>\n  <DD>b</DD>\n</DL>\n"},
      {"<DL><DT>a</DL>", "<DL>\n  <DT>a</DT>\n</DL>\n"},
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    Dialogs().Answer(mrYes);
    ResetInsTagQuestion();
    TWalkResult r = WalkPage(c.page);
    EXPECT_EQ(r.error, "") << c.page;
    EXPECT_EQ(r.out, c.out) << c.page;
    ASSERT_EQ(Dialogs().Calls().size(), 1u) << c.page;
    EXPECT_EQ(Dialogs().Last().kind, DialogKind::YesNoHelp);
    EXPECT_EQ(Dialogs().Last().helpContext, 100700);
  }
  // A column group before the rows (the table has none here: no check of them).
  Option("CheckTab", false);
  Dialogs().Answer(mrYes);
  ResetInsTagQuestion();
  EXPECT_EQ(WalkPage("<Table><ColGroup><Col></Table>").out,
            "<Table>\n  <ColGroup>\n    <Col>\n  </COLGROUP>\n</Table>\n");
}

TEST_F(HtmlClosingTagsTest, TheMissingTagQuestion) {
  const std::string page = "<Table><TR><TD>x</Table>";
  Dialogs().Answer(mrYes);
  WalkPage(page);
  EXPECT_EQ(LastBox(),
            "</TD> missing after\r<Table><TR><TD>x\rat offset 17" + std::string(kQuestionEnd));
  // Asked once in a validation: the later missing tags are completed silently.
  WalkPage(page);
  WalkPage("<UL><LI>a</UL><UL><LI>b</UL>");
  EXPECT_EQ(Dialogs().Calls().size(), 1u);

  // No ends the validation at the tag.
  ResetInsTagQuestion();
  Dialogs().Answer(mrNo);
  TWalkResult r = WalkPage(page);
  EXPECT_EQ(r.error, "Validation terminated.");
  EXPECT_EQ(r.rest, 16u);

  // In a generated page there is nobody to ask: the missing tag is the error.
  ResetInsTagQuestion();
  IsDotPage = true;
  r = WalkPage(page);
  EXPECT_EQ(r.error, "</TD> missing after\r<Table><TR><TD>x\rat offset 17");
  EXPECT_EQ(Dialogs().Calls().size(), 2u);
}

TEST_F(HtmlClosingTagsTest, VoidTagsHaveNoClosingTag) {
  TWalkResult r = WalkPage("<P>one</P> two");
  EXPECT_EQ(r.out, "<P>one two");
  EXPECT_EQ(r.error, "");
  for (const char* name : {"IMG", "BR", "HR", "META", "LINK", "INPUT", "PARAM", "AREA", "SOURCE"}) {
    r = WalkPage(std::string("x</") + name + ">y");
    EXPECT_EQ(r.error, std::string(name) + " should not have a closing tag.");
    EXPECT_EQ(r.rest, 1u);
  }
  // Pages of ASP.NET forms drop the closing tags of inputs and parameters.
  EXPECT_EQ(WalkPage("<Input Name=__VIEWSTATE></Input>x").out, "<Input Name=__VIEWSTATE>x");
  EXPECT_EQ(WalkPage("__VIEWSTATE<Img Src=x></Img>").error, "IMG should not have a closing tag.");

  // SVG may close its path at once (Sphinx writes its search icon so): the closing
  // tag stays with it, or the browser would put what follows inside the path. A
  // closing path tag anywhere else is still refused.
  const std::string svg = "<svg viewBox=\"0 0 24 24\">\n  <path d=\"M1 2z\"></path>\n</svg>\n";
  const std::string svgPage = "<div>" + svg + "</div>";
  const std::string laid =
      "<div>\n  <svg viewBox=\"0 0 24 24\">\n    <path d=\"M1 2z\"></path>\n  </svg>\n</div>\n";
  for (const std::string& page :
       {svgPage, laid, std::string("<div><svg><path d=x>\n\n</path></svg></div>")}) {
    r = WalkPage(page);
    EXPECT_EQ(r.error, "") << page;
    EXPECT_NE(r.out.find("></path>\n"), std::string::npos) << page;
    EXPECT_EQ(WalkPage(r.out).out, r.out) << page;
  }
  EXPECT_EQ(WalkPage(svgPage).out, laid);
  EXPECT_EQ(WalkPage("<svg><path d=x><g></g></path></svg>").error,
            "PATH should not have a closing tag.");
  EXPECT_EQ(WalkPage("<svg><pathway></path></svg>").error, "PATH should not have a closing tag.");

  // A page outside any site loses them all.
  NotInSite = true;
  EXPECT_EQ(WalkPage("a<BR></BR>b").out, "a\n<BR>b");
}

TEST_F(HtmlClosingTagsTest, TheFrameOfThePage) {
  struct Case {
    const char* page;
    const char* error;
  } cases[] = {
      {"<HTML><Head><Title>t</Title></Head><Body>x</HTML>", "<BODY> tag cannot end with </HTML>"},
      {"<HTML><Head><Title>t</Title></Head><Body>x</Body></Body>",
       "<HTML> tag cannot end with </BODY>"},
      {"<HTML><Head><Title>t</Title></Head><Body>x</Body></HTML>", ""},
      {"<HTML><Head><Title>t</Title></Head></Body>", "<HTML> tag cannot end with </BODY>"},
      {"<HTML><Head><Title>t</Title></Head><Body></Div></Body></HTML>",
       "</Div> has not been opened."},
      {"<HTML><Head><Title>t</Title></Head><Body>x</Body>y</HTML>",
       "Text found between </Body> and </HTML>"},
      {"<HTML><Head><Title>t</Title></Head><Body>x</Body> \n </HTML>\n \n", ""},
      {"<HTML><Head><Title>t</Title></Head><Body>x</Body></HTML>\n<!-- end -->",
       "Text found after </HTML>"},
      {"</Div>text", ""},  // a fragment: nothing is known about its frame
  };
  for (const Case& c : cases) EXPECT_EQ(WalkPage(c.page).error, c.error) << c.page;

  // Server pages and pages with the marker are not held to the frame.
  const std::string mismatch = "<HTML><Head><Title>t</Title></Head><Body>x</HTML>";
  EXPECT_EQ(WalkPage("<!-- If you can read this -->" + mismatch).error, "");
  IsServerPage = true;
  EXPECT_EQ(WalkPage(mismatch).error, "");
  EXPECT_EQ(WalkPage("<HTML></Div>").error, "");
}

TEST_F(HtmlClosingTagsTest, ClosingTagsMatchTheOpenTag) {
  struct Case {
    const char* page;
    const char* out;    // when it passes
    const char* error;  // when it does not
  } cases[] = {
      {"<B>bold</U>", "<B>bold</B>", ""},
      {"<U>under</B>", "<U>under</U>", ""},
      {"x <B>bold</I>", "", "<B> tag (around offset 3) cannot end with </I>"},
      {"<Div><Span>a</Div>", "", "<SPAN> tag (around offset 6) cannot end with </DIV>"},
      {"<Div>a</Div>", "<Div>a</Div>\n", ""},
      {"<Div>a</div>", "<Div>a</div>\n", ""},
  };
  for (const Case& c : cases) {
    TWalkResult r = WalkPage(c.page);
    EXPECT_EQ(r.error, c.error) << c.page;
    if (*c.error == 0) {
      EXPECT_EQ(r.out, c.out) << c.page;
    }
  }
  // A generated page shows where it went wrong.
  IsDotPage = true;
  EXPECT_EQ(WalkPage("<P>before <B>bold</I> after").error,
            "<B> tag (around offset 11) cannot end with </I>\r\rError detected at:\r<P>before "
            "<B>bold\r<P>before <B>bold</I>\rfollowed by\r after");
  IsDotPage = false;
  // Script code can open and close tags: every level open at a server block takes
  // any closing tag.
  IsServerPage = true;
  EXPECT_EQ(WalkPage("<Div><% If x Then %><Span><% End If %></Div>").error, "");
  EXPECT_EQ(WalkPage("<Div><%= x %><Span></Div>").error,
            "<SPAN> tag (around offset 14) cannot end with </DIV>");
  // With the marker every closing tag passes.
  IsServerPage = false;
  EXPECT_EQ(WalkPage("<!-- If you can read this --><Div><Span></Div>").error, "");
}

TEST_F(HtmlClosingTagsTest, BlanksBeforeClosingTags) {
  EXPECT_EQ(WalkPage("<Table><TR><TD>a </TD></TR></Table>").out,
            "<Table>\n  <TR>\n    <TD>a</TD>\n  </TR>\n</Table>\n");
  EXPECT_EQ(WalkPage("<DL><DT>a </DT><DD>b </DD></DL>").out,
            "<DL>\n  <DT>a</DT>\n  <DD>b</DD>\n</DL>\n");
  EXPECT_EQ(WalkPage("<Span>a </Span>").out, "<Span>a </Span>");
}

TEST_F(HtmlClosingTagsTest, FinishedTables) {
  struct Case {
    const char* page;
    const char* error;
    int help;
  } cases[] = {
      {"<Table></Table>", "Table has no rows.", 100770},
      {"<Table><TR></TR></Table>", "Nothing between <TR> and </TR>", 0},
      {"<Table><TR>\n  </TR></Table>", "Nothing between <TR> and </TR>", 0},
      {"<Table><TR>text</TR></Table>",
       "<TR> can contain only <TH> or <TD> tags, not plain text.\rLast tag was <TR>", 0},
      {"<Table><TR><!-- none --></TR></Table>", "Empty table row.", 0},
      {"<Table><TR><TD>a</TD></TR></Table>", "", 0},
      // An inner table is checked on its own.
      {"<Table><TR><TD><Table></Table></TD></TR></Table>", "Table has no rows.", 100770},
      {"<Table><TR><TD><Table><TR><TD>x</TD></TR></Table></TD></TR></Table>", "", 0},
  };
  for (const Case& c : cases) {
    TWalkResult r = WalkPage(c.page);
    EXPECT_EQ(r.error, c.error) << c.page;
    EXPECT_EQ(r.help, c.help) << c.page;
  }
  // Not while every file of the site is validated, nor without the option, nor
  // outside a site, nor in server pages or ASP.NET forms.
  const std::string empty = "<Table></Table>";
  auto passes = [&](const std::function<void()>& arrange, const std::function<void()>& undo) {
    arrange();
    EXPECT_EQ(WalkPage(empty).error, "");
    undo();
    EXPECT_EQ(WalkPage(empty).error, "Table has no rows.");
  };
  passes([] { CurrentCommand = "ValAll"; }, [] { CurrentCommand.clear(); });
  passes([] { CurrentCommand = "Download"; }, [] { CurrentCommand.clear(); });
  passes([] { Option("CheckTab", false); }, [] { Option("CheckTab", true); });
  passes([] { NotInSite = true; }, [] { NotInSite = false; });
  passes([] { IsServerPage = true; }, [] { IsServerPage = false; });
  EXPECT_EQ(WalkPage("__VIEWSTATE" + empty).error, "");
}

}  // namespace
}  // namespace quorrel::test
