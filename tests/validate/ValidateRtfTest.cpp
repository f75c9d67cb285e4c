// The RTF validator on RTF our writer makes and on RTF from a real word processor:
// the paragraph checks and their exemptions, the viewer's paragraph, the mends of
// the source and the word count.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/RtfCompose.h"
#include "platform/RtfModel.h"
#include "platform/RtfParse.h"
#include "shell/MenuModel.h"
#include "support/MasterRtf.h"
#include "support/ProgramOutput.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "validate/RtfMends.h"
#include "validate/RtfParagraphs.h"
#include "validate/ValidateRtf.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(QUORREL_FIXTURES) + "/rtf/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A letter as our writer gives it: one paragraph a line.
std::string Letter(const std::string& text) {
  return ComposeRtf(RtfDocumentOfText(text, TRtfCharFormat()));
}

TPage PageOf(const std::string& source, TDocumentKind kind = TDocumentKind::Rtf) {
  TPage page;
  page.text = source;
  page.kind = kind;
  return page;
}

const TColourAt kNoColour = [](size_t) { return -1; };

struct ParagraphCase {
  const char* name;
  std::string text;
  const char* message;  // "" for none
  std::vector<size_t> marks = {};
  TParagraphOptions options = {};
};

TEST(RtfParagraphChecksTest, MessagesAndExemptions) {
  const std::string far(401, 'x');
  const ParagraphCase cases[] = {
      {"nested", "One (two (three) four) five", NestedBracketsMessage, {4, 9}},
      {"nested in a second paragraph", "Fine.\r\nOne (two (three))", NestedBracketsMessage, {4, 9}},
      {"nested near if (", "if (a) b;\r\n(c (d))", ""},
      {"nested near href=", "<a href=x>(c (d))</a>", ""},
      {"nested near While(", "While(x)\r\n(c (d))", ""},
      {"nested near .bs on an earlier line", ".bs\r\n(c (d))", ""},
      {"nested with if ( too far away", "if (a)\r\n" + far + "\r\n(c (d))", NestedBracketsMessage},
      {"unopened", "One) two", UnopenedBracketMessage, {3}},
      {"smiley :-)", "Thanks :-) see you", ""},
      {"smiley ;-)", "Thanks ;-) see you", ""},
      {"smiley space colon", "Thanks :) see you", ""},
      {"unopened near javascript", "javascript:go()) x", ""},
      {"unopened without Check brackets", "One) two", "", {}, {true, true, false}},
      {"unmatched quote", "He said \"yes\" and \"no", UnmatchedQuotesMessage, {8, 12, 18}},
      {"quotes paired", "He said \"yes\" and \"no\"", ""},
      {"inch marks", "a 3\" screen and a 5\xBD\" one (12\" too) at 1/4\"", ""},
      {"a number after a letter is no measure", "model x3\" here", UnmatchedQuotesMessage},
      {"quote near <meta", "<meta content=\"a>", ""},
      {"quote near .ur", ".ur \"http://x", ""},
      {"quotes without Check quotes", "He said \"yes", "", {}, {true, false, true}},
      {"quotes without Validate on Save", "He said \"yes", "", {}, {false, true, true}},
      {"unclosed bracket", "One (two three", UnclosedBracketMessage, {4}},
      {"unclosed without Validate on Save", "One (two", "", {}, {false, true, true}},
      {".WW lines are one paragraph", ".WW\r\n(one\r\n\"two)\r\nthree\"\r\n.PG next", ""},
      {"the same lines without .WW", "(one\r\ntwo)", UnclosedBracketMessage},
      {".WW ends at the next dot line", ".WW\r\n(one\r\n.XX\r\ntwo)", UnclosedBracketMessage},
  };
  for (const ParagraphCase& c : cases) {
    const auto fault = CheckParagraphs(c.text, c.options, kNoColour);
    if (std::string(c.message).empty()) {
      EXPECT_FALSE(fault) << c.name << ": " << (fault ? fault->message : "");
      continue;
    }
    ASSERT_TRUE(fault) << c.name;
    EXPECT_EQ(fault->message, c.message) << c.name;
    if (!c.marks.empty()) {
      EXPECT_EQ(fault->marks, c.marks) << c.name;
    }
  }
}

TEST(RtfParagraphChecksTest, ViewerShowsPairedQuotesAsGuillemets) {
  const auto fault =
      CheckParagraphs("Intro.\r\nHe said \"yes\", a 3\" gap, and \"no", {}, kNoColour);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->offset, 8u);
  EXPECT_EQ(ParagraphForViewer(*fault), "He said \xAByes\xBB, a 3\" gap, and \xABno");
  EXPECT_EQ(fault->marks, (std::vector<size_t>{8, 12, 29}));
}

class ValidateRtfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetValidateRtf();
    for (const char* option : {"ValSave", "CheckQuotes", "CheckBrackets"}) {
      MainMenu().SetChecked(option, true);
    }
  }
};

