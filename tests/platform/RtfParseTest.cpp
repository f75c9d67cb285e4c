#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "platform/CodePage.h"
#include "platform/RtfParse.h"

namespace quorrel {
namespace {

std::string Plain(const std::string& rtf) {
  return RtfPlainText(ParseRtf(rtf));
}

// The runs of a paragraph as "text|text|..." to compare splits at a glance.
std::string RunTexts(const TRtfParagraph& p) {
  std::string out;
  for (const TRtfRun& run : p.runs) {
    if (!out.empty()) out += '|';
    out += QStringToAnsi(QString::fromStdU16String(run.text));
  }
  return out;
}

const TRtfRun* FindRun(const TRtfDocument& doc, const std::string& text) {
  for (const TRtfParagraph& p : doc.paragraphs) {
    for (const TRtfRun& run : p.runs) {
      if (QStringToAnsi(QString::fromStdU16String(run.text)).find(text) != std::string::npos) {
        return &run;
      }
    }
  }
  return nullptr;
}

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(QUORREL_FIXTURES) + "/rtf/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(ParseRtf, TextOfTheSource) {
  struct Case {
    const char* what;
    std::string rtf;
    std::string text;
  } cases[] = {
      {"plain words", "{\\rtf1 Hello world}", "Hello world"},
      {"line ends in the source mean nothing", "{\\rtf1 Hel\r\nlo\nworld}", "Helloworld"},
      {"the blank after a word is its end", "{\\rtf1\\b  two}", " two"},
      {"paragraph marks", "{\\rtf1 one\\par two\\par three}", "one\r\ntwo\r\nthree"},
      {"the last mark closes the last paragraph", "{\\rtf1 one\\par two\\par }", "one\r\ntwo"},
      {"an empty last paragraph stays", "{\\rtf1 one\\par\\par }", "one\r\n"},
      {"backslash before a line end is a mark", "{\\rtf1 one\\\r\ntwo}", "one\r\ntwo"},
      {"escaped characters", "{\\rtf1 a\\\\b\\{c\\}}", "a\\b{c}"},
      {"hex bytes in Windows-1252", "{\\rtf1 caf\\'e9 \\'80\\'85}", "caf\xE9 \x80\x85"},
      {"hex digits in either case", "{\\rtf1 \\'B7\\'b7}", "\xB7\xB7"},
      {"tab and line break", "{\\rtf1 a\\tab b\\line c}", "a\tb\vc"},
      {"non-breaking blank", "{\\rtf1 a\\~b}",
       "a\xA0"
       "b"},
      {"named punctuation",
       "{\\rtf1 \\lquote x\\rquote  \\ldblquote y\\rdblquote \\endash\\emdash}",
       "\x91x\x92 \x93y\x94\x96\x97"},
      {"unicode with its one-byte fallback", "{\\rtf1 \\u233\\'e9!}", "\xE9!"},
      {"unicode with a text fallback", "{\\rtf1 \\u8364?5}",
       "\x80"
       "5"},
      {"fallback length two", "{\\rtf1\\uc2 \\u8364\\'80\\'80x}", "\x80x"},
      {"no fallback", "{\\rtf1\\uc0 \\u8364 x}", "\x80x"},
      {"negative code", "{\\rtf1 \\u-3980?}", "?"},
      {"fallback count is kept per group", "{\\rtf1{\\uc0 \\u233}\\u233?}", "\xE9\xE9"},
      {"a group end stops the fallback", "{\\rtf1{\\uc3 \\u233}x}", "\xE9x"},
      {"\\* destinations are skipped", "{\\rtf1 a{\\*\\unknown hidden {\\b deep}}b}", "ab"},
      {"pictures are skipped", "{\\rtf1 a{\\pict\\pngblip 89504e47}b}", "ab"},
      {"binary data is skipped", "{\\rtf1 a{\\pict\\bin4 }{\\}}b}", "ab"},
      {"style sheet and info", "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}x}", "x"},
      {"font and colour tables hold no text",
       "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red1\\green2\\blue3;}x}", "x"},
      {"field shows its result", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}",
       "link"},
      {"old field instruction", "{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 1}}}", "1"},
      {"hidden text", "{\\rtf1 a{\\v secret}b\\v x\\v0 c}", "abc"},
      {"unknown words are ignored", "{\\rtf1\\zzzz12 a\\yy b}", "ab"},
      {"optional hyphen: Windows-1252's soft hyphen", "{\\rtf1 hy\\-phen}", "hy\xADphen"},
      {"non-breaking hyphen reads as a hyphen", "{\\rtf1 well\\_known}", "well-known"},
      {"table cells", "{\\rtf1\\trowd\\cellx100 a\\cell b\\cell\\row after}", "a\tb\t\r\nafter"},
      {"a section break after a mark", "{\\rtf1 a\\par\\sect b}", "a\r\nb"},
      {"a list bullet marks its paragraph", "{\\rtf1{\\pntext\\'b7\\tab}item}", "item"},
      {"text after the document is ignored", std::string("{\\rtf1 a}\r\n\0junk}", 16), "a"},
      {"empty document", "{\\rtf1}", ""},
      {"not RTF at all", "just text", "just text"},
      {"unbalanced open groups", "{\\rtf1 a{\\b b", "ab"},
      {"stray closing braces", "a}}b", "ab"},
      {"lone backslash at the end", "{\\rtf1 a\\", "a"},
      {"cut off hex", "{\\rtf1 a\\'e", "a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Plain(c.rtf), c.text) << c.what;
  }
}

TEST(ParseRtf, CharacterFormattingFollowsGroupsAndResets) {
  const TRtfDocument doc = ParseRtf(
      "{\\rtf1{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fmodern Courier New;}}"
      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green255\\blue255;}"
      "\\f0\\fs24 plain {\\b bold {\\i both}} \\ul under\\ulnone  \\f1\\fs40 big "
      "\\cf1 red\\cf0  \\highlight2 lit\\highlight0  \\super up\\nosupersub  \\sub down\\plain  "
      "\\strike gone\\strike0  \\caps shout}");
  ASSERT_EQ(doc.paragraphs.size(), 1u);
  struct Case {
    std::string text;
    TRtfCharFormat format;
  };
  TRtfCharFormat base;
  base.font = "Arial";
  auto with = [&](auto change) {
    TRtfCharFormat f = base;
    change(f);
    return f;
  };
  const Case cases[] = {
      {"plain", base},
      {"bold", with([](TRtfCharFormat& f) { f.bold = true; })},
      {"both", with([](TRtfCharFormat& f) { f.bold = f.italic = true; })},
      {"under", with([](TRtfCharFormat& f) { f.underline = true; })},
      {"big", with([](TRtfCharFormat& f) { f.font = "Courier New", f.halfPoints = 40; })},
      {"red", with([](TRtfCharFormat& f) {
         f.font = "Courier New", f.halfPoints = 40, f.color = 0xFF0000;
       })},
      {"lit", with([](TRtfCharFormat& f) {
         f.font = "Courier New", f.halfPoints = 40, f.highlight = 0x00FFFF;
       })},
      {"up",
       with([](TRtfCharFormat& f) { f.font = "Courier New", f.halfPoints = 40, f.script = 1; })},
      {"down",
       with([](TRtfCharFormat& f) { f.font = "Courier New", f.halfPoints = 40, f.script = -1; })},
      {"gone", with([](TRtfCharFormat& f) { f.strike = true; })},
      {"shout", with([](TRtfCharFormat& f) { f.caps = true; })},
  };
  for (const Case& c : cases) {
    const TRtfRun* run = FindRun(doc, c.text);
    ASSERT_NE(run, nullptr) << c.text;
    EXPECT_EQ(run->format, c.format) << c.text;
  }
}

