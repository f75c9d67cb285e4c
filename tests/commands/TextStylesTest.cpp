// The Text menu's tag and character-style commands, chosen from their menu items
// on documents opened from real files.
#include "commands/TextStyles.h"
#include "platform/Desktop.h"
#include "platform/RtfParse.h"
#include "shell/RtfView.h"
#include "shell/SaveTestKit.h"
#include "support/MemoryRich.h"
#include "support/RtfConformance.h"

namespace quorrel {
namespace {

using test::Dialogs;
using test::OurRtf;

// The editors' own suite runs with the editors' tests; here only its sources serve.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RtfConformance);

class TextStylesTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallTextStyleCommands();
  }
  // Opens a page with the caret at its end.
  void OpenPage(const std::string& name, const std::string& text) {
    Open(name, text);
    CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  }
  void Choose(const std::string& item) { MainMenu().Click(item); }
  std::string Text() const { return CurrentEditor->GetText(); }
  // Selects the first occurrence of a text in the editor (one line).
  void SelectText(const std::string& what) {
    const size_t at = Text().find(what);
    ASSERT_NE(at, std::string::npos) << what;
    const size_t start = CurrentEditor->OffsetToPos(at);
    CurrentEditor->Select(start, CurrentEditor->OffsetToPos(at + what.size()) - start);
  }
  TRtfCharFormat FormatOf(const std::string& what) {
    return CurrentEditor->CharFormatAt(CurrentEditor->OffsetToPos(Text().find(what)));
  }
  // Saves the document and reads the file back into an editor of its own: its
  // formatting as RTF source.
  std::string SaveAndReread(const std::string& path) {
    Choose("Save");
    EXPECT_FALSE(CurrentEditor->Modified());
    test::MemoryRich reread;
    reread.SetRtfSource(test::Slurp(path));
    return reread.GetRtfSource();
  }
};

TEST(EndTagDueTest, OnlyWholeTagsCount) {
  struct Case {
    const char* before;
    const char* tag;
    bool due;
  } cases[] = {
      {"", "b", false},
      {"<p><b>bold", "b", true},
      {"<p><b>bold</b> ", "b", false},
      {"<B>upper", "b", true},
      {"<b>mixed</B>", "b", false},
      {"<i>x</I> <I>y", "i", true},
      // The letter followed by ">" inside other tags is no tag of its own.
      {"<UL>\n  <LI>", "i", false},
      {"<i>open <LI>", "i", true},
      {"x<sub>2", "b", false},
      {"<a class=links>", "s", false},
      {"<kbd>ls", "Kbd", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EndTagDue(c.before, c.tag), c.due) << c.before << " / " << c.tag;
  }
}

TEST(RtfCodesOfTextTest, EscapesWhatTheCodesWouldTakeAsCodes) {
  struct Case {
    std::string text, codes;
  } cases[] = {
      {"plain", "plain"},
      {"a\\b{c}", "a\\\\b\\{c\\}"},
      {"caf\xe9 \x80", "caf\\'e9 \\'80"},
      {"one\r\ntwo", "one\r\n\\par two"},
      {"a\tb\vc", "a\\tab b\\line c"},
  };
  for (const Case& c : cases) EXPECT_EQ(RtfCodesOfText(c.text), c.codes) << c.text;
}

TEST_F(TextStylesTest, TagsWrapTheSelectionLessItsLineEnd) {
  struct Case {
    const char* item;
    const char* wrapped;
  } cases[] = {
      {"Bold", "<b>word</b>"},
      {"Italic", "<i>word</i>"},
      {"Underline", "<u>word</u>"},
      {"Strike", "<s>word</s>"},
      {"Keyboard", "<Kbd>word</Kbd>"},
      {"Quote", "<q>word</q>"},
      {"Super", "<Sup>word</Sup>"},
      {"Sub", "<Sub>word</Sub>"},
      {"BlockQuote", "<BlockQuote>word</BlockQuote>"},
  };
  int n = 0;
  for (const Case& c : cases) {
    OpenPage("page" + std::to_string(++n) + ".htm", "<p>word\r\nnext");
    SelectText("word\r\n");
    Choose(c.item);
    EXPECT_EQ(Text(), std::string("<p>") + c.wrapped + "\r\nnext") << c.item;
  }
}

