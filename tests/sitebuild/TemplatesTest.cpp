// Template instance pages and library items regenerated from real files in a
// temporary site shaped like the pages web-design editors write: the template path
// followed by a further attribute, comments whose paths differ in letter case from
// the files, pages at depths 0, 1 and 2.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/Abort.h"
#include "shell/FastStrings.h"
#include "sitebuild/Templates.h"
#include "support/ScriptedDialogs.h"
#include "support/TemplatePages.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

class TemplatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = TestHome() + "tsite/";
    fs::remove_all(site);
    Write("Templates/main.dwt", TemplateText);
    Write("Library/Nav.lbi", NavItemText);
  }
  void TearDown() override { fs::remove_all(site); }
  void Write(const std::string& name, const std::string& text) {
    fs::create_directories(fs::path(site + name).parent_path());
    std::ofstream(site + name, std::ios::binary) << text;
  }
  // The message that stopped a run, without the blanks that centre it.
  static std::string Stopped(const std::function<void()>& run) {
    try {
      run();
    } catch (const EAbort&) {
      std::string text = Dialogs().Last().text;
      text.erase(0, text.find_first_not_of(' '));
      text.erase(text.find_last_not_of(' ') + 1);
      return text;
    }
    return "(not stopped)";
  }
  std::string site;
};

TEST_F(TemplatesTest, AnInstancePageIsRebuiltFromItsTemplateKeepingItsRegions) {
  const TRegenResult result =
      RegeneratePage(InstancePage("About us", "<p>Our story</p>"), site, 1, TRegenMode::Full);
  EXPECT_EQ(result.regionError, "");
  EXPECT_EQ(result.text,
            "<!DOCTYPE html>\n"
            "<html>\n"
            "<!-- InstanceBegin template=\"/templates/Main.dwt\" "
            "codeOutsideHTMLIsLocked=\"false\" -->\n"
            "<head>\n"
            "<!-- InstanceBeginEditable name=\"doctitle\" -->\n"
            "<title>About us</title>\n"
            "<!-- InstanceEndEditable -->\n"
            "<link href=\"../css/site.css\" rel=\"stylesheet\">\n"
            "</head>\n"
            "<body>\n"
            "<!-- #BeginLibraryItem \"/LIBRARY/nav.lbi\" -->"
            "<nav><a href=\"../index.htm\">Home</a></nav>\n"
            "<!-- #EndLibraryItem -->\n"
            "<!-- InstanceBeginEditable name=\"main\" -->\n"
            "<p>Our story</p>\n"
            "<!-- InstanceEndEditable -->\n"
            "</body>\n"
            "<!-- InstanceEnd -->\n"
            "</html>\n");
  // Once regenerated, a page stays as it is.
  EXPECT_EQ(RegeneratePage(result.text, site, 1, TRegenMode::Full).text, result.text);
}

TEST_F(TemplatesTest, ParentLinksFollowThePagesDepth) {
  struct Case {
    int depth;
    const char* css;  // the template's link
    const char* nav;  // the library item's link
  } cases[] = {
      // In the root the template loses its "../", while library items keep theirs.
      {0, "href=\"css/site.css\"", "href=\"../index.htm\""},
      {1, "href=\"../css/site.css\"", "href=\"../index.htm\""},
      {2, "href=\"../../css/site.css\"", "href=\"../../index.htm\""},
      {3, "href=\"../../../css/site.css\"", "href=\"../../../index.htm\""},
  };
  for (const Case& c : cases) {
    const std::string text =
        RegeneratePage(InstancePage("t", "<p>x</p>"), site, c.depth, TRegenMode::Full).text;
    EXPECT_NE(text.find(c.css), std::string::npos) << c.depth << "\n" << text;
    EXPECT_NE(text.find(c.nav), std::string::npos) << c.depth << "\n" << text;
  }
}

TEST_F(TemplatesTest, APageThatIsNoInstance) {
  const std::string page =
      "<html>\n<head><title>x</title></head>\n<body>\n"
      "<!-- #BeginLibraryItem \"/Library/nav.lbi\" -->stale<!-- #EndLibraryItem -->\n"
      "</body>\n</html>\n";
  // Regenerating leaves it as it is; refreshing fills its items and adds no
  // template comment.
  EXPECT_EQ(RegeneratePage(page, site, 2, TRegenMode::Full).text, page);
  EXPECT_EQ(RegeneratePage(page, site, 2, TRegenMode::LibraryOnly).text,
            "<html>\n<head><title>x</title></head>\n<body>\n"
            "<!-- #BeginLibraryItem \"/Library/nav.lbi\" -->"
            "<nav><a href=\"../../index.htm\">Home</a></nav>\n<!-- #EndLibraryItem -->\n"
            "</body>\n</html>\n");
}

