#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "platform/RtfCompose.h"
#include "platform/RtfMasterWords.h"
#include "platform/RtfParse.h"

namespace quorrel {
namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(QUORREL_FIXTURES) + "/rtf/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The control words of the text after ".PG": what the page builder reads. A list
// item's mark and the groups a "\*" starts are read as a whole, not word by word.
std::set<std::string> BodyWords(const std::string& source) {
  const size_t start = source.find(".PG");
  std::set<std::string> words;
  static const std::regex kGroups(R"(\{\\pntext[^{}]*\}|\{\\\*[^{}]*(\{[^{}]*\})?\})");
  const std::string body =
      std::regex_replace(source.substr(start == std::string::npos ? 0 : start), kGroups, "");
  static const std::regex kWord(R"(\\([a-z]+-?[0-9]*|[^a-z']))");
  for (std::sregex_iterator it(body.begin(), body.end(), kWord), end; it != end; ++it) {
    std::string word = (*it)[1];
    if (word == "\\" || word == "{" || word == "}") continue;
    if (word[0] == 'u' && word.size() > 1 && (isdigit(word[1]) || word[1] == '-')) word = "uN";
    words.insert(word);
  }
  return words;
}

// The words the page builder turns into page text.
const std::set<std::string> kBuilderWords = {
    "b", "b0", "i", "i0", "ul", "ulnone", "cf0", "cf1", "tab", "par", "line", "plain", "f1", "f0",
    "bullet", "endash", "emdash", "strike", "strike0", "lquote", "rquote", "ldblquote", "rdblquote",
    "super", "sub", "nosupersub", "uN", "~",
    // A link, and the centring the builder refuses.
    "field", "fldrslt", "qc"};

// Paragraph layout the builder passes over at a line's start, with any number.
const std::set<std::string> kLayoutWords = {"pard", "li",     "ri",      "fi",  "sb",  "sa",
                                            "sl",   "slmult", "tx",      "tqr", "tqc", "tqdec",
                                            "keep", "keepn",  "hyphpar", "ql",  "qr",  "qj"};

bool BuilderKnows(const std::string& word) {
  const size_t digits = word.find_first_of("-0123456789");
  return kBuilderWords.count(word) || kLayoutWords.count(word.substr(0, digits));
}

TEST(MasterWords, OnlyADocumentStartingWithThePageCommandIsAMaster) {
  struct Case {
    const char* source;
    bool master;
  } cases[] = {
      {"{\\rtf1 .PG index|Home\\par text}", true},
      {"{\\rtf1 .pg index|Home}", true},
      {"{\\rtf1 {\\b .P}G split over runs}", true},
      {"{\\rtf1 text\\par .PG later}", false},
      {"{\\rtf1 .P}", false},
      {"{\\rtf1 }", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDotMasterDocument(ParseRtf(c.source)), c.master) << c.source;
  }
}

// A word processor's document made a master keeps its character styles and is
// written in words the builder knows; any other document keeps all it had.
TEST(MasterWords, AWordProcessorDocumentMadeAMasterUsesOnlyBuilderWords) {
  const std::string sample = Fixture("libreoffice-sample.rtf");
  TRtfDocument doc = ParseRtf(sample);
  const std::set<std::string> asIs = BodyWords(ComposeRtf(doc));
  EXPECT_TRUE(std::any_of(asIs.begin(), asIs.end(), [](const std::string& word) {
    return !BuilderKnows(word);
  })) << "the sample should have layout of its own";

  RtfReplace(doc, 0, 0, u".PG sample|Sample\n");
  const std::string master = ComposeRtf(doc);
  for (const std::string& word : BodyWords(master)) {
    EXPECT_TRUE(BuilderKnows(word)) << "\\" << word << " in\n" << master;
  }
  const std::set<std::string> words = BodyWords(master);
  EXPECT_TRUE(words.count("b") && words.count("i")) << master;
  EXPECT_EQ(RtfPlainText(ParseRtf(master)), RtfPlainText(doc));
}

TEST(MasterWords, WhatEachFormatBecomes) {
  struct Case {
    const char* what;
    const char* body;      // after ".PG x" and a paragraph mark
    const char* expected;  // in the written source
  } cases[] = {
      {"sizes go", "a {\\fs40 big} b", "\\par a big b"},
      {"other fonts become the main one", "a {\\f2 other} b", "\\par a other b"},
      {"a fixed-pitch font is \\f1 up to \\f0", "a {\\f3 code} b", "\\par a \\f1 code\\f0  b"},
      {"red stays", "a {\\cf1 red} b", "\\par a \\cf1 red\\cf0  b"},
      {"highlights go", "a {\\highlight1 lit} b", "\\par a lit b"},
      {"capitals go", "a {\\caps small} b", "\\par a small b"},
      {"paragraph spacing stays", "\\pard\\sa200\\sl276\\slmult1\\li720 spaced",
       "\\par \\pard\\li720\\sl276\\slmult1\\sa200 spaced\r\n"},
      {"optional hyphens go", "hy\\-phen", "\\par hyphen"},
      {"non-breaking hyphens are hyphens", "non\\_breaking", "\\par non-breaking"},
      {"character styles stay", "{\\b b}{\\i i}{\\ul u}{\\strike s}x{\\super 2}",
       "\\par \\b b\\b0\\i i\\i0\\ul u\\ulnone\\strike s\\strike0 x\\super 2"},
      {"alignment stays", "\\pard\\qc mid\\par\\pard\\qr right",
       "\\par \\pard\\qc mid\r\n\\par \\pard\\qr right"},
      {"a bullet stays", "\\pard\\li720{\\pntext\\'b7\\tab}item",
       "\\par "
       "\\pard\\li720{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
       "item"},
      {"a link stays", "a {\\field{\\*\\fldinst HYPERLINK \"https://x.org/\"}{\\fldrslt site}} b",
       "\\par a {\\field{\\*\\fldinst HYPERLINK \"https://x.org/\"}{\\fldrslt site}} b"},
  };
  for (const Case& c : cases) {
    const std::string source =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Arial;}{\\f2 Verdana;}{\\f3 Courier New;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\f0\\fs24 .PG x|Home\\par " + std::string(c.body) + "}";
    const std::string written = ComposeRtf(ParseRtf(source));
    EXPECT_NE(written.find(c.expected), std::string::npos) << c.what << "\n" << written;
    for (const std::string& word : BodyWords(written)) {
      EXPECT_TRUE(BuilderKnows(word)) << c.what << ": \\" << word << "\n" << written;
    }
  }
}

TEST(MasterWords, TheFixedPitchFontIsSecondInTheTable) {
  const std::string written = ComposeRtf(ParseRtf(
      "{\\rtf1{\\fonttbl{\\f0 Consolas;}{\\f1 Calibri;}}\\f1 .PG x|Home\\par main text {\\f0 "
      "code} more main text}"));
  EXPECT_NE(written.find("{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset0 Consolas;}"),
            std::string::npos)
      << written;
}

}  // namespace
}  // namespace quorrel
