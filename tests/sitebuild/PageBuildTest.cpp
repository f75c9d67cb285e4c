// Whole masters built into pages on disk: page starts and bodies, the head and
// closing variants, output folders, rebuilding without rewriting, and the pages
// checked by real HTML checkers.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/BuildTestKit.h"
#include "sitebuild/PageCommands.h"
#include "sitebuild/PageEnd.h"
#include "support/MasterRtf.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

const char kMenu[] =
    "<Nav>\n<A Href=\"index.htm\">Home</A>\n<A Href=\"music.htm\">Music</A>\n</Nav>\n";

class PageBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentFolder = TestHome() + "site/";
    CurrentFileName = CurrentFolder + "master.rtf";
    fs::remove_all(CurrentFolder);
    fs::create_directories(CurrentFolder);
  }
  // Builds the master; the message that stopped it, "" when none did.
  // answer: the user's answer to a box with buttons (0 for none).
  std::string Build(const std::vector<std::string>& paragraphs, bool oneSection = false,
                    int answer = 0) {
    WriteFile(CurrentFileName, Master(paragraphs));
    Dialogs().Clear();
    if (answer != 0) Dialogs().Answer(answer);
    try {
      BuildPagesFromRtf(run, oneSection);
    } catch (const EAbort&) {
      const auto texts = Dialogs().Texts();
      return texts.empty() ? "?" : texts.back();
    }
    return "";
  }
  std::string Page(const std::string& name) { return ReadFile(CurrentFolder + name); }

  TBuildRun run;  // the last build's run
};

TEST_F(PageBuildTest, PlainPagesAreWrittenWhole) {
  ASSERT_EQ(
      Build({".PG one|First page", ".BO", "Hello", "", "world", ".PG two|Second", ".BO", "Bye"}),
      "");
  EXPECT_EQ(Page("one.htm"),
            "<!DOCTYPE HTML>\n<HTML>\n<Head>\n  <Title>First page</Title>\n</Head>\n<Body>\n"
            "\nHello<P>\nworld\n</Body>\n</HTML>");
  EXPECT_EQ(Page("two.htm"),
            "<!DOCTYPE HTML>\n<HTML>\n<Head>\n  <Title>Second</Title>\n</Head>\n<Body>\n"
            "\nBye\n</Body>\n</HTML>");
}

// The first page's extension is every page's.
TEST_F(PageBuildTest, FirstPageNamesTheExtension) {
  ASSERT_EQ(Build({".PG index.php|Home", ".BO", "x", ".PG other|Other", ".BO", "y"}), "");
  EXPECT_TRUE(fs::exists(CurrentFolder + "index.php"));
  EXPECT_TRUE(fs::exists(CurrentFolder + "other.php"));
  EXPECT_FALSE(fs::exists(CurrentFolder + "other.htm"));
  // An index page writes its own head.
  EXPECT_EQ(Page("index.php").substr(0, 24), "<!DOCTYPE HTML>\n<HTML>\n<");
}

TEST_F(PageBuildTest, PageCommandRefusals) {
  struct Case {
    std::vector<std::string> master;
    std::string message;
    int answer = 0;
  };
  const Case cases[] = {
      {{".PG one", ".BO", "x"}, ".PG command has less than 2 arguments:\r one", 2},
      {{".PG one|T", "x"}, "No .BO marker"},
      {{".PG one|T", ".BO", "\"open"}, "Missing quote near end."},
  };
  for (const Case& c : cases) {
    const std::string shown = Build(c.master, false, c.answer);
    EXPECT_NE(shown.find(c.message), std::string::npos) << shown;
    EXPECT_FALSE(fs::exists(CurrentFolder + "one.htm")) << c.message;
  }
}