TEST_F(TemplatesTest, RefreshingLeavesTheTemplateAlone) {
  const std::string page = InstancePage("t", "<p>x</p>");
  const std::string text = RegeneratePage(page, site, 1, TRegenMode::LibraryOnly).text;
  EXPECT_NE(text.find("<p>old layout</p>"), std::string::npos);
  EXPECT_EQ(text, page);  // no item in it, its end comment already there
}

TEST_F(TemplatesTest, ARegionThatCannotBeMergedLeavesThePageAsItWas) {
  struct Case {
    const char* name;
    std::string templateText;
    std::string page;
    std::string error;
  } cases[] = {
      {"close quote",
       ReplaceAll(TemplateText, "name=\"main\" -->", "name=\"main -->", true),
       InstancePage("t", "x"), "No close quote in main -->"},
      {"page region missing", TemplateText,
       ReplaceAll(InstancePage("t", "x"), "name=\"main\"", "name=\"body\"", true),
       "No InstanceBeginEditable for main"},
      {"page region end missing", TemplateText,
       ReplaceAll(InstancePage("t", "x"), "x\n<!-- InstanceEndEditable -->", "x\n", true),
       "No end for main"},
      {"template region end missing",
       ReplaceAll(TemplateText, "<p>Content goes here</p>\n<!-- TemplateEndEditable -->",
                  "<p>Content goes here</p>", true),
       InstancePage("t", "x"), "No end for main\rin Template."},
  };
  for (const Case& c : cases) {
    Write("Templates/main.dwt", c.templateText);
    const TRegenResult result = RegeneratePage(c.page, site, 1, TRegenMode::Full);
    EXPECT_EQ(result.regionError, c.error) << c.name;
    EXPECT_EQ(result.text, c.page) << c.name;
  }
}

TEST_F(TemplatesTest, FaultsThatStopTheCommand) {
  const std::string nav = "<!-- #BeginLibraryItem \"/Library/nav.lbi\" -->";
  struct Case {
    const char* name;
    std::string page;
    TRegenMode mode;
    std::string message;
  } cases[] = {
      {"13 characters after </HTML>", "<html>\n</html>\n<!-- 567 -->", TRegenMode::LibraryOnly,
       "Template does not end \"</HTML>\""},
      {"no </HTML>", "<html>\n<p>x</p>\n", TRegenMode::LibraryOnly,
       "Template does not end \"</HTML>\""},
      {"a template given as the page",
       InstancePage("t", "<!-- TemplateBeginEditable name=\"x\" -->"), TRegenMode::Full,
       "Input HTML should not contain \"<!-- Template\""},
      {"item path without /", "<!-- #BeginLibraryItem \"Library/nav.lbi\" --><!-- #EndLibraryItem -->",
       TRegenMode::LibraryOnly, "Library item does not start \"/\""},
      {"item without its end", nav + "x\n</html>\n", TRegenMode::LibraryOnly,
       "No \"<!-- #EndLibraryItem -->\" for library item /Library/nav.lbi"},
      // The first item's end is the second's: the first would swallow the second.
      {"end of the next item", nav + "a\n" + nav + "b<!-- #EndLibraryItem -->\n</html>\n",
       TRegenMode::LibraryOnly,
       "No \"<!-- #EndLibraryItem -->\" for library item /Library/nav.lbi"},
      {"item above the site",
       "<!-- #BeginLibraryItem \"/../../x.lbi\" --><!-- #EndLibraryItem -->\n</html>\n",
       TRegenMode::LibraryOnly, "/../../x.lbi\rlies outside the site folder " + site},
      {"template above the site",
       ReplaceAll(InstancePage("t", "x"), "/templates/Main.dwt", "/../Main.dwt", true),
       TRegenMode::Full, "/../Main.dwt\rlies outside the site folder " + site},
      {"missing item", "<!-- #BeginLibraryItem \"/Library/gone.lbi\" --><!-- #EndLibraryItem -->\n</html>\n",
       TRegenMode::LibraryOnly, site + "Library/gone.lbi\rnot found."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Stopped([&] { RegeneratePage(c.page, site, 1, c.mode); }), c.message) << c.name;
  }
}

