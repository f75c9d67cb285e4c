// ValidateHtml after its walk, on documents in tabs: the frame of the page, server
// code and InStr, smart quotes, the title and first heading, the head completions,
// and the ending: the error with the page re-laid so far, the save question, the
// write-back and the pass that follows.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/SiteState.h"
#include "support/ScriptedDialogs.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlTestKit.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

class HtmlPageEndTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);
    IdleReady = true;
    MainMenu().SetChecked("DTNone", true);
  }
  // Validates, and returns the message that ended the command ("" when none).
  static std::string Validate(const std::string& sender = "Validate") {
    try {
      ValidateCurrentFile(sender);
    } catch (const EAbort&) {
      return Dialogs().Calls().empty() ? "(silent)" : Dialogs().Last().text;
    }
    return "";
  }
};

TEST_F(HtmlPageEndTest, AHeadIsCompletedInOnePass) {
  Open("page.htm",
       "<HTML>\n<Head>\n<Title>Page</Title>\n</Head>\n<Body>\n<H1>Page</H1>\n"
       "</Body>\n</HTML>\n");
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(CurrentText, Done("Page", "<H1>Page</H1>\n"));
  EXPECT_TRUE(CurrentEditor->Modified());
  // The added lines are laid out as they are added: the second pass only confirms.
  EXPECT_EQ(ValidationPass, 2);
  EXPECT_EQ(Status(), "  Validated");
}

// The head of a page as documentation generators write it, one element a line.
const std::string kGenerated =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<meta "
    "name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>T</title>\n"
    "</head>\n<body>\n";
// The same head as the validator lays it out.
const std::string kGeneratedLaid =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n  <meta charset=\"utf-8\">\n  <meta "
    "name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n  <title>T</title>\n"
    "</head>\n<body>\n";

