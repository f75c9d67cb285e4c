// ValidateHtml on documents in tabs: the page it takes, the edits and questions
// before its walk, the pages it refuses, and what the editor holds afterwards, with
// an error and without.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/SiteState.h"
#include "support/ScriptedDialogs.h"
#include "validate/ColourSyntax.h"
#include "validate/HtmlSteps.h"
#include "validate/TextMarkers.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

// A head with what the validator would add to it.
const std::string kCharset =
    "  <meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\n"
    "  <Meta Name=viewport Content=\"width=device-width, initial-scale=1\">\n";

const std::string kPage = "<HTML Lang=en>\n<Head>\n<Title>t</Title>\n" + kCharset +
                          "</Head>\n<Body>\n<UL><LI> one</LI>\n<LI>two</LI></UL>\n"
                          "</Body>\n</HTML>\n";
const std::string kLaidOut = "<HTML Lang=en>\n<Head>\n  <Title>t</Title>\n" + kCharset +
                             "</Head>\n<Body>\n<UL>\n  <LI>one</LI>\n  <LI>two</LI>\n"
                             "</UL>\n</Body>\n</HTML>\n";

// A page with a head (a page without one is re-formatted as it opens).
std::string Page(const std::string& body) {
  return "<HTML Lang=en>\n<Head>\n<Title>t</Title>\n" + kCharset + "</Head>\n<Body>\n" + body +
         "</Body>\n</HTML>\n";
}

std::string LaidOut(const std::string& body) {
  return "<HTML Lang=en>\n<Head>\n  <Title>t</Title>\n" + kCharset + "</Head>\n<Body>\n" + body +
         "</Body>\n</HTML>\n";
}

class ValidateHtmlTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);  // the real validators
    // Errors are shown once start-up is over; these pages need no DOCTYPE or headings.
    IdleReady = true;
    MainMenu().SetChecked("DTNone", true);
    MainMenu().SetChecked("CheckH", false);
  }
  static std::string EditorText() { return CurrentText; }
};

TEST_F(ValidateHtmlTest, APageIsLaidOutAndCheckedAgain) {
  Open("page.htm", kPage);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(EditorText(), kLaidOut);
  EXPECT_EQ(HandOverText, kLaidOut);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(ValidationPass, 2);  // the second pass found nothing to change
  EXPECT_EQ(Status(), "  Validated");

  // A page in its layout is left as it is.
  Open("done.htm", kLaidOut);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(EditorText(), kLaidOut);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(ValidationPass, 1);
}

TEST_F(ValidateHtmlTest, TheCaretStaysOnItsLine) {
  Open("page.htm", kPage);
  const size_t two = CurrentText.find("two");
  CurrentEditor->Select(two, 0);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(CurrentEditor->LineFromChar(CurrentEditor->SelStart()), 8u);
}

TEST_F(ValidateHtmlTest, CheckingWithoutReformatting) {
  Open("page.htm", kPage);
  ValidateCurrentFile("NoReformat");
  EXPECT_EQ(EditorText(), kPage);
  EXPECT_EQ(HandOverText, kLaidOut);
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(ValidationPass, 1);

  // A page that says "NoReformat" is not even checked.
  const std::string marked = "<!-- noreformat -->\n<B>x</I>\n";
  Open("marked.htm", marked);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(EditorText(), marked);
  EXPECT_EQ(Status(), std::string("  ") + NoReformatStatus);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ValidateHtmlTest, EditsBeforeTheWalk) {
  Open("page.htm", "<HTML Lang=en>\n<Head>\n<Title>t</Title>\n" + kCharset +
                       "<Script Src=\"//cdn.example/x.js\"></Script>\n</Head>\n"
                       "<Body>\n<P/>one<br/>\ttwo <a name=top>x</a> <A\n   NAME=end>y</A>\n"
                       "</Body>\n</HTML>\n");
  Dialogs().Answer(mrOk);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Calls()[0].text, "\"<A Name=...\" replaced by \"<A Id=...\".");
  EXPECT_EQ(Dialogs().Calls()[0].helpContext, 20774);
  EXPECT_EQ(
      EditorText(),
      "<HTML Lang=en>\n<Head>\n  <Title>t</Title>\n" + kCharset +
          "  <Script src=\"https://cdn.example/x.js\" "
          "Type=\"text/javascript\"></Script>\n</Head>\n<Body>\n<p>one\n<br>two <a id=top>x</a> "
          "<a id=end>y</A>\n"
          "</Body>\n</HTML>\n");
}

