// The walk over a music line's signs, on the smallest tune, validated and
// re-formatted side by side.
#include <gtest/gtest.h>

#include "validate/AbcMessages.h"
#include "validate/AbcTestKit.h"

namespace quorrel::test {
namespace {

constexpr char kHeader[] = "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n";

struct SignCase {
  const char* why;
  const char* music;      // the tune's one music line
  std::string validated;  // the line after validation, or the stop's message
  std::string reformatted;
  int help = 0;
  // In a document outside a site, where a line need not end with a bar line: the
  // walk sees lines the line-end check would stop first.
  bool outside = false;
};

TEST_F(AbcTest, EachSignOfTheMusicInBothModes) {
  MainMenu().SetChecked("ValSquare", true);
  MainMenu().SetChecked("CheckChords", true);
  const std::string notAChord = std::string("[r]") + AbcNotAChord;
  const SignCase cases[] = {
      {"plain music", "CDEF|", "CDEF|", "CDEF|"},
      {"a bracket before a start of repeat", "[|:CDEF :|", AbcBracketBeforeRepeat, "|: CDEF :|"},
      {"a bracket after an end of repeat", "|: CDEF :|]", AbcBracketAfterRepeat, "|: CDEF :|"},
      {"a thin-thick bar line", "CDEF|]", "CDEF|]", "CDEF|]"},
      {"decorations written short", "!trill! C !segno!D !>!E !fermata!F|", "TC SD LE HF|",
       "TC SD LE HF|"},
      {"other decorations stay", "!mf! C !pause!D !tr!E|", "!mf! C HD TE|", "!mf! C HD TE|"},
      {"a decoration not closed", "!mf C|", AbcDecorationNotClosed, AbcDecorationNotClosed},
      {"a line break after the music", "CDEF|  !", "CDEF|  !", "CDEF|  !"},
      {"a chord not closed", "[CEG C|", AbcSquareNotClosed, AbcSquareNotClosed, AbcSquareHelp},
      {"a bracket too many", "CE]G|", AbcUnmatchedSquare, AbcUnmatchedSquare, AbcSquareHelp},
      {"nested chords", "[C[EG]]|", AbcNestedChords, AbcNestedChords},
      {"in-line fields and endings", "|: [K:G]CD [M:3/4]E|[1 F :|[2 G|[\"last\" A|",
       "|: [K:G]CD [M:3/4]E|[1 F :|[2 G|[\"last\" A|",
       "|: [K:G]CD [M:3/4]E|[1 F :|[2 G|[\"last\" A|"},
      {"grace notes", "{AB}C {/g}D|", "{AB}C {/g}D|", "{AB}C {/g}D|"},
      {"nested braces", "{A{B}}C|", AbcNestedBraces, AbcNestedBraces},
      {"a brace not opened", "AB}C|", AbcUnmatchedBraces, AbcUnmatchedBraces},
      {"a brace left open", "{AB C|", AbcBracesOpenAtLineEnd, AbcBracesOpenAtLineEnd},
      {"a question mark", "C?D|", AbcQuestionMark, AbcQuestionMark},
      {"a sharp sign", "C#D|", AbcHashSign, AbcHashSign},
      {"signs in quotes are text", "\"C#?\"C \"^{\"D|", "\"C#?\"C \"^{\"D|", "\"C#?\"C \"^{\"D|"},
      {"a typographic apostrophe", "c\x92 d|", "c' d|", "c' d|"},
      {"UTF-8 keeps its bytes", "\"\xE2\x80\x92\"c|", "\"\xE2\x80\x92\"c|", "\"\xE2\x80\x92\"c|"},
      {"full-bar rests", "Z|X2|Z12|", "Z|X2|Z12|", "Z|X2|Z12|"},
      {"a note after a full-bar rest", "Z C|", "Bar contains full-bar rest Z or X but also C",
       "Bar contains full-bar rest Z or X but also C"},
      {"a note before it", "D Z|", "Bar contains full-bar rest Z or X but also D",
       "Bar contains full-bar rest Z or X but also D"},
      {"a chord with it", "Z [CE]|", "Bar contains full-bar rest Z or X but also [notes].",
       "Bar contains full-bar rest Z or X but also [notes]."},
      {"a rest with it", "Z z|", "Z z|", "Z z|"},
      {"a chord's shared length goes after it", "[C2E2G2] [C/E/]|", "[CEG]2 [CE]/|",
       "[CEG]2 [CE]/|"},
      {"lengths written alike", "[C/2E/]|", "[CE]/|", "[CE]/|"},
      {"a chord of one length", "[CEG]2 [^F,A,c']|", "[CEG]2 [^F,A,c']|", "[CEG]2 [^F,A,c']|"},
      {"tied notes keep their lengths", "[C2-E2-] [CE]|", "[C2-E2-] [CE]|", "[C2-E2-] [CE]|"},
      {"notes that fall", "[EC]|", "Notes not in ascending sequence in chord [EC]",
       "Notes not in ascending sequence in chord [EC]", AbcChordOrderHelp},
      {"an octave down", "[cC,]|", "Notes not in ascending sequence in chord [cC,]",
       "Notes not in ascending sequence in chord [cC,]", AbcChordOrderHelp},
      {"octaves up rise", "[Cc c']|", "[Cc c']|", "[Cc c']|"},
      {"unequal notes", "[C2E]|", "Unequal notes in chord: [C2E]: 2 versus 1",
       "Unequal notes in chord: [C2E]: 2 versus 1"},
      {"a length inside and out", "[C2E2]2|", "Length specifier inside and outside chord [C2E2]",
       "Length specifier inside and outside chord [C2E2]"},
      {"a sign that is no note", "[CxE]|", "Invalid character x in chord [CxE]",
       "Invalid character x in chord [CxE]"},
      {"no note at all", "[r]|", notAChord, notAChord},
      {"guitar chords", "\"G\" A \"Am7\"B \"D7/F#\"c|", "\"G\"A \"Am7\"B \"D7/F#\"c|",
       "\"G\"A \"Am7\"B \"D7/F#\"c|"},
      {"lower-case roots and basses", "\"g\"A \"aM7/c\"B|", AbcChordUpperCase,
       "\"G\"A \"Am7/C\"B|"},
      {"augmented", "\"G+\"c \"A+7\"d|", "\"Gaug\"c \"Aaug7\"d|", "\"Gaug\"c \"Aaug7\"d|"},
      {"annotations are text", "\"^go  0\"A \"_g+\"B \"<(\"c|", "\"^go  0\"A \"_g+\"B \"<(\"c|",
       "\"^go  0\"A \"_g+\"B \"<(\"c|"},
      {"an annotation not closed", "A \"^go on|", AbcAnnotationNotClosed, AbcAnnotationNotClosed},
      {"a quote at the end", "AB| \"", AbcLineEndsWithQuote, AbcLineEndsWithQuote, 0, true},
      {"a chord not closed", "\"G AB", AbcUnmatchedQuote, AbcUnmatchedQuote, 0, true},
      {"a chord to a bar line", "\"G AB|", AbcChordNotEnded, AbcChordNotEnded},
      {"two quotes", "\"\"G\"A|", "Chord \"\"G\" starts with two double-quotes.",
       "Chord \"\"G\" starts with two double-quotes."},
      {"a line break in a chord", "\"G\\nC\"A|", AbcNewLineInChord, AbcNewLineInChord},
      {"a sharp bass written as a note", "\"D/^F\"A|", AbcSharpFlatBass, AbcSharpFlatBass},
      {"a bass followed by more", "\"D/Fm\"A|",
       "Chord bass can be followed by \"b\", \"#\" or \"=\", but not m",
       "Chord bass can be followed by \"b\", \"#\" or \"=\", but not m"},
      {"a chord at the line's end", "AB| \"G\"", AbcChordAtLineEnd, AbcChordAtLineEnd, 0, true},
      {"a part label", "\"A\"|CD|", "\"A\"" + std::string(AbcPartNotChord),
       "\"A\"" + std::string(AbcPartNotChord)},
      {"a chord before a bar line", "CD \"G\" |E|", "Chord at end of bar, column 8\rCD \"G\" |E|",
       "Chord at end of bar, column 8\rCD \"G\" |E|"},
  };
  for (const SignCase& c : cases) {
    NotInSite = c.outside;
    const std::string tune = std::string(kHeader) + c.music + "\n";
    for (const char* sender : {"Validate", "Reformat"}) {
      SCOPED_TRACE(std::string(c.why) + ", " + sender);
      const std::string expected = std::string(sender) == "Validate" ? c.validated : c.reformatted;
      const TValidation result = Run(sender, tune);
      if (result.error) {
        EXPECT_EQ(result.error->message, expected);
        EXPECT_EQ(result.error->helpTopic, c.help);
        EXPECT_EQ(ErrorLine(result, tune), 5u);
        continue;
      }
      const std::string text = TextOf(result).empty() ? tune : TextOf(result);
      EXPECT_EQ(text, std::string(kHeader) + expected + "\n");
    }
  }
  NotInSite = false;
  // A diminished chord gets its definition for the music programs.
  EXPECT_EQ(
      TextOf(Run("Validate", std::string(kHeader) + "\"C0\"A \"Co/E\"B|\n")),
      "X:1\nT:t\nM:4/4\n%%MIDI chordname dim 0 3 6 9\nQ:1/4=9\nK:C\n\"Cdim\"A \"Cdim/E\"B|\n");
  // Unchecked, square brackets and what starts a chord are not looked at.
  MainMenu().SetChecked("ValSquare", false);
  MainMenu().SetChecked("CheckChords", false);
  EXPECT_FALSE(Run("Validate", std::string(kHeader) + "[r]|\n").error);
  EXPECT_FALSE(Run("Validate", std::string(kHeader) + "CE]G|\n").error);
  EXPECT_FALSE(Run("Validate", std::string(kHeader) + "[CEG C|\n").error);
}

TEST_F(AbcTest, DecorationsKeepTheirLongFormWhereTheTuneGivesSignsMeanings) {
  const std::string tune =
      std::string("X:1\nT:t\nM:4/4\nQ:1/4=9\nU:T = !tenuto!\nK:C\n") + "!trill!C !mf D|\n";
  EXPECT_FALSE(Run("Validate", tune).error);
  EXPECT_EQ(TextOf(Run("Validate", tune)), "");
  // So does a "U:" before the first tune.
  NotInSite = true;
  EXPECT_EQ(TextOf(Run("Reformat", "U:T = !tenuto!\n\n" + tune.substr(0, 29) + "K:C\n!trill!C|\n")),
            "");
}

TEST_F(AbcTest, FullBarRestsCountTheirBarsForTheVoices) {
  MainMenu().SetChecked("CountBars", true);
  const char kVoices[] = "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nV:1\nZ4|\nV:2\nC4|D4|E4|F4|\n";
  EXPECT_FALSE(Run("Validate", kVoices).error);
  const TValidation short_ = Run("Validate", ReplaceAll(kVoices, "Z4|", "Z3|", true));
  ASSERT_TRUE(short_.error);
  EXPECT_EQ(short_.error->message, "Voice 1 has 3 bar lines but voice 2 has 4");
}

}  // namespace
}  // namespace quorrel::test
