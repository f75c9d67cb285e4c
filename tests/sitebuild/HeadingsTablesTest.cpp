// Headings, .TA tables, video links and slide notes on small master bodies, read
// back from the page buffer and the notes text.
#include <gtest/gtest.h>

#include "platform/Help.h"
#include "platform/RtfModel.h"
#include "platform/RtfParse.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/BuildTestKit.h"

namespace quorrel::test {
namespace {

const std::string kLine = "<Img Src=\"images/Line.gif\" Alt=\"\" Class=Wide><Br>";
const std::string kTop =
    "&nbsp; &nbsp;<Img Src=\"images/Top.gif\" Alt=\"Top of page\" OnClick=\"Top()\">";
const std::string kBack =
    "<Span Class=Back><A Href=\"javascript:history.back()\"><Img Src=\"images/Pad.gif\" Width=34 "
    "Height=20 Alt=\"Back\" /></A></Span>";

struct Case {
  const char* name;
  std::string body;
  std::string page;
  std::function<void(TBuildRun&)> setup = {};
};

// Returns the run of the last case.
TBuildRun ExpectPages(const std::vector<Case>& cases) {
  TBuildRun run;
  for (const Case& c : cases) {
    run = TBuildRun();
    const TBuildResult result = BuildBody(run, c.body, [&c](TBuildRun& built) {
      built.PageTitle = "Page title";
      if (c.setup) c.setup(built);
    });
    EXPECT_FALSE(result.aborted) << c.name << ": " << result.LastMessage();
    EXPECT_EQ(result.page, c.page) << c.name;
  }
  return run;
}

class HeadingsTablesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    IsSlides = false;
    SetHelpViewer(nullptr);
  }
};

TEST_F(HeadingsTablesTest, SectionHeadings) {
  ExpectPages({
      {"first T2", "a\r\n.T2 Reels\r\nb", "a" + kLine + "<H2>Reels</H2><P>\r\nb"},
      {"later T2 gets the top image", ".T2 A\r\n.T2 B\r\n",
       kLine + "<H2>A</H2>" + kLine + "<H2>B" + kTop + "</H2><P>\r\n"},
      {"anchor given, leading star dropped", ".T2 Reels|*reels\r\n",
       kLine + "<H2 Id=reels>Reels</H2>"},
      {"hidden heading", ".T2 Hide\r\n", "<H2 Class=Hidden></H2>"},
      {"T3", "a\r\n.T3 Jigs & more\r\nb", "a\r\n<H3>Jigs & more</H3>\r\nb"},
      {"T3 with anchor", ".T3 Jigs|jigs\r\n", "<H3 Id=jigs>Jigs</H3>"},
      // A link block's anchors are made from the text.
      {"anchors asked for", ".T2 The Dashing White-Sergeant (32)\r\n.T3 Two words\r\n",
       kLine + "<H2 Id=The_Dashing_WhiteSergeant_32>The Dashing White-Sergeant (32)</H2>\r\n<H3 "
               "Id=Two_words>Two words</H3>",
       [](TBuildRun& run) { run.T2Anchors = run.T3Anchors = true; }},
      {"line image suppressed", ".T2 A\r\n", "<H2>A</H2>",
       [](TBuildRun& run) { run.NoLineImage = true; }},
      {"print version", ".T2 Reels|reels\r\n.T3 Jigs|jigs\r\n",
       kLine +
           "<H2 Id=reels>Reels &nbsp; <A Href=\"abc.aspx?PI=reels\"><Img Src=\"images/Print.gif\" "
           "Alt=\"Print this section\"></A></H2>\r\n<H3>Jigs</H3>",
       [](TBuildRun& run) { run.PrintVersion = true; }},
      {"closes a two-column table", ".OH\r\na\\tab b\r\n.T3 X\r\n",
       "<Table Class=Dance><TR><TD Class=W40>\r\na </TD><TD>b\r\n</TD></TR></Table>\r\n<H3>X</H3>"},
  });
}

