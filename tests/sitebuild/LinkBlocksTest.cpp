// Link blocks over a page's markers and a site's masters, links to other pages and
// page menus cut from a menu file: small master bodies read back from the page
// buffer, and whole pages checked by tidy.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/Abort.h"
#include "shell/Hooks.h"
#include "shell/ProgUnit.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/BuildTestKit.h"
#include "sitebuild/LinkBlock.h"
#include "sitebuild/LinkTextWidth.h"
#include "sitebuild/PageMenu.h"
#include "support/Installed.h"
#include "support/MasterRtf.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

const std::string kLine = "<Img Src=\"images/Line.gif\" Alt=\"\" Class=Wide><Br>";

// A fixed advance table: "M" is ten pixels wide, "i" one, every other character five.
double FixedWidth(const std::string& text) {
  double width = 0;
  for (const char ch : text) width += ch == 'M' ? 10 : ch == 'i' ? 1 : 5;
  return width;
}

class LinkBlocksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentFolder = TestHome() + "site/";
    CurrentFileName = CurrentFolder + "master.rtf";
    fs::remove_all(CurrentFolder);
    fs::create_directories(CurrentFolder);
    SetLinkTextWidth(FixedWidth);
    Dialogs().Clear();
  }
  void TearDown() override {
    SetLinkTextWidth({});
    CurrentText.clear();
  }
};

const std::string kDances =
    "a\r\n.BB%s\r\n.T2 Reels\r\nr\r\n.T2 !Secret\r\ns\r\n.T2 The Dashing White Sergeant\r\nd\r\n"
    ".T3 A jig\r\n";

std::string Dances(const std::string& options) {
  std::string body = kDances;
  return body.replace(body.find("%s"), 2, options);
}

// After the block, a "!" section is hidden unless the block asked for all entries.
TEST_F(LinkBlocksTest, LinkBlockOverSectionHeadings) {
  const TBuildResult plain = BuildBody(Dances(""));
  EXPECT_FALSE(plain.aborted) << plain.LastMessage();
  EXPECT_EQ(plain.page,
            "a<Div Class=BBlock><A Href=\"#The_Dashing_White_Sergeant\"><Small>The "
            "</Small>Dashing White Sergeant</A><A Href=\"#Reels\">Reels</A></Div>" +
                kLine + "<H2 Id=Reels>Reels</H2><P>\r\nr" + kLine +
                "<H2 Id=The_Dashing_White_Sergeant>The Dashing White Sergeant&nbsp; &nbsp;<Img "
                "Src=\"images/Top.gif\" Alt=\"Top of page\" OnClick=\"Top()\"></H2><P>\r\nd\r\n"
                "<H3>A jig</H3>");

  Dialogs().Answer(mrNo);
  const TBuildResult all = BuildBody(Dances(" A"));
  EXPECT_FALSE(all.aborted) << all.LastMessage();
  EXPECT_EQ(Dialogs().Calls().front().text, "Show list of names?");
  EXPECT_NE(all.page.find("<A Href=\"#Secret\">Secret</A></Div>"), std::string::npos) << all.page;
  EXPECT_NE(all.page.find("<H2 Id=Secret>Secret"), std::string::npos) << all.page;
  EXPECT_NE(all.page.find("</H2><P>\r\ns"), std::string::npos) << all.page;
}