TEST_F(TemplatesTest, TheEndOfThePageMayFollowTwelveCharacters) {
  const std::string page = "<html>\n</HTML>\n<!-- 56 -->";  // 12 after "</HTML>"
  EXPECT_EQ(RegeneratePage(page, site, 0, TRegenMode::LibraryOnly).text, page);
}

TEST_F(TemplatesTest, AnItemHoldingItsOwnBeginCommentIsFilledOnce) {
  // Made with "Create Library item" over a block that was already an item.
  Write("Library/nav.lbi",
        "<!-- #BeginLibraryItem \"/Library/nav.lbi\" -->inner<!-- #EndLibraryItem -->\n");
  const std::string page =
      "<html>\n<!-- #BeginLibraryItem \"/Library/nav.lbi\" --><!-- #EndLibraryItem -->\n</html>\n";
  const std::string once = RegeneratePage(page, site, 0, TRegenMode::LibraryOnly).text;
  EXPECT_EQ(once,
            "<html>\n<!-- #BeginLibraryItem \"/Library/nav.lbi\" -->"
            "<!-- #BeginLibraryItem \"/Library/nav.lbi\" -->inner<!-- #EndLibraryItem -->\n"
            "<!-- #EndLibraryItem -->\n</html>\n");
  // Filled again, the outer block would end at the inner item's end and grow with
  // every run: it is named instead.
  EXPECT_EQ(Stopped([&] { RegeneratePage(once, site, 0, TRegenMode::LibraryOnly); }),
            "No \"<!-- #EndLibraryItem -->\" for library item /Library/nav.lbi");
}

TEST_F(TemplatesTest, PageDepthBelowTheRoot) {
  struct Case {
    std::string page;
    int depth;
  } cases[] = {
      {site + "index.htm", 0},
      {site + "news/a.htm", 1},
      {site + "news/2024/b.htm", 2},
      {site + "news/../c.htm", 0},  // cleaned first
  };
  for (const Case& c : cases) EXPECT_EQ(PageDepth(c.page, site), c.depth) << c.page;
  // A folder whose name begins with the root's is not below it.
  const std::string other = site.substr(0, site.size() - 1) + "2/x.htm";
  EXPECT_EQ(Stopped([&] { PageDepth(other, site); }), "File is not below root directory\r" + site);
}

TEST_F(TemplatesTest, FilesNamedByCommentsStayInTheSite) {
  EXPECT_EQ(SiteFileOfComment(site, "/library/NAV.lbi", false), site + "Library/Nav.lbi");
  EXPECT_EQ(SiteFileOfComment(site, "/Library/new.lbi", true), site + "Library/new.lbi");
  // A link inside the site that leads out of it.
  const std::string outside = TestHome() + "outside/";
  fs::create_directories(outside);
  std::ofstream(outside + "x.lbi") << "secret";
  ASSERT_EQ(symlink(outside.c_str(), (site + "Library/out").c_str()), 0);
  for (bool writing : {false, true}) {
    EXPECT_EQ(Stopped([&] { SiteFileOfComment(site, "/Library/out/x.lbi", writing); }),
              "/Library/out/x.lbi\rlies outside the site folder " + site);
    EXPECT_EQ(Stopped([&] { SiteFileOfComment(site, "/Library/../../x.lbi", writing); }),
              "/Library/../../x.lbi\rlies outside the site folder " + site);
  }
  fs::remove_all(outside);
}

TEST_F(TemplatesTest, ItemsOfAPageAndThePagesCopy) {
  const std::string page =
      "<!-- #BeginLibraryItem \"/Library/b.lbi\" -->\r\n\nB text<!-- #EndLibraryItem -->\n"
      "<!-- #BeginLibraryItem \"/Library/a.lbi\" -->A<!-- #EndLibraryItem -->\n"
      "<!-- #BeginLibraryItem \"/Library/b.lbi\" -->B again<!-- #EndLibraryItem -->\n";
  EXPECT_EQ(LibraryItemsOfPage(page), (std::vector<std::string>{"/Library/b.lbi", "/Library/a.lbi"}));
  EXPECT_EQ(PageCopyOfItem(page, "/Library/b.lbi"), "B text");
  EXPECT_EQ(Stopped([&] { LibraryItemsOfPage("<!-- #BeginLibraryItem \"x.lbi\" -->"); }),
            "Library item does not start \"/\"");
}

}  // namespace
}  // namespace quorrel::test
