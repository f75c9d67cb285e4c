// Bulleted list items: read from the marks word processors write before them,
// written as rich-edit controls write them, and read back.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/CodePage.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"

namespace quorrel {
namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(QUORREL_FIXTURES) + "/rtf/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string TextOf(const TRtfParagraph& p) {
  std::u16string text;
  for (const TRtfRun& run : p.runs) text += run.text;
  return QStringToAnsi(QString::fromStdU16String(text));
}

constexpr char kHead[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\pard ";

TEST(RtfBullets, MarksBeforeListItems) {
  struct Case {
    const char* name;
    std::string body;
    std::string text;  // of the first paragraph
    bool bullet;
  } cases[] = {
      {"rich-edit control",
       "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}one\\par", "one", true},
      {"LibreOffice", "{\\listtext\\pard\\plain \\u8226\\'95\\tab}one\\par", "one", true},
      {"AbiWord", "{\\listtext\\pard\\fi-431\\li720\\bullet \t}one\\par", "one", true},
      {"numbered item keeps its number", "{\\listtext\\pard 1.\\tab}one\\par", "1.\tone", false},
      {"a mark after text is text", "x{\\pntext\\f1\\'B7\\tab}one\\par", "x\xB7\tone", false},
  };
  for (const Case& c : cases) {
    const TRtfDocument doc = ParseRtf(kHead + c.body + "}");
    ASSERT_FALSE(doc.paragraphs.empty()) << c.name;
    EXPECT_EQ(TextOf(doc.paragraphs[0]), c.text) << c.name;
    EXPECT_EQ(doc.paragraphs[0].format.bullet, c.bullet) << c.name;
  }
  // The mark belongs to its paragraph only.
  const TRtfDocument two = ParseRtf(std::string(kHead) + "{\\pntext\\f1\\'B7\\tab}a\\par b\\par}");
  ASSERT_EQ(two.paragraphs.size(), 2u);
  EXPECT_TRUE(two.paragraphs[0].format.bullet);
  EXPECT_FALSE(two.paragraphs[1].format.bullet);
}

TEST(RtfBullets, AbiWordListReadAndWrittenBack) {
  const TRtfDocument doc = ParseRtf(Fixture("abiword-list.rtf"));
  ASSERT_GE(doc.paragraphs.size(), 4u);
  EXPECT_FALSE(doc.paragraphs[0].format.bullet);
  EXPECT_EQ(TextOf(doc.paragraphs[1]), "Apples");
  EXPECT_TRUE(doc.paragraphs[1].format.bullet);
  EXPECT_EQ(TextOf(doc.paragraphs[2]), "Fresh bread");
  EXPECT_TRUE(doc.paragraphs[2].format.bullet);
  EXPECT_FALSE(doc.paragraphs[3].format.bullet);

  const std::string written = ComposeRtf(doc);
  EXPECT_NE(written.find("\\f1\\fnil\\fcharset2 Symbol;"), std::string::npos) << written;
  // Each mark has the list level beside it, which word processors show as a bullet.
  const std::string level = "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}";
  EXPECT_NE(written.find("\\li720{\\pntext\\f1\\'B7\\tab}" + level + "Apples"), std::string::npos)
      << written;
  EXPECT_NE(written.find("{\\pntext\\f1\\'B7\\tab}" + level + "\\b Fresh\\b0  bread"),
            std::string::npos)
      << written;
  EXPECT_EQ(ParseRtf(written), ParseRtf(ComposeRtf(ParseRtf(written))));
  const TRtfDocument back = ParseRtf(written);
  ASSERT_EQ(back.paragraphs.size(), doc.paragraphs.size());
  for (size_t i = 0; i < doc.paragraphs.size(); ++i) {
    EXPECT_EQ(back.paragraphs[i].format.bullet, doc.paragraphs[i].format.bullet) << i;
    EXPECT_EQ(TextOf(back.paragraphs[i]), TextOf(doc.paragraphs[i])) << i;
  }
}

// A LibreOffice master: its list items, indent, centring and link are read, written
// back in the program's own layout and read again as they were.
TEST(RtfBullets, LibreOfficeListsAlignmentAndLinksSurvive) {
  const TRtfDocument doc = ParseRtf(Fixture("libreoffice-master.rtf"));
  struct Seen {
    std::vector<std::string> bulleted, centred, indented, linked;
    std::string link;
  };
  auto see = [](const TRtfDocument& d) {
    Seen seen;
    for (const TRtfParagraph& p : d.paragraphs) {
      const std::string text = TextOf(p);
      if (p.format.bullet) seen.bulleted.push_back(text);
      if (p.format.align == TRtfAlign::Center) seen.centred.push_back(text);
      if (!p.format.bullet && p.format.leftIndent > 0) seen.indented.push_back(text);
      for (const TRtfRun& run : p.runs) {
        if (run.format.field.empty()) continue;
        seen.linked.push_back(QStringToAnsi(QString::fromStdU16String(run.text)));
        seen.link = run.format.field;
      }
    }
    return seen;
  };
  const Seen read = see(doc);
  EXPECT_EQ(read.bulleted, (std::vector<std::string>{"First item", "Second item"}));
  EXPECT_EQ(read.centred, std::vector<std::string>{"A centred line"});
  EXPECT_EQ(read.indented, std::vector<std::string>{"An indented line"});
  EXPECT_EQ(read.linked, std::vector<std::string>{"the example site"});
  EXPECT_EQ(read.link, "HYPERLINK \"https://www.example.com/page?a=1&b=2\"");

  const std::string written = ComposeRtf(doc);
  EXPECT_NE(written.find("{\\field{\\*\\fldinst HYPERLINK \"https://www.example.com/page?a=1&b=2\"}"
                         "{\\fldrslt "),
            std::string::npos)
      << written;
  const TRtfDocument back = ParseRtf(written);
  const Seen again = see(back);
  EXPECT_EQ(again.bulleted, read.bulleted);
  EXPECT_EQ(again.centred, read.centred);
  EXPECT_EQ(again.indented, read.indented);
  EXPECT_EQ(again.linked, read.linked);
  EXPECT_EQ(again.link, read.link);
  EXPECT_EQ(RtfPlainText(back), RtfPlainText(doc));
  EXPECT_EQ(ComposeRtf(back), written);
}

// The instruction is kept as written: escaped characters and bytes of the code page.
TEST(RtfBullets, FieldInstructionsKeepTheirCharacters) {
  const std::string source =
      std::string(kHead) +
      "a {\\field{\\*\\fldinst {HYPERLINK \"file:///C:\\\\caf\\'e9\\{1\\}\"}}"
      "{\\fldrslt b}} c\\par}";
  const TRtfDocument doc = ParseRtf(source);
  ASSERT_EQ(doc.paragraphs.size(), 1u);
  ASSERT_EQ(doc.paragraphs[0].runs.size(), 3u);
  EXPECT_EQ(doc.paragraphs[0].runs[1].format.field, "HYPERLINK \"file:///C:\\caf\xE9{1}\"");
  EXPECT_TRUE(doc.paragraphs[0].runs[2].format.field.empty());
  EXPECT_EQ(ParseRtf(ComposeRtf(doc)), doc);
}

}  // namespace
}  // namespace quorrel
