// The tag checker's walk over the HTML validator's output, on pages of a site:
// typography where prose stands and nowhere else, the "&" checks, text strings,
// server-script blocks, what must not be left open at the end, and the editor after
// an error (the corrected page, the caret at the error).
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/CommandNames.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "support/ScriptedDialogs.h"
#include "validate/HtmlRun.h"
#include "validate/TagChecker.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

constexpr int AmpersandHelp = 100750;

std::string Page(const std::string& body) {
  return "<HTML>\n<Head>\n<Title>t</Title>\n</Head>\n<Body>\n" + body + "</Body>\n</HTML>\n";
}

// A message box centres a one-line message in 50 places.
std::string Centred(const std::string& message) {
  const int n = (50 - static_cast<int>(message.size())) / 2;
  if (n <= 0 || message.find('\r') != std::string::npos) return message;
  return std::string(n, ' ') + message + std::string(n, ' ');
}

struct TChecked {
  bool passed = false;
  bool aborted = false;  // the command ended at once
  std::string text;      // the checker's output
  std::vector<DialogCall> boxes;
  size_t caret = 0;
};

class TagCheckerTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);
    IdleReady = true;  // errors are shown once start-up is over
  }
  void TearDown() override {
    for (const char* option : {"ToNDash", "LeaveAlone"}) MainMenu().SetChecked(option, false);
    MainMenu().SetChecked("CheckAmp", true);
    ValidationTest::TearDown();
  }

  // The checker on a page of the site, as the HTML validator hands over its output
  // (the page is open in the editor as it was before the validator ran).
  TChecked Check(const std::string& page, const std::string& name = "page.htm",
                 const std::string& command = "Validate") {
    Open(name, page);
    CurrentCommand = command;
    const size_t shown = Dialogs().Calls().size();
    THtmlRun run;
    run.in = run.original = run.out = page;
    InitHtmlRun(run);
    TChecked result;
    try {
      CheckHtmlTags(run);
    } catch (const EAbort&) {
      result.aborted = true;
    }
    result.passed = TagsPassed;
    result.text = run.out;
    const auto& calls = Dialogs().Calls();
    result.boxes.assign(calls.begin() + static_cast<long>(shown), calls.end());
    result.caret = CurrentEditor->SelStart();
    return result;
  }
};

// ---- typography ---------------------------------------------------------------------------

