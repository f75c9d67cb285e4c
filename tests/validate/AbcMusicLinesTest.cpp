// The rules of single music lines, each on the smallest line that shows it, and
// the same rules inside the validator's walk in both modes.
#include <gtest/gtest.h>

#include "support/ScriptedDialogs.h"
#include "validate/AbcMessages.h"
#include "validate/AbcMusicLines.h"
#include "validate/AbcTestKit.h"

namespace quorrel::test {
namespace {

struct LineCase {
  const char* why;
  const char* in;
  const char* out;
};

TEST(AbcMusicLinesTest, MendsLeaveQuotedTextAndInlineFieldsAlone) {
  const LineCase comments[] = {
      {"a comment", "ab cd| % bar 1", "ab cd|"},
      {"an escaped percent", "ab \\% cd|", "ab \\% cd|"},
      {"a percent in quotes", "\"50%\"ab|", "\"50%\"ab|"},
      {"a percent in an in-line field", "[r:50%]ab|", "[r:50%]ab|"},
      {"a comment after quoted text", "\"A\"ab| %x", "\"A\"ab|"},
  };
  for (const LineCase& c : comments) EXPECT_EQ(WithoutInlineComment(c.in), c.out) << c.why;
  const LineCase halves[] = {
      {"a half", "c/2B/2 A3/2|", "c/B/ A3/|"},
      {"a length of /24 is no half", "c/24|", "c/24|"},
      {"an in-line note length", "[L:1/2]c/2|", "[L:1/2]c/|"},
      {"quoted text", "\"1/2 time\"c/2|", "\"1/2 time\"c/|"},
      {"an in-line metre", "[M:3/2]c/2|", "[M:3/2]c/2|"},
      {"an in-line tempo", "[Q:1/2=60]c/2|", "[Q:1/2=60]c/2|"},
  };
  for (const LineCase& c : halves) EXPECT_EQ(WithHalvesShort(c.in), c.out) << c.why;
  const LineCase repeats[] = {
      {"start and end", "|:ab:|", "|: ab :|"},
      {"already apart", "|: ab :|", "|: ab :|"},
      {"an end with its ending", "ab:|2 cd|", "ab :|2 cd|"},
      {"a start at the line's end", "ab|:", "ab|:"},
      {"quoted", "\"|:x\"ab|", "\"|:x\"ab|"},
      {"a double bar before the start", "ab||:cd", "ab||: cd"},
  };
  for (const LineCase& c : repeats) EXPECT_EQ(WithBlanksAtRepeats(c.in), c.out) << c.why;
  EXPECT_EQ(WithoutBlankBeforeContinuation("ab|  \\"), "ab|\\");
  EXPECT_EQ(WithoutBlankBeforeContinuation("ab \\ "), "ab \\ ");
}

TEST(AbcMusicLinesTest, ChordNamesAndTheirDefinitions) {
  EXPECT_EQ(ChordNamesNeeded("\"Cdim\"c \"G7sus\"g \"Bm7b5\"b \"Edim\"e"),
            (std::vector<std::string>{"7sus", "m7b5", "dim"}));
  EXPECT_TRUE(ChordNamesNeeded("\"^dim the lights\"c \"G7\"g").empty()) << "annotations are text";
  EXPECT_EQ(ChordNameLine("7sus"), "%%MIDI chordname 7sus 0 5 7 10");
  EXPECT_EQ(ChordNameLine("m7b5"), "%%MIDI chordname m7b5 0 3 6 10");
  EXPECT_EQ(ChordNameLine("dim"), "%%MIDI chordname dim 0 3 6 9");
}

TEST(AbcMusicLinesTest, LinesEndWithABarLineOrASignOfTheirOwn) {
  const struct {
    const char* line;
    const char* next;
    TLineEnd end;
  } cases[] = {
      {"ab cd|", "", TLineEnd::Fine},      {"ab cd|\\", "", TLineEnd::Fine},
      {"ab cd| \\  ", "", TLineEnd::Fine}, {"ab cd|  !", "", TLineEnd::Fine},
      {"ab cd|*", "", TLineEnd::Fine},     {"ab [K:G]", "", TLineEnd::Fine},
      {"ab :|1", "", TLineEnd::Fine},      {"ab [2", "", TLineEnd::Fine},
      {"!mf! ab cd", "", TLineEnd::Fine},  {"ab|:", ":|cd|", TLineEnd::Fine},
      {"ab|:", "cd|", TLineEnd::NoBar},    {"ab cd", "", TLineEnd::NoBar},
      {"ab cd\\", "", TLineEnd::NoBar},    {"ab c/", "", TLineEnd::Slash},
      {"ab 12", "", TLineEnd::NoBar},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckLineEnd(c.line, c.next), c.end) << c.line;
  EXPECT_TRUE(IsQuotedPartLine("\"A\"\\"));
  EXPECT_FALSE(IsQuotedPartLine("\"A\"ab|"));
}

struct WalkCase {
  const char* why;
  const char* sender;
  const char* in;
  const char* out;      // "" for unchanged
  std::string message;  // "" when validated
  size_t line;
};

TEST_F(AbcTest, MusicLinesInTheWalk) {
  const WalkCase cases[] = {
      {"mends", "Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n|:c/2d/2 e2| % x\nfg:| \\\n",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n|: c/d/ e2|\nfg :|\\\n", "", 0},
      {"mends before a stop stay", "Reformat",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n|:c/2d/2 e2 % x\nfg:|\n",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n|: c/d/ e2\nfg:|\n", AbcNoBarAtEnd, 5},
      {"a missing start of repeat", "Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\ncd:|\n",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n|: ab|\ncd :|\n", "", 0},
      {"with voices it stops", "Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nV:1\nab|\ncd:|\n",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nV:1\nab|\ncd :|\n", AbcMissingRepeatStart, 7},
      {"the part line", "Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n\"A\"\\\nab|\n", "",
       AbcPartLetterLine, 5},
      {"a comment after blanks is no music", "Reformat",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n  % note\ncd|\n", "", "", 0},
      {"a bar line and its comment", "Reformat", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n|%4\n",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n|\n", AbcShortLine, 6},
      {"a slash at the end", "Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab c/\n", "",
       AbcSlashAtEnd, 5},
      {"a line that does not end with a bar", "Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab cd\n",
       "", AbcNoBarAtEnd, 5},
      {"marked not to be validated", "Validate",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n% NoValidate\nab cd\n", "", "", 0},
      {"the mark in the music's comment stays", "Reformat",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab cd % NoValidate\nef\n", "", "", 0},
      {"chord definitions after the metre", "Validate",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n\"Cdim\"ab \"Cdim\"c|\n\"G7sus\"d|\n",
       "X:1\nT:t\nM:4/4\n%%MIDI chordname 7sus 0 5 7 10\n%%MIDI chordname dim 0 3 6 "
       "9\nQ:1/4=9\nK:C\n"
       "\"Cdim\"ab \"Cdim\"c|\n\"G7sus\"d|\n",
       "", 0},
      {"a chord defined already", "Validate",
       "X:1\nT:t\nM:4/4\n%%MIDI chordname dim 0 3 6 9\nQ:1/4=9\nK:C\n\"Cdim\"c|\n", "", "", 0},
  };
  for (const WalkCase& c : cases) {
    const TValidation result = Run(c.sender, c.in);
    EXPECT_EQ(TextOf(result), c.out) << c.why;
    if (c.message.empty()) {
      EXPECT_FALSE(result.error) << c.why << ": " << result.error->message;
      continue;
    }
    ASSERT_TRUE(result.error) << c.why;
    EXPECT_EQ(result.error->message, c.message) << c.why;
    EXPECT_EQ(ErrorLine(result, c.in), c.line) << c.why;
  }
  // Outside a site lines may end as they like.
  NotInSite = true;
  EXPECT_FALSE(Run("Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab cd\n").error);
}

}  // namespace
}  // namespace quorrel::test