TEST_F(ValidateHtmlTest, AnchorNamesBecomeIdsWhereverTheLineBreaks) {
  THtmlRun run;
  run.in = "<A\n  NAME=a>x</A><a\xA0\tname=b><abbr name=c><a  title=x name=d>";
  Dialogs().Answer(mrOk);
  HtmlPreEdits(run);
  EXPECT_EQ(run.in, "<a id=a>x</A><a id=b><abbr name=c><a  title=x name=d>");
  run.in = "<abbr>no anchor</abbr>";
  HtmlPreEdits(run);
  EXPECT_EQ(run.in, "<abbr>no anchor</abbr>");
}

TEST_F(ValidateHtmlTest, TheBlankLineQuestion) {
  const std::string page = Page("<Div>one</Div>\n\n<Div>two</Div>\n");
  Open("page.htm", page);
  Dialogs().Answer(mrYes);
  ValidateCurrentFile("Validate");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  const DialogCall& question = Dialogs().Last();
  EXPECT_EQ(question.kind, DialogKind::YesNoHelp);
  EXPECT_EQ(question.helpContext, 101500);
  const size_t empty = page.find("\n\n") + 1;
  EXPECT_EQ(question.text, "Blank line at offset " + std::to_string(empty + 1) + ":\r\r" +
                               page.substr(empty - 200, 200) + "[Blank line]" + page.substr(empty) +
                               "\r\rDo you want to keep blank lines?\rIf so I will change the "
                               "option.");
  EXPECT_FALSE(MainMenu().Checked("DelBlanks"));
  // The empty line stays.
  EXPECT_EQ(EditorText(), LaidOut("<Div>one</Div>\n\n<Div>two</Div>\n"));

  // Asked once in a program run.
  MainMenu().SetChecked("DelBlanks", true);
  Open("other.htm", page);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(EditorText(), LaidOut("<Div>one</Div>\n<Div>two</Div>\n"));
}

TEST_F(ValidateHtmlTest, BlankLinesInScriptsAndPagesNotAsked) {
  // Empty lines of scripts do not count; a page with comments is not asked about.
  const std::string scripted = "<HTML Lang=en>\n<Head>\n<Title>t</Title>\n" + kCharset +
                               "<Script>\nvar a;\n\nvar b;\n</Script>\n</Head>\n"
                               "<Body>\n</Body>\n</HTML>\n";
  Open("script.htm", scripted);
  ValidateCurrentFile("Validate");
  EXPECT_TRUE(Dialogs().Calls().empty());
  Open("comment.htm", "<!-- c -->\n" + kLaidOut + "\n\n");
  ValidateCurrentFile("Validate");
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_TRUE(MainMenu().Checked("DelBlanks"));

  ResetHtmlValidator();
  const std::string open = Page("<P>x\n<Script>\n\nvar a;\n");
  Open("open.htm", open);
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_EQ(Dialogs().Last().text, MessageText("No end of script starting at offset " +
                                               std::to_string(open.find("<Script>"))));
}

TEST_F(ValidateHtmlTest, PagesTheValidatorRefuses) {
  const std::string office = "<HTML xmlns:o=\"urn:office\"><o:p></o:p></HTML>\n";
  Open("office.htm", office);
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("Quorrel does not handle HTML produced by Microsoft Office!"));
  // During Validate all such a page is passed over.
  Dialogs().Clear();
  CurrentCommand = "ValAll";
  ValidateCurrentFile("Validate");
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(EditorText(), office);

  CurrentCommand.clear();
  Open("feed.htm", "<?php echo 1; ?>\n<?xml version=\"1.0\"?>\n");
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("Quorrel does not validate or reformat PHP containing XML!"));
}

TEST_F(ValidateHtmlTest, AnErrorKeepsThePartReformattedSoFar) {
  const std::string page = Page("<Div><UL><LI> one</LI>\n<LI>two</LI></UL><B>x</I> rest\n</Div>\n");
  Open("page.htm", page);
  ASSERT_FALSE(CurrentEditor->Modified());
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  const std::string done = "<HTML Lang=en>\n<Head>\n  <Title>t</Title>\n" + kCharset +
                           "</Head>\n<Body>\n<Div>\n  <UL>\n    <LI>one</LI>\n"
                           "    <LI>two</LI>\n  </UL>\n  <B>x";
  EXPECT_EQ(EditorText(), done + "</I> rest\n</Div>\n</Body>\n</HTML>\n");
  EXPECT_EQ(CurrentEditor->SelStart(), done.size());
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("<B> tag (around offset " + std::to_string(page.find("<B>") + 1) +
                        ") cannot end with </I>"));
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentCommand, "");
  EXPECT_EQ(ErrMsg, "");

  // An error with a help context comes in the box with a Help button.
  MainMenu().SetChecked("CheckH", true);
  Open("heads.htm", Page("<H1>a</H1>\n<H3>b</H3>\n"));
  Dialogs().Answer(mrOk);
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_EQ(Dialogs().Last().kind, DialogKind::Custom);
  EXPECT_EQ(Dialogs().Last().text, "Header level missing -\rH3 tag preceded by H1");
  EXPECT_EQ(Dialogs().Last().helpContext, 100710);
}

