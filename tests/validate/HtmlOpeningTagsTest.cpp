// Opening tags in the HTML validator's walk: the frame of the page, headings,
// tables, lists and forms, the parents tags need, the closing tags they complete
// first, and the depth of the tag stack.
#include <string>

#include "shell/DBoxUnit.h"
#include "validate/HtmlTestKit.h"

namespace quorrel::test {
namespace {

class HtmlOpeningTagsTest : public HtmlTest {};

struct ErrorCase {
  std::string page;
  std::string error;
  int help = 0;
};

void ExpectErrors(const std::vector<ErrorCase>& cases) {
  for (const ErrorCase& c : cases) {
    TWalkResult r = WalkPage(c.page);
    EXPECT_EQ(r.error, c.error) << c.page;
    EXPECT_EQ(r.help, c.help) << c.page;
    EXPECT_FALSE(r.aborted) << c.page;
  }
}

TEST_F(HtmlOpeningTagsTest, WhereTagsStandInTheFrame) {
  const std::string head = "<HTML><Head><Title>t</Title></Head>";
  ExpectErrors({
      {"<HTML><Div>", "Only HEAD or BODY allowed under HTML - not DIV"},
      {"<HTML><FrameSet>", "Only HEAD or BODY allowed under HTML - not FRAMESET"},
      {"<HTML><!--[if IE]><Meta Name=x><![endif]--><Head>", ""},
      {"<Head>", "Head in wrong place - must come after <HTML>."},
      {"<HTML><Body>", "<Body> in wrong place - must come after <Head>."},
      {head + "<Body></Body><FrameSet>",
       "FrameSet in wrong place - must come after <Head> section"},
      {head + "<Frame Src=a>", "FRAME in wrong place - must come after <FrameSet>"},
      {head + "<NoFrames>", "NOFRAMES in wrong place - must come after <FrameSet>"},
      {head + "<FrameSet><Frame Src=a><NoFrames>x</NoFrames></FrameSet></HTML>", ""},
      {"<Div></Div><HTML>", "HTML in wrong place - must be first tag"},
      {head + "<Body><Base Href=x>", "Base tag must be in Head, not Body"},
      {"<HTML><Head><Base Href=x><Title>t</Title></Head><Body></Body></HTML>", ""},
      {head + "<Script>x</Script>", "Script must be within Head or Body."},
      {head + "<Body><Style>p {}</Style>", "Style must be within Head."},
  });
  // Server pages are pieces of pages.
  IsServerPage = true;
  ExpectErrors({{"<HTML><Div>", ""}, {"<Head>", ""}});
}

TEST_F(HtmlOpeningTagsTest, AStyleBlockAfterTheHeadJoinsIt) {
  TWalkResult r =
      WalkPage("<HTML><Head><Title>t</Title></Head>\n<Style>\np {}\n</Style><Body>x</Body></HTML>");
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.out,
            "<HTML>\n<Head>\n  <Title>t</Title>\n  <Style>\n    p {}\n  </Style>\n</Head>\n"
            "<Body>\nx\n</Body>\n</HTML>\n");
}

TEST_F(HtmlOpeningTagsTest, HeadingLevels) {
  ExpectErrors({
      {"<H2>x</H2>", "H2 should not be first header.", 100710},
      {"<H1>a</H1><H3>b</H3>", "Header level missing -\rH3 tag preceded by H1", 100710},
      {"<H1>a</H1><H2>b</H2><H2>c</H2><H3>d</H3><H1>e</H1><H2>f</H2>", "", 0},
      {"<H1>a <H2>b</H2>", "a <H2>b ...\r\rHeader is not closed before another header starts."},
      {"<H1>Forty characters and more in this heading <H2>b</H2>",
       "Forty characters and more in this headin ...\r\rHeader is not closed before another "
       "header starts."},
      {"<H1>a <B>b</B></H1>", "Don't use \"<B>\" in headers - do this in CSS.\r\ra <B>b</B>"},
      {"<H1>a</H1> <B>b</B>", ""},
  });
  // The levels are the site's concern, checked with the option.
  Option("CheckH", false);
  ExpectErrors(
      {{"<H2>x</H2>", ""},
       {"<H1>a <B>b</B></H1>", "Don't use \"<B>\" in headers - do this in CSS.\r\ra <B>b</B>"}});
  Option("CheckH", true);
  NotInSite = true;
  ExpectErrors({{"<H3>x</H3>", ""}});
}

TEST_F(HtmlOpeningTagsTest, TablesHoldRowsAndRowsHoldCells) {
  ExpectErrors({
      {"<Table><Div>",
       "TABLE can directly contain only <TR>, <THead>, <TBody>, <TFoot>, <Caption>, <Col> or "
       "<ColGroup> tags, not <DIV>."},
      {"<Table><TBody><P>",
       "TBODY can directly contain only <TR>, <THead>, <TBody>, <TFoot>, <Caption>, <Col> or "
       "<ColGroup> tags, not <P>."},
      {"<Table><TR><Div>",
       "<TR> can directly contain only <TH> or <TD> tags, not <DIV>.\r\nThis may be caused by a "
       "missing \"</Table>\" tag."},
      {"<Div><Caption>x</Caption>", "<Caption> must come immediately after <Table>."},
      {"<Table><Caption>x</Caption><TR><TD>y</TD></TR></Table>", ""},
      {"<Div><TD>", "DIV not preceded by TR but by TD"},
      {"<Div><TR>", "TR not preceded by Table but by DIV"},
      {"<TR>", "TR not preceded by Table"},
  });
  // A cell straight in a table gets its row.
  Dialogs().Answer(mrYes);
  TWalkResult r = WalkPage("<Table><TD>x</TD></Table>");
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.out, "<Table>\n  <TR>\n    <TD>x</TD>\n  </TR>\n</Table>\n");
}

