#include <gtest/gtest.h>

#include "platform/RtfParse.h"
#include "platform/UserDialogs.h"
#include "shell/ShellState.h"
#include "shell/WPFormat.h"
#include "support/MemoryRich.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;
using test::MemoryRich;

// The background of the built-in night colours.
constexpr int kNightBackground = 0x600000;

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;\\red0\\green128\\blue255;\\red66\\green160\\blue255;\\red168\\green211"
    "\\blue255;\\red0\\green255\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24";

TEST(WPFormat, OfferedForDotTextThatIsNotRtf) {
  struct Case {
    std::string text;
    bool isRtf, inserting, offered;
  } cases[] = {
      {".pl 66\r\n", false, false, true}, {".pl", false, false, false},
      {"pl 66\r\n", false, false, false}, {".pl 66\r\n", true, false, false},
      {".pl 66\r\n", true, true, true},   {"", false, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WPFormatOffered(c.text, c.isRtf, c.inserting), c.offered) << c.text;
  }
}

TEST(WPFormat, MapsTheOldCodePageAllAtOnce) {
  const std::string from =
      "\x82\x8A\xAB\xAC\xFD\xFE\x9B\xF8\x0F\x93\x88\x9C\x94\x92\x86\x81\x84\xE1\x8E";
  const std::string to =
      "\xE9\xE8\xBD\xBC\xBE\xA9\xF8\xB0\x20\xF4\xEA\xA3\xF6\xC6\xE5\xFC\xE4\xDF\xC4";
  EXPECT_EQ(WPMapBytes(from), to);
  EXPECT_EQ(WPMapBytes("plain \xE9 text"), "plain \xE9 text");
}

TEST(WPFormat, StyleBytesBecomeRtfWords) {
  struct Case {
    const char* what;
    std::string text;
    std::string body;
  } cases[] = {
      {"lines end with a paragraph mark", ".pl 66\r\nText\r\n", ".pl 66\\par \r\nText\\par \r\n"},
      {"bold on and off",
       ".a \x02"
       "bold\x02 x",
       ".a \\b bold\\b0  x\\par \r\n"},
      {"italic, underline, coloured bold",
       ".\x0Ei\x0E\x13u\x13\x16"
       "c\x16",
       ".\\i i\\i0 \\ul u\\ul0 \\cf1\\b c\\cf0\\b0 \\par \r\n"},
      {"a style stays on across lines",
       ".\x02"
       "a\r\nb\x02",
       ".\\b a\\par \r\nb\\b0 \\par \r\n"},
      {"tab, with the blank that ends the word", ".a\tb", ".a\\tab b\\par \r\n"},
      {"byte 0F is a blank",
       ".a\x0F"
       "b",
       ".a b\\par \r\n"},
      {"RTF characters escaped", ".a\\b{c}", ".a\\\\b\\{c\\}\\par \r\n"},
      {"typed underlining", ".a_\bxy", ".a\\ul x\\ul0 y\\par \r\n"},
      {"lone line ends", ".a\nb\rc", ".a\\par \r\nb\\par \r\nc\\par \r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WPFormatSource(c.text, "Arial", 12), kHeader + c.body + "}") << c.what;
  }
}

// What the conversion writes reads back as the text with its styles.
TEST(WPFormat, ConvertedTextReadsBack) {
  const TRtfDocument doc =
      ParseRtf(WPFormatSource(".pl 66\r\nName:\tA \x02"
                              "bold\x02 word\r\n",
                              "Arial", 12));
  EXPECT_EQ(RtfPlainText(doc), ".pl 66\r\nName:\tA bold word");
  ASSERT_EQ(doc.paragraphs[1].runs.size(), 3u);
  EXPECT_TRUE(doc.paragraphs[1].runs[1].format.bold);
  EXPECT_EQ(doc.paragraphs[1].runs[1].text, u"bold");
}

TEST(WPFormat, ConvertsTheCurrentDocumentWhenTheUserAgrees) {
  MemoryRich rich;
  rich.SetText(
      ".pl 66\r\nCaf\x82 \x02"
      "bold\x02\r\n");
  CurrentEditor = &rich;
  CurrentText = rich.GetText();
  CurrentFileName = "/tmp/site/letter.txt";
  CurrentExt = ".TXT";
  OpenFiles = {"/tmp/site/letter.txt"};
  rich.SetTag(0);
  rich.SetEditorColour(kNightBackground);
  Dialogs().Answer(mrYes);
  EXPECT_TRUE(WPFormat());
  EXPECT_EQ(Dialogs().Last().text, "Convert from Varek's WP format?");
  EXPECT_FALSE(rich.PlainText());
  EXPECT_FALSE(rich.WordWrap());
  EXPECT_EQ(rich.EditorColour(), 0xFFFFFF) << "the letter on white, not on the night colours";
  EXPECT_EQ(rich.GetText(), ".pl 66\r\nCaf\xE9 bold");
  EXPECT_TRUE(rich.Modified());
  EXPECT_EQ(CurrentFileName, "/tmp/site/letter.RTF");
  EXPECT_EQ(OpenFiles[0], "/tmp/site/letter.RTF");
  EXPECT_EQ(CurrentExt, ".RTF");
  EXPECT_TRUE(IsRtf);
  EXPECT_NE(rich.GetRtfSource().find("\\b bold\\b0"), std::string::npos);
}

TEST(WPFormat, DeclinedOrNotOfferedChangesNothing) {
  MemoryRich rich;
  rich.SetText(".pl 66\r\nText\r\n");
  CurrentEditor = &rich;
  CurrentText = rich.GetText();
  CurrentFileName = "/tmp/letter.txt";
  Dialogs().Answer(mrNo);
  EXPECT_FALSE(WPFormat());
  EXPECT_TRUE(rich.PlainText());
  EXPECT_EQ(CurrentFileName, "/tmp/letter.txt");
  CurrentText = "No dot first\r\n";
  EXPECT_FALSE(WPFormat());  // not even asked
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
}

TEST(WPFormat, InsertedTextTakesTheEditorsFont) {
  IsRtf = true;
  Dialogs().Answer(mrYes);
  const std::string source = WPFormatInsert(".x \x0Eit\x0E", "Verdana", 10);
  EXPECT_NE(source.find("\\fcharset0 Verdana;}}"), std::string::npos);
  EXPECT_NE(source.find("\\viewkind4\\uc1\\pard\\f0\\fs20.x \\i it\\i0 \\par \r\n}"),
            std::string::npos);
}

TEST(WPFormat, ReparagraphingComesBetweenMappingAndMarkUp) {
  WPReparagraph = [](const std::string& text) {
    EXPECT_EQ(text, ".a\r\n\xE9\r\n");  // already mapped
    return std::string(".joined");
  };
  MemoryRich rich;
  rich.SetText(".a\r\n\x82\r\n");
  CurrentEditor = &rich;
  CurrentText = rich.GetText();
  Dialogs().Answer(mrYes);
  EXPECT_TRUE(WPFormat());
  EXPECT_EQ(rich.GetText(), ".joined");
  ResetWPFormat();
}

}  // namespace
}  // namespace quorrel