// A bracket in the pale cyan that marks text not to check is passed over; the same
// bracket in another colour is not.
TEST_F(ValidateRtfTest, BracketInUncheckedColourIsPassedOver) {
  for (const int32_t rgb : {0xD8FFFF, 0xFF0000}) {
    TRtfDocument doc = RtfDocumentOfText("First line\r\nSmile) here", TRtfCharFormat());
    TRtfFormatChange colour;
    colour.color = rgb;
    RtfChangeFormat(doc, 16, 1, colour);  // the ")" of the second paragraph
    const TValidation v = ValidateRtf(PageOf(ComposeRtf(doc)));
    if (rgb == RgbOfBgr(UncheckedBracketColour)) {
      EXPECT_FALSE(v.paragraph);
      EXPECT_EQ(v.status, ValidatedStatus);
    } else {
      ASSERT_TRUE(v.paragraph);
      EXPECT_EQ(v.paragraph->message, UnopenedBracketMessage);
      EXPECT_EQ(v.paragraph->offset, 12u);
      EXPECT_EQ(v.paragraph->paragraph, "Smile) here");
      EXPECT_FALSE(v.status);
    }
  }
}

TEST_F(ValidateRtfTest, OnlyTheSelectedSectionIsCheckedAndNoValidateSkipsIt) {
  const std::string text = "Intro (open\r\n========\r\nPart two \"quote\r\n";
  TPage page = PageOf(Letter(text));
  page.caret = 13;  // the second section
  page.selectionLength = text.size() - 13;
  TValidation v = ValidateRtf(page);
  ASSERT_TRUE(v.paragraph);
  EXPECT_EQ(v.paragraph->message, UnmatchedQuotesMessage);
  EXPECT_EQ(v.paragraph->offset, 23u);

  const std::string marked = "Intro (open\r\n========\r\nPart two \"quote NoValidate\r\n";
  page.text = Letter(marked);
  page.selectionLength = marked.size() - 13;
  v = ValidateRtf(page);
  EXPECT_FALSE(v.paragraph);
  EXPECT_EQ(v.status, ValidatedStatus);
  EXPECT_FALSE(v.text);
}

// The smallest script: its layout word, and the last line "END" that validation adds.
TEST_F(ValidateRtfTest, ScriptsAreValidatedAsScripts) {
  const TValidation v = ValidateRtf(PageOf(Letter("Radio play\r\n"), TDocumentKind::Script));
  EXPECT_EQ(v.status, ValidatedStatus);
  ASSERT_TRUE(v.text);
  EXPECT_EQ(RtfPlainText(ParseRtf(*v.text)), "Radio play\r\nEND\r\n");
}

TEST_F(ValidateRtfTest, PolishMarkersFromAWordProcessorGoOnYesAndStayOnNo) {
  const std::string source = Fixture("libreoffice-polish.rtf");
  ASSERT_NE(source.find("\\lang1045"), std::string::npos);
  const std::string before = UnrtfText(source);
  ASSERT_NE(before.find("Dear Marta"), std::string::npos);

  Dialogs().Answer(mrNo);
  TValidation v = ValidateRtf(PageOf(source));
  EXPECT_FALSE(v.paragraph) << v.paragraph->message;  // inches, a smiley, paired quotes
  EXPECT_FALSE(v.text);                               // the source byte for byte
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Calls()[0].text, PolishMarkersQuestion);
  EXPECT_EQ(Dialogs().Calls()[0].helpContext, PolishMarkersHelp);
  ValidateRtf(PageOf(source));
  EXPECT_EQ(Dialogs().Calls().size(), 1u) << "asked once a session";

  ResetValidateRtf();
  Dialogs().Answer(mrYes);
  v = ValidateRtf(PageOf(source));
  ASSERT_TRUE(v.text);
  for (const char* marker : {"\\lang1045", "\\lang2057", "\\lang1033"}) {
    EXPECT_EQ(v.text->find(marker), std::string::npos) << marker;
  }
  EXPECT_NE(v.text->find("\\langfe2052"), std::string::npos) << "other language words stay";
  EXPECT_EQ(UnrtfText(*v.text), before);
  EXPECT_EQ(RtfPlainText(ParseRtf(*v.text)), RtfPlainText(ParseRtf(source)));
}