// Valid pages that generators write, each in its smallest form: they validate, and
// the second F10 changes nothing and asks nothing.
TEST_F(HtmlPageEndTest, ValidPagesOfGenerators) {
  MainMenu().SetChecked("CheckH", false);
  struct Case {
    const char* name;
    std::string page;
    std::string result;
  } cases[] = {
      {"a line end before the DOCTYPE", "\n" + kGenerated + "<div>x</div>\n</body>\n</html>\n",
       kGeneratedLaid + "<div>x</div>\n</body>\n</html>\n"},
      {"blanks and empty lines before it",
       "  \n \n" + kGenerated + "<div>x</div>\n</body>\n</html>\n",
       kGeneratedLaid + "<div>x</div>\n</body>\n</html>\n"},
      {"a definition list in a definition",
       kGenerated +
           "<dl>\n<dt>a</dt>\n<dd>\n<dl>\n<dt>b</dt>\n<dd>c</dd>\n</dl>\n</dd>\n</dl>\n</body>\n"
           "</html>\n",
       kGeneratedLaid +
           "<dl>\n  <dt>a</dt>\n  <dd>\n    <dl>\n      <dt>b</dt>\n      <dd>c</dd>\n    </dl>\n"
           "  </dd>\n</dl>\n</body>\n</html>\n"},
      {"a UTF-8 character with a byte in 128 to 159",
       kGenerated + "<div>a \xE2\x89\xA0 b</div>\n</body>\n</html>\n",
       kGeneratedLaid + "<div>a \xE2\x89\xA0 b</div>\n</body>\n</html>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(std::string(c.name) + ".htm", c.page);
    EXPECT_EQ(Validate(), "");
    EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
    EXPECT_EQ(CurrentText, c.result);
    EXPECT_EQ(ValidationPass, c.page == c.result ? 1 : 2);
    EXPECT_EQ(Validate(), "");
    EXPECT_EQ(CurrentText, c.result);
    EXPECT_EQ(ValidationPass, 1);
    EXPECT_TRUE(Dialogs().Calls().empty());
  }
}

TEST_F(HtmlPageEndTest, HeadCompletions) {
  const std::string site5 = "<!DOCTYPE HTML>\n<HTML Lang=en>\n<Head>\n  <Title>P</Title>\n";
  const std::string xhtml =
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
      "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n<html "
      "xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\n";
  struct Case {
    const char* name;
    std::string page;
    std::string result;
  } cases[] = {
      {"HTML 5 gets a short character set",
       site5 + "</Head>\n<Body>\n<H1>P</H1>\n</Body>\n</HTML>\n",
       site5 + "  <meta charset=\"utf-8\">\n  <Meta Name=viewport Content=\"width=device-width, "
               "initial-scale=1\">\n</Head>\n<Body>\n<H1>P</H1>\n</Body>\n</HTML>\n"},
      {"HTML 5 with the old character set",
       site5 + "  <meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\n"
               "  <meta name=\"viewport\" "
               "content=\"width=device-width\">\n</Head>\n<Body>\n<H1>P</H1>\n"
               "</Body>\n</HTML>\n",
       site5 +
           "  <meta charset=\"utf-8\">\n  <meta name=\"viewport\" content=\"width=device-width\">\n"
           "</Head>\n<Body>\n<H1>P</H1>\n</Body>\n</HTML>\n"},
      {"A page with its character set", Done("P", "<H1>P</H1>\n"), Done("P", "<H1>P</H1>\n")},
      // An XHTML page's added lines end " />", as the walk lays out its void tags.
      {"XHTML",
       xhtml + "<head>\n  <title>P</title>\n</head>\n<body>\n<h1>P</h1>\n</body>\n</html>\n",
       xhtml + "<head>\n  <title>P</title>\n  <meta http-equiv=\"content-type\" "
               "content=\"text/html; charset=utf-8\" />\n  <Meta Name=viewport "
               "Content=\"width=device-width, initial-scale=1\" />\n</head>\n<body>\n<h1>P</h1>\n"
               "</body>\n</html>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(std::string(c.name) + ".htm", c.page);
    EXPECT_EQ(Validate(), "");
    EXPECT_EQ(CurrentText, c.result);
    // One pass lays the page out, the next finds nothing to change.
    EXPECT_EQ(ValidationPass, c.page == c.result ? 1 : 2);
  }
}

TEST_F(HtmlPageEndTest, TheSiteStyleSheetAndGeneratedDocumentation) {
  Write("style.css", "p { margin: 0 }\n");
  const std::string page =
      "<HTML Lang=en>\n<Head>\n  <Title>P</Title>\n  <meta http-equiv=\"content-type\" "
      "content=\"text/html; charset=utf-8\">\n</Head>\n<Body>\n<H1>P</H1>\n</Body>\n</HTML>\n";
  Open("page.htm", page);
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(CurrentText,
            "<HTML Lang=en>\n<Head>\n  <Title>P</Title>\n  <link href=\"style.css\" "
            "rel=\"stylesheet\">\n  <meta http-equiv=\"content-type\" content=\"text/html; "
            "charset=utf-8\">\n  <Meta Name=viewport Content=\"width=device-width, "
            "initial-scale=1\">\n</Head>\n<Body>\n<H1>P</H1>\n</Body>\n</HTML>\n");
  // Pages in an "html" folder get no viewport.
  Open("html/doc.htm", ReplaceAll(page, " Lang=en", "", true));
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(CurrentText, ReplaceAll(page, " Lang=en", "", true));
}

TEST_F(HtmlPageEndTest, FrameErrors) {
  struct Case {
    const char* name;
    std::string page;
    std::string message;
  } cases[] = {
      {"no end",
       "<HTML Lang=en>\n<Head>\n  <Title>P</Title>\n" + kMeta +
           "</Head>\n<Body>\n<H1>P</H1>\n<Div>\n",
       "Does not finish with </Body> and </HTML>\r\rNot all tags have been closed."},
      {"fragment", "<P>only a paragraph\n", "Does not start <HTML>"},
      {"text before the page", "x\n" + Done("P", "<H1>P</H1>\n"), "Does not start <HTML>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(std::string(c.name) + ".htm", c.page);
    EXPECT_EQ(Validate(), MessageText(c.message));
  }
}

TEST_F(HtmlPageEndTest, ServerCodeInAPlainPageAndSmartQuotes) {
  const std::string body = "<H1>P</H1>\n<P>a <Span runat=server>b</Span>\n";
  Open("plain.htm", Done("P", body));
  EXPECT_EQ(Validate(),
            "File contains \"<asp:\" or \"<%\" or \"runat\" but is not of type ASP or ASPX.");
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentText.find("runat="));

  MainMenu().SetChecked("SmartQuotes", true);
  Open("quotes.htm", Done("P", "<H1>P</H1>\n<P>\"a\" and \"b\n"));
  EXPECT_EQ(Validate(), MessageText("Error - unmatched smart quotes somewhere."));
  Open("even.htm", Done("P", "<H1>P</H1>\n<P>\"a\" and \"b\"\n"));
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(CurrentText, Done("P", "<H1>P</H1>\n<P>&ldquo;a&rdquo; and &ldquo;b&rdquo;\n"));
}

TEST_F(HtmlPageEndTest, InStrInServerPages) {
  // The Classic ASP checker hands its page over.
  Open("page.asp", "<%\nIf InStr(\"abc\", x) > 0 Then y = 1\n%>\n");
  HandOverText = CurrentText;
  EXPECT_THROW(ValidateHtmlOnly("Validate"), EAbort);
  EXPECT_EQ(Dialogs().Last().text,
            "InStr needs the variable as the first argument and the search string as the second.");
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentText.find("InStr"));
}

TEST_F(HtmlPageEndTest, AnUntitledPage) {
  const std::string page = Done("Untitled", "<H1>Our <Span>garden</Span> news</H1>\n");
  Open("page.htm", page);
  Dialogs().Answer(mrYes);
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(Dialogs().Calls()[0].text, "Untitled page.  Suggestion:\rnews");
  EXPECT_EQ(CurrentText, Done("news", "<H1>Our <Span>garden</Span> news</H1>\n"));

  // No suggestion taken: the error is at the title.
  Open("other.htm", Done("", "<H1>Garden</H1>\n"));
  Dialogs().Answer(mrNo);
  EXPECT_EQ(Validate(), MessageText("Untitled Page."));
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentText.find("</Title>"));
  // A template may stay untitled.
  Open("template.htm", Done("", "<H1>Garden</H1>\n"));
  EXPECT_EQ(Validate(), "");
}

