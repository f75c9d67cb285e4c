#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"

namespace quorrel {
namespace {

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs24 ";

// A source in our own layout with the Arial header and the given body.
std::string Ours(const std::string& body) {
  return kHeader + body + "\r\n\\par }\r\n";
}

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(QUORREL_FIXTURES) + "/rtf/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(ComposeRtf, WritesTheLayoutTheCommandsSearch) {
  const TRtfDocument doc = ParseRtf(
      "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 One \\b bold\\b0  word\\par Two\\par\\par Four}");
  EXPECT_EQ(ComposeRtf(doc), Ours("One \\b bold\\b0  word\r\n\\par Two\r\n\\par \r\n\\par Four"));
}

TEST(ComposeRtf, EmptyDocument) {
  EXPECT_EQ(ComposeRtf(ParseRtf("")),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
            "Calibri;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 \r\n\\par }\r\n");
  EXPECT_EQ(ComposeRtf(TRtfDocument()), ComposeRtf(ParseRtf("")));
}

// Later commands edit RTF source with plain string operations; each string they
// look for must be there in exactly this form.
TEST(ComposeRtf, StringsTheCommandsSearchFor) {
  const std::string source = ComposeRtf(ParseRtf(
      "{\\rtf1{\\fonttbl{\\f0 Calibri;}{\\f1 Courier New;}}{\\colortbl ;\\red255\\green0\\blue0;}"
      "\\f0\\fs24 Title \\b bold\\b0  text\\line more\\par \\i it\\i0\\par {\\f1 code}\\par "
      "{\\cf1 red}\\par \\sa60 spaced\\par}"));
  struct Case {
    const char* what;
    std::string expected;
  } cases[] = {
      {"header",
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
       "Calibri;}"},
      {"font names after fcharset0", "\\fcharset0 Courier New;"},
      {"colour table line", "}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"},
      {"document start", "\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 Title"},
      {"paragraph mark at a line start", "\r\n\\par "},
      {"bold opens with a blank", "\\b bold"},
      {"bold closes", "\\b0  text"},
      {"line break", "text\\line more"},
      {"italic closed before the line end", "\\i it\\i0\r\n\\par "},
      {"a second font", "\\f1 code\\f0\r\n"},
      {"colour", "\\cf1 red\\cf0\r\n"},
      {"paragraph formatting after the mark", "\r\n\\par \\pard\\sa60 spaced"},
      {"end", "\r\n\\par }\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(source.find(c.expected), std::string::npos) << c.what << "\n" << source;
  }
  EXPECT_EQ(source.substr(source.size() - 4), " }\r\n");
  EXPECT_EQ(source.find("\\par }"), source.size() - 8);
}

TEST(ComposeRtf, Characters) {
  struct Case {
    const char* what;
    std::u16string text;
    std::string body;
  } cases[] = {
      {"escapes", u"a\\b{c}", "a\\\\b\\{c\\}"},
      {"Windows-1252 bytes in lower-case hex", u"caf\u00E9 \u20AC\u2026", "caf\\'e9 \\'80\\'85"},
      {"outside the code page", u"\u27A2 go", "\\u10146? go"},
      {"above 32767 as a negative number", u"\uF074", "\\u-3980?"},
      {"tab", u"a\tb", "a\\tab b"},
      {"tab before a byte", u"\t\u00E9", "\\tab\\'e9"},
      {"line break", u"a\u2028b", "a\\line b"},
      {"blank after a line break", u"a\u2028 b", "a\\line  b"},
      {"control characters", u"a\u0001b", "a\\'01b"},
      {"non-breaking blank", u"a\u00A0b", "a\\~b"},
  };
  for (const Case& c : cases) {
    TRtfDocument doc;
    doc.paragraphs.emplace_back();
    doc.paragraphs[0].markFormat.font = "Arial";
    AppendRun(doc.paragraphs[0], c.text, doc.paragraphs[0].markFormat);
    EXPECT_EQ(ComposeRtf(doc), Ours(c.body)) << c.what;
    EXPECT_EQ(ParseRtf(ComposeRtf(doc)), doc) << c.what;
  }
}

TEST(ComposeRtf, FormattingChangesAroundParagraphMarks) {
  struct Case {
    const char* what;
    std::string in;   // body after the Arial header of our own layout
    std::string out;  // the body we write
  } cases[] = {
      {"bold paragraph between plain ones", "a\\par \\b B\\b0\\par c",
       "a\r\n\\par \\b B\\b0\r\n\\par c"},
      {"bold across the mark stays open", "x \\b a\\par b\\b0  c", "x \\b a\r\n\\par b\\b0  c"},
      {"bold closed after the mark", "x \\b a\\par\\b0 b", "x \\b a\\b0\r\n\\par b"},
      {"closing order", "x \\b\\i both\\i0\\b0  none", "x \\b\\i both\\i0\\b0  none"},
      {"caps off, bold and italic on", "x \\caps A\\caps0\\b\\i  b",
       "x \\caps A\\caps0\\b\\i  b\\i0\\b0"},
      {"superscript ends", "x\\super 2\\nosupersub  y", "x\\super 2\\nosupersub  y"},
      {"the last paragraph closes everything", "x \\b\\ul end", "x \\b\\ul end\\ulnone\\b0"},
      {"centred paragraph", "a\\par\\qc b\\par\\pard c",
       "a\r\n\\par \\pard\\qc b\r\n\\par \\pard c"},
      {"first paragraph formatting in the header", "", ""},
  };
  for (const Case& c : cases) {
    const std::string source = ComposeRtf(ParseRtf(Ours(c.in)));
    EXPECT_EQ(source, Ours(c.out)) << c.what;
  }
  const std::string centred =
      ComposeRtf(ParseRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\qc\\b T\\par}"));
  EXPECT_NE(centred.find("\\viewkind4\\uc1\\pard\\qc\\f0\\fs24 \\b T\\b0\r\n"), std::string::npos)
      << centred;
}

// The layout "Update content" writes, and the lines converting it back relies on.
TEST(ComposeRtf, ContentDocumentKeepsItsLines) {
  const std::string content =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Lucida Sans "
      "Unicode;}}\r\n{\\colortbl ;\\red0\\green128\\blue255;\\red66\\green160\\blue255;\\red168"
      "\\green211\\blue255;\\red0\\green255\\blue0;}"
      "\r\n\\viewkind4\\uc1\\pard\\f0\\fs24\\lang1033\r\n"
      "\\par \\highlight1\\fs40 Main title\\highlight0\\fs24\r\n\\par \r\n"
      "\\par Some \\b bold\\b0  and \\i italic\\i0  text.\r\n"
      "\\par \\highlight2\\fs36 Second\\highlight0\\fs24\r\n\\par \r\n"
      "\\par \\'b0 first item\r\n\\par \\'b0 second item\r\n"
      "\\par [Table]\r\n\\par a|b\r\n\\par [/Table]\r\n\\par }\r\n";
  const std::string source = ComposeRtf(ParseRtf(content));
  for (const char* line :
       {"\r\n\\par \\highlight1\\fs40 Main title\\highlight0\\fs24\r\n\\par \r\n",
        "\r\n\\par Some \\b bold\\b0  and \\i italic\\i0  text.\r\n",
        "\r\n\\par \\highlight2\\fs36 Second\\highlight0\\fs24\r\n\\par \r\n",
        "\r\n\\par \\'b0 first item\r\n\\par \\'b0 second item\r\n",
        "\r\n\\par [Table]\r\n\\par a|b\r\n\\par [/Table]\r\n\\par }\r\n"}) {
    EXPECT_NE(source.find(line), std::string::npos) << line << "\n" << source;
  }
  EXPECT_EQ(source.find("{\\colortbl ;\\red0\\green128\\blue255;\\red66\\green160\\blue255;}"),
            source.find("{\\colortbl"));
}

TEST(ComposeRtf, ParagraphFormattingWords) {
  const std::string source = ComposeRtf(ParseRtf(
      "{\\rtf1{\\fonttbl{\\f0 Courier New;}}x\\par\\pard\\keep\\keepn\\tx0\\hyphpar0\\li3600"
      "\\ri-331\\sl360\\sb240\\sa240\\caps0\\b\\i scene\\par\\pard\\li720\\qc name\\par"
      "\\pard\\tqr\\tx7200\\sl480\\slmult1\\fi-720 r}"));
  EXPECT_NE(source.find("\r\n\\par \\pard\\keep\\keepn\\tx0\\hyphpar0\\li3600\\ri-331\\sl360\\sb240"
                        "\\sa240\\b\\i scene"),
            std::string::npos)
      << source;
  EXPECT_NE(source.find("\r\n\\par \\pard\\li720\\qc name"), std::string::npos) << source;
  EXPECT_NE(source.find("\\pard\\tqr\\tx7200\\fi-720\\sl480\\slmult1 r"), std::string::npos)
      << source;
}

TEST(ComposeRtf, FontsAndColoursInOrderOfFirstUse) {
  const std::string source = ComposeRtf(ParseRtf(
      "{\\rtf1{\\fonttbl{\\f0 Times;}{\\f1 Verdana;}{\\f2 Wingdings;}}"
      "{\\colortbl ;\\red1\\green1\\blue1;\\red0\\green0\\blue0;\\red0\\green255\\blue255;}"
      "\\f1 text {\\f2\\'fc} {\\cf2\\highlight3 found} rest}"));
  EXPECT_NE(source.find("{\\fonttbl{\\f0\\fnil\\fcharset0 Verdana;}{\\f1\\fnil\\fcharset2 "
                        "Wingdings;}}\r\n{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green255"
                        "\\blue255;}"),
            std::string::npos)
      << source;
  EXPECT_NE(source.find("\\f1\\'fc\\f0  \\cf1\\highlight2 found\\cf0\\highlight0  rest"),
            std::string::npos)
      << source;
}

// Characters that word processors write as control symbols, and control characters
// in a run: written so that they read back as the same characters.
TEST(ComposeRtf, HyphensAndControlCharactersReadBackAsTheyWere) {
  struct Case {
    const char* what;
    std::string source;
    std::u16string text;  // the document's text as read
    std::string written;  // what our writer makes of it
  } cases[] = {
      {"optional hyphen", Ours("soft\\-hy"), u"soft\u00ADhy", Ours("soft\\-hy")},
      {"optional hyphen as a byte", Ours("soft\\'adhy"), u"soft\u00ADhy", Ours("soft\\-hy")},
      {"non-breaking hyphen", Ours("non\\_breaking"), u"non\u2011breaking", Ours("non\\_breaking")},
      {"line feed in a run", Ours("a\\u10?b"), u"a\nb", Ours("a\\'0ab")},
      {"carriage return in a run", Ours("a\\u13?b"), u"a\rb", Ours("a\\'0db")},
      {"paragraph separator in a run", Ours("a\\u8233?b"), u"a\u2029b", Ours("a\\u8233?b")},
      {"line break", Ours("a\\line b"), u"a\u2028b", Ours("a\\line b")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TRtfDocument doc = ParseRtf(c.source);
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    ASSERT_EQ(doc.paragraphs[0].runs.size(), 1u);
    EXPECT_TRUE(doc.paragraphs[0].runs[0].text == c.text);
    EXPECT_EQ(ComposeRtf(doc), c.written);
    EXPECT_EQ(ParseRtf(ComposeRtf(doc)), doc);
  }

  // As a word processor writes them.
  const std::string source = Fixture("libreoffice-hyphens.rtf");
  const std::string text = RtfPlainText(ParseRtf(source));
  EXPECT_NE(text.find("soft\xADhy\xADphen\xAD"
                      "ation."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("well-known, e-mail."), std::string::npos) << text;
  EXPECT_NE(text.find("co-op\xAD"
                      "er\xAD"
                      "ate\vafter"),
            std::string::npos)
      << text;
  const std::string written = ComposeRtf(ParseRtf(source));
  for (const char* piece :
       {"soft\\-hy\\-phen\\-ation.", "well\\_known, e\\_mail.", "co\\_op\\-er\\-ate\\line after"}) {
    EXPECT_NE(written.find(piece), std::string::npos) << piece << "\n" << written;
  }
}

TEST(ComposeRtf, OurSourceReadsBackToTheSameDocument) {
  const std::string sources[] = {
      Ours("One \\b bold\\b0  word\r\n\\par Two\r\n\\par \r\n\\par Four"),
      Ours("\\highlight1\\fs40 Heading\\highlight0\\fs24\r\n\\par \r\n\\par \\'b0 item"),
      Ours("a\\tab b\\line c \\u10146? \\'e9\\\\\\{\\}"),
      Fixture("libreoffice-sample.rtf"),
      Fixture("libreoffice-tabs.rtf"),
      Fixture("abiword-sample.rtf"),
      Fixture("libreoffice-hyphens.rtf"),
  };
  for (const std::string& original : sources) {
    const TRtfDocument first = ParseRtf(original);
    const std::string written = ComposeRtf(first);
    const TRtfDocument second = ParseRtf(written);
    EXPECT_EQ(RtfPlainText(second), RtfPlainText(first));
    ASSERT_EQ(second.paragraphs.size(), first.paragraphs.size());
    for (size_t i = 0; i < first.paragraphs.size(); ++i) {
      EXPECT_EQ(second.paragraphs[i].runs, first.paragraphs[i].runs) << i << "\n" << written;
      EXPECT_EQ(second.paragraphs[i].format, first.paragraphs[i].format) << i;
    }
    // Written again, our own source stays byte for byte the same.
    EXPECT_EQ(ParseRtf(ComposeRtf(second)), second);
    EXPECT_EQ(ComposeRtf(second), written);
  }
}

}  // namespace
}  // namespace quorrel

namespace quorrel {
namespace {

// The string operations other commands run on our source, each on a document made
// for it: what they look for is where they expect it.
TEST(ComposeRtf, SearchesOfOtherCommandsFindTheirText) {
  const std::string source = ComposeRtf(ParseRtf(
      "{\\rtf1{\\fonttbl{\\f0 Verdana;}}{\\colortbl ;\\red1\\green2\\blue3;}\\fs28 .PG index|Home"
      "\\par Text \\cf1 with\\cf0  colour\\par\\par\\par\\par .pg second|Two\\par "
      "end\\line\\par}"));
  // Default font: the name after the first "fcharset0 " up to ";", the number after
  // the first "\fs", the colour table from "\colortbl" to the next "}".
  const size_t name = source.find("fcharset0 ") + 10;
  EXPECT_EQ(source.substr(name, source.find(';', name) - name), "Verdana");
  const size_t fs = source.find("\\fs") + 3;
  EXPECT_EQ(source.substr(fs, 3), "28 ");
  const size_t colours = source.find("\\colortbl");
  EXPECT_EQ(source.substr(colours, source.find('}', colours) - colours),
            "\\colortbl ;\\red1\\green2\\blue3;");
  // Three blank lines in a row.
  EXPECT_NE(source.find("\r\n\\par \r\n\\par \r\n\\par "), std::string::npos);
  // A section of a page master starts a source line with "\par " and ".PG".
  const size_t pg = source.find("\r\n\\par .pg second");
  ASSERT_NE(pg, std::string::npos);
  EXPECT_EQ(source.substr(pg + 2 + 5, 3), ".pg");
  // A paragraph mark after a line break.
  EXPECT_NE(source.find("end\\line\r\n\\par }\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quorrel
