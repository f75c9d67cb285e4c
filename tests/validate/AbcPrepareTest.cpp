// Re-format mode's work on the whole text, and the rules of single fields and
// lines, each on the smallest text that shows it.
#include <gtest/gtest.h>

#include "validate/AbcFields.h"
#include "validate/AbcLines.h"
#include "validate/AbcPrepare.h"
#include "validate/AbcTestKit.h"

namespace quorrel::test {
namespace {

struct TextCase {
  const char* why;
  const char* in;
  const char* out;
};

TEST(AbcPrepareTest, ContinuationsAreJoinedWhereTheyContinueMusic) {
  const TextCase cases[] = {
      {"a continued music line", "ab|\\\ncd|\n", "ab|cd|\n"},
      {"blanks before the next line's music stay", "ab \\\n  cd|\n", "ab   cd|\n"},
      {"three lines", "a|\\\nb|\\\nc|\n", "a|b|c|\n"},
      {"the bar line both lines drew", "ab|\\\n  |cd|\n", "ab|cd|\n"},
      {"a next line starting with a bar line", "ab\\\n|cd|\n", "ab\\\n|cd|\n"},
      {"a next line that is a comment", "ab|\\\n%note\n", "ab|\\\n%note\n"},
      {"a next line starting a repeat end", "ab\\\n:|cd\n", "ab\\\n:|cd\n"},
      {"a field after the music is no music", "ab|\\\nP:B\n", "ab|\\\nP:B\n"},
      {"a blank line ends the tune", "ab|\\\n\nX:2\n", "ab|\\\n\nX:2\n"},
      {"a backslash in a comment", "ab| % see \\\ncd|\n", "ab| % see \\\ncd|\n"},
      {"a comment after the backslash", "ab|\\ % more\ncd|\n", "ab|cd|\n"},
      {"a field line is no music", "w:la la\\\nla\n", "w:la la\\\nla\n"},
      {"PostScript keeps its own continuations", "%%beginps\n(a\\\nb)\n%%endps\n",
       "%%beginps\n(a\\\nb)\n%%endps\n"},
      {"the last line", "ab|\\\n", "ab|\\\n"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(AbcLf(JoinContinuations(AbcText(c.in))), c.out) << c.why;
  }
}

TEST(AbcPrepareTest, DoubleRepeatsAreSplitOnlyInMusic) {
  const TextCase cases[] = {
      {"a double repeat in a line", "ab::cd|\n", "ab:|\n|:cd|\n"},
      {"at the end of a line: the start goes with the next music", "ab::\ncd|\n", "ab:|\n|:cd|\n"},
      {"a line ending in a start of repeat", "ab|:\ncd|\n", "ab|:cd|\n"},
      {"before a field the start of repeat stays", "ab|:\nP:B\n", "ab|:\nP:B\n"},
      {"before an end of repeat too", "ab|:\n:|cd|\n", "ab|:\n:|cd|\n"},
      {"in quotes", "\"a::b\"cd|\n", "\"a::b\"cd|\n"},
      {"a tuplet's missing number", "ab (3::2 cd|\n", "ab (3::2 cd|\n"},
      {"written out", "ab|::|cd|\n", "ab|::|cd|\n"},
      {"a run of colons", "ab::::cd|\n", "ab::::cd|\n"},
      {"in a comment", "ab| % a::b\n", "ab| % a::b\n"},
      {"in a field", "T:Act 2::Finale\n", "T:Act 2::Finale\n"},
      {"a text with words after the tune", "ab::cd|\nW:verse\n", "ab::cd|\nW:verse\n"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(AbcLf(SplitDoubleRepeats(AbcText(c.in))), c.out) << c.why;
  }
}

TEST(AbcPrepareTest, PreparationJoinsThenMendsClefsThenSplitsRepeats) {
  EXPECT_EQ(AbcLf(PrepareForReformat(AbcText("K:C bass middle=d\nab::\\\ncd|\n"))),
            "K:C bass octave=-2\nab:|\n|:cd|\n");
  size_t removed = 0;
  EXPECT_EQ(WithoutLeadingLineEnds("\r\n\r\nX:1", &removed), "X:1");
  EXPECT_EQ(removed, 4u);
}

TEST(AbcFieldsTest, FieldsAreWrittenTheOneWay) {
  const TextCase cases[] = {
      {"letter upper-cased", "t:Title", "T:Title"},
      {"lyrics stay lower-case", "w:la la", "w:la la"},
      {"symbol lines stay lower-case", "s:* * T", "s:* * T"},
      {"symbol lines keep their places", "d:   |  * T", "d:   |  * T"},
      {"a macro stays a macro", "m:~n2 = (3o/n/m/ n", "m:~n2 = (3o/n/m/ n"},
      {"blanks after the colon", "X:  1", "X:1"},
      {"metre with time", "M:3/4 time", "M:3/4"},
      {"rhythm capital", "R:reel", "R:Reel"},
      {"copyright byte", "Z:\xA9 1999", "Z:\\251 1999"},
      {"UTF-8 keeps its bytes", "C:Andr\xC3\xA9 \xC2\xA9", "C:Andr\xC3\xA9 \xC2\xA9"},
      {"a copyright byte after a Windows letter", "C:R\xE9\xA9", "C:R\xE9\\251"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(MendedField(c.in), c.out) << c.why;
  const TextCase clefs[] = {
      {"a named clef", "K:G clef=bass", "K:G bass"},
      {"an octave clef", "V:1 clef=treble-8 name=\"T\"", "V:1 treble-8 name=\"T\""},
      {"a letter clef would read as a key", "K:G clef=C", "K:G clef=C"},
      {"percussion", "K:C clef=perc", "K:C clef=perc"},
      {"two", "V:1 clef=alto clef=tenor", "V:1 alto tenor"},
  };
  for (const TextCase& c : clefs) EXPECT_EQ(WithoutClefWord(c.in), c.out) << c.why;
}

TEST(AbcFieldsTest, KeysTemposVoicesAndNumbers) {
  for (const char* key : {"C", "Gm", "Bb dor", "HP", "Hp", "none", "NONE", "G % comment"}) {
    EXPECT_TRUE(IsKnownKey(key)) << key;
  }
  for (const char* key : {"g", "H", "HPx", "hp", "nonesuch", "", "bass"}) {
    EXPECT_FALSE(IsKnownKey(key)) << key;
  }
  EXPECT_TRUE(IsTempoWithBeat("1/4=120"));
  EXPECT_FALSE(IsTempoWithBeat("120"));
  EXPECT_FALSE(IsTempoWithBeat("1/4"));
  EXPECT_EQ(VoiceNumber("1"), 1);
  EXPECT_EQ(VoiceNumber("9 bass"), 9);
  EXPECT_EQ(VoiceNumber("10"), std::nullopt);
  EXPECT_EQ(VoiceNumber("Tenor"), std::nullopt);
  EXPECT_EQ(VoiceNumber("1a"), std::nullopt);
  EXPECT_EQ(TuneNumber("X:12"), 12);
  EXPECT_EQ(TuneNumber("X: 7 % note"), 7);
  EXPECT_EQ(TuneNumber("X:"), std::nullopt);
  EXPECT_EQ(WithTuneNumber("X:12 % note", 3), "X:3 % note");
  const std::pair<const char*, const char*> tempos[] = {
      {"3/4", "Q:1/4=112"}, {"4/4", "Q:1/4=112"}, {"6/8", "Q:3/8=112"},
      {"3/2", "Q:1/2=100"}, {"2/4", "Q:1/2=112"}, {"none", "Q:1/2=112"},
  };
  for (const auto& [metre, line] : tempos) EXPECT_EQ(TempoLineFor(metre), line) << metre;
}

TEST(AbcLinesTest, BarLinesCountOncePerRun) {
  const std::pair<const char*, int> cases[] = {
      {"ab|cd|", 2},       {"|:ab:|", 2},     {"ab||", 1},       {"[|ab|]", 2},    {"ab::cd|", 2},
      {"|1 ab:|2 cd|", 3}, {"\"A|B\"ab|", 1}, {"ab| % c|d|", 1}, {"ab\\| % x", 1}, {"", 0},
      {"a:b|", 1},
  };
  for (const auto& [line, bars] : cases) EXPECT_EQ(CountBarLines(line), bars) << line;
  EXPECT_EQ(CommentStart("ab \\% c % d"), 8u);
  EXPECT_EQ(CommentStart("\"50%\" ab"), std::string::npos);
}

}  // namespace
}  // namespace quorrel::test