TEST_F(HtmlPageEndTest, TitleAndHeadingMadeConsistent) {
  const std::string question = "<Title>: Roses\rFirst <H1>: Tulips\rMake these consistent?";
  // Heading to title.
  Open("a.htm", Done("Roses", "<H1>Tulips</H1>\n"));
  Dialogs().Answer({mrYes, mrYes});
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(Dialogs().Calls()[0].text, question);
  EXPECT_EQ(Dialogs().Calls()[0].helpContext, 100710);
  EXPECT_EQ(Dialogs().Calls()[1].text, "Copy <H1> to <Title>?  (No to copy <Title> to <H1>)");
  EXPECT_EQ(CurrentText, Done("Tulips", "<H1>Tulips</H1>\n"));
  // Title to heading.
  Open("b.htm", Done("Roses", "<H1>Tulips</H1>\n"));
  Dialogs().Answer({mrYes, mrNo});
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(CurrentText, Done("Roses", "<H1>Roses</H1>\n"));
  // Left inconsistent: the error is at the heading.
  Open("c.htm", Done("Roses", "<H1>Tulips</H1>\n"));
  Dialogs().Answer(mrNo);
  EXPECT_EQ(Validate(), "Inconsistent tags.\r<Title>: Roses\rFirst <H1>: Tulips");
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentText.find("Tulips</H1>"));

  // Consistent enough: a heading "Site | Page" counts by its last part, and a title
  // that the heading holds.
  for (const std::string heading : {"Garden | Roses", "Roses in June", "roses"}) {
    SCOPED_TRACE(heading);
    Open(heading + ".htm", Done("Roses", "<H1>" + heading + "</H1>\n"));
    EXPECT_EQ(Validate(), "");
  }
  // Two first-level headings, or none checked: nothing asked.
  Open("two.htm", Done("Roses", "<H1>Tulips</H1>\n<H1>Roses</H1>\n"));
  EXPECT_EQ(Validate(), "");
  MainMenu().SetChecked("CheckH", false);
  Open("off.htm", Done("Roses", "<H1>Tulips</H1>\n"));
  EXPECT_EQ(Validate(), "");
}

TEST_F(HtmlPageEndTest, APageWithoutTitle) {
  // The heading becomes the title.
  Open("a.htm",
       "<HTML Lang=en>\n<Head>\n" + kMeta + "</Head>\n<Body>\n<H1>Roses</H1>\n</Body>\n</HTML>\n");
  EXPECT_EQ(Validate(), "");
  EXPECT_EQ(CurrentText, "<HTML Lang=en>\n<Head>\n  <Title>Roses</Title>\n" + kMeta +
                             "</Head>\n<Body>\n<H1>Roses</H1>\n</Body>\n</HTML>\n");
  // Without a heading to take it from, it is an error.
  MainMenu().SetChecked("CheckH", false);
  Open("b.htm", "<HTML Lang=en>\n<Head>\n" + kMeta + "</Head>\n<Body>\n<P>x\n</Body>\n</HTML>\n");
  EXPECT_EQ(Validate(), MessageText("No Title tag."));
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
}