TEST_F(ValidateHtmlTest, AnErrorNeverForgetsUnsavedEdits) {
  // The page is in its layout: the error changes nothing, but the user's edit is
  // still unsaved.
  Open("page.htm", Page("<Div>\n  <B>x</I>\n</Div>\n"));
  CurrentEditor->SetModified(true);
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_TRUE(CurrentEditor->Modified());
  // A page without unsaved edits that the error did not change stays unmodified.
  Open("clean.htm", LaidOut("<Div>\n  <B>x</I>\n</Div>\n"));
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(ValidateHtmlTest, WhichTextIsTaken) {
  // Scripts and other documents are left alone or asked about.
  Open("macro.vbs", "<B>x</I>\n");
  ValidateHtmlOnly("Validate");
  EXPECT_TRUE(Dialogs().Calls().empty());
  Open("notes.txt", "<UL><LI>a</LI></UL>\n");
  Dialogs().Answer(mrNo);
  ValidateHtmlOnly("Validate");
  EXPECT_EQ(Dialogs().Last().text,
            "This is not HTML or ASP.  Do you really want to reformat it as such?");
  EXPECT_EQ(HandOverText, "");

  // The first pass of a page re-checked after a download reads the page itself,
  // not what an earlier validation handed over.
  HandOverText = "<B>stale</I>\n";
  Open("fresh.htm", kLaidOut);
  ValidateCurrentFile("N0");
  EXPECT_EQ(HandOverText, kLaidOut);

  // A page generated by the page builder is read from its buffer.
  Open("master.htm", "");
  IsDotPage = IsHtml = true;
  ValidationPass = 0;
  PageBuffer = ReplaceAll(LaidOut("<P>generated\n"), "\n", "\r\n", true);
  ValidateHtmlOnly("Validate");
  EXPECT_EQ(HandOverText, LaidOut("<P>generated\n"));
  PageBuffer = "<Img Src=\"//x/y.png\">";
  EXPECT_THROW(ValidateHtmlOnly("Validate"), EAbort);
  EXPECT_EQ(Dialogs().Last().text, MessageText("Replace src=\"// by src=\"https://"));
}

TEST_F(ValidateHtmlTest, TheColouringsMessageComesFirst) {
  Open("page.htm", kLaidOut);
  PendingMessage = "x: Duplicate declaration";
  PendingMessageOffset = 10;
  EXPECT_THROW(ValidateHtmlOnly("Validate"), EAbort);
  EXPECT_EQ(Dialogs().Last().text, "x: Duplicate declaration\rat offset 9");
  EXPECT_EQ(CurrentEditor->SelStart(), 9u);
  EXPECT_EQ(PendingMessage, "");
}

// A style block is validated as a page of its own; an error in it is placed in the
// page, the block's offset added to the offset in the block.
TEST_F(ValidateHtmlTest, AStyleBlocksErrorIsPlacedInThePage) {
  const std::string page = "<HTML Lang=en>\n<Head>\n<Title>t</Title>\n" + kCharset +
                           "<Style>\n  p { colr: red }\n</Style>\n</Head>\n<Body>\n<P>x\n"
                           "</Body>\n</HTML>\n";
  Open("page.htm", page);
  std::vector<TPage> blocks;
  SetPageValidatorStandIn(
      [&](TValidatorKind kind, const TPage& block) -> std::optional<TValidation> {
        if (kind != TValidatorKind::Css) return std::nullopt;  // the real HTML validator
        blocks.push_back(block);
        TValidation v;
        v.error = TValidationError{block.text.find("colr"), "Unknown property", 0};
        return v;
      });
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].kind, TDocumentKind::Css);
  EXPECT_EQ(blocks[0].text, "p { colr: red }");
  const size_t at = page.find("colr");
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("Unknown property\rat offset " + std::to_string(at)));
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentText.find("colr")) << CurrentText;
  EXPECT_FALSE(CheckingStyleBlock);
}

}  // namespace
}  // namespace quorrel::test