TEST_F(PageBuildTest, SiteMenuPagesCarryTheSiteLayout) {
  WriteFile(CurrentFolder + "Menu.txt", kMenu);
  ASSERT_EQ(
      Build({".PG music|Songs & \"Tunes\"|Music", ".BO", "<H1 Id=Content>Songs</H1>", "Text"}), "");
  const std::string page = Page("music.htm");
  EXPECT_NE(page.find("<Link Rel=\"shortcut icon\" Href=\"/favicon.ico\">\n<Meta Name=viewport"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<script src=\"edecrypt.js\"></script>\n</Head>"), std::string::npos);
  EXPECT_NE(page.find("<Body>\n<A Class=Skip Href=\"#Content\">Skip to main content</A>\n"
                      "<Div Id=All>\n<Nav>\n<A Href=\"index.htm\">Home</A>\n"
                      "<A Href=\"music.htm\" Id=ThisMenu>Music</A>\n</Nav>\n<Div Id=Main>"),
            std::string::npos)
      << page;
  // The title is encoded in the link, so its quotes and "&" keep the attribute whole.
  EXPECT_NE(page.find("<a href=\"feedback.asp?Page=music&amp;Title=Songs%20%26%20%22Tunes%22\">"),
            std::string::npos)
      << page;
  EXPECT_EQ(page.substr(page.size() - 36), "</Div>\n</Div>\n</Div>\n</Body>\n</HTML>");
}

