#include <gtest/gtest.h>

#include "edit/TextRepairs.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;

TEST(Utf8PunctuationToAscii, WordProcessorPunctuationBecomesPlain) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"\xE2\x80\x98q\xE2\x80\x99 \xE2\x80\x9C"
       "d\xE2\x80\x9D",
       "'q' 'd'"},
      {"a\xE2\x80\x93"
       "b\xE2\x80\x94"
       "c",
       "a-b-c"},
      {"wait\xE2\x80\xA6", "wait:"},
      {"no\xC2\xA0"
       "break",
       "no break"},
      {"lone\xA0"
       "blank",
       "lone blank"},
      {"copy \xC2\xA9 2026", "copy \xA9 2026"},  // U+00A9 is the next byte in 1252
      {"a\r\n\r\n\r\n\r\nb", "a\r\n\r\nb"},
      {"a\r\n\r\n\r\nb", "a\r\n\r\nb"},
      {"a\r\n\r\n\r\n\r\n\r\n\r\nb", "a\r\n\r\n\r\nb"},  // one pass of each
      // Letters of other UTF-8 characters keep their bytes.
      {"voil\xC3\xA0 \xE2\x80\xA0", "voil\xC3\xA0 \xE2\x80\xA0"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8PunctuationToAscii(c.in), c.out) << c.in;
}

TEST(HtmlUtf8Punctuation, DashesAndQuotesBecomeEntities) {
  EXPECT_EQ(HtmlUtf8Punctuation("a\xE2\x80\x90"
                                "b \xE2\x80\x93 \xE2\x80\x94 it\xE2\x80\x99s "
                                "5\xE2\x80\xB2"
                                "6\xE2\x80\xB3 \xE2\x80\x9Ckept\xE2\x80\x9D"),
            "a-b &ndash; &mdash; it&rsquo;s 5'6\" \xE2\x80\x9Ckept\xE2\x80\x9D");
}

TEST(PseudoBlanks, OnlyBytesOutsideUtf8CharactersCount) {
  struct Case {
    std::string text;
    size_t first;
    std::string blanks, nbsp;
  } cases[] = {
      {"a\xA0"
       "b",
       2, "a b", "a&nbsp;b"},
      {"a\xC2\xA0"
       "b",
       3, "a b", "a&nbsp;b"},  // one no-break blank, one blank
      {"a\xC2"
       "b",
       2, "a b", "a&nbsp;b"},
      {"voil\xC3\xA0", 0, "voil\xC3\xA0", "voil\xC3\xA0"},    // "à"
      {"\xE2\x80\xA0 dagger", 0, "\xE2\x80\xA0 dagger", ""},  // "†"
      {"\xC2\xA9 and \xA0", 8, "\xC2\xA9 and  ", ""},         // "©" stays
      {"caf\xE9\xA0", 5, "caf\xE9 ", ""},                     // Windows-1252 text
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirstPseudoBlank(c.text), c.first) << c.text;
    EXPECT_EQ(ReplacePseudoBlanks(c.text, " ", false), c.blanks) << c.text;
    if (!c.nbsp.empty()) {
      EXPECT_EQ(ReplacePseudoBlanks(c.text, "&nbsp;", false), c.nbsp);
    }
  }
  EXPECT_EQ(ReplacePseudoBlanks("a\xC2"
                                "b\xC2\xA0"
                                "c",
                                " ", true),
            "ab c")
      << "RTF drops C2";
}

TEST(PseudoBlanks, PunctuationOfTheCodePageBecomesPlainButUtf8Stays) {
  EXPECT_EQ(PlainPunctuation("\x85\x87\x93q\x94\x96\x97"), ":-\"q\"--");
  EXPECT_EQ(PlainPunctuation("\xE2\x80\x94 \xC3\x97"), "\xE2\x80\x94 \xC3\x97");
}

class FixPseudoBlanksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentExt = ".HTM";
    IsHtml = true;
  }
};

TEST_F(FixPseudoBlanksTest, OutsideASiteBlanksComeWithoutAsking) {
  NotInSite = true;
  std::string text =
      "a\xC2\xA0"
      "b \x96 c";
  EXPECT_TRUE(FixPseudoBlanks(text));
  EXPECT_EQ(text, "a b - c");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(FixPseudoBlanksTest, InASiteTheUserChoosesBlanksOrNbsp) {
  struct Case {
    std::vector<int> answers;
    std::string result;
  } cases[] = {
      {{mrYes}, "x y z"},
      {{mrNo, mrYes}, "x&nbsp;y&nbsp;z"},
      {{mrNo, mrNo}, "x\xA0y\xC2\xA0z"},
  };
  for (const auto& c : cases) {
    Dialogs().Clear();
    for (int answer : c.answers) Dialogs().Answer(answer);
    std::string text = "x\xA0y\xC2\xA0z";
    EXPECT_EQ(FixPseudoBlanks(text), c.result != "x\xA0y\xC2\xA0z");
    EXPECT_EQ(text, c.result);
    EXPECT_EQ(Dialogs().Calls()[0].text,
              "Replace \"\xC2\" (hex C2), or hex A0 pseudo-blanks by real blanks,\rstarting at "
              "offset 2?");
  }
}

TEST_F(FixPseudoBlanksTest, TypesThatKeepTheirBytes) {
  NotInSite = true;
  std::string sql =
      "a\xA0"
      "b";
  CurrentExt = ".SQL";
  EXPECT_FALSE(FixPseudoBlanks(sql)) << "no pseudo-blank rule, no punctuation";
  CurrentExt = ".PAS";
  std::string pas = "a\xA0\x96";
  EXPECT_FALSE(FixPseudoBlanks(pas));
  CurrentExt = ".HTM";
  std::string xml = "<?xml version=\"1.0\"?>\xA0";
  EXPECT_FALSE(FixPseudoBlanks(xml));
  std::string utf8 = "na\xC3\xAFve \xE2\x80\x94 voil\xC3\xA0";
  EXPECT_FALSE(FixPseudoBlanks(utf8)) << "nothing to fix in clean UTF-8";
}

}  // namespace
}  // namespace quorrel