TEST_F(HtmlOpeningTagsTest, ListsAndOtherParents) {
  ExpectErrors({
      {"<Div><LI>", "LI not preceded by OL/UL/Menu/Dir/DD"},
      {"<LI>", "LI not preceded by OL/UL/Menu/Dir/DD"},
      {"<Dir><LI>a</LI></Dir>", ""},
      {"<Div><DT>", "DT not preceded by DL/DT/DD"},
      {"<Div><DD>", "DD not preceded by DL/DT/DD"},
      {"<UL><P>", "<UL> can directly contain only <LI> tags, not <P>."},
      {"<OL><Div>", "<OL> can directly contain only <LI> tags, not <DIV>."},
      {"<DL><LI>", "LI not preceded by OL/UL/Menu/Dir/DD"},
      {"<DL><P>", "<DL> can directly contain only <DD> or <DT> tags, not <P>."},
      {"<DL><DL>", "<DL> can directly contain only <DD> or <DT> tags, not <DL>."},
      // A definition list inside a definition (or a term) is no fault.
      {"<DL><DT>a</DT><DD><DL><DT>b</DT><DD>c</DD></DL></DD></DL>", ""},
      {"<DL><DT><DL><DD>a</DD></DL></DT></DL>", ""},
      {"<B><P>", "Cannot have <P> within <B>"},
      {"<I><P>", "Cannot have <P> within <I>"},
      {"<U><P>", "Cannot have <P> within <U>"},
      {"<Http://x.com>", "You cannot start an HTML tag with \"http\"."},
      {"<A=B>", "A=B cannot contain \"=\""},
      // Template controls and server blocks take anything.
      {"<ItemTemplate><LI>x</LI></ItemTemplate>", ""},
  });
  IsDotPage = true;
  ExpectErrors({{"<B><P>", "Cannot have <P> within <B>\nSee untitled.txt for exact position."}});
}