TEST(ParseRtf, RaisedAndLoweredTextAndUnderlineKinds) {
  const TRtfDocument doc =
      ParseRtf("{\\rtf1 a{\\up6 b}{\\dn4 c}{\\uldb d}{\\ulw e}{\\ul0 f}{\\ul\\ulc2 g}}");
  EXPECT_EQ(FindRun(doc, "b")->format.script, 1);
  EXPECT_EQ(FindRun(doc, "c")->format.script, -1);
  EXPECT_TRUE(FindRun(doc, "d")->format.underline);
  EXPECT_TRUE(FindRun(doc, "e")->format.underline);
  EXPECT_FALSE(FindRun(doc, "f")->format.underline);
  EXPECT_TRUE(FindRun(doc, "g")->format.underline);
}

TEST(ParseRtf, DefaultFontAndFontCharacterSets) {
  // \'e0 is "a" with a grave accent in Windows-1252 and Cyrillic "a" in code page 1251.
  const TRtfDocument doc = ParseRtf(
      "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Verdana;}{\\f2\\fcharset204 Arial Cyr;}}"
      "x\\'e0 {\\f2 y\\'e0}}");
  ASSERT_EQ(doc.paragraphs[0].runs.size(), 2u);
  EXPECT_EQ(doc.paragraphs[0].runs[0].format.font, "Verdana");
  EXPECT_EQ(doc.paragraphs[0].runs[0].text, u"x\u00E0 ");
  EXPECT_EQ(doc.paragraphs[0].runs[1].format.font, "Arial Cyr");
  EXPECT_EQ(doc.paragraphs[0].runs[1].text, u"y\u0430");
}

