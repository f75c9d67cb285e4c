// Cut, Copy, Paste and Two spaces: the text steps on their own and the commands
// chosen from their menu items on documents opened from real files.
#include <gtest/gtest.h>

#include <regex>

#include "commands/ClipboardCommands.h"
#include "edit/PasteSteps.h"
#include "edit/TwoSpaces.h"
#include "platform/Desktop.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/SaveTestKit.h"
#include "shell/ShellState.h"

namespace quorrel {
namespace {

using test::Dialogs;

std::string Crlf(const std::string& lf) {
  return PastedLineEnds(lf);
}

TEST(PasteStepsTest, AddressesGoIntoHrefHarmlessly) {
  struct Case {
    std::string pasted, href;
  } cases[] = {
      {"www.example.com/", "http://www.example.com/"},
      {"https://example.org/a?x=1&y=2", "https://example.org/a?x=1&amp;y=2"},
      {"http://example.org/?a=1&amp;b=2", "http://example.org/?a=1&amp;b=2"},
      {"http://example.com/my page", "http://example.com/my%20page"},
      {"http://example.com/\"><script>alert(1)</script>",
       "http://example.com/%22%3E%3Cscript%3Ealert(1)%3C/script%3E"},
  };
  for (const Case& c : cases) EXPECT_EQ(LinkAddress(c.pasted), c.href) << c.pasted;
}

TEST(PasteStepsTest, WhatCountsAsAWebAddress) {
  struct Case {
    std::string text;
    bool address;
  } cases[] = {
      {"http://example.com", true},
      {"www.debian.org", true},
      {"https://www.facebook.com/groups/x", true},
      {"example.co.uk/path", true},
      {"shop.org", true},
      {"someone@example.com", false},
      {"<a href=x.org>", false},
      {"Two lines\r\nexample.org", false},
      {"A long sentence that mentions a domain far away example.org", false},
      {"plain words", false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeWebAddress(c.text), c.address) << c.text;
}

TEST(PasteStepsTest, LinkTextsAndDomains) {
  EXPECT_EQ(DefaultLinkText("http://www.example.com/"), "example.com");
  EXPECT_EQ(DefaultLinkText("https://example.org/docs/"), "example.org/docs");
  EXPECT_TRUE(LooksLikeDomain("Visit Example.DE today"));
  EXPECT_FALSE(LooksLikeDomain("nothing here"));
  EXPECT_EQ(MailtoLink("jo@example.com"), "<A Href=\"mailto:jo@example.com\">jo@example.com</A>");
  EXPECT_EQ(WebLink("http://a.org/", "a.org", true),
            "<A Href=\"http://a.org/\" Target=_blank>a.org</A>");
}

TEST(PasteStepsTest, QuotedPrintableMailText) {
  EXPECT_EQ(DecodeQuotedPrintable("a=3Db=\r\nc=20\r\nd=2E"), "a=bc d.");
}

TEST(PasteStepsTest, ThreeParagraphsReformatted) {
  const std::string pasted = Crlf(
      "We met at St. Paul's. It rained.\n"
      "No. 5 was late! Why? Nobody knew.\n"
      "Bring pens, paper, etc. and\xA0"
      "food. Thanks.");
  EXPECT_EQ(ReformatPastedText(pasted),
            "We met at St. Paul's.&nbsp; It rained.\r\n"
            "<P>No. 5 was late!&nbsp; Why?&nbsp; Nobody knew.\r\n"
            "<P>Bring pens, paper, etc. and food.&nbsp; Thanks.");
}

TEST(PasteStepsTest, BulletListBecomesUl) {
  const std::string text = "Intro\r\n\"\tone &bull;\r\n\"\ttwo &bull;\r\n\r\nAfter\r\n\r\n";
  EXPECT_EQ(ConvertListToUl(text),
            "Intro\r\n<UL><LI>one &bull;</LI>\r\n<LI>two &bull;</LI>\r\n</UL>\r\nAfter\r\n\r\n");
}

TEST(PasteStepsTest, ScriptCopyLosesSynopsisAndBars) {
  const std::string script =
      "Scene: Kitchen\r\nSYNOPSIS:\tThey argue.\r\nANNA: Hello.\r\n"
      "Characters\r\nAnna | Ben|Carl\r\nDora\r\n\r\nEnd | here\r\n";
  EXPECT_EQ(TidyScriptCopy(script),
            "Scene: Kitchen\r\nANNA: Hello.\r\nCharacters\r\nAnna Ben Carl\r\nDora\r\n\r\n"
            "End | here\r\n");
}

TEST(TwoSpacesTest, SentenceEndsAndExceptions) {
  struct Case {
    std::string text, plain, html;
    size_t count;
  } cases[] = {
      {"The end. Next one.", "The end.  Next one.", "The end.&nbsp; Next one.", 1},
      {"Ask Mr. Brown and Mrs. Green. (Both.) Dr. No",
       "Ask Mr. Brown and Mrs. Green.  (Both.) Dr. No",
       "Ask Mr. Brown and Mrs. Green.&nbsp; (Both.) Dr. No", 1},
      {"Use e.g. This or i.e. That. St. Ives", "Use e.g. This or i.e. That.  St. Ives",
       "Use e.g. This or i.e. That.&nbsp; St. Ives", 1},
      {"Done.  Already two. lower case", "Done.  Already two. lower case",
       "Done.  Already two. lower case", 0},
      {"Why? [Note] Yes! Go", "Why?  [Note] Yes!  Go", "Why?&nbsp; [Note] Yes!&nbsp; Go", 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwoSpacesInRange(c.text, 0, c.text.size(), false).text, c.plain);
    const TTwoSpacesResult html = TwoSpacesInRange(c.text, 0, c.text.size(), true);
    EXPECT_EQ(html.text, c.html);
    EXPECT_EQ(html.count, c.count) << c.text;
  }
}

TEST(TwoSpacesTest, CodeInAPageStaysAsItIs) {
  const std::string page =
      "<p>One. Two.</p><!-- A. B. --><a title=\"X. Y\">Z. Q</a>"
      "<script>x = a ? (b) : c; s = \"Done. Next\";</script>"
      "<?php echo 'A. B'; ?><% Response.Write(\"C. D\") %><pre>E. F</pre>"
      "<style>p:after { content: \"G. H\" }</style>End. Last";
  const TTwoSpacesResult result = TwoSpacesInRange(page, 0, page.size(), true);
  EXPECT_EQ(result.count, 3u);
  std::string expected = ReplaceAll(page, "One. Two", "One.&nbsp; Two", true);
  expected = ReplaceAll(expected, "Z. Q", "Z.&nbsp; Q", true);
  expected = ReplaceAll(expected, "End. Last", "End.&nbsp; Last", true);
  EXPECT_EQ(result.text, expected);
  // A range that begins inside a script block is still code.
  const size_t inScript = page.find("? (");
  const size_t end = page.find("</script>");
  EXPECT_EQ(TwoSpacesInRange(page, inScript, end, true).count, 0u);
}

// Sentence ends of real prose counted by a pattern of their own.
size_t CountMatches(const std::string& text, const std::regex& pattern) {
  return std::distance(std::sregex_iterator(text.begin(), text.end(), pattern),
                       std::sregex_iterator());
}

TEST(TwoSpacesTest, RealProseAndRealScript) {
  const std::string gpl = Crlf(test::Slurp("/usr/share/common-licenses/GPL-3"));
  ASSERT_GT(gpl.size(), 30000u);
  // Sentence ends with one blank and a capital, less the titles the command skips.
  const size_t ends = CountMatches(gpl, std::regex("[.!?] [A-Z(\\[]"));
  const size_t skipped = CountMatches(gpl, std::regex("(e\\.g|i\\.e|Mrs|Mr|Dr|St)[.!?] [A-Z(\\[]"));
  ASSERT_GT(ends, 10u);
  const TTwoSpacesResult plain = TwoSpacesInRange(gpl, 0, gpl.size(), false);
  EXPECT_EQ(plain.count, ends - skipped);
  EXPECT_EQ(plain.text.size(), gpl.size() + plain.count);
  EXPECT_EQ(CountMatches(plain.text, std::regex("[.!?] [A-Z(\\[]")), skipped);

  // Reformatted: "&nbsp;" after every sentence end with a blank, less after St/No/etc.
  const size_t blanks = CountMatches(gpl, std::regex("[.!?][ \\xA0]"));
  const size_t titles = CountMatches(gpl, std::regex("(St|No|etc)[.!?][ \\xA0]"));
  const std::string reformatted = ReformatPastedText(gpl);
  EXPECT_EQ(CountMatches(reformatted, std::regex("&nbsp;")), blanks - titles);
  EXPECT_EQ(CountMatches(reformatted, std::regex("\n<P>")), CountMatches(gpl, std::regex("\n")));

  const std::string script = test::Slurp("/usr/share/javascript/sphinxdoc/1.0/jquery.js");
  ASSERT_NE(script.find("? ("), std::string::npos);
  const std::string page = "<html><body><p>Intro. Here.</p>\n<script>\n" + script +
                           "\n</script>\n<p>Outro. There.</p></body></html>\n";
  const TTwoSpacesResult result = TwoSpacesInRange(page, 0, page.size(), true);
  EXPECT_EQ(result.count, 2u);
  EXPECT_NE(result.text.find(script), std::string::npos);
}

class ClipboardCommandsTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallClipboardCommands();
    InstallTwoSpacesCommand();
  }
  std::string Text() const { return CurrentEditor->GetText(); }
  void Paste(const std::string& clipboard) {
    Desktop().SetClipboardText(clipboard);
    MainMenu().Click("Paste");
  }
  bool Asked(const std::string& question) const {
    for (const std::string& text : Dialogs().Texts()) {
      if (text.find(question) != std::string::npos) return true;
    }
    return false;
  }
};

TEST_F(ClipboardCommandsTest, WwwAddressBecomesALinkWithDefaultText) {
  Open("page.htm", "<p>See </p>\n");
  CurrentEditor->Select(7, 0);
  Dialogs().AnswerText("example.com/news");  // the default, accepted
  Paste("www.example.com/news/");
  ASSERT_EQ(Dialogs().Inputs().size(), 1u);
  EXPECT_EQ(Dialogs().Inputs()[0].caption, "Quorrel");
  EXPECT_EQ(Dialogs().Inputs()[0].prompt, "Enter link text (blank out to do straight paste)");
  EXPECT_EQ(Dialogs().Inputs()[0].value, "example.com/news");
  const std::string link = "<A Href=\"http://www.example.com/news/\">example.com/news</A>";
  EXPECT_EQ(Text(), "<p>See " + link + "</p>\r\n");
  // The pasted link stays selected, the caret at its end.
  EXPECT_EQ(CurrentEditor->SelText(), link);
}

TEST_F(ClipboardCommandsTest, LinkTextAnswers) {
  struct Case {
    const char* name;
    bool cancel;
    std::string answer, expected;
  } cases[] = {
      // Cancel ends the command: nothing is pasted.
      {"cancel", true, "", "<p>x</p>\r\n"},
      // A blank link text pastes the address as it came.
      {"blank", false, "  ", "<p>xhttps://example.org/a?b=1&c=2</p>\r\n"},
      {"text", false, "Our page",
       "<p>x<A Href=\"https://example.org/a?b=1&amp;c=2\">Our page</A></p>\r\n"},
  };
  for (const Case& c : cases) {
    Open(std::string(c.name) + ".htm", "<p>x</p>\n");
    CurrentEditor->Select(4, 0);
    if (c.cancel) {
      Dialogs().CancelText();
    } else {
      Dialogs().AnswerText(c.answer);
    }
    Paste("https://example.org/a?b=1&c=2");
    EXPECT_EQ(Text(), c.expected) << c.name;
  }
}

TEST_F(ClipboardCommandsTest, HostileAddressPastesAsOneHarmlessLink) {
  Open("page.htm", "<p></p>\n");
  CurrentEditor->Select(3, 0);
  Dialogs().AnswerText("site");
  Paste("http://evil.example.com/\"><script>alert(1)</script>");
  EXPECT_EQ(Text(),
            "<p><A Href=\"http://evil.example.com/%22%3E%3Cscript%3Ealert(1)%3C/script%3E\">"
            "site</A></p>\r\n");
  EXPECT_EQ(Text().find("<script"), std::string::npos);
}

TEST_F(ClipboardCommandsTest, LongAddressBreaksEveryThirtyCharacters) {
  Open("page.htm", "<p></p>\n");
  CurrentEditor->Select(3, 0);
  const std::string address =
      "http://www.example.com/documents/archive/2026/december/reports/quarterly-summary.html";
  ASSERT_GE(address.size(), 80u);
  const std::string shown = DefaultLinkText(LinkAddress(address));
  Dialogs().AnswerText(shown);
  Paste(address);
  const std::string text = Text();
  const size_t open = text.find("\">") + 2;
  const std::string linkText = text.substr(open, text.find("</A>") - open);
  EXPECT_NE(linkText.find("<WBr>"), std::string::npos);
  size_t from = 0;
  for (size_t at = linkText.find("<WBr>");; at = linkText.find("<WBr>", from)) {
    const std::string piece = linkText.substr(from, at == std::string::npos ? at : at - from);
    EXPECT_LE(piece.size(), 30u) << piece;
    if (at == std::string::npos) break;
    // Each break follows a "/" or "." (or other break character) where there is one.
    EXPECT_NE(std::string("&,-./?_").find(linkText[at - 1]), std::string::npos) << piece;
    from = at + 5;
  }
  EXPECT_EQ(ReplaceAll(linkText, "<WBr>", "", true), shown);
}

TEST_F(ClipboardCommandsTest, EmailAddressToMailtoLink) {
  Open("page.htm", "<p></p>\n");
  CurrentEditor->Select(3, 0);
  Dialogs().Answer(mrYes);
  Paste("jo.smith@example.com");
  EXPECT_TRUE(Asked("jo.smith@example.com\rGenerate mailto link?"));
  EXPECT_EQ(Text(), "<p><A Href=\"mailto:jo.smith@example.com\">jo.smith@example.com</A></p>\r\n");
}

TEST_F(ClipboardCommandsTest, PlainParagraphsReformattedThenTwoSpaces) {
  Open("notes.txt", "Top\r\n");
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  Dialogs().Answer(mrYes);  // Reformat the pasted text?
  Paste("At St. Ives. Cats ran.\nNo. 3 won! Next came etc. The end.\nLast one. Bye.");
  EXPECT_TRUE(Asked("Reformat the pasted text?"));
  EXPECT_EQ(Text(),
            "Top\r\nAt St. Ives.&nbsp; Cats ran.\r\n<P>No. 3 won!&nbsp; Next came etc.  The "
            "end.\r\n<P>Last one.&nbsp; Bye.");
  // Two spaces follows: "etc." is no exception of its own.
  EXPECT_EQ(Status(), "  Changed: 1  Modified");
}

TEST_F(ClipboardCommandsTest, PlainPasteGetsTwoSpacesAndLineEnds) {
  Open("notes.txt", "");
  Dialogs().Answer(mrNo);  // Reformat the pasted text?
  Paste("One.\nTwo. Three\r\nfour");
  EXPECT_EQ(Text(), "One.\r\nTwo.  Three\r\nfour");
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
  EXPECT_EQ(CurrentEditor->SelLength(), CurrentEditor->TextLength());
}

TEST_F(ClipboardCommandsTest, PageTakesLfLineEndsAndNoTabs) {
  Open("page.htm", "");
  Paste("a\tb\r\nc \x93quoted\x94 &amp; d\n");
  EXPECT_EQ(CurrentEditor->GetText(), "a  b\r\nc \"quoted\" & d\r\n");
  EXPECT_EQ(Dialogs().Texts().size(), 0u);
}

TEST_F(ClipboardCommandsTest, BaseTagNoticed) {
  Open("page.htm", "");
  HasBaseTag = false;
  Paste("<Base Href=\"http://a.org/\">");
  EXPECT_TRUE(HasBaseTag);
}

TEST_F(ClipboardCommandsTest, CopyAndCutArePlainWithLfAndTakeTheSection) {
  Open("notes.txt", "First line\r\nSecond line\r\n");
  CurrentEditor->Select(0, CurrentEditor->TextLength());
  MainMenu().Click("Copy");
  EXPECT_EQ(Desktop().ClipboardText(), "First line\nSecond line\n");
  // Nothing selected: the section around the caret.
  CurrentEditor->Select(3, 0);
  Desktop().SetClipboardText("");
  MainMenu().Click("Cut");
  EXPECT_EQ(Desktop().ClipboardText(), "First line\nSecond line\n");
  EXPECT_EQ(Text(), "");
}

TEST_F(ClipboardCommandsTest, EditMenuEnabling) {
  Open("notes.txt", "Some text\r\n");
  CurrentEditor->Select(0, 0);
  Desktop().SetClipboardText("");
  MainMenu().Open("EditMenu");
  for (const char* item : {"Cut", "Copy", "DelSel", "Paste"}) {
    EXPECT_FALSE(MainMenu().Item(item).enabled) << item;
  }
  CurrentEditor->Select(0, 4);
  Desktop().SetClipboardText("x");
  MainMenu().Open("EditMenu");
  for (const char* item : {"Cut", "Copy", "DelSel", "Paste"}) {
    EXPECT_TRUE(MainMenu().Item(item).enabled) << item;
  }
}

TEST_F(ClipboardCommandsTest, PastedMailIsReparagraphedWhenTheUserAgrees) {
  const std::string mail =
      "Jo wrote: > the first line of a mail\n> that goes on\n\nAnd a second paragraph\nhere.";
  struct Case {
    int answer;
    std::string text;
  } cases[] = {
      // The quoting line breaks after its colon before the paragraphs are joined.
      {mrYes, "Jo wrote:\r\n> the first line of a mail that goes on\r\n\r\n"
              "And a second paragraph here."},
      {mrNo, Crlf(mail)},
  };
  for (const Case& c : cases) {
    Open(c.answer == mrYes ? "mail.txt" : "mail2.txt", "");
    Dialogs().Answer(c.answer);  // Reparagraph?
    Paste(mail);
    EXPECT_TRUE(Asked("Reparagraph?"));
    EXPECT_EQ(Text(), c.text);
  }
}

TEST_F(ClipboardCommandsTest, TwoSpacesFromItsMenuItemOnASelection) {
  Open("notes.txt", "Keep. This\r\nChange. These. Words\r\n");
  const size_t start = CurrentEditor->LineIndex(1);
  CurrentEditor->Select(start, CurrentEditor->LineLength(1));
  MainMenu().Click("TwoSpaces");
  EXPECT_EQ(Text(), "Keep. This\r\nChange.  These.  Words\r\n");
  EXPECT_EQ(CurrentEditor->SelStart(), start);
  EXPECT_EQ(CurrentEditor->SelText(), "Change.  These.  Words");
  EXPECT_EQ(Status(), "  Changed: 2  Modified");
}

}  // namespace
}  // namespace quorrel