TEST_F(TextStylesTest, WithoutASelectionTheTagToggles) {
  struct Case {
    const char* page;
    const char* item;
    const char* inserted;
  } cases[] = {
      {"<p><b>bold", "Bold", "</b>"},
      {"<p><b>bold</b> ", "Bold", "<b>"},
      {"<p>", "Bold", "<b>"},
      {"<p><B>upper", "Bold", "</b>"},
      // After the List command's own item, Italic starts.
      {"<UL>\r\n  <LI>", "Italic", "<i>"},
      {"x<sub>2</sub> ", "Bold", "<b>"},
      {"<a class=links>", "Strike", "<s>"},
  };
  int n = 0;
  for (const Case& c : cases) {
    OpenPage("page" + std::to_string(++n) + ".htm", c.page);
    Choose(c.item);
    EXPECT_EQ(Text(), std::string(c.page) + c.inserted) << c.page;
  }
}

TEST_F(TextStylesTest, DotPagesAndCSharpTakeTagsOtherDocumentsSayNo) {
  Open("prog.cs", "x = 1;");
  CurrentEditor->Select(0, 1);
  Choose("Keyboard");
  EXPECT_EQ(Text(), "<Kbd>x</Kbd> = 1;");
  // Bold and the like are not even offered there.
  Open("notes.txt", "text");
  EXPECT_FALSE(MainMenu().Item("Bold").enabled);
  Choose("Keyboard");
  EXPECT_EQ(Dialogs().Last().text, MessageText("Inserting HTML attribute not applicable"));
  EXPECT_EQ(Text(), "text");
  // Key is never a style: in an RTF document it wants a web page too.
  Open("letter.rtf", OurRtf("Dear Sir"));
  Dialogs().Clear();
  Choose("Keyboard");
  EXPECT_EQ(Dialogs().Last().text, MessageText("Inserting HTML attribute not applicable"));
}

TEST_F(TextStylesTest, RtfStylesSwitchOnAndOffAndSurviveASave) {
  struct Case {
    const char* item;
    std::string styled;
  } cases[] = {
      {"Bold", "one \\b two\\b0  three"},
      {"Italic", "one \\i two\\i0  three"},
      {"Underline", "one \\ul two\\ulnone  three"},
      {"Strike", "one \\strike two\\strike0  three"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = Open("styled" + std::to_string(++n) + ".rtf", OurRtf("one two three"));
    SelectText("two");
    Choose(c.item);
    EXPECT_EQ(CurrentEditor->SelStart(), 4u) << c.item;
    EXPECT_EQ(CurrentEditor->SelLength(), 0u) << c.item;
    EXPECT_EQ(CurrentEditor->GetRtfSource(), OurRtf(c.styled)) << c.item;
    EXPECT_EQ(SaveAndReread(path), OurRtf(c.styled)) << c.item;
    // The last selected character has the style: the command takes it off.
    SelectText("two");
    Choose(c.item);
    EXPECT_EQ(CurrentEditor->GetRtfSource(), OurRtf("one two three")) << c.item;
  }
}

TEST_F(TextStylesTest, RtfStyleWithoutSelectionIsForTheNextTypedText) {
  Open("typed.rtf", OurRtf("one \\b two\\b0"));
  CurrentEditor->Select(3, 0);
  Choose("Bold");
  CurrentEditor->SetSelText("X");
  EXPECT_TRUE(FormatOf("X").bold);
  // After a bold character the command switches bold off.
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  Choose("Bold");
  CurrentEditor->SetSelText("Y");
  EXPECT_FALSE(FormatOf("Y").bold);
}

TEST_F(TextStylesTest, RtfStyleRefusesASelectionOverALineEnd) {
  Open("two.rtf", OurRtf("one\r\n\\par two"));
  CurrentEditor->Select(1, 4);
  Choose("Bold");
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("More code needed here because selected text includes a line-break"));
  EXPECT_FALSE(CurrentEditor->Modified());
  // A selection that only ends with the line end loses it and goes ahead.
  CurrentEditor->Select(0, 4);
  Choose("Bold");
  EXPECT_EQ(CurrentEditor->GetRtfSource(), OurRtf("\\b one\\b0\r\n\\par two"));
}