TEST(ParseRtf, DoubleByteFontsDecodeByteSequences) {
  // Shift-JIS 82 A0 is HIRAGANA LETTER A.
  const TRtfDocument doc =
      ParseRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0!}");
  EXPECT_EQ(doc.paragraphs[0].runs[0].text, u"\u3042!");
}

TEST(ParseRtf, ParagraphFormatting) {
  const TRtfDocument doc = ParseRtf(
      "{\\rtf1\\pard\\qc centred\\par\\pard\\qr right\\par\\qj\\fi-720\\li1440\\ri360\\sb120\\sa60"
      "\\sl480\\slmult1\\keep\\keepn\\hyphpar0\\tx720\\tqr\\tx4000\\tqc\\tx5000\\tqdec\\tx6000 "
      "full\\par\\pard plain\\par}");
  ASSERT_EQ(doc.paragraphs.size(), 4u);
  EXPECT_EQ(doc.paragraphs[0].format.align, TRtfAlign::Center);
  EXPECT_EQ(doc.paragraphs[1].format.align, TRtfAlign::Right);
  const TRtfParaFormat& f = doc.paragraphs[2].format;
  EXPECT_EQ(f.align, TRtfAlign::Justify);
  EXPECT_EQ(f.firstIndent, -720);
  EXPECT_EQ(f.leftIndent, 1440);
  EXPECT_EQ(f.rightIndent, 360);
  EXPECT_EQ(f.spaceBefore, 120);
  EXPECT_EQ(f.spaceAfter, 60);
  EXPECT_EQ(f.lineSpacing, 480);
  EXPECT_TRUE(f.lineMultiple);
  EXPECT_TRUE(f.keep);
  EXPECT_TRUE(f.keepNext);
  EXPECT_TRUE(f.noHyphenation);
  const std::vector<TRtfTab> tabs = {{720, 'l'}, {4000, 'r'}, {5000, 'c'}, {6000, 'd'}};
  EXPECT_EQ(f.tabs, tabs);
  EXPECT_EQ(doc.paragraphs[3].format, TRtfParaFormat());
}