// After a link block switched anchors on, a "!" heading and its text are left out
// unless the block asked for every entry.
TEST_F(HeadingsTablesTest, BangHeadingsHideTheirSections) {
  const std::string body = "a\r\n.T2 !Secret\r\nhidden text\r\n\r\nmore\r\n.T2 Open\r\nshown";
  ExpectPages({
      {"hidden", body, "a" + kLine + "<H2 Id=Open>Open</H2><P>\r\nshown",
       [](TBuildRun& run) { run.T2Anchors = true; }},
      {"all entries", body,
       "a" + kLine + "<H2 Id=Secret>Secret</H2><P>\r\nhidden text<P>\r\nmore" + kLine +
           "<H2 Id=Open>Open" + kTop + "</H2><P>\r\nshown",
       [](TBuildRun& run) { run.T2Anchors = run.AllEntries = true; }},
      {"no link block: the mark stays", ".T2 !Shown\r\n", kLine + "<H2>!Shown</H2>"},
  });
}

TEST_F(HeadingsTablesTest, MainHeading) {
  auto withMenu = [](TBuildRun& run) { run.SiteMenu = "<Nav></Nav>"; };
  ExpectPages({
      {"without a site menu", ".T1 Welcome\r\nx", "\n<H1>Welcome</H1>\r\nx"},
      {"empty text is the title", ".T1\r\n", "\n<H1>Page title</H1>"},
      {"with a site menu", ".T1 Welcome\r\nx",
       "\n<H1 Id=Content>" + kBack + "Welcome</H1><HR><P><Br>x", withMenu},
      {"NoSpace", ".T1 Welcome|NoSpace\r\nx", "\n<H1 Id=Content>" + kBack + "Welcome</H1><HR><P>x",
       withMenu},
      {"NoBack", ".T1 Welcome|NoBack\r\nx", "\n<H1 Id=Content>Welcome</H1><HR><P><Br>x", withMenu},
      {"a second-level heading follows", ".T1 Welcome\r\n<H2>Next</H2>",
       "\n<H1 Id=Content>" + kBack + "Welcome</H1><HR><H2>Next</H2>", withMenu},
  });
  IsSlides = true;
  const TBuildResult slide = BuildBody(".T1 One\r\n.CM\r\n");
  EXPECT_FALSE(slide.aborted) << slide.LastMessage();
}

TEST_F(HeadingsTablesTest, HeadingRefusals) {
  ExpectErrors({
      {"T1 then a page", ".T1 x\r\n.pg b|B\r\n", "Cannot have .T1 immediately followed by .PG"},
      {"dot in anchor", ".T2 x|a.b\r\n", "Anchor must not contain \"'\" or \".\" or \"|\"\ra.b"},
      {"apostrophe in anchor", ".T3 x|it's\r\n",
       "Anchor must not contain \"'\" or \".\" or \"|\"\rit's"},
  });
  std::vector<int> asked;
  SetHelpViewer([&](int context) { asked.push_back(context); });
  for (const char* body : {".T2 ?\r\n", ".TA ?\r\n"}) {
    const TBuildResult result = BuildBody(body);
    EXPECT_TRUE(result.aborted) << body;
  }
  EXPECT_EQ(asked, (std::vector<int>{58130, 58140}));
}