TEST_F(HtmlPageEndTest, AnErrorAfterTheWalkKeepsUnsavedEdits) {
  const std::string page = Done("", "<H1>Garden</H1>\n");
  Open("page.htm", page);
  CurrentEditor->SetModified(true);
  Dialogs().Answer(mrNo);
  EXPECT_EQ(Validate(), MessageText("Untitled Page."));
  EXPECT_EQ(CurrentText, page);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentCommand, "");
}

TEST_F(HtmlPageEndTest, SavingAPageWithErrors) {
  const std::string page = Done("P", "<H1>P</H1>\n<Div>\n  <B>x</I>\n</Div>\n");
  const std::string path = Write("page.htm", page);
  Open("page.htm", page);
  CurrentEditor->SetSelText("<!-- edited -->");  // at the caret: the start
  CurrentCommand = "Save";
  Dialogs().Answer(mrYes);
  EXPECT_THROW(ValidateCurrentFile("Save"), EAbort);
  EXPECT_EQ(Dialogs().Last().text, "Do you want to save this file even though it has errors?");
  EXPECT_EQ(Read(path), "<!-- edited -->" + page);
  EXPECT_FALSE(CurrentEditor->Modified());

  // No: nothing is written, the edit stays unsaved.
  Open("other.htm", page);
  CurrentEditor->SetSelText("<!-- edited -->");
  CurrentCommand = "Save";
  Dialogs().Answer(mrNo);
  EXPECT_THROW(ValidateCurrentFile("Save"), EAbort);
  EXPECT_EQ(Read(site + "other.htm"), page);
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(HtmlPageEndTest, ErrorsBeforeStartUpIsOver) {
  IdleReady = false;
  Open("page.htm", Done("P", "<H1>P</H1>\n<B>x</I>\n"));
  CurrentEditor->Select(20, 0);
  EXPECT_EQ(Validate(), "");
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
}

TEST_F(HtmlPageEndTest, AGeneratedPagesErrorGoesToAReportTab) {
  Open("master.htm", "");
  const int master = window.ActiveTab();
  IsDotPage = IsHtml = true;
  ValidationPass = 0;
  PageBuffer =
      "<HTML>\r\n<Head>\r\n<Title>P</Title>\r\n</Head>\r\n<Body>\r\n<H1>P</H1>\r\n<Div><B>x</"
      "I>\r\n";
  EXPECT_THROW(ValidateHtmlOnly("Validate"), EAbort);
  EXPECT_NE(window.ActiveTab(), master);
  EXPECT_EQ(Documents[CurrentEditor->Tag()].FileName.compare(0, 8, "Untitled"), 0);
  const std::string report = ReplaceAll(CurrentText, "\r\n", "\n", true);
  EXPECT_NE(report.find("<B>x\n<!-- <B> tag (around offset"), std::string::npos);
  EXPECT_NE(report.find("\n-->\n</I>\n"), std::string::npos);
  // The caret is on the failing tag, the message shown.
  EXPECT_EQ(CurrentEditor->SelStart(),
            CurrentEditor->OffsetToPos(CurrentText.find("-->\r\n</I>") + 5));
  EXPECT_NE(Dialogs().Last().text.find("cannot end with </I>"), std::string::npos);
}

TEST_F(HtmlPageEndTest, TheDebugViewOfTheOutput) {
  MainMenu().SetChecked("Debug", true);
  const std::string page = Done("P", "<H1>P</H1>\n<P>x\n");
  Open("page.htm", "<HTML Lang=en>\n<Head>\n<Title>P</Title>\n" + kMeta +
                       "</Head>\n<Body>\n<H1>P</H1>\n<P>x\n</Body>\n</HTML>\n");
  const int pageTab = window.ActiveTab();
  Dialogs().Answer(mrYes);
  EXPECT_EQ(Validate(), "Show OutT?");  // and the command ends
  // The output stands in a tab of its own; the page is left as it was.
  EXPECT_NE(window.ActiveTab(), pageTab);
  EXPECT_EQ(ReplaceAll(CurrentText, "\r\n", "\n", true), page);
  EXPECT_FALSE(window.TabEditor(pageTab)->Modified());
}

}  // namespace
}  // namespace quorrel::test