TEST_F(TextStylesTest, SuperSubAndQuoteGoThroughTheCodes) {
  struct Case {
    const char* item;
    std::string written;
  } cases[] = {
      {"Super", "x\\super 2\\nosupersub  y"},
      {"Sub", "x\\sub 2\\nosupersub  y"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = Open("script" + std::to_string(++n) + ".rtf", OurRtf("x2 y"));
    CurrentEditor->Select(1, 1);
    Choose(c.item);
    EXPECT_EQ(Text(), "x2 y") << c.item;
    EXPECT_TRUE(CurrentEditor->Modified()) << c.item;
    EXPECT_FALSE(CurrentEditor->PlainText()) << c.item;
    EXPECT_EQ(CurrentEditor->SelStart(), 1u) << c.item;
    EXPECT_EQ(CurrentEditor->GetRtfSource(), OurRtf(c.written)) << c.item;
    EXPECT_EQ(SaveAndReread(path), OurRtf(c.written)) << c.item;
  }
}

TEST_F(TextStylesTest, SelectedCodesCharactersStayText) {
  Open("braces.rtf", OurRtf("f(x) = \\{x\\\\y\\} \\'e9"));
  SelectText("{x\\y} \xe9");
  Choose("Super");
  EXPECT_EQ(Text(), "f(x) = {x\\y} \xe9");
  EXPECT_TRUE(FormatOf("{x").script == 1);
}

TEST_F(TextStylesTest, QuoteInTheCodesEndsWithItsClosingWord) {
  Open("quote.rtf", OurRtf("He said hello"));
  FlipRtfView(*CurrentEditor);
  SelectText("hello");
  Choose("Quote");
  EXPECT_NE(Text().find("\\q hello\\q0 "), std::string::npos) << Text();
  // Formatted, the quotation's words are read and the text stays as it was.
  FlipRtfView(*CurrentEditor);
  EXPECT_EQ(Text(), "He said hello");
  SelectText("hello");
  Choose("Quote");
  EXPECT_EQ(Text(), "He said hello");
}

TEST_F(TextStylesTest, NormalTakesTheSchemeColoursAndNoStyle) {
  SettingsIni->WriteInteger("Text", "Default", 0x0000FF);     // red
  SettingsIni->WriteInteger("Text", "Background", 0xFFFFFF);  // white
  const std::string path = Open(
      "normal.rtf", OurRtf("a \\b\\i\\ul\\strike\\fs32 loud\\b0\\i0\\ulnone\\strike0\\fs24  b"));
  SelectText("loud");
  Choose("Normal");
  const TRtfCharFormat normal = FormatOf("loud");
  EXPECT_FALSE(normal.bold || normal.italic || normal.underline || normal.strike);
  EXPECT_EQ(normal.color, 0xFF0000);
  EXPECT_EQ(normal.highlight, 0xFFFFFF);
  EXPECT_EQ(normal.halfPoints, 32);  // only a content document gets 12 points
  EXPECT_EQ(FormatOf("a ").color, -1);
  test::MemoryRich reread;
  reread.SetRtfSource(SaveAndReread(path));
  EXPECT_EQ(reread.CharFormatAt(2), normal);

  IsContentDoc = true;
  SelectText("loud");
  CurrentEditor->ChangeCharFormat(CurrentEditor->SelStart(), 4, [] {
    TRtfFormatChange big;
    big.halfPoints = 40;
    return big;
  }());
  Choose("Normal");
  EXPECT_EQ(FormatOf("loud").halfPoints, 24);
}

TEST_F(TextStylesTest, HtmlTogglesTheSelectionsFontWithFixedSys) {
  Open("code.rtf", OurRtf("Type ls now"));
  SelectText("ls");
  Choose("HTML");
  EXPECT_EQ(FormatOf("ls").font, "FixedSys");
  EXPECT_EQ(FormatOf("now").font, "Arial");
  SelectText("ls");
  Choose("HTML");
  EXPECT_EQ(FormatOf("ls").font, "Arial");
}

TEST_F(TextStylesTest, FontAsksWithTheSelectionsFontAndAppliesTheChoice) {
  Open("font.rtf", OurRtf("some \\b words\\b0"));
  Choose("SetFont");
  EXPECT_EQ(Dialogs().Last().text, MessageText("No text selected."));
  EXPECT_TRUE(Dialogs().FontCalls().empty());

  SelectText("words");
  TFontChoice chosen;
  chosen.name = "Verdana";
  chosen.size = 14;
  chosen.italic = true;
  chosen.colour = 0x0000FF;
  Dialogs().AnswerFont(chosen);
  Choose("SetFont");
  ASSERT_EQ(Dialogs().FontCalls().size(), 1u);
  TFontChoice start;
  start.name = "Arial";
  start.bold = true;
  EXPECT_EQ(Dialogs().FontCalls()[0], start);
  TRtfCharFormat got = FormatOf("words");
  EXPECT_EQ(got.font, "Verdana");
  EXPECT_EQ(got.halfPoints, 28);
  EXPECT_TRUE(got.italic);
  EXPECT_FALSE(got.bold);
  EXPECT_EQ(got.color, 0xFF0000);

  // The dialog's light grey comes out black; a cancelled dialog changes nothing.
  chosen.colour = 15395562;
  Dialogs().AnswerFont(chosen);
  Choose("SetFont");
  EXPECT_EQ(FormatOf("words").color, 0x000000);
  const std::string before = CurrentEditor->GetRtfSource();
  Dialogs().CancelFont();
  Choose("SetFont");
  EXPECT_EQ(CurrentEditor->GetRtfSource(), before);
}

TEST_F(TextStylesTest, AlignmentsTakeTheSelectedParagraphs) {
  struct Case {
    const char* item;
    const char* word;
  } cases[] = {{"AlCentre", "\\qc"}, {"AlRight", "\\qr"}};
  int n = 0;
  for (const Case& c : cases) {
    Open("aligned" + std::to_string(++n) + ".rtf", OurRtf("a\r\n\\par b\r\n\\par c"));
    CurrentEditor->Select(2, 3);  // "b", its mark and "c"
    Choose(c.item);
    EXPECT_EQ(CurrentEditor->GetRtfSource(),
              OurRtf(std::string("a\r\n\\par \\pard") + c.word + " b\r\n\\par c"))
        << c.item;
    CurrentEditor->Select(2, 0);
    Choose("AlLeft");
    EXPECT_EQ(CurrentEditor->GetRtfSource(),
              OurRtf(std::string("a\r\n\\par b\r\n\\par \\pard") + c.word + " c"))
        << c.item;
  }
}

TEST_F(TextStylesTest, BlockQuoteWithoutSelectionQuotesTheClipboard) {
  Desktop().SetClipboardText("Quoted words.\r\n");
  OpenPage("quote.htm", "<p>Said:\r\n");
  Choose("BlockQuote");
  EXPECT_EQ(Text(), "<p>Said:\r\n<BlockQuote>\r\nQuoted words.\r\n</BlockQuote>\r\n");
}

}  // namespace
}  // namespace quorrel