TEST_F(LinkBlocksTest, MarkerLists) {
  struct Case {
    const char* name;
    std::string body;
    std::string block;
  };
  const Case cases[] = {
      {"T3 markers", "a\r\n.BB 3\r\n.T2 Zed\r\n.T3 Le Bal|bal\r\n.T3 Allemande\r\n",
       "<A Href=\"#Allemande\">Allemande</A><A Href=\"#bal\"><Small>Le </Small>Bal</A>"},
      {"unsorted", "a\r\n.BB 2U\r\n.T2 Zed\r\n.T2 Die Alte\r\n",
       "<A Href=\"#Zed\">Zed</A><A Href=\"#Die_Alte\"><Small>Die </Small>Alte</A>"},
      {"hidden heading left out", "a\r\n.BB\r\n.T2 Hide\r\n.T2 Reel\r\n",
       "<A Href=\"#Reel\">Reel</A>"},
      {"anchor ends at a bar or colon", "a\r\n.BB\r\n.T2 Reel|reel:x\r\n",
       "<A Href=\"#reel\">Reel</A>"},
      {"group breaks", "a\r\n.BB U\r\n.T2 Reels|*reels\r\n.T2 Jigs|*jigs\r\n",
       "<Br Class=Clear><HR><P><A Href=\"#reels\">Reels</A><Br Class=Clear><HR><P><A "
       "Href=\"#jigs\">Jigs</A>"},
      {"accented letter", "a\r\n.BB\r\n.T2 Caf\\'e9|cafe\r\n", "<A Href=\"#cafe\">Caf&eacute;</A>"},
      {"links to other pages first", "a\r\n.BB\r\n.DX x.htm|X|y.htm|Y\r\n.T2 R\r\n",
       "<A Href=\"#R\">R</A>"},
  };
  for (const Case& c : cases) {
    const TBuildResult result = BuildBody(c.body);
    const size_t start = result.page.find("<Div Class=BBlock>");
    ASSERT_NE(start, std::string::npos) << c.name << ": " << result.LastMessage();
    const size_t end = result.page.find("</Div>", start);
    EXPECT_EQ(result.page.substr(start + 18, end - start - 18), c.block) << c.name;
  }
  const TBuildResult other = BuildBody("a\r\n.BB\r\n.DX x.htm|X|y.htm|Y\r\n.T2 R\r\n");
  EXPECT_NE(other.page.find("a<P><B>Links to dances on other pages</B><P><Div Class=XBlock><A "
                            "Href=\"x.htm\">X</A><A Href=\"y.htm\">Y</A></Div><Br "
                            "Class=Clear><Div Class=BBlock>"),
            std::string::npos)
      << other.page;
  EXPECT_NE(other.page.find("<P><A Class=Other Href=\"x.htm\">X</A>&nbsp;&nbsp;<A Class=Other "
                            "Href=\"y.htm\">Y</A>&nbsp;&nbsp;"),
            std::string::npos)
      << other.page;
}

TEST_F(LinkBlocksTest, LinkBlockRefusals) {
  struct Case {
    const char* name;
    std::string body;
    std::string error;
  };
  const Case cases[] = {
      {"marker without text", "abc\r\n.BB\r\n.T2\r\n",
       "No text in marker at offset 11 following:\rabc\r\n.BB\r\n"},
      {"marker text after two blanks", "a\r\n.BB\r\n.T2  Reel\r\n", " Reel starts with a space."},
      {"other pages without a bar", "a\r\n.BB\r\n.DX x.htm\r\n.T2 R\r\n",
       "You must separate elements by \"|\":\r.DX x.htm"},
      {"odd other pages", "a\r\n.BB\r\n.DX x.htm|X|y.htm\r\n.T2 R\r\n",
       "Odd number of elements in\r.DX x.htm|X|y.htm"},
      {"end of link in other pages", "a\r\n.DX x.htm|<A>X</A>\r\n",
       ".dx cannot contain </A>\r x.htm|<A>X</A>"},
  };
  for (const Case& c : cases) {
    const TBuildResult result = BuildBody(c.body);
    EXPECT_TRUE(result.aborted) << c.name;
    EXPECT_EQ(ErrorOf(result.LastMessage()), c.error) << c.name;
  }
  Dialogs().Clear();
  Dialogs().Answer(mrCancel);
  const TBuildResult none = BuildBody("a\r\n.BB 2\r\n.T3 x\r\n");
  EXPECT_TRUE(none.aborted);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "Page does not contain any markers required by .BB2");
  EXPECT_EQ(Dialogs().Last().helpContext, kLinkBlockHelp);
}

TEST_F(LinkBlocksTest, ListOfNamesOpensAsText) {
  std::string opened;
  OpenBySenderHook.Set([&](const std::string& sender) { opened = sender; });
  Dialogs().Answer(mrYes);
  const TBuildResult result = BuildBody(Dances("A"));
  OpenBySenderHook.Set({});
  EXPECT_TRUE(result.aborted);
  EXPECT_EQ(opened, "NewTXT");
}

