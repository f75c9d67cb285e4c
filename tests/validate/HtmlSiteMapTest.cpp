// The site map page: the site's pages it does not name are offered for adding, and
// its link texts are checked against the titles of the pages they name. Also the
// head of a help-topic page.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "support/ScriptedDialogs.h"
#include "validate/HtmlTestKit.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

class HtmlSiteMapTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);
    IdleReady = true;
    MainMenu().SetChecked("DTNone", true);
    MainMenu().SetChecked("CheckH", false);
    MainMenu().SetChecked("SubDirs", true);
    Write("index.htm", Done("Home", ""));
    Write("roses.htm", Done("Roses", ""));
    Write("tulips.htm", Done("Tulips", ""));
    Write("google12ab.html", "google-site-verification\n");
    Write("shop/index.htm", Done("Shop", ""));
    Write("shop/seeds.htm", Done("Seeds", ""));
  }
  static std::string Validate() {
    try {
      ValidateCurrentFile("Validate");
    } catch (const EAbort&) {
      return Dialogs().Calls().empty() ? "(silent)" : Dialogs().Last().text;
    }
    return "";
  }
};

TEST_F(HtmlSiteMapTest, PagesMissingFromTheMapAreAdded) {
  const std::string map =
      Done("Site map", "<UL>\n  <LI><A Href=\"roses.htm\">Roses</A></LI>\n</UL>\n");
  Open("sitemap.htm", map);
  const int mapTab = window.ActiveTab();
  Dialogs().Answer(mrYes);
  EXPECT_EQ(Validate(), "");
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Calls()[0].text, "2 pages not appearing in Site Map.  Add them?");
  // The report tab is gone, the site map current again with the entries, each
  // with its page's title as its text.
  EXPECT_EQ(window.TabCount(), 1);
  EXPECT_EQ(window.ActiveTab(), mapTab);
  EXPECT_EQ(
      CurrentText,
      Done("Site map",
           "<UL>\n  <LI><A Href=\"roses.htm\">Roses</A></LI>\n</UL>\n<B>Inserted entries</B>\n"
           "<P>\n<UL>\n  <LI><A Href=\"tulips.htm\">Tulips</A></LI>\n</UL>\n<UL>\n"
           "  <LI><A Href=\"shop/seeds.htm\">Seeds</A></LI>\n</UL>\n"));
  // Now complete: nothing more is asked.
  Dialogs().Clear();
  EXPECT_EQ(Validate(), "");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(HtmlSiteMapTest, DeclinedEntriesAreNotAdded) {
  const std::string map = Done("Site map", "<P>nothing yet\n");
  Open("sitemap.htm", map);
  Dialogs().Answer(mrNo);
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(Dialogs().Calls()[0].text, "3 pages not appearing in Site Map.  Add them?");
  EXPECT_EQ(CurrentText, map);
  EXPECT_EQ(window.TabCount(), 1);
}

TEST_F(HtmlSiteMapTest, LinkTextsAgainstTitles) {
  const std::string body =
      "<P><A Href=\"/\">Home</A> <A Href=\"roses.htm\">Lilies</A> <A Href=\"tulips.htm\">Tulips "
      "in spring</A> <A Href=\"shop/seeds.htm\">Seeds</A>\n";
  Open("sitemap.htm", Done("Site map", body));
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(Dialogs().Last().text, "roses.htm:\rTitle is Roses but link text is Lilies\r\r");

  // A page whose title is not near its start.
  Write("tulips.htm", std::string(300, ' ') + Done("Tulips", ""));
  Dialogs().Clear();
  Open("sitemap.htm", Done("Site map", body));
  EXPECT_EQ(Validate(), "tulips.htm:\rNo <Title> near start.");
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentText.find("A Href=\"tulips.htm\""));
}

TEST_F(HtmlSiteMapTest, AHelpTopicPage) {
  const std::string page =
      "<HTML>\n<Head>\n<Title>Colours</Title>\n<Object type=\"application/x-oleobject\" "
      "classid=\"clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e\">\n<Param Name=\"Keyword\" "
      "Value=\"Colours\">\n<Param Name=\"Keyword\" Value=\"Scheme\">\n<Param Name=\"Keyword\" "
      "Value=\"Night\">\n</Object>\n</Head>\n<Body>\n<B>Colours</B>\n<P>Pick one. Or two.\n"
      "</Body>\n</HTML>\n";
  Open("colours.htm", "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n" + page);
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(CurrentText.substr(0, 16), "<!DOCTYPE HTML>\n");
  EXPECT_NE(CurrentText.find("<Meta Name=\"Keywords\" Content=\"Scheme,Night\">"),
            std::string::npos);
  EXPECT_NE(CurrentText.find("<Body>\n<H1>Colours</H1>"), std::string::npos);
  EXPECT_NE(CurrentText.find("Pick one. &nbsp;Or two."), std::string::npos);
  EXPECT_EQ(ValidationPass, 2);  // laid out as it is rebuilt: the next pass only confirms

  // A page that begins with its html tag keeps it.
  Open("plain.htm", page);
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(CurrentText.substr(0, 30), "<!DOCTYPE HTML>\n<HTML Lang=en>");

  Open("comma.htm", ReplaceAll(page, "Value=\"Night\"", "Value=\"Night, day\"", true));
  EXPECT_EQ(Validate(), MessageText("Night, day\rComma not allowed."));
}

}  // namespace
}  // namespace quorrel::test
