// Dot-command lines on small master bodies: the command table with its lookup
// quirks, block modes and their lines, two-column tables, script and style blocks
// and the one-line commands, read back from the page buffer.
#include <gtest/gtest.h>

#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/BuildTestKit.h"
#include "support/ScriptedDialogs.h"

namespace quorrel::test {
namespace {

struct PageCase {
  const char* name;
  std::string body;
  std::string page;
};

void ExpectPages(const std::vector<PageCase>& cases) {
  for (const PageCase& c : cases) {
    const TBuildResult result = BuildBody(c.body);
    EXPECT_FALSE(result.aborted) << c.name << ": " << result.LastMessage();
    EXPECT_EQ(result.page, c.page) << c.name;
  }
}

// The block mode a command line leaves, and what it emits before the next line.
TEST(BlockCommandsTest, TablePositionsSwitchBlockModes) {
  struct Case {
    const char* line;
    int mode;
    std::string page;
  };
  const Case cases[] = {
      {".UC", kBlockMonospace, "<Div Class=Monospace>x\r\n<Br>\r\n"},  // 1
      {".UR", kBlockLines, "x\r\n<Br>\r\n"},                           // 4
      {".US", kBlockLines, "x\r\n<Br>\r\n"},                           // 7
      {".U+", kBlockMonospace, "<Div Class=Monospace>x\r\n<Br>\r\n"},  // 10
      {".U-", kBlockMonospace, "<Div Class=Monospace>x\r\n<Br>\r\n"},  // 13
      {".FS", kBlockNormal, "\r\nx"},                                  // 16
      {".FR", kBlockNormal, "\r\nx"},                                  // 19
      {".UT", kBlockMonospace, "<Div Class=Monospace>x\r\n<Br>\r\n"},  // 22
      {".FC", kBlockNormal, "\r\nx"},                                  // 25
      {".WW", kBlockCode, "<Code>x\r\n<Br>\r\n"},                      // 28
      {".CM anything", kBlockNormal, "x"},                             // 31
      {".-- anything", kBlockNormal, "x"},                             // 55
      {".ZI -r a.zip *.htm", kBlockNormal, "x"},                       // 61
      // The letters are looked up without regard to case.
      {".ur", kBlockLines, "x\r\n<Br>\r\n"},
      // A lone letter or a pair across two entries found among the block switches
      // is a monospace switch.
      {".C", kBlockMonospace, "<Div Class=Monospace>x\r\n<Br>\r\n"},
      {".S ", kBlockMonospace, "<Div Class=Monospace>x\r\n<Br>\r\n"},
      {".C U", kBlockMonospace, "<Div Class=Monospace>x\r\n<Br>\r\n"},
  };
  for (const Case& c : cases) {
    TBuildRun run;
    const TBuildResult result = BuildBody(run, std::string(c.line) + "\r\nx\r\n");
    EXPECT_FALSE(result.aborted) << c.line << ": " << result.LastMessage();
    EXPECT_EQ(run.BlockMode, c.mode) << c.line;
    EXPECT_EQ(result.page, c.page) << c.line;
  }
  TBuildRun archive;
  BuildBody(archive, ".ZI -r a.zip *.htm\r\nx\r\n");
  EXPECT_EQ(archive.ArchiveList, " -r a.zip *.htm");
}

// Every other entry of the table runs its command: seen in the page or in the
// message it stops with.
TEST(BlockCommandsTest, TablePositionsRunTheirCommands) {
  struct Case {
    const char* line;
    std::string seen;
    bool asks = false;  // shows a box the user answers
  };
  const Case cases[] = {
      {".OH", "<Table Class=Dance><TR><TD Class=W40>"},                    // 34
      {".T1 x", "<H1>x</H1>"},                                             // 37
      {".T2 x", "<H2>x</H2>"},                                             // 40
      {".T3 x", "<H3>x</H3>"},                                             // 43
      {".PG p", ".PG command has less than 2 arguments:", true},           // 46
      {".BS", "<script>"},                                                 // 49
      {".ES", "ES command must be preceded by BS command"},                // 52
      {".TA Class=T", "<Table Class=T>"},                                  // 58
      {".BY", "<Style>"},                                                  // 64
      {".EY", "EY command must be preceded by BY command"},                // 67
      {".BB", "Page does not contain any markers required by .BB", true},  // 70
      {".BO", "<Body>"},                                                   // 73
      {".DT", ".DT builds dance entries"},                                 // 76
      {".VI", ".VI needs a link text"},                                    // 79
      {".NO x", ".NO command is only for notes in slides."},               // 82
      {".SE x", "<Div Class=Section Id=x>x</Div>"},                        // 85
      {".DX a.htm|A", "<A Class=Other Href=\"a.htm\">A</A>"},              // 88
      {".HR", "<Img Src=\"images/HR.png\""},                               // 91
      {".ME none.htm", "Cannot read the menu file"},                       // 94
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    if (c.asks) Dialogs().Answer(mrCancel);
    const TBuildResult result = BuildBody(std::string(c.line) + "\r\nrow\r\n");
    const std::string seen = result.page + "\n" + result.LastMessage();
    EXPECT_NE(seen.find(c.seen), std::string::npos) << c.line << ": " << seen;
    EXPECT_EQ(seen.find("Unknown marker"), std::string::npos) << c.line;
  }
}

TEST(BlockCommandsTest, LookupRefusals) {
  ExpectErrors({
      {"unknown letters", "a\r\n.XY\r\n", "Unknown marker .XY"},
      // Found in the table, but across two entries past the block switches.
      {"pair across entries", "a\r\n.1 \r\n", "Unknown marker .1 "},
      {"blank after T", "a\r\n.O \r\n", "Unknown marker .O "},
      {"lone dot", "a\r\n.\r\n", "Extraneous dot!"},
      {"dance table", "a\r\n.DT Jigs\r\n",
       ".DT builds dance entries from the tune list of one particular site, which this program "
       "does not have. Remove the .DT lines or write the entries as page text."},
  });
}

TEST(BlockCommandsTest, BlockSwitchesCloseWhatWasOpen) {
  ExpectPages({
      {"monospace to normal", ".UC\r\na\r\n.FS\r\nb",
       "<Div Class=Monospace>a\r\n<Br>\r\n</Div><P>\r\nb"},
      // Between two blocks no line end is left over to become a block line.
      {"monospace to lines", ".UC\r\na\r\n.UR\r\nb\r\n.FS\r\nc",
       "<Div Class=Monospace>a\r\n<Br>\r\n</Div>b\r\n<Br>\r\n\r\nc"},
      {"lines to monospace", ".UR\r\na\r\n.UT\r\nb\r\n.FS\r\nc",
       "a\r\n<Br>\r\n<Div Class=Monospace>b\r\n<Br>\r\n</Div><P>\r\nc"},
      // Closing before opening keeps the tags nested.
      {"code to monospace", ".WW\r\na\r\n.FS\r\n.UC\r\nb\r\n.FS\r\nc",
       "<Code>a\r\n</Code><Div Class=Monospace>b\r\n<Br>\r\n</Div><P>\r\nc"},
      {"table to monospace", ".OH\r\na\\tab b\r\n.UC\r\nc\r\n.FS\r\n",
       "<Table Class=Dance><TR><TD Class=W40>\r\na </TD><TD>b</TD></TR></Table><Div "
       "Class=Monospace>c\r\n<Br>\r\n</Div><P>\r\n"},
      {"two-column table closed", ".OH\r\na\\tab b\r\n.UR\r\nc\r\n.FS\r\n",
       "<Table Class=Dance><TR><TD Class=W40>\r\na </TD><TD>b</TD></TR></Table>c\r\n<Br>\r\n"},
  });
}

TEST(BlockCommandsTest, BlockLines) {
  ExpectPages({
      {"blanks at the start and after blanks", ".UR\r\n  a  b c\r\n.FS\r\n",
       "&nbsp;&nbsp;a &nbsp;b c\r\n<Br>\r\n"},
      {"dashes between blanks and at the end", ".UR\r\na - b - c -\r\n.FS\r\n",
       "a &#45; b &#45; c &#45;\r\n<Br>\r\n"},
      {"dash inside a word stays", ".UR\r\nwell-known -x\r\n.FS\r\n", "well-known -x\r\n<Br>\r\n"},
      {"list tags break their own lines", ".UR\r\n<UL>\r\n<li>one</li>\r\n</UL>\r\n.FS\r\n",
       "<UL>\r\n<li>one</li>\r\n</UL>\r\n"},
      {"a list tag with text after it is a line", ".UR\r\n<LI>one</LI> more\r\n.FS\r\n",
       "<LI>one</LI> more\r\n<Br>\r\n"},
      {"empty line", ".UR\r\na\r\n\r\nb\r\n.FS\r\n", "a\r\n<Br>\r\n\r\n<Br>\r\nb\r\n<Br>\r\n"},
      {"formatting translated", ".UR\r\n\\b x\\b0  \\'e9\r\n.FS\r\n",
       "<b>x</b> &eacute;\r\n<Br>\r\n"},
      // In a code block markup shows as typed; "&#" is already a reference.
      {"code escapes", ".WW\r\n<a href=\"x\">&amp; &#38;</a>\r\n.FS\r\n",
       "<Code>&#60;a href=&quot;x&quot;&#62;&#38;amp; &#38;&#60;/a&#62;\r\n</Code>"},
      // Only .FS ends a code block: other command lines are code.
      {".FS ends a code block and takes its last break", ".WW\r\na<b>\r\n.PG x|y\r\n.FS\r\nafter",
       "<Code>a&#60;b&#62;\r\n<Br>\r\n.PG x|y\r\n</Code>\r\nafter"},
      {"code ending on a list line keeps it whole", ".WW\r\nx\r\n<LI>item</LI>\r\n.FS\r\n",
       "<Code>x\r\n<Br>\r\n&#60;LI&#62;item&#60;/LI&#62;\r\n</Code>"},
      {"code block with no lines", ".WW\r\n.FS\r\n", "<Code></Code>"},
  });
}

TEST(BlockCommandsTest, LineEndsAndTheLineStartFlag) {
  ExpectPages({
      // The run's first line end emits nothing.
      {"first line", "a\r\nb", "a\r\nb"},
      {"after a normal switch", "a\r\n.FS\r\nb", "a\r\nb"},
      {"paragraph", "a\r\n\r\nb", "a<P>\r\nb"},
  });
  // A heading hidden by its command swallows the lines up to the next command.
  const TBuildResult hidden = BuildBody("hidden\r\n\r\nmore\r\n.CM\r\nb", [](TBuildRun& run) {
    run.LineStartFlag = false;
    run.SuppressOutput = true;
  });
  EXPECT_EQ(hidden.page, "\r\nb");
  ExpectErrors(
      {{"zero at a line start", std::string("a\r\n\0b", 5), "Internal error: Pch is null."}});
}

TEST(BlockCommandsTest, OpenQuoteStopsASwitch) {
  const TBuildResult result = BuildWithBody("\"open\r\n.UR\r\nx");
  EXPECT_TRUE(result.aborted);
  EXPECT_EQ(ErrorOf(result.LastMessage()), "Still in \"quotes\".");
}

TEST(BlockCommandsTest, TwoColumnTableRows) {
  ExpectPages({
      {"bordered with an argument", ".OH x\r\na\\tab b\r\n.FS\r\n",
       "<Table Class=Dance Border=1 BorderColor=Green BgColor=CornSilk Rules=All><TR><TD "
       "Class=W40>\r\na </TD><TD>b\r\n</TD></TR></Table>"},
      {"rows by paragraph", ".OH\r\na\\tab b\r\nb2\r\n\r\nc\\tab d\r\n.FS\r\n",
       "<Table Class=Dance><TR><TD Class=W40>\r\na </TD><TD>b\r\nb2</TD></TR><TR><TD>\r\nc "
       "</TD><TD>d\r\n</TD></TR></Table>"},
      // A row without a tab spans both columns; the first row, opened by the
      // command, gets an empty second cell instead.
      {"rows without a tab", ".OH\r\nfirst\r\n\r\nwhole row\r\n\r\nc\\tab d\r\n.FS\r\n",
       "<Table Class=Dance><TR><TD Class=W40>\r\nfirst</TD><TD></TD></TR><TR><TD ColSpan=2>\r\n"
       "whole row</TD></TR><TR><TD>\r\nc </TD><TD>d\r\n</TD></TR></Table>"},
      {"later tabs of a row are blanks", ".OH\r\na\\tab b\\tab c\r\n.FS\r\n",
       "<Table Class=Dance><TR><TD Class=W40>\r\na </TD><TD>b &nbsp; c\r\n</TD></TR></Table>"},
      // A tab past the 50th character does not split the row.
      {"late tab", ".OH\r\na\\tab b\r\n\r\n" + std::string(50, 'x') + "\\tab y\r\n.FS\r\n",
       "<Table Class=Dance><TR><TD Class=W40>\r\na </TD><TD>b</TD></TR><TR><TD ColSpan=2>\r\n" +
           std::string(50, 'x') + " &nbsp; y\r\n</TD></TR></Table>"},
      {"closed by .FR", ".OH\r\na\\tab b\r\n.FR\r\nc",
       "<Table Class=Dance><TR><TD Class=W40>\r\na </TD><TD>b\r\n</TD></TR></Table>\r\nc"},
  });
}

TEST(BlockCommandsTest, TwoColumnTableRefusals) {
  ExpectErrors({
      {"nested", ".OH\r\na\\tab b\r\n.OH\r\n", "Nested .OH markers"},
      {"outside normal text", ".UR\r\n.OH\r\n", "Must be in .fs mode for .oh"},
      {"command after an empty line", ".OH\r\na\\tab b\r\n\r\n.CM note here\r\nmore",
       "Remove blank line before command starting\r.CM note here\r\nmore\rwithin .oh section"},
      {"another table after an empty line", ".OH\r\na\\tab b\r\n\r\n.OH\r\nx",
       "This is within another .OH command.\r.OH\r\nx"},
      {".FS right after .OH", ".OH\r\n\r\n.FS\r\n", "You need something between .OH and .FS"},
      {".FS after a row and an empty line", ".OH\r\nsome row text\r\n\r\n.FS\r\n",
       "Remove blank line before command starting\r.FS\r\n\rwithin .oh section"},
  });
  const TBuildResult quoted = BuildWithBody("\"open\r\n.OH\r\n");
  EXPECT_EQ(ErrorOf(quoted.LastMessage()), "Still in \"quotes\".");
}

TEST(BlockCommandsTest, ScriptAndStyleBlocks) {
  ExpectPages({
      {"script", "a\r\n.BS\r\nif (a < b) \\{ x = \"\\\\n\"; \\}\r\n.ES\r\nb",
       "a\r\n<script>\r\nif (a < b) { x = \"\\n\"; }\r\n</Script>\r\nb"},
      // A style block is raw text too: its braces and quotes stay.
      {"style", "a\r\n.BY\r\np \\{ font-family: \"X\"; \\}\r\n.EY\r\nb",
       "a\r\n<Style>\r\np { font-family: \"X\"; }\r\n</Style>\r\nb"},
  });
  ExpectErrors({
      {"two BS", ".BS\r\n.BS\r\n", "Two BS commands without an intervening ES command"},
      {"two BY", ".BY\r\n.BY\r\n", "Two BY commands without an intervening EY command"},
      {"ES alone", "a\r\n.ES\r\n", "ES command must be preceded by BS command"},
      {"EY alone", "a\r\n.EY\r\n", "EY command must be preceded by BY command"},
      {"BS ended by EY", ".BS\r\nx\r\n.EY\r\n",
       "A block started with .BS cannot be ended with .EY - end it with .ES."},
      {"BY ended by ES", ".BY\r\nx\r\n.ES\r\n",
       "A block started with .BY cannot be ended with .ES - end it with .EY."},
      {"BS inside BY", ".BY\r\nx\r\n.BS\r\n",
       "A block started with .BY must be ended with .EY before .BS."},
  });
}

TEST(BlockCommandsTest, SectionsAndRules) {
  ExpectPages({
      {"section", "a\r\n.SE Folk dances\r\nb",
       "a<P><Img Src=\"images/Line.gif\" Alt=\"\" Class=Wide><Br><Div Class=Section "
       "Id=Folk>Folk dances</Div><P>\r\nb"},
      {"rule", "a\r\n.HR\r\nb", "a<Br><Img Src=\"images/HR.png\" Alt=\"\" Class=C><Br>\r\nb"},
      // The rule is pushed last and so read first: it stands above the title.
      {"rule with a title", "a\r\n.HR Second half\r\nb",
       "a<Br><Img Src=\"images/HR.png\" Alt=\"\" Class=C><Br><Div Class=\"Section C\" "
       "Id=Second_half>Second half</Div>\r\nb"},
  });
}

}  // namespace
}  // namespace quorrel::test