TEST_F(HeadingsTablesTest, Tables) {
  ExpectPages({
      {"header row, then data", ".TA Class=T\r\nName|Age\r\nAnn|30\r\n\r\nafter",
       "\r\n<Table Class=T>\r\n  <TR><TH>Name</TH><TH>Age</TH>\r\n  </TR>\r\n  "
       "<TR><TD>Ann</TD><TD>30</TD>\r\n  </TR>\r\n</Table>\r\nafter"},
      {"first row D| is data; later H| is a header", ".TA x\r\nD|a|b\r\nH|c|d\r\n",
       "\r\n<Table x>\r\n  <TR><TD>a</TD><TD>b</TD>\r\n  </TR>\r\n  "
       "<TR><TH>c</TH><TH>d</TH>\r\n  </TR>\r\n</Table>"},
      // Two columns: a row may end in one more "|".
      {"final bar allowed", ".TA x\r\na|b\r\nc|d|\r\n",
       "\r\n<Table x>\r\n  <TR><TH>a</TH><TH>b</TH>\r\n  </TR>\r\n  "
       "<TR><TD>c</TD><TD>d</TD>\r\n  </TR>\r\n</Table>"},
      {"short rows", ".TA x\r\na|b|c\r\nH|All\r\nH|one|two\r\nd\r\n",
       "\r\n<Table x>\r\n  <TR><TH>a</TH><TH>b</TH><TH>c</TH>\r\n  </TR>\r\n  <TR><TH "
       "ColSpan=3>All</TH>\r\n  </TR>\r\n  <TR><TH>one</TH><TH ColSpan=2>two</TH>\r\n  </TR>\r\n  "
       "<TR><TD>d</TD><TD></TD><TD></TD>\r\n  </TR>\r\n</Table>"},
      {"row and cell attributes",
       ".TA x\r\nBGCOLOR=Red|a|b\r\nclass=odd|CLASS=w c|BGCOLOR=#fff\r\n",
       "\r\n<Table x>\r\n  <TR BGCOLOR=Red><TH>a</TH><TH>b</TH>\r\n  </TR>\r\n  <TR "
       "class=odd><TD CLASS=w>c</TD><TD BGCOLOR=#fff></TD>\r\n  </TR>\r\n</Table>"},
      {"addresses as mail links", ".TA x\r\nD|Ann|ann@example.org\r\n",
       "\r\n<Table x>\r\n  <TR><TD>Ann</TD><TD><A "
       "Href=\"mailto:ann@example.org\">ann@example.org</A></TD>\r\n  </TR>\r\n</Table>"},
      {"SharpTab rows are all data", ".TA Class=SharpTab\r\na|b\r\n",
       "\r\n<Table Class=SharpTab>\r\n  <TR><TD>a</TD><TD>b</TD>\r\n  </TR>\r\n</Table>"},
      {"ends at a command line", ".TA x\r\na\r\n.CM\r\nb",
       "\r\n<Table x>\r\n  <TR><TH>a</TH>\r\n  </TR>\r\n</Table>b"},
      // Windows-1252 bytes 138 and 171 are Š and «, like any other byte.
      {"characters from 128 up", ".TA x\r\nD|\x8a|\xab\r\n",
       "\r\n<Table x>\r\n  <TR><TD>&Scaron;</TD><TD>&#171;</TD>\r\n  </TR>\r\n</Table>"},
  });
  // Curled quotes in the attributes become plain again.
  TBuildRun quotedRun;
  const TBuildResult quoted = BuildWithBody(quotedRun, ".TA Class=\"T\" Width=\"50%\"\r\nD|a\r\n");
  EXPECT_EQ(quoted.page,
            "\r\n<Table Class=\"T\" Width=\"50%\">\r\n  <TR><TD>a</TD>\r\n  </TR>\r\n</Table>");
  EXPECT_FALSE(quotedRun.OpenQuote);
}

TEST_F(HeadingsTablesTest, TableRefusals) {
  ExpectErrors({
      {"header mark on the first row", ".TA x\r\nH|a|b\r\n",
       "Don't start first line with \"H|\" or \"H \"."},
      {"header blank on the first row", ".TA x\r\nH a|b\r\n",
       "Don't start first line with \"H|\" or \"H \"."},
      {"four cells in two columns", ".TA x\r\nD|a|b\r\nw|x|y|z\r\n",
       "Too many columns in line\nw|x|y|z"},
      {"three cells in two columns", ".TA x\r\na|b\r\nx|y|z|\r\n",
       "Too many columns in line\nx|y|z|"},
      {"cell tags", ".TA x\r\na|b\r\n<td>c|d\r\n", "<td>c|d\rcannot contain TR, TD or Table tags."},
      {"table tags", ".TA x\r\na</table>\r\n", "a</table>\rcannot contain TR, TD or Table tags."},
  });
}