// Texts at 239, 240 and 241 pixels with the fixed table.
TEST_F(LinkBlocksTest, WideLinkTextsAreShortened) {
  const std::string fits = std::string(23, 'M') + std::string(9, 'i');
  const std::string exact = std::string(24, 'M');
  const std::string wide = exact + "i";
  EXPECT_EQ(ShownLinkText(fits), fits);
  EXPECT_EQ(ShownLinkText(exact), exact);
  // "... " takes 20 pixels, so the start that fits is 220 pixels wide.
  EXPECT_EQ(ShownLinkText(wide), std::string(22, 'M') + "&hellip;<TT>" + wide + "</TT>");
  EXPECT_EQ(ShownLinkText("The " + exact),
            "<Small>The </Small>" + std::string(20, 'M') + "&hellip;<TT>The " + exact + "</TT>");
}

// "*": the pages of this master and of the masters the arguments name.
TEST_F(LinkBlocksTest, PagesOfSeveralMasters) {
  WriteFile(CurrentFolder + "Second.rtf",
            Master({".PG waltz|Waltz", ".BO",
                    ".T1 Waltzes, slow and fast, from many lands and times, old and new",
                    ".PG polka|Polka", ".BO", ".T1 Polkas|NoSpace"}));
  WriteFile(CurrentFolder + "third.txt", ".PG air|Airs\r\n.BO\r\n.T1 Airs\r\n");
  CurrentText = ".PG index|Home\r\n.BO\r\n.T1 Home page\r\n.BB *|second.rtf|sub\\..\\third.txt\r\n";
  const TBuildResult result = BuildBody(".BB *|second.rtf|sub\\\\..\\\\third.txt\r\n");
  EXPECT_FALSE(result.aborted) << result.LastMessage();
  EXPECT_EQ(result.page,
            "<Div Class=XBlock><A Href=\"air.htm\">Airs</A><A Href=\"index.htm\">Home page</A><A "
            "Href=\"polka.htm\">Polkas</A><A Href=\"waltz.htm\">Waltzes, slow and fast, from "
            "many lands and times</A></Div>");

  WriteFile(CurrentFolder + "third.txt",
            ".PG air|Airs\r\n.BO\r\nNo heading\r\n.PG b|B\r\n.T1 B\r\n");
  Dialogs().Answer(mrCancel);
  const TBuildResult missing = BuildBody(".BB *|third.txt\r\n");
  EXPECT_TRUE(missing.aborted);
  EXPECT_EQ(Dialogs().Last().text, ".T1 not found after offset 1");
  EXPECT_EQ(Dialogs().Last().helpContext, kMissingMainHeadingHelp);

  WriteFile(CurrentFolder + "third.txt", ".PG air|Airs\r\n.T1\r\n");
  const TBuildResult empty = BuildBody(".BB *|third.txt\r\n");
  EXPECT_EQ(ErrorOf(empty.LastMessage()),
            "air\r.T1 must have a value when referred to by .BB command.");
}

// The left menu of Node.js's "File system" page.
std::string NodeMenu() {
  const std::string page = InstalledFile("/usr/share/doc/nodejs/api/fs.html", "nodejs");
  const size_t column = page.find("id=\"column2\"");
  const size_t start = page.find("<ul>", column);
  const size_t end = page.rfind("</ul>", page.find("id=\"column1\"")) + 5;
  return "<Nav>\n" + page.substr(start, end - start) + "\n</Nav>";
}

// The menu as it reaches the page: empty lines collapsed.
std::string WithoutEmptyLines(std::string text) {
  for (size_t at = text.find("\n\n"); at != std::string::npos; at = text.find("\n\n", at)) {
    text.erase(at, 1);
  }
  return text;
}

TEST_F(LinkBlocksTest, PageMenuMarksThisPage) {
  std::string nav = NodeMenu();
  ASSERT_GT(nav.size(), 1000u);
  nav.insert(nav.find("</ul>\n") + 6, "\n\n");  // empty lines, whatever the version has
  WriteFile(CurrentFolder + "Menus/left.htm", "<p>before</p>\n" + nav + "\n<p>after</p>\n");
  const TBuildResult result =
      BuildBody(".ME menus\\\\left.htm\r\n", [](TBuildRun& run) { run.PageName = "fs"; });
  EXPECT_FALSE(result.aborted) << result.LastMessage();
  std::string expected = WithoutEmptyLines(nav);
  expected.insert(expected.find("href=\"fs.html\"") + 14, " Class=ThisMenu");
  EXPECT_EQ(result.page, expected);

  TBuildRun absentRun;
  const TBuildResult absent = BuildBody(absentRun, ".ME menus/left.htm\r\n",
                                        [](TBuildRun& run) { run.PageName = "nothere"; });
  EXPECT_EQ(absent.page, WithoutEmptyLines(nav));
  EXPECT_NE(absentRun.PossibleErrors.find("Page nothere has no link in the menu"),
            std::string::npos);
}