TEST_F(HtmlOpeningTagsTest, LinksAndForms) {
  ExpectErrors({
      {"x<A Href=a>x<A Href=b>y</A></A>",
       "Cannot have A within A.  Previous A tag:<A Href=a>\rwas around offset 2"},
      {"<A Href=a>x</A><A Href=b>y</A>", ""},
      {"<Form Action=a><Div><Form Action=b>", "Nested Form tags.", 20776},
      {"<Form Action=a></Form><Form Action=b></Form>", ""},
      {"<A Title=\"a</b>\">x</A>", "\"</ found within tag body at offset 12:\r<A Title=\"a</b>\">"},
      {"<Telerik:RadPane Title=\"a</b>\">", ""},
  });
  EXPECT_EQ(WalkPage("<Form Method=post></Form>").out,
            "<Form Method=post action=\"#\">\n</Form>\n");
  EXPECT_EQ(WalkPage("<Form Action=x.php></Form>").out, "<Form Action=x.php>\n</Form>\n");
}

TEST_F(HtmlOpeningTagsTest, OpeningTagsCompleteTheirParentFirst) {
  struct Case {
    const char* page;
    const char* out;
  } cases[] = {
      {"<Table><TR><TD>a<TD>b</Table>",
       "<Table>\n  <TR>\n    <TD>a</TD>\n    <TD>b</TD>\n  </TR>\n</Table>\n"},
      {"<Table><TR><TH>a<TH>b</TR></Table>",
       "<Table>\n  <TR>\n    <TH>a</TH>\n    <TH>b</TH>\n  </TR>\n</Table>\n"},
      {"<Table><TR><TD>a<TR><TD>b</TD></TR></Table>",
       "<Table>\n  <TR>\n    <TD>a</TD>\n  </TR>\n  <TR>\n    <TD>b</TD>\n  </TR>\n</Table>\n"},
      {"<Table><THead><TR><TH>h</TH></TR><TBody><TR><TD>b</TD></TR></TBody></Table>",
       "<Table>\n  <THead>\n    <TR>\n      <TH>h</TH>\n    </TR>\n  </THEAD>\n  <TBody>\n    "
       "<TR>\n      <TD>b</TD>\n    </TR>\n  </TBody>\n</Table>\n"},
      {"<UL><LI>a<LI>b</UL>", "<UL>\n  <LI>a</LI>\n  <LI>b</LI>\n</UL>\n"},
      {"<DL><DT>a<DD>b<DT>c</DL>", "<DL>\n  <DT>a</DT>\n  <DD>b</DD>\n  <DT>c</DT>\n</DL>\n"},
      // A list nested in a definition stays in it; the definitions left open close
      // at their lists' ends.
      {"<DL><DT>a<DD>b<DL><DT>c<DD>d</DL></DL>",
       "<DL>\n  <DT>a</DT>\n  <DD>\n    b\n    <DL>\n      <DT>c</DT>\n      <DD>d</DD>\n    "
       "</DL>\n  </DD>\n</DL>\n"},
      {"<Select><Option>a<Option>b</Select>",
       "<Select>\n  <Option>a</OPTION>\n  <Option>b</OPTION>\n</Select>\n"},
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    Dialogs().Answer(mrYes);
    ResetInsTagQuestion();
    TWalkResult r = WalkPage(c.page);
    EXPECT_EQ(r.error, "") << c.page;
    EXPECT_EQ(r.out, c.out) << c.page;
  }
}

TEST_F(HtmlOpeningTagsTest, AtMostAHundredTagsAreOpen) {
  std::string page;
  for (int i = 0; i < 100; ++i) page += "<Div>";
  page += "deep";
  for (int i = 0; i < 100; ++i) page += "</Div>";
  TWalkResult r = WalkPage("<HTML><Head><Title>t</Title></Head><Body>" + page + "</Body></HTML>");
  EXPECT_EQ(r.error, "");
  EXPECT_FALSE(r.aborted);

  r = WalkPage("<Span>" + page);
  EXPECT_TRUE(r.aborted);
  EXPECT_EQ(LastBox(), MessageText("Nesting too deep at offset 502"));
}

}  // namespace
}  // namespace quorrel::test