TEST_F(TagCheckerTest, TypographyInProseOnly) {
  struct Case {
    const char* what;
    std::string body;
    std::string expected;  // "" when the body stays as it is
    const char* option = nullptr;
  };
  const Case cases[] = {
      {"a dash between blanks", "<P>a - b</P>\n", "<P>a &mdash; b</P>\n"},
      {"a dash before a line end", "<P>a -\nb</P>\n", "<P>a &mdash;\nb</P>\n"},
      {"an en dash instead", "<P>a - b</P>\n", "<P>a &ndash; b</P>\n", "ToNDash"},
      {"dashes left alone", "<P>a - b and c...</P>\n", "<P>a - b and c&hellip;</P>\n",
       "LeaveAlone"},
      {"hyphens and double dashes", "<P>well-known a -- b a-b</P>\n", ""},
      {"three dots", "<P>wait... and....</P>\n", "<P>wait&hellip; and&hellip;.</P>\n"},
      {"curly apostrophes", "<P>it\x92s \x91q\x92</P>\n", "<P>it's 'q'</P>\n"},
      {"et cetera", "<P>eggs &c.</P>\n", "<P>eggs &amp;c.</P>\n"},
      {"preformatted code", "<PRE>a - b f(...args)</PRE>\n", ""},
      {"a style sheet's calc()", "<Style>\np { width: calc(100% - 1rem); }\n</Style>\n", ""},
      {"a script", "<Script>\nx = a - b; f(...args); y = a&c.d;\n</Script>\n", ""},
      {"a quoted phrase", "<P>\"a - b...\"</P>\n", ""},
      {"a comment", "<!-- a - b... -->\n", ""},
      {"an attribute value", "<IMG Alt=\"a - b...\" Src=\"x.png\">\n", ""},
      {"a tag with \">\" in a quoted value", "<A Title=\"x > y\" Href=\"#\">a - b</A>\n",
       "<A Title=\"x > y\" Href=\"#\">a &mdash; b</A>\n"},
      {"prose after a script and a PRE",
       "<Script>\nx = a - b;\n</Script>\n<PRE>a - b</PRE>\n<P>a - b</P>\n",
       "<Script>\nx = a - b;\n</Script>\n<PRE>a - b</PRE>\n<P>a &mdash; b</P>\n"},
      {"a script's closing tag in a string",
       "<Script>\nw(\"</Script>\");\n</Script>\n<P>a - b</P>\n",
       "<Script>\nw(\"</Script>\");\n</Script>\n<P>a &mdash; b</P>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.option) MainMenu().SetChecked(c.option, true);
    const TChecked checked = Check(Page(c.body));
    if (c.option) MainMenu().SetChecked(c.option, false);
    EXPECT_TRUE(checked.passed);
    EXPECT_TRUE(checked.boxes.empty());
    EXPECT_EQ(checked.text, Page(c.expected.empty() ? c.body : c.expected));
  }
}

// A page in UTF-8 keeps its characters whole: the bytes of an arrow are not quotes.
TEST_F(TagCheckerTest, UnicodePagesKeepTheirCharacters) {
  const std::string head = "<HTML>\n<Head>\n<meta charset=\"utf-8\">\n<Title>t</Title>\n</Head>\n";
  const TChecked checked = Check(head +
                                 "<Body>\n<P>a \xE2\x86\x92 b \xE2\x80\x91 \x92"
                                 "c\x92 d\x92\x92</P>\n</Body>\n");
  EXPECT_TRUE(checked.passed);
  EXPECT_EQ(checked.text, head + "<Body>\n<P>a \xE2\x86\x92 b \xE2\x80\x91 'c' d''</P>\n</Body>\n");
  // What it made is made again.
  EXPECT_EQ(Check(checked.text, "again.htm").text, checked.text);
}

TEST_F(TagCheckerTest, PhpPagesKeepTheirDots) {
  const std::string page = Page("<?php echo 1; ?>\n<P>a - b...</P>\n");
  const TChecked checked = Check(page, "page.php");
  EXPECT_TRUE(checked.passed);
  EXPECT_EQ(checked.text, Page("<?php echo 1; ?>\n<P>a &mdash; b...</P>\n"));
}

// A second check of what the first corrected finds nothing more to do.
TEST_F(TagCheckerTest, ASecondCheckChangesNothing) {
  const TChecked once = Check(Page("<P>a - b... it\x92s &c. \"q\"</P>\n"));
  ASSERT_TRUE(once.passed);
  const TChecked twice = Check(once.text, "again.htm");
  EXPECT_TRUE(twice.passed);
  EXPECT_EQ(twice.text, once.text);
}

// ---- "&" ------------------------------------------------------------------------------------

TEST_F(TagCheckerTest, Ampersands) {
  struct Case {
    const char* what;
    std::string body;
    std::vector<int> answers;
    bool passed;
    std::string expected;  // "" when the body stays as it is
    std::string box;       // the box shown ("" none)
  };
  const std::string convert = "Convert \"&\" to \"&amp;\" in\r";
  const Case cases[] = {
      {"a numeric reference", "<P>&#150; &#x2014;</P>\n", {}, true, "", ""},
      {"a named reference", "<P>&amp; &nbsp;</P>\n", {}, true, "", ""},
      {"a short one", "<P>&x y</P>\n", {}, true, "", ""},
      {"a short one before a quote", "<P>\"&x\"</P>\n", {}, true, "", ""},
      {"a long one without its semicolon",
       "<P>a&nbsp b</P>\n",
       {mrOk},
       false,
       "",
       "Missing semicolon, or \"&\" should be \"&amp;\" in\r&nbsp "},
      {"a long one ending in \"=\"",
       "<P>Q&AB=1</P>\n",
       {mrCancel},
       false,
       "",
       "Missing semicolon, or \"&\" should be \"&amp;\" in\r&AB="},
      {"a short one ending in \"=\"", "<P>Q&A=1</P>\n", {}, true, "", ""},
      {"a lone one, converted",
       "<P>Tom & Jerry</P>\n",
       {mrYes},
       true,
       "<P>Tom &amp; Jerry</P>\n",
       convert + "Head>\n<Body>\n<P>Tom & Jerry</P>\n</Body>\n< ?"},
      {"a lone one, kept",
       "<P>Tom & Jerry</P>\n",
       {mrNo},
       false,
       "",
       convert + "Head>\n<Body>\n<P>Tom & Jerry</P>\n</Body>\n< ?"},
      {"in a script", "<Script>\nif (a & b) x();\n</Script>\n", {}, true, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (int answer : c.answers) Dialogs().Answer(answer);
    const TChecked checked = Check(Page(c.body));
    EXPECT_EQ(checked.passed, c.passed);
    EXPECT_EQ(checked.text, Page(c.expected.empty() ? c.body : c.expected));
    if (c.box.empty()) {
      EXPECT_TRUE(checked.boxes.empty());
      continue;
    }
    ASSERT_EQ(checked.boxes.size(), 1u);
    EXPECT_EQ(checked.boxes[0].text, c.box);
    EXPECT_EQ(checked.boxes[0].helpContext, AmpersandHelp);
    // The walk stops at the "&": the caret is there.
    if (!c.passed) {
      EXPECT_EQ(checked.caret, checked.text.find('&', checked.text.find("<P>")));
    }
  }
}

// The 20 characters before the "&" and 21 from it, fewer where the page has fewer.
TEST_F(TagCheckerTest, TheConvertQuestionShowsWhatThePageHasAroundIt) {
  Dialogs().Answer(mrNo);
  const TChecked checked = Check("<P>& b</P>\n");
  ASSERT_EQ(checked.boxes.size(), 1u);
  EXPECT_EQ(checked.boxes[0].text, "Convert \"&\" to \"&amp;\" in\r<P>& b</P>\n ?");
}

TEST_F(TagCheckerTest, AmpersandsAreLeftAloneWhereTheCheckIsOff) {
  const std::string page = Page("<P>Tom & Jerry a&nbsp b</P>\n");
  MainMenu().SetChecked("CheckAmp", false);
  TChecked checked = Check(page);
  EXPECT_TRUE(checked.passed);
  EXPECT_TRUE(checked.boxes.empty());
  MainMenu().SetChecked("CheckAmp", true);
  checked = Check(page, "other.htm", ServerWindowCommand);
  EXPECT_TRUE(checked.passed);
  EXPECT_TRUE(checked.boxes.empty());
}

// Building the whole site converts a lone "&" without asking.
TEST_F(TagCheckerTest, BuildingTheSiteConvertsWithoutAsking) {
  const TChecked checked = Check(Page("<P>Tom & Jerry</P>\n"), "page.htm", BuildAllCommand);
  EXPECT_TRUE(checked.passed);
  EXPECT_TRUE(checked.boxes.empty());
  EXPECT_EQ(checked.text, Page("<P>Tom &amp; Jerry</P>\n"));
}

// ---- text strings ----------------------------------------------------------------------------

TEST_F(TagCheckerTest, AQuoteLeftOpenAtALineEnd) {
  const std::string body = "<P>say \"hi</P>\n";
  const std::string question = "Unmatched double-quote in text ending\r" +
                               Page(body).substr(0, Page(body).find(body) + body.size() - 1) +
                               "\r\rDid you really mean this?";
  Dialogs().Answer(mrYes);
  TChecked checked = Check(Page(body));
  EXPECT_TRUE(checked.passed);
  ASSERT_EQ(checked.boxes.size(), 1u);
  EXPECT_EQ(checked.boxes[0].text, question);
  EXPECT_EQ(checked.text, Page("<P>say &quot;hi</P>\n"));

  Dialogs().Answer(mrNo);
  checked = Check(Page(body), "other.htm");
  EXPECT_FALSE(checked.passed);
  EXPECT_EQ(checked.text, Page(body));
  EXPECT_EQ(checked.caret, checked.text.find("</P>\n</Body>") + 4);  // at the line end
}

// A quoted phrase around a link, broken over two lines: the quotes of the phrase
// become entities, never the quotes of the link's tag.
TEST_F(TagCheckerTest, TheQuoteReplacedIsTheOneThatOpenedTheString) {
  Dialogs().Answer({mrYes, mrYes});
  const TChecked checked = Check(Page("<P>see \"<A Href=\"x.htm\">the\nlink</A>\" here</P>\n"));
  EXPECT_TRUE(checked.passed);
  EXPECT_EQ(checked.boxes.size(), 2u);
  EXPECT_EQ(checked.text, Page("<P>see &quot;<A Href=\"x.htm\">the\nlink</A>&quot; here</P>\n"));
}

TEST_F(TagCheckerTest, QuotesThatAskNothing) {
  const char* bodies[] = {
      "<P>\"a <B>b</B>\" and \"c\"</P>\n",  // closed on their line
      "<PRE>say \"hi\nthere</PRE>\n",       // preformatted
      "<P>it's 'open\n</P>\n",              // only double quotes open strings
  };
  for (const char* body : bodies) {
    SCOPED_TRACE(body);
    const TChecked checked = Check(Page(body));
    EXPECT_TRUE(checked.passed);
    EXPECT_TRUE(checked.boxes.empty());
    EXPECT_EQ(checked.text, Page(body));
  }
}

// ---- server pages -----------------------------------------------------------------------------

TEST_F(TagCheckerTest, ServerPages) {
  struct Case {
    const char* what;
    const char* name;
    std::string body;
    bool passed;
    std::string box;  // "" none
  };
  const Case cases[] = {
      {"an ASP block", "page.asp", "<% x = \"a - b\" %>\n<P>a</P>\n", true, ""},
      {"a PHP block", "page.php", "<?php echo \"a\"; ?>\n", true, ""},
      {"an echo tag", "page.php", "<?= $x ?>\n", true, ""},
      {"a PHP page ending in its block", "page.php", "<?php echo 1;\n", true, ""},
      {"no server code", "page.asp", "<P>a</P>\n", true, Centred("No ASP/PHP code in this file.")},
      {"an upper-case PHP tag", "page.php", "<?PHP echo 1; ?>\n", false,
       Centred("<? needs to be <?php")},
      {"a stray end", "page.php", "<?php x(); ?>\n<P>a ?> b</P>\n", false,
       Centred("You need \"<?php\" rather than just \"<?\" here!")},
      {"a blank after \"<\"", "page.asp", "<% x %>\n<P>a < b</P>\n", false,
       Centred("Invalid HTML tag - probably ASP/PHP")},
      {"a block in a string", "page.asp", "<% x = \"a<%b\" %>\n", false, Centred("Nested ASP/PHP")},
      {"a block in a script's string", "page.asp",
       "<Script>\nx = \"<% =y %>\";\n</Script>\n<% z %>\n", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TChecked checked = Check(Page(c.body), c.name);
    EXPECT_EQ(checked.passed, c.passed);
    if (c.box.empty()) {
      EXPECT_TRUE(checked.boxes.empty()) << checked.boxes[0].text;
    } else {
      ASSERT_EQ(checked.boxes.size(), 1u);
      EXPECT_EQ(checked.boxes[0].text, c.box);
    }
  }
}

TEST_F(TagCheckerTest, AServerPageEndingInsideItsBlockGetsItsEnd) {
  const std::string page = Page("<P>a</P>\n") + "<% x = 1\n";
  const TChecked checked = Check(page, "page.asp");
  EXPECT_FALSE(checked.passed);
  ASSERT_EQ(checked.boxes.size(), 1u);
  EXPECT_EQ(checked.boxes[0].text, Centred("Final \"%>\" added."));
  EXPECT_EQ(checked.text, page + "\n%>\n");
  EXPECT_EQ(CurrentText, checked.text);
  EXPECT_EQ(checked.caret, CurrentEditor->TextLength());
}

// The short form "<?" ends the command at once, with the caret on it.
TEST_F(TagCheckerTest, ALoneShortTag) {
  const std::string page = Page("<P>a - b</P>\n<? echo 1; ?>\n");
  const TChecked checked = Check(page, "page.php");
  EXPECT_TRUE(checked.aborted);
  ASSERT_EQ(checked.boxes.size(), 1u);
  EXPECT_EQ(checked.boxes[0].text,
            "You cannot use short tag form \"<?\" unless immediately followed by \"=\" - you must "
            "use the full \"<?php\" tag.");
  EXPECT_EQ(CurrentText, Page("<P>a &mdash; b</P>\n<? echo 1; ?>\n"));
  EXPECT_EQ(checked.caret, CurrentText.find("<?"));
}

// The server window checks pages without a word: a broken page counts as passed.
TEST_F(TagCheckerTest, TheServerWindowsCheckPassesBrokenPagesSilently) {
  const std::string pages[] = {Page("<P>a</P>\n") + "<% x = 1\n", Page("<Script>\nx = 1;\n"),
                               Page("<P>a&nbsp b</P>\n"), Page("<P>say \"hi</P>\n"),
                               Page("<A Href=\"x\n")};
  for (const std::string& page : pages) {
    SCOPED_TRACE(page);
    const TChecked checked = Check(page, "page.asp", ServerWindowCommand);
    EXPECT_TRUE(checked.passed);
    EXPECT_FALSE(checked.aborted);
    EXPECT_TRUE(checked.boxes.empty());
  }
}

// ---- what must not be left open
// ------------------------------------------------------------------

TEST_F(TagCheckerTest, ErrorsAtTheEndAndInTags) {
  struct Case {
    const char* what;
    std::string page;
    std::string box;
    std::string caretAt;  // the caret's place: the first occurrence of this ("" the end)
  };
  const Case cases[] = {
      {"a script left open", Page("<Script>\nx = 1;\n"),
       Centred("Error - missing final \"</Script>\"."), ""},
      {"a string left open at the very end", "<P>say \"hi</P>",
       Centred("Error - HTML ends within string."), ""},
      {"a tag left open", "<P>a</P>\n<A Href=x\n", Centred("Unterminated tag."), "<A Href"},
      {"a line end in a quoted value", Page("<A Title=\"a\nb\">x</A>\n"),
       "Unterminated string - end of line reached after\rtle>t</Title>\n</Head>\n<Body>\n<A "
       "Title=\"a",
       "\nb\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TChecked checked = Check(c.page);
    EXPECT_FALSE(checked.passed);
    ASSERT_EQ(checked.boxes.size(), 1u);
    EXPECT_EQ(checked.boxes[0].text, c.box);
    EXPECT_EQ(checked.caret,
              c.caretAt.empty() ? CurrentEditor->TextLength() : CurrentText.find(c.caretAt));
  }
}

// A skip that runs off the end of the text ends the command, with the caret where
// the skip began.
TEST_F(TagCheckerTest, ASkipThatRunsOffTheEnd) {
  const std::string page = Page("<P>a - b</P>\n<!-- never closed\n");
  const TChecked checked = Check(page);
  EXPECT_TRUE(checked.aborted);
  ASSERT_EQ(checked.boxes.size(), 1u);
  EXPECT_EQ(checked.boxes[0].text, "Unexpected end of text when scanning from around here.");
  EXPECT_EQ(CurrentText, Page("<P>a &mdash; b</P>\n<!-- never closed\n"));
  EXPECT_EQ(checked.caret, CurrentText.find("<!--"));
}

// What the walk skips may end on the text's last character.
TEST_F(TagCheckerTest, ASkipEndingOnTheLastCharacter) {
  const TChecked checked = Check("<P>a - b</P>\n<!-- end -->");
  EXPECT_TRUE(checked.passed);
  EXPECT_EQ(checked.text, "<P>a &mdash; b</P>\n<!-- end -->");
}

// ---- the editor after an error
// ---------------------------------------------------------------------

// Corrections made before the error stay; the caret is at the error, counted in the
// editor's places however many lines stand before it.
TEST_F(TagCheckerTest, TheEditorHoldsTheCorrectedPageWithTheCaretAtTheError) {
  const std::string page = Page("<P>a - b...</P>\n<P>\nc&nbsp d</P>\n");
  Dialogs().Answer(mrOk);
  const TChecked checked = Check(page);
  EXPECT_FALSE(checked.passed);
  EXPECT_EQ(CurrentText, Page("<P>a &mdash; b&hellip;</P>\n<P>\nc&nbsp d</P>\n"));
  EXPECT_EQ(checked.caret, CurrentText.find("&nbsp"));
  EXPECT_TRUE(CurrentEditor->Modified());
}

// Messages about a generated page name the page; the page as checked goes to a
// report tab, unmodified, with the caret at the error, and the command ends.
TEST_F(TagCheckerTest, ErrorsOnAGeneratedPageNameThePage) {
  Open("news.htm", Page("<Script>\n"));
  IsDotPage = true;
  CheckOnly = true;
  CurrentPageName = "news";
  THtmlRun run;
  run.in = run.original = run.out = Page("<Script>\n");
  InitHtmlRun(run);
  EXPECT_THROW(CheckHtmlTags(run), EAbort);
  ASSERT_FALSE(Dialogs().Calls().empty());
  // (The message routine names the page being built once more, as for every message.)
  EXPECT_EQ(Dialogs().Last().text,
            "Error - missing final \"</Script>\".\rwhen generating page news\rnews.htm");
  EXPECT_TRUE(CurrentCommand.empty());
  EXPECT_EQ(CurrentFileName.compare(0, 8, "Untitled"), 0) << CurrentFileName;
  // (A plain-text tab: its working copy has CR LF line ends.)
  EXPECT_EQ(CurrentText, ReplaceAll(Page("<Script>\n"), "\n", "\r\n", true));
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->TextLength());
}

}  // namespace
}  // namespace quorrel::test