TEST(RtfMendsTest, LanguageMarkersGoWithoutTouchingTheText) {
  const std::string head =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 "
      "Calibri;}}";
  const std::string symbolHead =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 "
      "Symbol;}}";
  struct Case {
    std::string in, out;
  } cases[] = {
      {head + "{\\lang1045 tekst}}", head + "{tekst}}"},
      {head + "\\b\\lang2057 text}", head + "\\b text}"},
      {head + "a\\lang1033\\f1 b}", head + "ab}"},
      {symbolHead + "a\\lang1033\\f1 b}", symbolHead + "a\\f1 b}"},
      {head + "\\b\\lang1045abc}", head + "\\b abc}"},
      {head + "\\\\lang1045 stays}", head + "\\\\lang1045 stays}"},
      {head + "\\lang1036 French stays}", head + "\\lang1036 French stays}"},
      {head + "x\\lang1045\\lang2057 y}", head + "xy}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithoutLanguageMarkers(c.in), c.out) << c.in;
    EXPECT_EQ(RtfPlainText(ParseRtf(WithoutLanguageMarkers(c.in))), RtfPlainText(ParseRtf(c.in)))
        << c.in;
  }
}

TEST_F(ValidateRtfTest, MastersGetTheirStyleEndsMovedOnYesAndBlankRunsCut) {
  const std::string master =
      Master({".PG index|Home", "Some \\b bold words", "\\b0 plain", "", "", "", "End"});
  ASSERT_NE(master.find("\\par \\b0 "), std::string::npos);
  Dialogs().Answer(mrNo);
  TValidation v = ValidateRtf(PageOf(master, TDocumentKind::DotPage));
  ASSERT_TRUE(v.text);  // the blank paragraphs are cut whatever the answer
  EXPECT_NE(v.text->find("\\par \\b0 "), std::string::npos);
  EXPECT_EQ(Dialogs().Calls().back().text, StyleEndQuestion);
  EXPECT_EQ(Dialogs().Calls().back().helpContext, StyleEndHelp);

  Dialogs().Answer(mrYes);
  v = ValidateRtf(PageOf(master, TDocumentKind::DotPage));
  ASSERT_TRUE(v.text);
  EXPECT_EQ(v.text->find("\\par \\b0 "), std::string::npos);
  EXPECT_NE(v.text->find("bold words\\b0 \r\n\\par plain"), std::string::npos);
  EXPECT_EQ(v.text->find("\\par \r\n\\par \r\n\\par "), std::string::npos);
  EXPECT_EQ(RtfPlainText(ParseRtf(*v.text)),
            ".PG index|Home\r\nSome bold words\r\nplain\r\n\r\nEnd");
  EXPECT_EQ(ParseRtf(*v.text).paragraphs[2].runs[0].format.bold, false);

  // A letter is not a master: neither mend applies.
  const size_t asked = Dialogs().Calls().size();
  v = ValidateRtf(PageOf(master, TDocumentKind::Rtf));
  EXPECT_FALSE(v.text);
  EXPECT_EQ(Dialogs().Calls().size(), asked);
}

TEST_F(ValidateRtfTest, TableRowsAreNoticed) {
  ValidateRtf(PageOf("{\\rtf1\\ansi \\trowd\\cellx1000 a\\cell\\row}"));
  EXPECT_TRUE(RtfHasTables);
  ValidateRtf(PageOf(Letter("No table\r\n")));
  EXPECT_FALSE(RtfHasTables);
}

TEST_F(ValidateRtfTest, WordCountNearTheStartIsBroughtUpToDate) {
  auto words = [](int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "word ";
    return text;
  };
  struct Case {
    std::string head;
    int more;
    std::string expected;  // the head after validation
  } cases[] = {
      {"Length: 1234 words\r\n", 1500, "Length: 1,503 words\r\n"},
      {"Length:\t12 words\r\n", 100, "Length:\t103 words\r\n"},
      {"Length: 1,503 words\r\n", 1500, "Length: 1,503 words\r\n"},
      {"Model x1234 words\r\n", 10, "Model x1234 words\r\n"},
      {std::string(500, 'a') + " 12 words\r\n", 10, std::string(500, 'a') + " 12 words\r\n"},
  };
  for (const Case& c : cases) {
    const std::string text = c.head + words(c.more) + "\r\n";
    const TValidation v = ValidateRtf(PageOf(Letter(text)));
    const std::string after = RtfPlainText(ParseRtf(v.text.value_or(Letter(text))));
    EXPECT_EQ(after.substr(0, c.expected.size()), c.expected) << c.head;
    EXPECT_EQ(v.text.has_value(), c.expected != c.head) << c.head;
  }
}

TEST_F(ValidateRtfTest, WordCountKeepsTheFormatOfTheNumber) {
  TRtfDocument doc = RtfDocumentOfText("About 9 words in all\r\n", TRtfCharFormat());
  TRtfFormatChange bold;
  bold.bold = true;
  RtfChangeFormat(doc, 6, 1, bold);
  const TValidation v = ValidateRtf(PageOf(ComposeRtf(doc)));
  ASSERT_TRUE(v.text);
  const TRtfDocument after = ParseRtf(*v.text);
  EXPECT_EQ(RtfPlainText(after), "About 5 words in all\r\n");
  EXPECT_TRUE(RtfFormatAt(after, 6).bold);
  EXPECT_FALSE(RtfFormatAt(after, 8).bold);
}

}  // namespace
}  // namespace quorrel::test
