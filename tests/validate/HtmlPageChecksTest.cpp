// The HTML validator's steps before its walk: repairs and checks of the page, the
// DOCTYPE of each DocType item, the language of the html tag and the dialect of a
// site's server pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlTestKit.h"
#include "validate/ValUnit.h"

namespace quorrel::test {
namespace {

class HtmlPageChecksTest : public HtmlTest {
 protected:
  void SetUp() override {
    HtmlTest::SetUp();
    CurrentFolder = "/srv/site/";
  }
  // The page after the steps before the walk (and what they asked).
  static THtmlRun Checked(const std::string& page) {
    THtmlRun run;
    run.in = run.original = page;
    InitHtmlRun(run);
    HtmlPageChecks(run);
    HtmlDoctype(run);
    return run;
  }
  static std::string FatalMessage(const std::string& page) {
    try {
      Checked(page);
    } catch (const EAbort&) {
      return Dialogs().Last().text;
    }
    return "";
  }
};

const std::string kHead = "<HTML Lang=en>\n<Head>\n<Title>T</Title>\n</Head>\n<Body>\n<H1>T</H1>\n";

TEST_F(HtmlPageChecksTest, PunctuationPastedAsUtf8) {
  Option("DTNone", true);
  struct Case {
    const char* bytes;
    const char* becomes;
  } cases[] = {
      {"\xE2\x80\x93", "-"},       {"\xE2\x80\x94", "-"},       {"\xE2\x80\x99", "'"},
      {"\xE2\x80\x9C", "&ldquo;"}, {"\xE2\x80\x9D", "&rdquo;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.becomes);
    const THtmlRun run = Checked(kHead + "a" + c.bytes + "b\n</Body>\n</HTML>\n");
    EXPECT_EQ(run.in, kHead + "a" + c.becomes + "b\n</Body>\n</HTML>\n");
  }
}

TEST_F(HtmlPageChecksTest, TheCapitalACircumflexIsAskedAboutOncePerRun) {
  Option("DTNone", true);
  const std::string page = kHead + "a\xC2 b\n</Body>\n</HTML>\n";
  Dialogs().Answer(mrYes);
  EXPECT_EQ(Checked(page).in, kHead + "a&nbsp; b\n</Body>\n</HTML>\n");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "Change all \xC2 to non-breaking spaces from offset " +
                                       std::to_string(page.find('\xC2') + 1) + "?");
  EXPECT_EQ(Dialogs().Last().helpContext, 50401);
  // The answer holds for the rest of the run.
  EXPECT_EQ(Checked(page).in, kHead + "a&nbsp; b\n</Body>\n</HTML>\n");
  EXPECT_EQ(Dialogs().Calls().size(), 1u);

  ResetHtmlPageSteps();
  Dialogs().Answer(mrNo);
  EXPECT_EQ(Checked(page).in, page);
  EXPECT_EQ(Checked(page).in, page);
  EXPECT_EQ(Dialogs().Calls().size(), 2u);

  // Validate all does not stop to ask.
  ResetHtmlPageSteps();
  CurrentCommand = "ValAll";
  EXPECT_EQ(Checked(page).in, page);
  EXPECT_EQ(Dialogs().Calls().size(), 2u);
}

TEST_F(HtmlPageChecksTest, InAUtf8PageTheByteLeadsCharacters) {
  Option("DTNone", true);
  const std::string head =
      "<HTML Lang=en>\n<Head>\n<meta charset=\"utf-8\">\n<Title>T</Title>\n</Head>\n<Body>\n"
      "<H1>T</H1>\n";
  // A no-break space, a copyright sign and a pilcrow: characters, nothing to ask.
  const std::string page = head + "a\xC2\xA0\xC2\xA9 b\xC2\xB6\n</Body>\n</HTML>\n";
  EXPECT_EQ(Checked(page).in, page);
  EXPECT_TRUE(Dialogs().Calls().empty());
  // A byte that begins no character is still the letter, and only it is replaced.
  const std::string lone = head + "a\xC2 b\xC2\xA9\n</Body>\n</HTML>\n";
  Dialogs().Answer(mrYes);
  EXPECT_EQ(Checked(lone).in, head + "a&nbsp; b\xC2\xA9\n</Body>\n</HTML>\n");
  EXPECT_EQ(Dialogs().Last().text, "Change all \xC2 to non-breaking spaces from offset " +
                                       std::to_string(lone.find('\xC2') + 1) + "?");
}

TEST_F(HtmlPageChecksTest, APageNeedsItsFirstHeading) {
  Option("DTNone", true);
  const std::string page = "<HTML>\n<Body>\n<H2>x</H2>\n</Body>\n</HTML>\n";
  EXPECT_EQ(FatalMessage(page), MessageText("No <H1> tag."));
  // Not asked for, not a whole page, a server page, the server window's check.
  Option("CheckH", false);
  EXPECT_EQ(FatalMessage(page), "");
  Option("CheckH", true);
  EXPECT_EQ(FatalMessage("<Body>\n<H2>x</H2>\n</Body>\n"), "");
  IsServerPage = true;
  EXPECT_EQ(FatalMessage(page), "");
  IsServerPage = false;
  CurrentCommand = "ServerM";
  EXPECT_EQ(FatalMessage(page), "");
}

TEST_F(HtmlPageChecksTest, EmptyBoldAndItalicPairs) {
  Option("DTNone", true);
  const std::string body = "a<b></b>b<I></I>c\n</Body>\n</HTML>\n";
  EXPECT_EQ(Checked(kHead + body).in, kHead + "abc\n</Body>\n</HTML>\n");
  // In a generated page they come from the master's RTF, where they must be removed.
  IsDotPage = true;
  const std::string page = kHead + "a<I></I>c\n</Body>\n</HTML>\n";
  const size_t at = page.find("<I>");
  EXPECT_EQ(FatalMessage(page),
            "\"\\i  \\i0\" found in text.\rPress [F2] to view the raw RTF and remove this.\r\r" +
                page.substr(at > 125 ? at - 125 : 0, 250));
}

TEST_F(HtmlPageChecksTest, ThePageIsHandedOverBeforeLinkTextsAreBroken) {
  Option("DTNone", true);
  const std::string address = "http://www.example.com/folder/another/page-name.htm";
  const std::string page =
      kHead + "<A Href=\"" + address + "\">" + address + "</A>\n" +
      "<A Href=\"mailto:someone@example.com\">someone@example.com.and.more</A>\n" +
      "<A Href=\"a.htm\">Short text</A>\n</Body>\n</HTML>\n";
  const THtmlRun run = Checked(page);
  EXPECT_EQ(HandOverText, page);
  // The address loses both "http://" and "www.": the next pass finds nothing to shorten.
  const std::string broken = "example.com/<WBr>folder/another/page-name.htm";
  EXPECT_EQ(run.in,
            kHead + "<A Href=\"" + address + "\">" + broken + "</A>\n" +
                "<A Href=\"mailto:someone@example.com\">someone@example.com.and.more</A>\n" +
                "<A Href=\"a.htm\">Short text</A>\n</Body>\n</HTML>\n");
  EXPECT_EQ(Checked(run.in).in, run.in);
  // The link tag may break its line (or put more blanks) before Href, as the walk
  // will not: its text is broken on this pass, not the next.
  for (const char* gap : {"\n", "  ", "\n  "}) {
    const std::string split = kHead + "<A" + gap + "HREF=\"" + address + "\"\nTARGET=\"_top\"\n>" +
                              address + "</A\n>\n</Body>\n</HTML>\n";
    EXPECT_NE(Checked(split).in.find("\n>" + broken + "</A"), std::string::npos) << gap;
  }
  // A text with markup of its own is left alone: break points would land in its tags.
  const std::string coded = kHead +
                            "<a href=\"#x\"><code>emitter.prependOnceListener(eventName, "
                            "listener)</code></a>\n</Body>\n</HTML>\n";
  EXPECT_EQ(Checked(coded).in, coded);
  // Server pages keep their link texts.
  IsServerPage = IsAsp = true;
  EXPECT_EQ(Checked(page).in, page);
}

TEST_F(HtmlPageChecksTest, TheSkipLink) {
  Option("DTNone", true);
  Option("Skip", true);
  const std::string page =
      "<HTML Lang=en>\n<Head>\n<Title>T</Title>\n</Head>\n<Body class=x>\n<H1>T</H1>\n<Main>\n"
      "text\n</Main>\n</Body>\n</HTML>\n";
  const std::string linked =
      "<HTML Lang=en>\n<Head>\n<Title>T</Title>\n</Head>\n<Body class=x>\n"
      "<A Class=Skip HRef=\"#Main\">Skip to main content</A>\n<H1>T</H1>\n<Main Id=Main>\n"
      "text\n</Main>\n</Body>\n</HTML>\n";
  EXPECT_EQ(Checked(page).in, linked);
  EXPECT_EQ(Checked(linked).in, linked);
  // A main part with an id of its own keeps it; a page without one gets no link.
  const std::string withId = ReplaceAll(page, "<Main>", "<Main id=content>", true);
  EXPECT_NE(Checked(withId).in.find("<Main id=content>"), std::string::npos);
  const std::string noMain =
      ReplaceAll(ReplaceAll(page, "<Main>\n", "", true), "</Main>\n", "", true);
  EXPECT_EQ(Checked(noMain).in, noMain);
  EXPECT_EQ(FatalMessage("<HTML>\n<H1>T</H1>\n</HTML>\n"), MessageText("No <Body> tag found."));
}

// Every DocType item, on a page without a DOCTYPE.
TEST_F(HtmlPageChecksTest, TheDoctypeOfEachItem) {
  struct Case {
    const char* item;
    std::string start;  // what the page begins with afterwards
    bool xhtml;
    bool html5;
  } cases[] = {
      {"DT3F", "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\n<HTML Lang=en>\n", false,
       false},
      {"DT4S",
       "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
       "\"http://www.w3.org/TR/html4/strict.dtd\">\n<HTML Lang=en>\n",
       false, false},
      {"DT4T",
       "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
       "\"http://www.w3.org/TR/html4/loose.dtd\">\n<HTML Lang=en>\n",
       false, false},
      {"DT5", "<!DOCTYPE HTML>\n<HTML Lang=en>\n", false, true},
      {"DTXS",
       "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
       "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
       "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\n",
       true, false},
      {"DTXT",
       "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
       "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
       "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\n",
       true, false},
  };
  const std::string rest =
      "<Head>\n<Title>T</Title>\n</Head>\n<Body>\n<H1>T</H1>\n</Body>\n</HTML>\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    Option(c.item, true);
    const THtmlRun run = Checked("<HTML>\n" + rest);
    EXPECT_EQ(run.in, c.start + rest);
    EXPECT_EQ(run.xhtml, c.xhtml);
    EXPECT_EQ(run.html5, c.html5);
    // The page has its DOCTYPE now: a second pass leaves it.
    EXPECT_EQ(Checked(run.in).in, run.in);
  }
  // None, a page outside a site, a generated page: no DOCTYPE.
  Option("DTNone", true);
  EXPECT_EQ(Checked("<HTML>\n" + rest).in, "<HTML Lang=en>\n" + rest);
  Option("DT5", true);
  NotInSite = true;
  EXPECT_EQ(Checked("<HTML>\n" + rest).in, "<HTML Lang=en>\n" + rest);
  NotInSite = false;
  IsDotPage = true;
  EXPECT_EQ(Checked("<HTML>\n" + rest).in, "<HTML Lang=en>\n" + rest);
}

TEST_F(HtmlPageChecksTest, TheDoctypeKeepsTheHtmlTagsAttributesAndLeadingComments) {
  const std::string rest =
      "\n<Head>\n<Title>T</Title>\n</Head>\n<Body>\n<H1>T</H1>\n</Body>\n</HTML>\n";
  const std::string page = "<!-- Licence: keep me -->\n<html lang=\"fr\" class=x>" + rest;
  Option("DT4T", true);
  EXPECT_EQ(Checked(page).in,
            "<!-- Licence: keep me -->\n<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 "
            "Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n<HTML lang=\"fr\" "
            "class=x>" +
                rest);
  Option("DTXT", true);
  EXPECT_EQ(Checked(page).in,
            "<!-- Licence: keep me -->\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 "
            "Transitional//EN\" \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
            "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"fr\" class=x>" +
                rest);
  // A DOCTYPE after an XML declaration is the page's own.
  const std::string declared =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML "
      "1.0 Transitional//EN\" \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">" +
      rest;
  const THtmlRun run = Checked(declared);
  EXPECT_EQ(run.in, declared);
  EXPECT_TRUE(run.xhtml);
}

TEST_F(HtmlPageChecksTest, TheLanguageOfTheHtmlTag) {
  Option("DTNone", true);
  const std::string rest =
      "\n<Head>\n<Title>T</Title>\n</Head>\n<Body>\n<H1>T</H1>\n</Body>\n</HTML>\n";
  EXPECT_EQ(Checked("<HTML class=a>" + rest).in, "<HTML class=a Lang=en>" + rest);
  EXPECT_EQ(Checked("<html lang=de>" + rest).in, "<html lang=de>" + rest);
  // Generated documentation in "html" folders keeps its tags.
  CurrentFolder = "/srv/site/html/";
  EXPECT_EQ(Checked("<HTML>" + rest).in, "<HTML>" + rest);
}

TEST_F(HtmlPageChecksTest, TheDialectOfServerPagesComesFromTheIndexPage) {
  const std::string site = TestHome() + "dialect/";
  std::filesystem::create_directories(site);
  CurrentFolder = site;
  IsServerPage = IsAsp = true;
  CurrentExt = ".ASP";
  const std::string page = "<% x = 1 %>\n<P>a\n";
  struct Case {
    const char* index;
    char dialect;
  } cases[] = {
      {"<html>\n<head>", 'H'},
      {"<!DOCTYPE HTML>\n<html>", 'H'},
      {"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\">\n<html>", 'X'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    std::ofstream(site + "Index.htm", std::ios::binary) << c.index;
    HtmlDialect = ' ';
    const THtmlRun run = Checked(page);
    EXPECT_EQ(HtmlDialect, c.dialect);
    EXPECT_EQ(run.xhtml, c.dialect == 'X');
    EXPECT_EQ(run.in, page);
  }
  // Known once, the dialect holds until another tab is activated.
  std::ofstream(site + "Index.htm", std::ios::binary) << "<html>";
  EXPECT_TRUE(Checked(page).xhtml);
}

}  // namespace
}  // namespace quorrel::test