TEST(ParseRtf, EmptyParagraphsKeepTheirFormat) {
  const TRtfDocument doc = ParseRtf("{\\rtf1\\fs40\\b\\par\\b0 x\\par}");
  ASSERT_EQ(doc.paragraphs.size(), 2u);
  EXPECT_TRUE(doc.paragraphs[0].runs.empty());
  EXPECT_TRUE(doc.paragraphs[0].markFormat.bold);
  EXPECT_EQ(doc.paragraphs[0].markFormat.halfPoints, 40);
  EXPECT_EQ(doc.paragraphs[1].markFormat, doc.paragraphs[1].runs[0].format);
}

TEST(ParseRtf, NeverCrashesOnMalformedSource) {
  EXPECT_EQ(Plain(std::string(200000, '{') + "x" + std::string(200000, '}')), "x");
  EXPECT_EQ(Plain("{\\rtf1 \\" + std::string(100, 'a') + "1234567890123 x}"), "x");
  EXPECT_EQ(Plain("{\\rtf1 \\fs99999999999999 x\\u99999999999?y}").size(), 3u);
  std::mt19937 random(12345);
  const std::string alphabet = "{}\\'*;abfu0123456789- \r\n\xE9";
  for (int round = 0; round < 2000; ++round) {
    std::string source = "{\\rtf1";
    const int length = static_cast<int>(random() % 200);
    for (int i = 0; i < length; ++i) source += alphabet[random() % alphabet.size()];
    const TRtfDocument doc = ParseRtf(source);
    ASSERT_FALSE(doc.paragraphs.empty()) << source;
  }
}

TEST(ParseRtf, LibreOfficeWriterDocument) {
  const TRtfDocument doc = ParseRtf(Fixture("libreoffice-sample.rtf"));
  ASSERT_EQ(doc.paragraphs.size(), 10u);
  const std::string text = RtfPlainText(doc);
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "Plain text, then bold words, then italic words and underlined.");
  EXPECT_EQ(RunTexts(doc.paragraphs[0]),
            "Plain text, then |bold words|, then |italic words| and |underlined|.");
  EXPECT_TRUE(FindRun(doc, "bold words")->format.bold);
  EXPECT_FALSE(FindRun(doc, "bold words")->format.italic);
  EXPECT_TRUE(FindRun(doc, "italic words")->format.italic);
  EXPECT_TRUE(FindRun(doc, "underlined")->format.underline);
  EXPECT_FALSE(FindRun(doc, "Plain text")->format.bold);
  EXPECT_EQ(FindRun(doc, "Plain text")->format.font, "Liberation Serif");
  EXPECT_EQ(FindRun(doc, "Plain text")->format.halfPoints, 24);

  EXPECT_EQ(doc.paragraphs[1].format.align, TRtfAlign::Center);
  EXPECT_TRUE(FindRun(doc, "Centred")->format.bold);
  EXPECT_TRUE(FindRun(doc, "Centred")->format.italic);
  EXPECT_EQ(doc.paragraphs[2].format.align, TRtfAlign::Right);
  EXPECT_EQ(doc.paragraphs[0].format.spaceAfter, 140);
  EXPECT_EQ(doc.paragraphs[0].format.lineSpacing, 276);
  EXPECT_TRUE(doc.paragraphs[0].format.lineMultiple);

  EXPECT_NE(text.find("Caf\xE9 cr\xE8me \x96 \x93quoted\x94 \x80"
                      "5 \xA9 2024"),
            std::string::npos);
  EXPECT_EQ(doc.paragraphs[4].runs[0].text,
            u"Greek \u03B1\u03B2\u03B3 and arrow \u27A2 and a tick \u2713");
  EXPECT_EQ(RunTexts(doc.paragraphs[5]), "H|2|O and E=mc|2| and |struck out");
  EXPECT_EQ(doc.paragraphs[5].runs[1].format.script, -1);
  EXPECT_EQ(doc.paragraphs[5].runs[3].format.script, 1);
  EXPECT_TRUE(FindRun(doc, "struck out")->format.strike);
  EXPECT_EQ(FindRun(doc, "Red text")->format.color, 0xFF0000);
  EXPECT_EQ(FindRun(doc, "highlighted")->format.highlight, 0xFFFF00);
  EXPECT_NE(text.find("First line\vsecond line after a break"), std::string::npos);
  EXPECT_EQ(FindRun(doc, "Big text")->format.halfPoints, 40);
  EXPECT_EQ(FindRun(doc, "fixed pitch")->format.font, "Courier New");
  EXPECT_NE(text.find("Backslash \\ and braces { } stay text."), std::string::npos);
}

