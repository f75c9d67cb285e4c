// The Text menu's insertions, lists and tables, chosen from their menu items on
// documents opened from real files.
#include "commands/ListsAndTables.h"
#include "commands/TextInserts.h"
#include "commands/TextStyles.h"
#include "platform/RtfParse.h"
#include "shell/RtfView.h"
#include "shell/SaveTestKit.h"
#include "support/MemoryRich.h"
#include "support/RtfConformance.h"

namespace quorrel {
namespace {

using test::Dialogs;
using test::OurRtf;

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RtfConformance);

class TextInsertsTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallTextStyleCommands();
    InstallTextInsertCommands();
  }
  // Opens a document with the caret at the place of its text marked "|", or at its end.
  void OpenAt(const std::string& name, const std::string& bytes) {
    Open(name, bytes);
    const size_t bar = Text().find('|');
    if (bar == std::string::npos) {
      CurrentEditor->Select(CurrentEditor->TextLength(), 0);
      return;
    }
    CurrentEditor->Select(CurrentEditor->OffsetToPos(bar), 1);
    CurrentEditor->SetSelText("");
    CurrentEditor->SetModified(false);
  }
  void Choose(const std::string& item) { MainMenu().Click(item); }
  std::string Text() const { return CurrentEditor->GetText(); }
  void SelectText(const std::string& what) {
    const size_t at = Text().find(what);
    ASSERT_NE(at, std::string::npos) << what;
    const size_t start = CurrentEditor->OffsetToPos(at);
    CurrentEditor->Select(start, CurrentEditor->OffsetToPos(at + what.size()) - start);
  }
  // The text with "|" at the caret.
  std::string TextAndCaret() const {
    std::string text = Text();
    text.insert(CurrentEditor->PosToOffset(CurrentEditor->SelStart()), "|");
    return text;
  }
  // Saves the document and reads the file into an editor of its own.
  std::string SaveAndReread(const std::string& path) {
    Choose("Save");
    EXPECT_FALSE(CurrentEditor->Modified());
    test::MemoryRich reread;
    reread.SetRtfSource(test::Slurp(path));
    return reread.GetRtfSource();
  }
  std::string Name(const char* stem, const char* ext) {
    return stem + std::to_string(++files_) + ext;
  }

 private:
  int files_ = 0;
};

// ---- the building blocks ---------------------------------------------------------