// A page missing from its menu is built, and the warning is shown for reading.
TEST_F(LinkBlocksTest, PageMissingFromTheMenuIsWarnedAbout) {
  WriteFile(CurrentFolder + "menu.htm", "<Nav><a href=\"a.htm\">A</a></Nav>");
  WriteFile(CurrentFileName, Master({".PG b|B", ".BO", ".ME menu.htm", "Text"}));
  WarningsView view;
  SetProgressView(&view);
  TBuildRun run;
  try {
    BuildPagesFromRtf(run, false);
  } catch (const EAbort&) {
    ADD_FAILURE() << Dialogs().Last().text;
  }
  SetProgressView(nullptr);
  EXPECT_NE(ReadFile(CurrentFolder + "b.htm").find("<Nav><a href=\"a.htm\">A</a></Nav>"),
            std::string::npos);
  EXPECT_EQ(view.caption, "Possible errors");
  ASSERT_FALSE(view.lines.empty());
  EXPECT_EQ(view.lines[0], "Page b has no link in the menu " + CurrentFolder +
                               "menu.htm, so no menu entry is marked as this page's.");
  EXPECT_TRUE(view.printed.empty());
}

TEST_F(LinkBlocksTest, PageMenuEdits) {
  bool marked = false;
  EXPECT_EQ(MarkedMenu("x<Nav>\n<a href=\"a.htm\" Class=ThisMenu>A</a>\n\n\n<a "
                       "href='sub/b.htm'>B</a>\n</Nav>y",
                       "b", marked),
            "<Nav>\n<a href=\"a.htm\">A</a>\n<a href='sub/b.htm'>B</a>\n</Nav>");
  // The page's name standing inside a longer name is not its link; the quote that
  // follows the name is.
  EXPECT_FALSE(marked);
  EXPECT_EQ(MarkedMenu("<Nav><a href=\"xb.htm\">X</a><a href=\"b.htm\">B</a></Nav>", "b", marked),
            "<Nav><a href=\"xb.htm\">X</a><a href=\"b.htm\" Class=ThisMenu>B</a></Nav>");
  EXPECT_TRUE(marked);

  WriteFile(CurrentFolder + "plain.htm", "<ul><li>x</li></ul>");
  EXPECT_EQ(ErrorOf(BuildBody(".ME plain.htm\r\n").LastMessage()),
            "The menu file " + CurrentFolder + "plain.htm has no \"<Nav\" ... \"</Nav>\" block.");
  EXPECT_EQ(ErrorOf(BuildBody(".ME gone.htm\r\n").LastMessage()),
            "Cannot read the menu file " + CurrentFolder + "gone.htm");
}

TEST_F(LinkBlocksTest, PagesWithLinkBlocksPassTidy) {
  ASSERT_TRUE(Installed("/usr/bin/tidy", "tidy"));
  WriteFile(CurrentFolder + "menu.htm", NodeMenu());
  WriteFile(CurrentFileName,
            Master({".PG fs|Files", ".BO", ".ME menu.htm", "<H1>Files</H1>", ".BB",
                    ".DX other.htm|Other dances|more.htm|More", ".T2 The Reel", "Reel text.",
                    ".T2 !Hidden", "Hidden text.", ".T2 A \\'e9t\\'e9 jig|jig", "Jig text."}));
  TBuildRun run;
  try {
    BuildPagesFromRtf(run, false);
  } catch (const EAbort&) {
    FAIL() << Dialogs().Last().text;
  }
  const std::string page = CurrentFolder + "fs.htm";
  ASSERT_TRUE(fs::exists(page));
  EXPECT_EQ(ReadFile(page).find("Hidden text."), std::string::npos);
  const std::string tidy = CheckerComplaints({"tidy", "-q", "-e"}, page);
  EXPECT_EQ(tidy.find("Error:"), std::string::npos) << tidy << ReadFile(page);
}

}  // namespace
}  // namespace quorrel::test
