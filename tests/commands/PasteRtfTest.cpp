// Paste of formatted text: the RTF steps on their own, then the command from its
// menu item on pages and RTF documents opened from real files.
#include <gtest/gtest.h>

#include "commands/ClipboardCommands.h"
#include "edit/PasteRtf.h"
#include "edit/TwoSpaces.h"
#include "platform/Abort.h"
#include "platform/Desktop.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/RtfView.h"
#include "shell/SaveTestKit.h"
#include "shell/ShellState.h"
#include "support/RtfConformance.h"

namespace quorrel {
namespace {

using test::Dialogs;

bool Shown(const std::string& message) {
  for (const std::string& text : Dialogs().Texts()) {
    if (text.find(message) != std::string::npos) return true;
  }
  return false;
}

TEST(PasteRtfTest, TidiedSource) {
  struct Case {
    const char* name;
    std::string source, tidied;
  } cases[] = {
      {"UTF-8 bytes as codes, hex digits in either case",
       "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\viewkind4\\uc1\\pard\\f0\\fs24 caf\\'C3\\'A9 "
       "it\\'E2\\'80\\'99s "
       "\\'e2\\'80\\'9cq\\'E2\\'80\\'9D n\\'c2\\~b \\'E9\r\n\\par }\r\n",
       "\\pard\\f0\\fs24 caf\xE9 it's \"q\" n b \xE9\r\n}\r\n"},
      {"the last paragraph mark only", "\\pard a\r\n\\par }b\r\n\\par }\r\n",
       "\\pard a\r\n\\par }b\r\n}\r\n"},
      {"header words in any case", "{\\rtf1\\PARD x}", "\\PARD x}"},
  };
  for (const Case& c : cases) EXPECT_EQ(TidyPastedRtf(c.source), c.tidied) << c.name;

  // RTF without a paragraph start is no text to paste: the search says so and stops.
  EXPECT_THROW(TidyPastedRtf("{\\rtf1 no paragraphs}"), EAbort);
  EXPECT_TRUE(Shown("was not found in"));
}

TEST(PasteRtfTest, UnicodeCharacters) {
  struct Case {
    std::string rtf, code;
  } cases[] = {
      {"\\pard Greek \\u945?x", "945"},
      {"\\pard CJK \\u-3913?", "-3913"},
      {"\\pard \\ul under\\ulnone \\uc1 x", ""},
      {"\\pard a path C:\\\\u12 stays", ""},
      {"\\pard \\u12345678901234?", "1234567890"},
      {"\\pard cut \\u77", "77"},
  };
  for (const Case& c : cases) EXPECT_EQ(UnicodeCodeIn(c.rtf), c.code) << c.rtf;
  EXPECT_EQ(UnicodeMessage("945"),
            "Unicode character pasted: 945\rPlease contact Varek Dask if you get this message.");
}

TEST(PasteRtfTest, RtfBecomesHtml) {
  struct Case {
    const char* name;
    std::string rtf, html;
  } cases[] = {
      {"bold, italic, breaks and byte codes",
       "\\pard\\f0\\fs24 Plain \\b bold\\b0  and \\i it\\i0\r\n\\par Next\r\n\\par \r\n\\par "
       "After\\'85 \\'b7x \\'e8\r\n}\r\n",
       "Plain <b>bold</b> and <i>it</i>\r<Br>Next\r<P>After&hellip; x &#232;"},
      {"bullets as our writer and a rich-edit control put them",
       "\\pard\\f0\\fs24 Intro\r\n\\par \\pard\\li720{\\pntext\\f1\\'B7\\tab}one\r\n\\par "
       "{\\pntext\\f2\\'b7\\tab}two\r\n\\par \\pard end}\r\n",
       "Intro\r<Br> &bull; one\r<Br> &bull; two\r<Br>end"},
      {"closing words of other writers", "\\pard \\b x\\bnone  \\i y\\inone  z}",
       "<b>x</b> <i>y</i> z"},
      {"groups: shown ones read, skipped ones not, the closing brace ends",
       "\\pard a{\\i b}c{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}d}e", "a<i>bcd"},
      {"tabs, line breaks and escaped characters",
       "\\pard A\\tab B\\line C\\\\D\\{E\\}\\~F\\_G\\-H}", "A B\r<Br>C\\D{E}&nbsp;F-GH"},
      {"a number's mark stays text", "\\pard {\\pntext\\f0 1.\\tab}one}", "1. one"},
  };
  for (const Case& c : cases) EXPECT_EQ(RtfToHtml(c.rtf), c.html) << c.name;
}

// Clipboards no word processor should write: every step ends, and none reads past
// the text.
TEST(PasteRtfTest, MalformedSourceNeverHangsTheSteps) {
  struct Case {
    std::string rtf, html;
  } cases[] = {
      {"\\pard {{{{ open", " open"},
      {"\\pard }}} closed", ""},
      {"\\pard cut \\'", "cut "},
      {"\\pard cut \\'4", "cut "},
      {"\\pard bad \\'zz code", "bad zz code"},
      {"\\pard lone \\", "lone "},
      {"\\pard \\", ""},
      {"\\pard \\b", "<b>"},
      {"\\pard {\\pntext\\f", ""},
      {"\\pard {\\pntext\\f1\\'B7", ""},
      {"\\pard {\\*\\pn never closed", ""},
      {"\\pard \\fs99999999999999999999 big", "big"},
      {"\\pard \\-", ""},
      {"\\pard x\\u", "x"},
      {std::string("\\pard \0 zero", 12), std::string("\0 zero", 6)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RtfToHtml(c.rtf), c.html) << c.rtf;
    // The other steps take the same clipboards without harm.
    UnicodeCodeIn(c.rtf);
    EXPECT_EQ(WithoutLeadingPard(c.rtf).size() <= c.rtf.size(), true) << c.rtf;
    EXPECT_LE(DotPageBody(c.rtf).size(), c.rtf.size()) << c.rtf;
    HoldsFormatting(c.rtf);
    const std::string rewritten = ComposeRtf(ParseRtf("{\\rtf1" + c.rtf + "}"));
    EXPECT_NE(TidyPastedRtf(rewritten).find("}\r\n"), std::string::npos) << c.rtf;
  }
}

TEST(PasteRtfTest, LeadingParagraphWordsGo) {
  struct Case {
    std::string rtf, body;
  } cases[] = {
      {"\\pard\\f0\\fs24 Hello", "Hello"},
      {"\\pard\\li720\\f0\\fs24\\b Bold\\b0 ", "\\b Bold\\b0 "},
      {"\\pard\\f0\\fs24\\i It", "\\i It"},
      {"\\pard\\fs24\\ul Under", "\\ul Under"},
      {"\\pard\\f0\\fs24 \\'e8t\\'e9", "\\'e8t\\'e9"},
      {"\\pard{\\pntext\\f1\\'B7\\tab}one", "{\\pntext\\f1\\'B7\\tab}one"},
      {"no paragraph start", "no paragraph start"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithoutLeadingPard(c.rtf), c.body) << c.rtf;
}

TEST(PasteRtfTest, DotPageBody) {
  struct Case {
    const char* name;
    std::string body, page;
  } cases[] = {
      {"curly quotes and the end", "Don\\rquote t \\lquote x\\rquote \r\n}\r\n", "Don't 'x'"},
      {"layout words with numbers",
       "\\li720\\fi-360\\sl276\\slmult1\\sb0\\sa140\\tx720\\lang2057\\highlight1\\cf2 Text\\fs20"
       "\\line more\r\n\\par \\pard\\fs24 end\\f1 ",
       "Text\\line more\r\n\\par \\pard end"},
      {"at the very end", "\\b bold\\b0  x\\fs24", "\\b bold\\b0  x"},
      {"words that only begin alike stay", "\\lineal \\sbasedon2 \\cfx \\langfe1033 y",
       "\\lineal \\sbasedon2 \\cfx \\langfe1033 y"},
      {"a fixed-pitch font inside stays", "\\f1 fixed\\f0  text", "\\f1 fixed\\f0  text"},
  };
  for (const Case& c : cases) EXPECT_EQ(DotPageBody(c.body), c.page) << c.name;
}

TEST(PasteRtfTest, DotPageRtfTakesThePagesHeader) {
  const std::string page = ComposeRtf(RtfDocumentOfText(".PG Title\r\nBody\r\n", {}));
  const std::string header = page.substr(0, page.find(' ', page.find("\\viewkind")) + 1);
  const std::string rtf = DotPageRtf(page, "\\b new\\b0  text");
  EXPECT_EQ(rtf, ReplaceAll(header, "\\uc1", "", true) + "\\b new\\b0  text\r\n\\par }\r\n");
  EXPECT_EQ(RtfPlainText(ParseRtf(rtf)), "new text");

  // Another program's RTF may end otherwise: the command stops and shows it.
  for (const std::string& odd : {page.substr(0, page.size() - 2), std::string("{\\rtf1 x }\r\n")}) {
    Dialogs().Clear();
    EXPECT_THROW(DotPageRtf(odd, "x"), EAbort);
    EXPECT_TRUE(Shown("End of RTF not as expected:\r" + odd)) << odd;
  }
}

TEST(PasteRtfTest, FormattingWorthKeeping) {
  struct Case {
    std::string rtf;
    bool holds;
  } cases[] = {
      {"\\b x", true},     {"x\\i0", true}, {"\\u945?", true},
      {"{\\pntext", true}, {"\\'B7", true}, {"plain \\f1 x\\'e9\\tab", false},
  };
  for (const Case& c : cases) EXPECT_EQ(HoldsFormatting(c.rtf), c.holds) << c.rtf;
}

// A word processor's copy: plain text and RTF.
constexpr char kBoldAndItalic[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard Plain {\\b bold} and {\\i it}\\par Next\\par\\par "
    "After\\'85\\par}";
constexpr char kBoldAndItalicText[] = "Plain bold and it\nNext\n\nAfter.\n";

class PasteRichTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallClipboardCommands();
    InstallTwoSpacesCommand();
  }
  void TearDown() override {
    ResetDesktop();
    SaveFixture::TearDown();
  }
  std::string Text() const { return CurrentEditor->GetText(); }
  void PasteRich(const std::string& text, const std::string& rtf) {
    Desktop().SetClipboardRich(text, rtf);
    MainMenu().Click("Paste");
  }
};

TEST_F(PasteRichTest, IntoAPageAsHtmlOrAsText) {
  struct Case {
    const char* name;
    int answer;
    std::string page;
  } cases[] = {
      {"Yes", mrYes, "<p>Plain <b>bold</b> and <i>it</i>\r\n<Br>Next\r\n<P>After&hellip;</p>\r\n"},
      {"No", mrNo, "<p>Plain bold and it\r\nNext\r\n\r\nAfter.\r\n</p>\r\n"},
  };
  for (const Case& c : cases) {
    Open(std::string(c.name) + ".htm", "<p></p>\n");
    CurrentEditor->Select(3, 0);
    Dialogs().Clear();
    Dialogs().Answer(c.answer);
    PasteRich(kBoldAndItalicText, kBoldAndItalic);
    EXPECT_TRUE(Shown("Convert the pasted text to HTML, keeping any bold, italic and line breaks?"))
        << c.name;
    EXPECT_EQ(Text(), c.page) << c.name;
  }
}

TEST_F(PasteRichTest, NoQuestionForOneLineOrTheContentDocument) {
  Open("one.htm", "<p></p>\n");
  CurrentEditor->Select(3, 0);
  PasteRich("Plain bold", "{\\rtf1\\pard Plain {\\b bold}\\par}");
  EXPECT_EQ(Text(), "<p>Plain bold</p>\r\n");

  Open("content.htm", "<p></p>\n");
  IsContentDoc = true;
  CurrentEditor->Select(3, 0);
  PasteRich(kBoldAndItalicText, kBoldAndItalic);
  IsContentDoc = false;
  EXPECT_EQ(Text(), "<p>Plain bold and it\r\nNext\r\n\r\nAfter.\r\n</p>\r\n");
  EXPECT_TRUE(Dialogs().Texts().empty());
}

TEST_F(PasteRichTest, PseudoBlanksOfferedInAPage) {
  struct Case {
    const char* name;
    std::initializer_list<int> answers;
    std::string page;
  } cases[] = {
      {"blanks", {mrYes}, "<p>a b c</p>\r\n"},
      {"nbsp", {mrNo, mrYes}, "<p>a&nbsp;b&nbsp;c</p>\r\n"},
  };
  for (const Case& c : cases) {
    Open(std::string(c.name) + ".htm", "<p></p>\n");
    CurrentEditor->Select(3, 0);
    Dialogs().Clear();
    Dialogs().Answer(c.answers);
    PasteRich(
        "a\xA0"
        "b\xA0"
        "c",
        "{\\rtf1\\pard a\\~b\\~c\\par}");
    EXPECT_TRUE(Shown("pseudo-blanks by real blanks")) << c.name;
    EXPECT_EQ(Text(), c.page) << c.name;
  }
}

TEST_F(PasteRichTest, UnicodeCharacterStopsAndLeavesThePage) {
  Open("page.htm", "<p></p>\n");
  CurrentEditor->Select(3, 0);
  PasteRich("Greek ?\nx\n",
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard Greek \\u945?\\par x\\par}");
  EXPECT_TRUE(Shown(UnicodeMessage("945")));
  EXPECT_FALSE(Shown("Convert the pasted text"));
  EXPECT_EQ(Text(), "<p></p>\r\n");
}

TEST_F(PasteRichTest, RtfCodesGoIntoTheRawViewOnly) {
  const std::string codes = "{\\rtf1\\ansi hello}";
  Open("letter.rtf", test::OurRtf("Dear Jo and Ann"));
  ASSERT_FALSE(CurrentEditor->PlainText());
  Desktop().SetClipboardText(codes);
  MainMenu().Click("Paste");
  EXPECT_TRUE(Shown("You must switch to Raw RTF view before pasting raw RTF."));
  EXPECT_EQ(Text(), "Dear Jo and Ann");

  // In the codes view they go in as they are, "r" and all.
  FlipRtfView(*CurrentEditor);
  ASSERT_TRUE(CurrentEditor->PlainText());
  CurrentEditor->Select(0, 0);
  MainMenu().Click("Paste");
  EXPECT_EQ(Text().substr(0, codes.size()), codes);
}

TEST_F(PasteRichTest, IntoAnRtfDocumentKeepingBoldOnRequest) {
  struct Case {
    const char* name;
    int answer;
    bool bold;
  } cases[] = {{"kept", mrYes, true}, {"plain", mrNo, false}};
  for (const Case& c : cases) {
    const std::string path = Open(std::string(c.name) + ".rtf", test::OurRtf("Dear Jo and Ann, "));
    CurrentEditor->Select(17, 0);
    Dialogs().Clear();
    Dialogs().Answer(c.answer);
    PasteRich("Plain bold", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard Plain {\\b bold}\\par}");
    EXPECT_TRUE(Shown("Keep formatted text?")) << c.name;
    EXPECT_EQ(Text(), "Dear Jo and Ann, Plain bold") << c.name;
    EXPECT_EQ(CurrentEditor->CharFormatAt(25).bold, c.bold) << c.name;
    EXPECT_FALSE(CurrentEditor->CharFormatAt(18).bold) << c.name;
    // Saved and read back, the bold run is there.
    ASSERT_TRUE(MainMenu().Click("Save"));
    const TRtfDocument saved = ParseRtf(test::ReadFile(path));
    EXPECT_EQ(RtfPlainText(saved), "Dear Jo and Ann, Plain bold") << c.name;
    EXPECT_EQ(RtfFormatAt(saved, 25).bold, c.bold) << c.name;
  }
}

TEST_F(PasteRichTest, PlainRichTextIntoAnRtfDocumentAsksNothing) {
  Open("letter.rtf", test::OurRtf("Dear Jo and Ann, "));
  CurrentEditor->Select(17, 0);
  PasteRich("just text",
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\li720\\fs30 just text\\par}");
  EXPECT_TRUE(Dialogs().Texts().empty());
  EXPECT_EQ(Text(), "Dear Jo and Ann, just text");
}

TEST_F(PasteRichTest, IntoADotCommandPage) {
  TRtfDocument page = RtfDocumentOfText(".PG Title\r\nBody ", {});
  const std::string path = Open("page.rtf", ComposeRtf(page));
  ASSERT_TRUE(IsDotPage);
  const std::string header = test::ReadFile(path).substr(0, test::ReadFile(path).find(".PG"));
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  Dialogs().Answer(mrYes);  // Keep formatted text?
  PasteRich(
      "Bold words\nnext",
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\li720\\fi-360\\sb120\\sa140\\sl276\\slmult1"
      "\\fs30 {\\b Bold}\\rquote s words\\par\\pard\\qc\\li1440\\tx720\\fs20 next\\par}");
  EXPECT_TRUE(Shown("Keep formatted text?"));
  EXPECT_EQ(Text(), ".PG Title\r\nBody Bold\x92s words\r\nnext");
  ASSERT_TRUE(MainMenu().Click("Save"));

  const std::string saved = test::ReadFile(path);
  EXPECT_EQ(saved.substr(0, header.size()), header) << saved;
  for (const char* word : {"\\li", "\\fi", "\\sb", "\\sa", "\\sl", "\\tx", "\\fs30", "\\fs20"}) {
    EXPECT_EQ(saved.find(word), std::string::npos) << word << "\n" << saved;
  }
  const TRtfDocument back = ParseRtf(saved);
  EXPECT_EQ(RtfPlainText(back), ".PG Title\r\nBody Bold\x92s words\r\nnext");
  EXPECT_TRUE(RtfFormatAt(back, 17).bold);
}

}  // namespace
}  // namespace quorrel