TEST(ListOfLinesTest, ItemsLoseTheirPrefixesAndNumbers) {
  struct Case {
    const char* selected;
    TListForm form;
    const char* list;
  } cases[] = {
      {"apple\r\npear\r\n", TListForm::Html, "<UL>\n  <LI>apple</LI>\n  <LI>pear</LI>\n</UL>\n"},
      // Numbered lines: an ordered list of the bare words, lower-case words kept.
      {"1. one\r\n2. two\r\n3. three", TListForm::Html,
       "<OL>\n  <LI>one</LI>\n  <LI>two</LI>\n  <LI>three</LI>\n</OL>\n"},
      {"(1) Alpha\r\n(2)&nbsp;Beta", TListForm::Html,
       "<OL>\n  <LI>Alpha</LI>\n  <LI>Beta</LI>\n</OL>\n"},
      {"(a) apple\r\n(b) banana", TListForm::Html,
       "<OL Type=a>\n  <LI>apple</LI>\n  <LI>banana</LI>\n</OL>\n"},
      // Paragraph and break tags, bullets, quote marks and blanks go, repeatedly.
      {"<P>&bull; first\r\n  \"<br /><p />second\"\r\n\x95  third\r\n\r\n<Br>\x95\x95 fourth",
       TListForm::Html,
       "<UL>\n  <LI>first</LI>\n  <LI>second</LI>\n  <LI>third</LI>\n  <LI>fourth</LI>\n</UL>\n"},
      // Numbers that do not start the list stay.
      {"Top 10\r\n1. one", TListForm::Html, "<UL>\n  <LI>Top 10</LI>\n  <LI>1. one</LI>\n</UL>\n"},
      {"one\r\ntwo", TListForm::RtfBullets, "\n  \x95  one\n  \x95  two\n"},
      {"1. one\r\n2. two", TListForm::TextBullets, "\n  \xB0  one\n  \xB0  two\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(ListOfLines(c.selected, c.form), c.list) << c.selected;
}

TEST(ListOfLinesTest, NumberingIsDigitsBracketsAndLetterLabelsNotWords) {
  struct Case {
    const char* item;
    const char* bare;
  } cases[] = {
      {"1. one", "one"},
      {"12) twelve", "twelve"},
      {"(a) apple", "apple"},
      {"b. banana", "banana"},
      {"(iv) four", "four"},
      {"3.&nbsp;x", "x"},
      {"4. ", ""},
      {"5 Apples", "Apples"},
      {"6. e-mail", "e-mail"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithoutNumbering(c.item), c.bare) << c.item;
}

TEST(EmptyListTest, HasTheAskedNumberOfItems) {
  EXPECT_EQ(EmptyList(2, TListForm::Html), "<UL>\n  <LI></LI>\n  <LI></LI>\n</UL>\n");
  EXPECT_EQ(EmptyList(1, TListForm::TextBullets), "\n  \xB0  \n");
}

TEST(TableOfLinesTest, RowsOfCellsSplitAtTwoBlanks) {
  struct Case {
    const char* selected;
    const char* table;
  } cases[] = {
      {"Name  Age\r\nAnn  42\r\n",
       "<Table>\n<TR><TD>Name</TD><TD>Age</TD></TR>\n<TR><TD>Ann</TD><TD>42</TD></TR>\n</Table>\n"},
      // One blank does not split; longer runs of blanks make one split.
      {"New York    8 million",
       "<Table>\n<TR><TD>New York</TD><TD>8 million</TD></TR>\n</Table>\n"},
      // A list's tags go, and so do a line's leading paragraph tags and blanks.
      {"<UL>\r\n  <LI>a  b</LI>\r\n<P><Br> c  d\r\n</UL>",
       "<Table>\n<TR><TD>a</TD><TD>b</TD></TR>\n<TR><TD>c</TD><TD>d</TD></TR>\n</Table>\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(TableOfLines(c.selected), c.table) << c.selected;
}

TEST(EmptyTableTest, FirstRowIsAHeadUnlessItIsTheOnlyOne) {
  EXPECT_EQ(EmptyTable(1, 2), "<Table>\n<TR><TD></TD><TD></TD></TR>\n</Table>\n");
  EXPECT_EQ(EmptyTable(3, 2),
            "<Table>\n<TR><TH></TH><TH></TH></TR>\n<TR><TD></TD><TD></TD></TR>\n"
            "<TR><TD></TD><TD></TD></TR>\n</Table>\n");
}

TEST(InsideTableTest, OnlyBetweenAnOpenTableAndItsEnd) {
  struct Case {
    const char* before;
    const char* after;
    bool inside;
  } cases[] = {
      {"<table border=1>\n<tr><td>", "</td></tr>\n</table>", true},
      {"<Table>\n</Table>\n", "<p>", false},
      {"<Table>\n</Table>\n<p>", "<Table>\n</Table>", false},
      {"<p>", "</Table>", false},
      {"<Table>", "no end", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InsideTable(c.before, c.after), c.inside) << c.before << "|" << c.after;
  }
}

TEST(BreaksIntoCodesTest, MarkersBecomeLineBreaks) {
  struct Case {
    std::string source, codes;
  } cases[] = {
      {OurRtf("one##CAH##two"), OurRtf("one\\line two")},
      // At a paragraph's end the break takes the paragraph mark's place.
      {OurRtf("one##CAH##\r\n\\par two"), OurRtf("one\\line two")},
      // At the end of the document the last paragraph keeps its mark.
      {OurRtf("one##CAH##"),
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil"
       "\\fcharset0 Arial;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0"
       "\\fs24 one\\line \\par}\r\n"},
      // A "\line " the user typed as text stays text.
      {OurRtf("type \\\\line ##CAH##x"), OurRtf("type \\\\line \\line x")},
  };
  for (const Case& c : cases) EXPECT_EQ(BreaksIntoCodes(c.source, "##CAH##"), c.codes);
}

// ---- symbols -------------------------------------------------------------------

TEST_F(TextInsertsTest, SymbolsInWebAndDotPages) {
  struct Case {
    const char* name;
    std::string text;
    const char* item;
    std::string inserted;
  } cases[] = {
      {"page.htm", "<p>a|b", "Nbsp", "&nbsp;"},
      {"page.htm", "<p>a|b", "MDash", "&mdash;"},
      {"page.htm", "<p>a|b", "Bullet", "<Img Src=\"images/Bullet.gif\" Alt=\"\" Border=0> &nbsp; "},
      {"page.htm", "<p>a|b", "Arrow", "<Img Src=\"images/Arrow.gif\" Alt=\"\"> &nbsp; "},
      {"dots.rtf", OurRtf(".PG x\r\n\\par a|b"), "Bullet", "\xA9 \xBB "},
      {"dots.rtf", OurRtf(".PG x\r\n\\par a|b"), "Arrow",
       "<Img Src=\"images/Arrow.gif\" Alt=\"\"> \xBB "},
      {"dots.rtf", OurRtf(".PG x\r\n\\par a|b"), "MDash", "&mdash;"},
  };
  for (const Case& c : cases) {
    OpenAt(Name("sym", c.name), c.text);
    const std::string before = Text();
    Choose(c.item);
    const size_t at = before.find("ab");
    EXPECT_EQ(Text(), before.substr(0, at + 1) + c.inserted + before.substr(at + 1)) << c.item;
  }
}

TEST_F(TextInsertsTest, NbspInRtfByView) {
  OpenAt("letter.rtf", OurRtf("a| b"));
  Choose("Nbsp");
  EXPECT_EQ(Text(), "a\xBB b");
  // In the codes, the control symbol itself.
  OpenAt("raw.rtf", OurRtf("a b"));
  FlipRtfView(*CurrentEditor);
  SelectText("a b");
  CurrentEditor->Select(CurrentEditor->SelStart() + 1, 0);
  Choose("Nbsp");
  EXPECT_NE(Text().find("a\\~ b"), std::string::npos) << Text();
  // A play script gets a no-break space and a blank, in place of the blank there.
  OpenAt("play.scr", OurRtf("JOHN| Hello"));
  Choose("Nbsp");
  EXPECT_EQ(Text(), "JOHN\xA0 Hello");
  EXPECT_EQ(CurrentEditor->SelStart(), 6u);
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(TextInsertsTest, RtfSymbolsKeepTheirFontsAndColoursThroughASave) {
  struct Case {
    const char* item;
    std::string text;  // what the document reads as
    size_t caret;
    std::string source;
  } cases[] = {
      {"Tick", "a\xFC b", 2,
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
       "{\\f1\\fnil\\fcharset2 Wingdings;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 "
       "a\\f1\\'fc\\f0  b\r\n\\par }\r\n"},
      {"Bullet", "a  \x95   b", 6,
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
       "{\\f1\\fnil\\fcharset0 Tahoma;}}\r\n{\\colortbl ;\\red128\\green0\\blue128;}\r\n"
       "\\viewkind4\\uc1\\pard\\f0\\fs24 a  \\cf1\\f1\\'95\\cf0\\f0    b\r\n\\par }\r\n"},
      {"Arrow", "a?   b", 4,
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
       "\r\n{\\colortbl ;\\red128\\green0\\blue128;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 "
       "a\\cf1\\u10146?  \\cf0  b\r\n\\par }\r\n"},
  };
  for (const Case& c : cases) {
    const std::string path = Write(Name("symbol", ".rtf"), OurRtf("a b"));
    OpenInNewTab(path);
    CurrentEditor->Select(1, 0);
    Choose(c.item);
    EXPECT_EQ(Text(), c.text) << c.item;
    EXPECT_EQ(CurrentEditor->SelStart(), c.caret) << c.item;
    EXPECT_EQ(CurrentEditor->GetRtfSource(), c.source) << c.item;
    // What is typed next is in the document's own font and colour.
    CurrentEditor->SetSelText("T");
    const TRtfCharFormat typed = CurrentEditor->CharFormatAt(c.caret);
    EXPECT_EQ(typed.font, "Arial") << c.item;
    EXPECT_EQ(typed.color, -1) << c.item;
    CurrentEditor->Select(c.caret, 1);
    CurrentEditor->SetSelText("");
    EXPECT_EQ(SaveAndReread(path), c.source) << c.item;
  }
}

// ---- Break ----------------------------------------------------------------------

TEST_F(TextInsertsTest, WebBreakAddsAListItemAfterListTagsElseABr) {
  struct Case {
    const char* page;
    const char* after;
  } cases[] = {
      {"<UL>|\r\n</UL>", "<UL>\r\n<LI>|</LI>\r\n</UL>"},
      {"<ol>|", "<ol>\r\n<LI>|</LI>"},
      {"<UL>\r\n  <LI>one</LI>|\r\n</UL>", "<UL>\r\n  <LI>one</LI>\r\n<LI>|</LI>\r\n</UL>"},
      // At the start of the line after the tag, the item goes on that line.
      {"<UL>\r\n  <LI>one</LI>\r\n|</UL>", "<UL>\r\n  <LI>one</LI>\r\n<LI>|</LI></UL>"},
      {"<p>one|two", "<p>one\r\n<Br>|two"},
      {"<LI>one|", "<LI>one\r\n<Br>|"},
  };
  for (const Case& c : cases) {
    OpenAt(Name("break", ".htm"), c.page);
    Choose("InsBreak");
    EXPECT_EQ(TextAndCaret(), c.after) << c.page;
  }
}

TEST_F(TextInsertsTest, RtfBreakIsALineBreakInTheCodes) {
  struct Case {
    std::string body;
    size_t start, length;
    std::string text;  // with "|" at the caret
    std::string codes;
  } cases[] = {
      {"one two", 3, 0, "one\v| two", "one\\line  two"},
      // At a paragraph's end the break joins the next paragraph on a new line.
      {"one\r\n\\par two", 3, 0, "one\v|two", "one\\line two"},
      // At the end of the document the paragraph mark stays.
      {"one", 3, 0, "one\v|", "one\\line"},
      // A selection's line ends, but for the last, become line breaks.
      {"a\r\n\\par b\r\n\\par c\r\n\\par d", 0, 6, "a\vb\vc\r\n|d", "a\\line b\\line c\r\n\\par d"},
      // A "\line " the user wrote stays as it is.
      {"see \\\\line  here", 16, 0, "see \\line  here\v|", "see \\\\line  here\\line"},
  };
  for (const Case& c : cases) {
    const std::string path = Write(Name("break", ".rtf"), OurRtf(c.body));
    OpenInNewTab(path);
    CurrentEditor->Select(c.start, c.length);
    Choose("InsBreak");
    EXPECT_EQ(TextAndCaret(), c.text) << c.body;
    const std::string expected = OurRtf(c.codes);
    EXPECT_EQ(CurrentEditor->GetRtfSource(), expected) << c.body;
    EXPECT_TRUE(CurrentEditor->Modified());
    EXPECT_EQ(SaveAndReread(path), expected) << c.body;
  }
}

TEST_F(TextInsertsTest, BreakElsewhereSaysWhereItApplies) {
  OpenAt("notes.txt", "one|two");
  Dialogs().Answer(mrOk);
  Choose("InsBreak");
  EXPECT_EQ(Dialogs().Last().text, "Insert break applies only to web and rich text files.");
  EXPECT_EQ(Dialogs().Last().helpContext, 50530);
  EXPECT_EQ(Text(), "onetwo");
}

// ---- List and Table ---------------------------------------------------------------

TEST_F(TextInsertsTest, ListOfTheSelectedLines) {
  OpenAt("list.htm", "<p>\r\n1. one\r\n2. two\r\n3. three\r\n");
  SelectText("1. one\r\n2. two\r\n3. three\r\n");
  Choose("InsList");
  EXPECT_EQ(Text(),
            "<p>\r\n<OL>\r\n  <LI>one</LI>\r\n  <LI>two</LI>\r\n  <LI>three</LI>\r\n</OL>\r\n");
}

// Paragraphs made into items or rows lose their end tags with their start tags: a
// "</P>" left inside an <LI> or <TD> is invalid markup.
TEST_F(TextInsertsTest, ParagraphsBecomeItemsAndRowsWithoutTheirEndTags) {
  struct Case {
    const char* item;
    const char* lines;
    const char* result;
  } cases[] = {
      {"InsList", "<P>Tea</P>\r\n<p>Coffee </p>\r\n<P>Milk\r\n",
       "<UL>\r\n  <LI>Tea</LI>\r\n  <LI>Coffee</LI>\r\n  <LI>Milk</LI>\r\n</UL>\r\n"},
      // Only a paragraph's own end tag goes: one the line did not open stays.
      {"InsList", "Tea</P>\r\n<Br>Coffee</P>\r\n",
       "<UL>\r\n  <LI>Tea</P></LI>\r\n  <LI>Coffee</P></LI>\r\n</UL>\r\n"},
      {"InsTable", "<P>Name  Age</P>\r\n<p>Ann  42</p>\r\n",
       "<Table>\r\n<TR><TD>Name</TD><TD>Age</TD></TR>\r\n"
       "<TR><TD>Ann</TD><TD>42</TD></TR>\r\n</Table>\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    OpenAt(Name("para", ".htm"), std::string("<p>\r\n") + c.lines);
    SelectText(c.lines);
    Choose(c.item);
    EXPECT_EQ(Text(), std::string("<p>\r\n") + c.result);
  }
}

TEST_F(TextInsertsTest, EmptyListOfTheAskedSize) {
  OpenAt("empty.txt", "x|");
  Dialogs().AnswerText("2");
  Choose("InsList");
  ASSERT_EQ(Dialogs().Inputs().size(), 1u);
  EXPECT_EQ(Dialogs().Inputs()[0].prompt, "Number of entries");
  EXPECT_EQ(Dialogs().Inputs()[0].value, "5");
  EXPECT_EQ(Text(), "x\r\n  \xB0  \r\n  \xB0  \r\n");
  // Cancel, a word or an absurd size insert nothing.
  for (const char* answer : {"", "many", "0", "1000000000"}) {
    if (*answer) {
      Dialogs().AnswerText(answer);
    } else {
      Dialogs().CancelText();
    }
    Choose("InsList");
    EXPECT_EQ(Text(), "x\r\n  \xB0  \r\n  \xB0  \r\n") << answer;
  }
}

TEST_F(TextInsertsTest, RtfListBulletsAreInTahomaAfterASave) {
  const std::string path = Write("list.rtf", OurRtf("Fruit:\r\n\\par apple\r\n\\par pear"));
  OpenInNewTab(path);
  SelectText("apple\r\npear");
  Choose("InsList");
  EXPECT_EQ(Text(), "Fruit:\r\n\r\n  \x95  apple\r\n  \x95  pear\r\n");
  const std::string source = OurRtf(
      "Fruit:\r\n\\par \r\n\\par   \\f1\\'95\\f0   apple\r\n\\par   \\f1\\'95\\f0   "
      "pear\r\n\\par ");
  std::string expected = source;
  expected.replace(expected.find("\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"),
                   sizeof("\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}") - 1,
                   "\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Tahoma;}");
  EXPECT_EQ(CurrentEditor->GetRtfSource(), expected);
  EXPECT_EQ(SaveAndReread(path), expected);
}

TEST_F(TextInsertsTest, TableOfTheSelectedLines) {
  OpenAt("table.htm", "<p>\r\nName  Age\r\nAnn  42\r\n");
  SelectText("Name  Age\r\nAnn  42\r\n");
  Choose("InsTable");
  EXPECT_EQ(Text(),
            "<p>\r\n<Table>\r\n<TR><TD>Name</TD><TD>Age</TD></TR>\r\n"
            "<TR><TD>Ann</TD><TD>42</TD></TR>\r\n</Table>\r\n");
}

TEST_F(TextInsertsTest, EmptyTableOfTheAskedSize) {
  OpenAt("grid.htm", "<p>|");
  Dialogs().AnswerText("1");
  Dialogs().AnswerText("3");
  Choose("InsTable");
  ASSERT_EQ(Dialogs().Inputs().size(), 2u);
  EXPECT_EQ(Dialogs().Inputs()[0].prompt,
            "Create Table:\rNumber of rows (first will be TH unless only one)");
  EXPECT_EQ(Dialogs().Inputs()[1].prompt, "Number of columns");
  EXPECT_EQ(Text(), "<p><Table>\r\n<TR><TD></TD><TD></TD><TD></TD></TR>\r\n</Table>\r\n");
  // Cancelling the columns inserts nothing.
  Dialogs().AnswerText("2");
  Dialogs().CancelText();
  Choose("InsTable");
  EXPECT_EQ(Text(), "<p><Table>\r\n<TR><TD></TD><TD></TD><TD></TD></TR>\r\n</Table>\r\n");
}

TEST_F(TextInsertsTest, TableInsideATableRunsUpdateTable) {
  int updates = 0;
  MainMenu().SetHandler("UpdateTable", [&updates](const TMenuItem&) { ++updates; });
  OpenAt("in.htm", "<Table>\r\n<TR><TD>a|</TD></TR>\r\n</Table>");
  const std::string before = Text();
  Choose("InsTable");
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(Text(), before);
  EXPECT_TRUE(Dialogs().Inputs().empty());
}

TEST_F(TextInsertsTest, DotPagesAskFirstAndRefuseUpdateTable) {
  OpenAt("dots.rtf", OurRtf(".PG x\r\n\\par <Table>\r\n\\par a|\r\n\\par </Table>"));
  Choose("InsTable");
  EXPECT_EQ(Dialogs().Last().text, MessageText("You can't use Update table from an RTF file."));
  OpenAt("dots2.rtf", OurRtf(".PG x\r\n\\par a  b"));
  SelectText("a  b");
  Dialogs().Answer(mrNo);
  Choose("InsTable");
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("You can generate a table using .TA\rAre you sure you want to continue?"));
  EXPECT_EQ(Text(), ".PG x\r\na  b");
  Dialogs().Answer(mrYes);
  Choose("InsTable");
  EXPECT_EQ(Text(), ".PG x\r\n<Table>\r\n<TR><TD>a</TD><TD>b</TD></TR>\r\n</Table>\r\n");
}

}  // namespace
}  // namespace quorrel