TEST_F(HeadingsTablesTest, VideoLinks) {
  const TBuildRun videos = ExpectPages({
      {"heading, address and comments",
       ".VI\r\nOur reel\r\nThe reel\r\nhttps://www.youtube.com/embed/abc\r\nFilmed in May.\r\nIt's "
       "fun.\r\n\r\nafter",
       "<Div Class=\"VLink NoPrint\" Id=Video0 OnClick=\"ShowVideo('https://www.youtube.com/embed/"
       "abc', 0, 'The reel<P>Filmed in May.<P>It&#8217;s fun.')\">Our reel</Div>\r\nafter"},
      {"image and class argument",
       ".VI Class=Wide\r\nDon't miss\r\nImage=clip.jpg\r\nhttps://example.org/v.mp4\r\n",
       "<Img Class=\"ILink NoPrint Wide\" Id=Video0 Src=\"images/clip.jpg\" Alt=\"Click to play "
       "video\" OnClick=\"ShowVideo('https://example.org/v.mp4', 0, 'Don&#8217;t miss')\">"},
      {"numbered on the page",
       ".VI\r\nA\r\nH\r\nhttps://example.org/1\r\n.VI\r\nB\r\nH\r\nhttps://example.org/2\r\n",
       "<Div Class=\"VLink NoPrint\" Id=Video0 OnClick=\"ShowVideo('https://example.org/1', 0, "
       "'H')\">A</Div><Div Class=\"VLink NoPrint\" Id=Video1 "
       "OnClick=\"ShowVideo('https://example.org/2', 1, 'H')\">B</Div>"},
  });
  EXPECT_TRUE(videos.VideoUsed);
  const std::string start = ".VI\r\nClip\r\nHeading\r\nhttps://example.org/v\r\n";
  const TBuildResult longest = BuildBody(start + std::string(800 - 10, 'c') + "\r\n");
  EXPECT_FALSE(longest.aborted) << longest.LastMessage();
}

TEST_F(HeadingsTablesTest, VideoRefusals) {
  const std::string youtube = "https://www.youtube.com/";
  const std::string start = ".VI\r\nClip\r\nHeading\r\n";
  ExpectErrors({
      {"http", start + "http://example.org/v\r\n",
       "Clip\rMust use https or browser will not display the video!"},
      {"watch", start + youtube + "watch?v=abc\r\n",
       "Clip\rYou must use \"embed\" rather than \"watch\"."},
      {"embed?", start + youtube + "embed?abc\r\n",
       "Clip\r\"embed\" must be followed by \"/\" rather than \"?\".\rYou only need \"?\" if "
       "you're "
       "adding \"start=\" followed by a number."},
      {"t=", start + youtube + "embed/abc?t=30\r\n",
       "Clip\rYou need \"start=\" rather than \"t=\" and it mustn't be followed by \"s\" - it's "
       "always seconds."},
      {"v=", start + youtube + "embed/x?v=abc\r\n", "Clip\rRemove \"v=\""},
      {"end tag in the comment", start + "https://example.org/v\r\nSee <b>this</b>\r\n",
       "End of tag in .VI text for  Clip\rProbably missing .FS to terminate text."},
      // The heading, "<P>" and the comment make 801 characters.
      {"comment too long",
       start + "https://example.org/v\r\n" + std::string(801 - 10, 'c') + "\r\n",
       "Too much text in .VI text for  Clip\rProbably missing .FS to terminate text."},
  });
}

TEST_F(HeadingsTablesTest, SlideNotes) {
  ExpectErrors(
      {{"not a slide show", ".NO Title\r\nx\r\n", ".NO command is only for notes in slides."}});
  IsSlides = true;
  TBuildRun run;
  const TBuildResult result = BuildWithBody(
      run,
      "a\r\n.NO The \"first\" slide\r\nSay \"hello\" {twice} \\\\ and \\'e9t\\'e9.\r\nThen "
      "go.\r\n\r\nb");
  EXPECT_FALSE(result.aborted) << result.LastMessage();
  EXPECT_EQ(result.page, "a<P>\r\nb");
  EXPECT_EQ(run.SlideNotes,
            "\\qc The \"first\" slide\\fs40\r\\par\\pard \r\n\\par Say \"hello\" \\{twice\\} \\\\ "
            "and \\'e9t\\'e9.\r\n\\par Then go.\r\n\r\\par \r\n\\par====================\r\\par "
            "\r\\par \\fs60");
  // The notes file keeps the words.
  const std::string file =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
      "Calibri;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs60" +
      run.SlideNotes + "\r\n\\par }";
  const std::string text = RtfPlainText(ParseRtf(file));
  EXPECT_NE(text.find("Say \"hello\" {twice} \\ and \xe9t\xe9."), std::string::npos) << text;
  EXPECT_NE(text.find("Then go."), std::string::npos) << text;
}

}  // namespace
}  // namespace quorrel::test
