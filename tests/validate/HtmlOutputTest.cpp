// The HTML validator's output: entities, blanks and line ends of text, the layout
// of tags (two blanks per open level, line breaks after block tags and inside
// elements whose content runs onto lines of its own), the tidying of tag texts,
// and a second re-formatting that changes nothing.
#include <string>

#include "shell/DBoxUnit.h"
#include "support/MemoryRich.h"
#include "validate/HtmlCharset.h"
#include "validate/HtmlTestKit.h"

namespace quorrel::test {
namespace {

class HtmlOutputTest : public HtmlTest {};

TEST_F(HtmlOutputTest, CharactersOfTheUpperHalfBecomeEntities) {
  struct Case {
    unsigned char code;
    const char* written;
  } cases[] = {
      {128, "&euro;"}, {133, "&hellip;"}, {134, "&dagger;"}, {135, "&Dagger;"},
      {145, "'"},      {146, "'"},        {147, "&ldquo;"},  {148, "&rdquo;"},
      {149, "&bull;"}, {150, "&ndash;"},  {151, "&ndash;"},  {159, "&#159;"},
      {161, "&#161;"}, {233, "&#233;"},   {255, "&#255;"},   {160, " "},
  };
  for (const Case& c : cases) {
    const std::string text = std::string("a") + static_cast<char>(c.code) + "b";
    TWalkResult r = WalkPage(text);
    EXPECT_EQ(r.out, std::string("a") + c.written + "b") << int(c.code);
    EXPECT_TRUE(r.error.empty()) << int(c.code);
    // The same inside a tag's attribute value.
    r = WalkPage("<A Title=\"" + text + "\">x</A>");
    EXPECT_EQ(r.out, std::string("<A Title=\"a") + c.written + "b\">x</A>") << int(c.code);
  }
  EXPECT_EQ(WalkPage("a\rb\r\n").out, "ab ");
  // In a tag a typographic apostrophe becomes a quote only inside double quotes.
  EXPECT_EQ(WalkPage("<A Title=\"it\x92s\">x</A>").out, "<A Title=\"it's\">x</A>");
  EXPECT_EQ(WalkPage("<A Title='it\x92s'>x</A>").out, "<A Title='it&#39;s'>x</A>");
  EXPECT_EQ(WalkPage("<Img Alt=Bob\x91s>").out, "<Img Alt=Bob&#39;s>");
}

TEST_F(HtmlOutputTest, ReservedCharactersEndTheCommandInsideASite) {
  MemoryRich editor;
  editor.SetText("<P>Trade\x99mark and \x81");
  CurrentEditor = &editor;
  for (unsigned char code : {129, 130, 132, 136, 140, 141, 144, 152, 153, 156, 158}) {
    Dialogs().Clear();
    const std::string page = std::string("<P>x") + static_cast<char>(code);
    TWalkResult r = WalkPage(page);
    ASSERT_TRUE(r.aborted) << int(code);
    EXPECT_EQ(LastBox(), MessageText("Error - Values between 128 and 159 are reserved for control "
                                     "characters.\rThis character (" +
                                     std::string(1, static_cast<char>(code)) + ") is " +
                                     std::to_string(code) + "."));
  }
  // The editor shows the first such character.
  WalkPage("\x99");
  EXPECT_EQ(editor.SelStart(), 8u);
  EXPECT_EQ(editor.SelLength(), 1u);

  // Outside a site, and while every file of a site is validated, they pass.
  Dialogs().Clear();
  NotInSite = true;
  EXPECT_EQ(WalkPage("a\x99z").out, "a\x99z");
  NotInSite = false;
  CurrentCommand = "ValAll";
  EXPECT_EQ(WalkPage("a\x81z").out, "a\x81z");
  EXPECT_TRUE(Dialogs().Calls().empty());
  CurrentEditor = nullptr;
}

// In a page that declares UTF-8 a multi-byte character is written as it is, even
// where its second or third byte lies in 128 to 159 ("\xE2\x89\xA0" is the sign
// for "not equal") or is a no-break space's byte.
TEST_F(HtmlOutputTest, AUtf8PageKeepsItsCharacters) {
  const std::string head = "<html><head><meta charset=\"utf-8\"><title>T</title></head><body>";
  for (const char* character :
       {"\xE2\x89\xA0", "\xC3\xA9", "\xC2\xA0", "\xE2\x80\xA6", "\xF0\x9F\x98\x80", "\xC5\x91"}) {
    SCOPED_TRACE(character);
    const std::string text = std::string("<b>a ") + character + " b</b>";
    TWalkResult r = WalkPage(head + text);
    EXPECT_FALSE(r.aborted) << LastBox();
    EXPECT_NE(r.out.find(text), std::string::npos);
    // And inside an attribute value, however the tag is tidied.
    const std::string tag = std::string("<a title=\"") + character + "\">x</a>";
    r = WalkPage(head + "<a\ntitle=\"" + character + "\">x</a>");
    EXPECT_NE(r.out.find(tag), std::string::npos);
  }
  // Smart quotes make the XML declaration's quotes entities; the page is still UTF-8
  // to the next pass, by its meta tag (found by fuzzing the walk).
  Option("SmartQuotes", true);
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html><head><meta http-equiv=\"Content-Type\" "
      "content=\"text/html; charset=UTF-8\" /></head><body>the \xE2\x80\xFEx\xE2\x80\x9D y";
  const TWalkResult once = WalkPage(xml);
  ASSERT_FALSE(once.aborted) << LastBox();
  const TWalkResult twice = WalkPage(once.out);
  EXPECT_FALSE(twice.aborted) << LastBox();
  EXPECT_EQ(twice.out, once.out);
  Option("SmartQuotes", false);
  // The page's own rule for the typographic apostrophe still holds.
  EXPECT_NE(WalkPage(head + "it\xE2\x80\x99s").out.find("it's"), std::string::npos);

  // A byte that begins no character, in a UTF-8 page, and the same bytes in a page
  // that says nothing of UTF-8, are what they always were.
  MemoryRich editor;
  CurrentEditor = &editor;
  for (const std::string& page : {head + "<b>a \x89 b", std::string("<b>a \xE2\x89\xA0 b")}) {
    Dialogs().Clear();
    editor.SetText(page);
    EXPECT_TRUE(WalkPage(page).aborted);
    EXPECT_EQ(LastBox(), MessageText("Error - Values between 128 and 159 are reserved for control "
                                     "characters.\rThis character (\x89) is 137."));
  }
  CurrentEditor = nullptr;
  const std::string out = WalkPage(head + "\xE9\xC3").out;
  EXPECT_EQ(out.substr(out.find("<body>")), "<body>\n&#233;&#195;");
}

TEST_F(HtmlOutputTest, WhereAPageDeclaresUtf8) {
  struct Case {
    const char* page;
    bool utf8;
  } cases[] = {
      {"<head><meta charset=\"utf-8\">", true},
      {"<head><meta charset=UTF-8>", true},
      {"<head><meta charset=utf8>", true},
      {"<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\" />", true},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html><head>", true},
      // The meta tag is what a browser goes by; smart quotes may have made the XML
      // declaration's name unreadable.
      {"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<html><head><meta charset=\"utf-8\">",
       true},
      {"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<html><head><meta charset=\"iso-8859-1\">",
       false},
      {"<?xml version=&ldquo;1.0&rdquo; encoding=&ldquo;UTF-8&rdquo;?>\n<html><head><meta "
       "http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />",
       true},
      {"<head><meta charset=\"iso-8859-1\">", false},
      {"<head><meta charset=\"utf-16\">", false},
      {"<head><meta charset=\"utf-88\">", false},
      {"<head><title>charset=utf-8</title>", false},
      {"<head></head><body><meta charset=\"utf-8\">", false},
      {"<p>Write <code>&lt;meta charset=utf-8&gt;</code>", false},
  };
  for (const Case& c : cases) EXPECT_EQ(DeclaresUtf8(c.page), c.utf8) << c.page;
}

TEST_F(HtmlOutputTest, BlanksAndLineEndsOfText) {
  struct Case {
    const char* page;
    const char* out;
  } cases[] = {
      {"one\ntwo\n\nthree", "one two three"},             // text lines join
      {"a   b  \t c", "a b c"},                           // one blank between words
      {"<B>x</B>\ny", "<B>x</B>\ny"},                     // a line end after a tag stays
      {"<B>x</B>\n\n\n\ny", "<B>x</B>\ny"},               // empty lines after it go
      {"<DIV>\n\n   text</DIV>", "<DIV>\ntext</DIV>\n"},  // so do a line's leading blanks
      {"x\xE2\x80\x99s", "x's"},                          // the UTF-8 right single quote
  };
  for (const Case& c : cases) EXPECT_EQ(WalkPage(c.page).out, c.out) << c.page;

  // With "Delete blank lines" unticked one empty line stays after a tag.
  Option("DelBlanks", false);
  EXPECT_EQ(WalkPage("<B>x</B>\n\n\n\ny").out, "<B>x</B>\n\ny");
  EXPECT_EQ(WalkPage("<HR>\n\n\n<HR>").out, "<HR>\n\n<HR>\n");
  Option("DelBlanks", true);
  EXPECT_EQ(WalkPage("<HR>\n\n\n<HR>").out, "<HR>\n<HR>\n");
}

TEST_F(HtmlOutputTest, SmartQuotesAlternate) {
  const std::string page = "He said \"hi\" and \"bye";
  EXPECT_EQ(WalkPage(page).out, page);
  Option("SmartQuotes", true);
  EXPECT_EQ(WalkPage(page).out, "He said &ldquo;hi&rdquo; and &ldquo;bye");
  // Quotes inside tags are no text.
  EXPECT_EQ(WalkPage("<A Href=\"x\">\"a\"</A>").out, "<A Href=\"x\">&ldquo;a&rdquo;</A>");
  // Server pages keep theirs.
  IsServerPage = true;
  EXPECT_EQ(WalkPage(page).out, page);
}

TEST_F(HtmlOutputTest, TagsAreIndentedTwoBlanksPerOpenLevel) {
  struct Case {
    const char* page;
    const char* out;
  } cases[] = {
      {"<UL><LI>a</LI><LI>b</LI></UL>", "<UL>\n  <LI>a</LI>\n  <LI>b</LI>\n</UL>\n"},
      {"<UL>\n   <LI> a\n</LI>\n</UL>", "<UL>\n  <LI>a</LI>\n</UL>\n"},
      {"<Table><TR><TD>1</TD><TD>2</TD></TR></Table>",
       "<Table>\n  <TR>\n    <TD>1</TD>\n    <TD>2</TD>\n  </TR>\n</Table>\n"},
      {"<Form Action=x><Select><Option>a</Option></Select></Form>",
       "<Form Action=x>\n  <Select>\n    <Option>a</Option>\n  </Select>\n</Form>\n"},
      // A cell whose content takes lines of its own: the content goes under it.
      {"<Table><TR><TD>text<Div>x</Div></TD></TR></Table>",
       "<Table>\n  <TR>\n    <TD>\n      text\n      <Div>x</Div>\n    </TD>\n  </TR>\n</Table>\n"},
      // Inline tags stay in the line; block tags start and end lines.
      {"a <B>b</B> <I>c</I> d<HR>e", "a <B>b</B> <I>c</I> d\n<HR>\ne"},
      // A line break starts a line of its own; the blank before it goes.
      {"one <BR>two<BR> three", "one\n<BR>two\n<BR>three"},
      // Paragraphs are no containers: their closing tags go.
      {"<P>one</P><P>two</P>", "<P>one\n<P>two"},
  };
  for (const Case& c : cases) {
    TWalkResult r = WalkPage(c.page);
    EXPECT_EQ(r.out, c.out) << c.page;
    EXPECT_EQ(r.error, "") << c.page;
  }
}

TEST_F(HtmlOutputTest, TagTextsAreTidied) {
  struct Case {
    const char* page;
    const char* out;
  } cases[] = {
      {"<A  Href=\"a  b\"\n   Title=x>y</A>", "<A Href=\"a  b\" Title=x>y</A>"},
      {"<Img Src=x.gif />", "<Img Src=x.gif>"},  // HTML: the final "/" goes
      {"<Img Src=x.gif //>", "<Img Src=x.gif>"},
      {"<Div   >x</Div  >", "<Div >x</Div >\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(WalkPage(c.page).out, c.out) << c.page;

  // XHTML pages: void tags (paragraphs among them) end " /".
  const std::string xhtml = "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\">\n";
  EXPECT_EQ(WalkPage(xhtml + "<p>a<br>b<img src=x/><hr/></p>").out,
            xhtml + "<p />a\n<br />b<img src=x />\n<hr />\n");
}

TEST_F(HtmlOutputTest, SelfClosedControlsOfAspxPages) {
  CurrentExt = ".ASPX";
  IsServerPage = true;
  TWalkResult r = WalkPage("<Div><asp:Label runat=server Text=x/><asp:Image runat=server/></Div>");
  EXPECT_EQ(r.out, "<Div><asp:Label runat=server Text=x /><asp:Image runat=server /></Div>\n");
  EXPECT_EQ(r.error, "");
  // Elsewhere the "/" goes, and a control stays open until its closing tag.
  CurrentExt = ".HTM";
  IsServerPage = false;
  r = WalkPage("<Div><asp:Label runat=server/></Div>");
  EXPECT_EQ(r.error, "<ASP:LABEL> tag (around offset 6) cannot end with </DIV>");
}

TEST_F(HtmlOutputTest, ReformattingTwiceChangesNothing) {
  const char* pages[] = {
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>T</title>\n"
      "<style>\np { color: red }\n  h1 { margin: 0 }\n</style>\n</head>\n<body>\n<h1>Hi</h1>\n"
      "<p>Para <b>bold</b> text.\n<ul>\n<li>one</li>\n<li> two\n</li>\n</ul>\n"
      "<table><tr><td>a<div>x</div></td><td>b</td></tr></table>\n"
      "<script>\n  var a = 1;\n  var b = 2;\n</script>\n<pre>\n  keep   this\n</pre>\n"
      "<!-- a comment -->  after it\n</body>\n</html>\n",
      "<DIV><DIV><DIV>deep <B>and</B>\n\n\n<SPAN>inline</SPAN></DIV>\n</DIV>\n</DIV>",
      "<TABLE>\n\t<TR>\n\t\t<TD>\n\t\t\t<TABLE><TR><TD>in</TD></TR></TABLE>\n\t\t</TD>\n\t</TR>\n"
      "</TABLE>",
      "<P>  one<P>\n two  <BR> three\n<P>",
  };
  for (bool delBlanks : {true, false}) {
    Option("DelBlanks", delBlanks);
    for (const char* page : pages) {
      TWalkResult once = WalkPage(page);
      ASSERT_EQ(once.error, "") << page;
      TWalkResult twice = WalkPage(once.out);
      EXPECT_EQ(twice.error, "");
      EXPECT_EQ(twice.out, once.out) << page;
    }
  }
}

// Pages whose layout once changed on a second pass (found by fuzzing the walk).
TEST_F(HtmlOutputTest, PagesTheSecondPassOnceChanged) {
  struct Case {
    const char* page;
    bool serverPage;
    bool delBlanks;
    const char* out;
  } cases[] = {
      // A "<" whose carriage return goes, or whose dropped closing tag goes, must not
      // meet the text after it as a tag.
      {"a<\rb>c", false, true, "a&lt;b>c"},
      {"x<</P>y", false, true, "x&lt;y"},
      // A no-break space ends a tag's name and counts as white space.
      {"<B\xA0 x>y</B>", false, true, "<B x>y</B>"},
      {"<Table><TR><TD>a</TD></TR>\xA0 \n\n</Table>", false, true,
       "<Table>\n  <TR>\n    <TD>a</TD>\n  </TR>\n</Table>\n"},
      // A DOCTYPE broken over two lines still makes an XHTML page.
      {"<!DOCTYPE html PUBLIC \"-//W3C//DTD\nXHTML 1.0 Strict//EN\">\n<br>", false, true,
       "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\">\n<br />"},
      {"x<BR>\r y", false, true, "x\n<BR>y"},
      // One empty line stays, however many tags are dropped around it.
      {"<Div>a</Div>\n\n</P>\n\n<Div>b</Div>", false, false, "<Div>a</Div>\n\n<Div>b</Div>\n"},
      // In a server page no line starts with a double quote: that would continue a
      // script's string.
      {"<P>a<!-- c -->\n\"q\"", true, true, "<P>a<!-- c -->\"q\""},
      {"<P>a<BR>\n\"q\"", true, true, "<P>a\n<BR>\n\"q\""},  // the page's own continuation
      {"<Table><TR><TD>\"q\"<Div>x</Div></TD></TR></Table>", true, true,
       "<Table>\n  <TR>\n    <TD>\"q\"\n      <Div>x</Div>\n    </TD>\n  </TR>\n</Table>\n"},
  };
  for (const Case& c : cases) {
    IsServerPage = c.serverPage;
    Option("DelBlanks", c.delBlanks);
    TWalkResult once = WalkPage(c.page);
    EXPECT_EQ(once.error, "") << c.page;
    EXPECT_EQ(once.out, c.out) << c.page;
    TWalkResult twice = WalkPage(once.out);
    EXPECT_EQ(twice.error, "") << c.page;
    EXPECT_EQ(twice.out, once.out) << c.page;
  }
}

}  // namespace
}  // namespace quorrel::test