TEST_F(PageBuildTest, SiteMenuBodyRefusals) {
  WriteFile(CurrentFolder + "Menu.txt", kMenu);
  EXPECT_NE(Build({".PG a|T|Poems", ".BO", "<H1 Id=Content>x</H1>"})
                .find("The specified top-level menu (third argument to .PG) is Poems\rwhich does "
                      "not appear in\r<Nav>"),
            std::string::npos);
  EXPECT_NE(Build({".PG a|T", ".BO", "<H1>x</H1>"}).find("No .T1 or <H1 Id=Content>"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(CurrentFolder + "a.htm"));
}

TEST_F(PageBuildTest, ClosingMarkupVariants) {
  struct Case {
    const char* what;
    std::string pageName;
    size_t pageLength;
    bool siteMenu;
    std::string end;
  };
  const std::string siteEnd =
      "\n<Div Id=Up></Div>\n<Script>\nGetDate()\n</Script>\n</Div>\n</Div>\n</Div>\n</Body>\n"
      "</HTML>";
  const Case cases[] = {
      {"plain", "a", 10, false, "\n</Body>\n</HTML>"},
      {"short index", "index", 10, true, "\n</Div>\n</Div>\n</Body>\n</HTML>"},
      {"long index", "index", kShortIndexPage + 1, true, "\n<div Id=Feedback>" + siteEnd},
      {"other page", "a", 10, true,
       "\n<div Id=Feedback><a href=\"feedback.asp?Page=a&amp;Title=T\"><img "
       "src=\"images/Feedback.png\" alt=\"\" title=\"\"></a>" +
           siteEnd},
  };
  for (const Case& c : cases) {
    run.PageName = c.pageName;
    run.PageTitle = "T";
    run.SiteMenu = c.siteMenu ? kMenu : "";
    PageBuffer.assign(c.pageLength, 'x');
    EXPECT_EQ(ClosingMarkup(run), c.end) << c.what;
  }
}

TEST_F(PageBuildTest, FourthArgumentNamesTheOutputFolder) {
  fs::create_directories(CurrentFolder + "out/sub");
  // Backslashes are typed as Windows writes folders; RTF doubles them.
  ASSERT_EQ(Build({".PG a|T|Top|out\\\\sub\\\\..\\\\sub", ".BO", "x"}), "");
  EXPECT_TRUE(fs::exists(CurrentFolder + "out/sub/a.htm"));
  EXPECT_FALSE(fs::exists(CurrentFolder + "a.htm"));

  ASSERT_EQ(Build({".PG b|T|Top|PRINT", ".BO", "x"}), "");
  EXPECT_TRUE(run.PrintVersion);
  EXPECT_TRUE(fs::exists(CurrentFolder + "b.htm"));

  // A folder that is not there is reported, and nothing counts as built.
  const std::string shown = Build({".PG c|T|Top|missing", ".BO", "x"});
  EXPECT_NE(shown.find("Cannot write " + CurrentFolder + "missing/c.htm"), std::string::npos)
      << shown;
}

TEST_F(PageBuildTest, UnchangedRebuildKeepsFileTimes) {
  const std::vector<std::string> master = {".PG one|A", ".BO", "x", ".PG two|B", ".BO", "y"};
  ASSERT_EQ(Build(master), "");
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
  fs::last_write_time(CurrentFolder + "one.htm", old);
  fs::last_write_time(CurrentFolder + "two.htm", old);
  ASSERT_EQ(Build(master), "");
  EXPECT_EQ(fs::last_write_time(CurrentFolder + "one.htm"), old);
  EXPECT_EQ(fs::last_write_time(CurrentFolder + "two.htm"), old);
  ASSERT_EQ(Build({".PG one|A", ".BO", "x", ".PG two|B", ".BO", "z"}), "");
  EXPECT_EQ(fs::last_write_time(CurrentFolder + "one.htm"), old);
  EXPECT_NE(fs::last_write_time(CurrentFolder + "two.htm"), old);
}

// With "&Debug" a changed page leaves its old and new text for comparing.
TEST_F(PageBuildTest, DebugKeepsOldAndNewForComparing) {
  ASSERT_EQ(Build({".PG one|A", ".BO", "old"}), "");
  MainMenu().SetChecked("Debug", true);
  // A compare program that shows nothing.
  SettingsIni = std::make_unique<TIniFile>(TestHome() + "compare.ini");
  SettingsIni->WriteString("System", "ExamDiff", "true");
  ASSERT_EQ(Build({".PG one|A", ".BO", "new"}), "");
  SettingsIni.reset();
  EXPECT_NE(ReadFile(TempFolder() + "Old.htm").find("old"), std::string::npos);
  EXPECT_NE(ReadFile(TempFolder() + "New.htm").find("new"), std::string::npos);
}

// A slide show: every slide gets its body and main heading from the page command,
// the notes are kept for the notes file, and the slides link round the show.
TEST_F(PageBuildTest, SlideShowBuildsEverySlide) {
  IsSlides = true;
  const std::string shown = Build({".PG show|Our show|Slides", ".NO Opening", "Say {hello}.", "",
                                   "Welcome.", ".PG show01|The first slide", "One.", ".T2 Details",
                                   "More.", ".PG show02|Last one", ".TA Class=Grid", "A|B", "1|2"});
  IsSlides = false;
  ASSERT_EQ(shown, "");
  const std::string index = Page("show.htm");
  EXPECT_NE(index.find("<Body OnResize=\"Size()\">\n\n<H1>Our show</H1><P>"), std::string::npos)
      << index;
  EXPECT_NE(index.find("<A Href=\"show01.htm\">The first slide</A><Br>"), std::string::npos);
  EXPECT_NE(index.find("<Script>Arrows(\"show02\", \"show01\", \"index\")</Script>"),
            std::string::npos)
      << index;
  const std::string first = Page("show01.htm");
  EXPECT_NE(first.find("<H1>The first slide</H1>"), std::string::npos) << first;
  EXPECT_NE(first.find("<H2>Details</H2>"), std::string::npos) << first;
  EXPECT_NE(Page("show02.htm").find("<TH>A</TH><TH>B</TH>"), std::string::npos);
  EXPECT_NE(run.SlideNotes.find("\\par Say \\{hello\\}."), std::string::npos) << run.SlideNotes;
}

TEST_F(PageBuildTest, SectionMarkLinksShowTheirAddress) {
  std::string source = "x <A Href=\"https://example.com/songs/\">\\'a7</A> y";
  ShowLinkAddresses(source, 0);
  EXPECT_EQ(source, "x <A Href=\"https://example.com/songs/\">example.com/songs</A> y");
}

}  // namespace
}  // namespace quorrel::test