TEST(ParseRtf, AbiWordDocument) {
  const TRtfDocument doc = ParseRtf(Fixture("abiword-sample.rtf"));
  const std::string text = RtfPlainText(doc);
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "Plain text, then bold words, then italic words and underlined.");
  EXPECT_EQ(RunTexts(doc.paragraphs[0]),
            "Plain text, then |bold words|, then |italic words| and |underlined|.");
  EXPECT_TRUE(FindRun(doc, "bold words")->format.bold);
  EXPECT_TRUE(FindRun(doc, "italic words")->format.italic);
  EXPECT_TRUE(FindRun(doc, "underlined")->format.underline);
  EXPECT_EQ(doc.paragraphs[1].format.align, TRtfAlign::Center);
  EXPECT_TRUE(FindRun(doc, "Centred")->format.bold && FindRun(doc, "Centred")->format.italic);
  EXPECT_EQ(doc.paragraphs[2].format.align, TRtfAlign::Right);
  EXPECT_NE(text.find("Caf\xE9 cr\xE8me \x96 \x93quoted\x94 \x80"
                      "5 \xA9 2024"),
            std::string::npos);
  EXPECT_EQ(doc.paragraphs[4].runs[0].text,
            u"Greek \u03B1\u03B2\u03B3 and arrow \u27A2 and a tick \u2713");
  EXPECT_EQ(FindRun(doc, "Red text")->format.color, 0xFF0000);
  EXPECT_EQ(FindRun(doc, "highlighted")->format.highlight, 0xFFFF00);
  EXPECT_EQ(FindRun(doc, "fixed pitch")->format.font, "Courier New");
  EXPECT_EQ(FindRun(doc, "Big text")->format.halfPoints, 40);
  EXPECT_NE(text.find("First line\vsecond line after a break"), std::string::npos);
  EXPECT_NE(text.find("Backslash \\ and braces { } stay text."), std::string::npos);
}

TEST(ParseRtf, LibreOfficeTabsIndentsAndTable) {
  const TRtfDocument doc = ParseRtf(Fixture("libreoffice-tabs.rtf"));
  EXPECT_EQ(RtfPlainText(doc),
            "Name\tPart\tPage\r\nAlice\tLead\t12\r\nJustified and double spaced paragraph.\r\n"
            "Cell one\tCell two\t\r\nAfter the table.");
  const TRtfParaFormat& f = doc.paragraphs[0].format;
  const std::vector<TRtfTab> tabs = {{4320, 'l'}, {7200, 'r'}};
  EXPECT_EQ(f.tabs, tabs);
  EXPECT_EQ(f.leftIndent, 1440);
  EXPECT_EQ(f.rightIndent, 720);
  EXPECT_EQ(f.firstIndent, -720);
  EXPECT_EQ(f.spaceBefore, 144);
  EXPECT_EQ(f.spaceAfter, 288);
  EXPECT_EQ(FindRun(doc, "Name")->format.font, "Arial");
  EXPECT_EQ(FindRun(doc, "Name")->format.halfPoints, 22);
  EXPECT_TRUE(FindRun(doc, "Lead")->format.bold);
  EXPECT_EQ(doc.paragraphs[2].format.align, TRtfAlign::Justify);
  EXPECT_EQ(doc.paragraphs[2].format.lineSpacing, 480);
  EXPECT_EQ(FindRun(doc, "double spaced")->format.color, 0x0080FF);
  EXPECT_TRUE(FindRun(doc, "double spaced")->format.italic);
}

}  // namespace
}  // namespace quorrel
