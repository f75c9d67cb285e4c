#pragma once
// What every editor control must do with RTF source, run against the in-memory
// editor (tests/editor) and the real control (tests/ui), like RichConformance.h.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, RtfConformance, Factory);
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/RtfParse.h"
#include "shell/MyRich.h"

namespace quorrel::test {

inline std::string RtfFixture(const std::string& name) {
  std::ifstream in(std::string(QUORREL_FIXTURES) + "/rtf/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A source in our own layout: Arial 12 points, the given colour table entries and body.
inline std::string OurRtf(const std::string& body, const std::string& colors = "") {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
         "Arial;}}\r\n{\\colortbl ;" +
         colors + "}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 " + body + "\r\n\\par }\r\n";
}

template <typename Factory>
class RtfConformance : public ::testing::Test {
 protected:
  void SetUp() override { rich = Factory::Make(); }
  void Load(const std::string& rtf) {
    rich->SetRtfSource(rtf);
    Factory::Settle();
  }
  std::unique_ptr<TMyRich> rich;
};

TYPED_TEST_SUITE_P(RtfConformance);

TYPED_TEST_P(RtfConformance, RendersSourceAsFormattedText) {
  this->rich->SetText("old text");
  this->rich->Select(3, 2);
  this->Load(OurRtf("One \\b bold\\b0\r\n\\par two\\tab x\\line y"));
  EXPECT_FALSE(this->rich->PlainText());
  EXPECT_EQ(this->rich->GetText(), "One bold\r\ntwo\tx\vy");
  EXPECT_FALSE(this->rich->Modified());
  EXPECT_EQ(this->rich->SelStart(), 0u);
  EXPECT_EQ(this->rich->SelLength(), 0u);
  EXPECT_EQ(this->rich->LineCount(), 2u);
}

TYPED_TEST_P(RtfConformance, OurSourceComesBackByteForByte) {
  const std::string sources[] = {
      OurRtf("One \\b bold\\b0  word\r\n\\par Two\r\n\\par \r\n\\par Four"),
      OurRtf("\\highlight1\\fs40 Heading\\highlight0\\fs24\r\n\\par \r\n\\par \\'b0 the first item",
             "\\red0\\green128\\blue255;"),
      OurRtf("a\\tab b\\line c \\u10146? \\'e9\\\\\\{\\}"),
      OurRtf("x \\cf1\\highlight2 found\\cf0\\highlight0  \\i it\\i0\r\n\\par \\pard\\qc "
             "centred\r\n\\par \\pard\\li720\\ri-331\\sl360\\sb240\\sa240 spaced\r\n"
             "\\par \\pard\\tqr\\tx7200\\fi-720\\sl480\\slmult1 tabs\\tab r",
             "\\red0\\green0\\blue0;\\red0\\green255\\blue255;"),
      OurRtf("\\ul u\\ulnone  \\strike s\\strike0  x\\super 2\\nosupersub  H\\sub 2\\nosupersub O "
             "\\caps c\\caps0"),
  };
  for (const std::string& source : sources) {
    this->Load(source);
    EXPECT_EQ(this->rich->GetRtfSource(), source);
  }
}

TYPED_TEST_P(RtfConformance, WordProcessorDocumentsKeepTextAndFormatting) {
  for (const char* name : {"libreoffice-sample.rtf", "abiword-sample.rtf", "libreoffice-tabs.rtf",
                           "libreoffice-hyphens.rtf", "abiword-list.rtf", "abiword-accents.rtf"}) {
    const TRtfDocument original = ParseRtf(RtfFixture(name));
    this->Load(RtfFixture(name));
    EXPECT_EQ(this->rich->GetText(), RtfPlainText(original)) << name;
    const TRtfDocument back = ParseRtf(this->rich->GetRtfSource());
    ASSERT_EQ(back.paragraphs.size(), original.paragraphs.size()) << name;
    for (size_t i = 0; i < original.paragraphs.size(); ++i) {
      EXPECT_EQ(back.paragraphs[i].runs, original.paragraphs[i].runs) << name << " " << i;
      EXPECT_EQ(back.paragraphs[i].format, original.paragraphs[i].format) << name << " " << i;
    }
  }
}

// Optional and non-breaking hyphens survive a load and a save: the first as
// Windows-1252's soft hyphen, the second reading as a hyphen.
TYPED_TEST_P(RtfConformance, HyphensComeBackAsTheyWere) {
  struct Case {
    std::string source;
    std::string text;
    std::string written;
  } cases[] = {
      {OurRtf("soft\\-hy"), "soft\xADhy", OurRtf("soft\\-hy")},
      {OurRtf("non\\_breaking"), "non-breaking", OurRtf("non\\_breaking")},
      {OurRtf("co\\_op\\-er\\'adate"),
       "co-op\xAD"
       "er\xAD"
       "ate",
       OurRtf("co\\_op\\-er\\-ate")},
  };
  for (const Case& c : cases) {
    this->Load(c.source);
    EXPECT_EQ(this->rich->GetText(), c.text);
    EXPECT_EQ(this->rich->GetRtfSource(), c.written);
  }
  const std::string word = RtfFixture("libreoffice-hyphens.rtf");
  this->Load(word);
  const std::string written = this->rich->GetRtfSource();
  EXPECT_NE(written.find("soft\\-hy\\-phen\\-ation."), std::string::npos) << written;
  EXPECT_NE(written.find("well\\_known, e\\_mail."), std::string::npos) << written;
  this->Load(written);
  EXPECT_EQ(this->rich->GetRtfSource(), written);
}

TYPED_TEST_P(RtfConformance, TypedTextTakesTheFormatBeforeIt) {
  this->Load(OurRtf("plain \\b bold\\b0  end\r\n\\par second"));
  this->rich->Select(8, 0);  // inside "bold"
  this->rich->SetSelText("XY");
  EXPECT_EQ(this->rich->GetText(), "plain boXYld end\r\nsecond");
  EXPECT_EQ(this->rich->GetRtfSource(), OurRtf("plain \\b boXYld\\b0  end\r\n\\par second"));
  // A line end typed inside a paragraph splits it; a selection across a mark joins.
  this->rich->Select(2, 0);
  this->rich->SetSelText("\r\n");
  EXPECT_EQ(this->rich->GetRtfSource(),
            OurRtf("pl\r\n\\par ain \\b boXYld\\b0  end\r\n\\par second"));
  this->rich->Select(14, 7);  // "end", the mark and "sec"
  this->rich->SetSelText("-");
  EXPECT_EQ(this->rich->GetText(), "pl\r\nain boXYld -ond");
  EXPECT_EQ(this->rich->GetRtfSource(), OurRtf("pl\r\n\\par ain \\b boXYld\\b0  -ond"));
}

TYPED_TEST_P(RtfConformance, PlainTextModeHoldsTheSourceAsText) {
  const std::string source = OurRtf("One \\b bold\\b0");
  this->rich->SetPlainText(true);
  this->rich->SetText(source);
  EXPECT_EQ(this->rich->GetText(), source);
  EXPECT_TRUE(this->rich->PlainText());
}

// A format change over a range is one edit; the runs split where it begins and
// ends, and a format runs on across a paragraph mark.
TYPED_TEST_P(RtfConformance, FormatChangesCoverExactlyTheRange) {
  TRtfFormatChange bold;
  bold.bold = true;
  TRtfFormatChange notBold;
  notBold.bold = false;
  TRtfFormatChange italic;
  italic.italic = true;
  TRtfFormatChange red;
  red.color = 0xFF0000;
  red.highlight = 0xFFFF00;
  TRtfFormatChange automatic;
  automatic.color = -1;
  automatic.highlight = -1;
  TRtfFormatChange fixed;
  fixed.font = "FixedSys";
  fixed.halfPoints = 20;
  TRtfFormatChange raised;
  raised.script = 1;
  struct Case {
    const char* name;
    std::string before;
    size_t start, length;
    TRtfFormatChange change;
    std::string after;
  } cases[] = {
      {"one word", OurRtf("one two three"), 4, 3, bold, OurRtf("one \\b two\\b0  three")},
      {"whole text", OurRtf("ab"), 0, 2, bold, OurRtf("\\b ab\\b0")},
      {"across a mark", OurRtf("ab\r\n\\par cd"), 1, 3, italic, OurRtf("a\\i b\r\n\\par c\\i0 d")},
      {"off inside on", OurRtf("\\b abcd\\b0"), 1, 2, notBold, OurRtf("\\b a\\b0 bc\\b d\\b0")},
      {"colours", OurRtf("xyz"), 1, 1, red,
       OurRtf("x\\cf1\\highlight2 y\\cf0\\highlight0 z",
              "\\red255\\green0\\blue0;\\red255\\green255\\blue0;")},
      {"automatic colour again", OurRtf("\\cf1 xyz\\cf0", "\\red255\\green0\\blue0;"), 0, 3,
       automatic, OurRtf("xyz")},
      {"font and size", OurRtf("ab"), 1, 1, fixed,
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
       "Arial;}{\\f1\\fnil\\fcharset0 FixedSys;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0"
       "\\fs24 a\\f1\\fs20 b\\f0\\fs24\r\n\\par }\r\n"},
      {"superscript", OurRtf("x2"), 1, 1, raised, OurRtf("x\\super 2\\nosupersub")},
  };
  for (const Case& c : cases) {
    this->Load(c.before);
    this->rich->ChangeCharFormat(c.start, c.length, c.change);
    EXPECT_TRUE(this->rich->Modified()) << c.name;
    EXPECT_EQ(this->rich->GetRtfSource(), c.after) << c.name;
  }
}

TYPED_TEST_P(RtfConformance, FormatAtAPositionIsTheCharactersAfterIt) {
  this->Load(OurRtf("ab\\b cd\\b0\r\n\\par \\i e\\i0"));
  struct Case {
    size_t pos;
    bool bold, italic;
  } cases[] = {{0, false, false}, {1, false, false}, {2, true, false},
               {4, true, false},  {5, false, true},  {6, false, true}};
  for (const Case& c : cases) {
    const TRtfCharFormat format = this->rich->CharFormatAt(c.pos);
    EXPECT_EQ(format.bold, c.bold) << c.pos;
    EXPECT_EQ(format.italic, c.italic) << c.pos;
    EXPECT_EQ(format.font, "Arial") << c.pos;
  }
}

// With nothing selected a change is for the text typed next at the caret: no
// edit, and gone once the caret moves.
TYPED_TEST_P(RtfConformance, FormatForTypingHoldsUntilTheCaretMoves) {
  this->Load(OurRtf("one two"));
  TRtfFormatChange bold;
  bold.bold = true;
  this->rich->Select(3, 0);
  this->rich->ChangeCharFormat(3, 0, bold);
  EXPECT_FALSE(this->rich->Modified());
  this->rich->Select(3, 0);
  this->rich->SetSelText("X");
  EXPECT_EQ(this->rich->GetRtfSource(), OurRtf("one\\b X\\b0  two"));
  this->rich->Select(1, 0);
  this->rich->ChangeCharFormat(1, 0, bold);
  this->rich->Select(5, 0);
  this->rich->SetSelText("Y");
  EXPECT_EQ(this->rich->GetRtfSource(), OurRtf("one\\b X\\b0  Ytwo"));
}

TYPED_TEST_P(RtfConformance, AlignmentTakesTheTouchedParagraphs) {
  this->Load(OurRtf("a\r\n\\par b\r\n\\par c"));
  this->rich->AlignParagraphs(2, 1, TRtfAlign::Center);
  EXPECT_TRUE(this->rich->Modified());
  EXPECT_EQ(this->rich->GetRtfSource(), OurRtf("a\r\n\\par \\pard\\qc b\r\n\\par \\pard c"));
  this->rich->AlignParagraphs(0, 3, TRtfAlign::Right);
  EXPECT_EQ(this->rich->GetRtfSource(),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
            "Arial;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\qr\\f0\\fs24 a\r\n\\par b\r\n"
            "\\par \\pard c\r\n\\par }\r\n");
}

// Characters put over others one for one keep each its own format; the line ends
// and the selection stay where they were.
TYPED_TEST_P(RtfConformance, ReplacingKeepingFormatsKeepsEachCharactersFormat) {
  const std::string colours = "\\red255\\green0\\blue0;";
  this->Load(OurRtf("plain \\b bold\\b0  \\cf1 red\\cf0\r\n\\par next \\i line\\i0", colours));
  this->rich->Select(2, 3);
  this->rich->ReplaceKeepingFormats(0, "PLAIN BOLD RED\r\nNEXT LINE");
  EXPECT_EQ(this->rich->GetText(), "PLAIN BOLD RED\r\nNEXT LINE");
  EXPECT_EQ(this->rich->GetRtfSource(),
            OurRtf("PLAIN \\b BOLD\\b0  \\cf1 RED\\cf0\r\n\\par NEXT \\i LINE\\i0", colours));
  EXPECT_TRUE(this->rich->Modified());
  EXPECT_EQ(this->rich->SelStart(), 2u);
  EXPECT_EQ(this->rich->SelLength(), 3u);
  // Part of the text, from inside a run.
  this->rich->ReplaceKeepingFormats(8, "ld r");
  EXPECT_EQ(this->rich->GetText(), "PLAIN BOld rED\r\nNEXT LINE");
  EXPECT_EQ(this->rich->GetRtfSource(),
            OurRtf("PLAIN \\b BOld\\b0  \\cf1 rED\\cf0\r\n\\par NEXT \\i LINE\\i0", colours));
}

REGISTER_TYPED_TEST_SUITE_P(RtfConformance, FormatChangesCoverExactlyTheRange,
                            FormatAtAPositionIsTheCharactersAfterIt,
                            FormatForTypingHoldsUntilTheCaretMoves,
                            AlignmentTakesTheTouchedParagraphs, RendersSourceAsFormattedText,
                            OurSourceComesBackByteForByte,
                            WordProcessorDocumentsKeepTextAndFormatting, HyphensComeBackAsTheyWere,
                            TypedTextTakesTheFormatBeforeIt, PlainTextModeHoldsTheSourceAsText,
                            ReplacingKeepingFormatsKeepsEachCharactersFormat);

}  // namespace quorrel::test
