// The text work of the ABC editing commands: where two tunes join, the piece that
// one of them copies out, the lyric lines deleted and the lyrics extracted.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "music/AbcEdits.h"

namespace quorrel {
namespace {

const std::string kTwoTunes =
    "X:1\r\nT:First\r\nK:G\r\nabc|\r\n\r\nX:2\r\nT:Second\r\nK:D\r\ndef|\r\n";

TEST(AbcEdits, CombineWantsTheCaretAtAnXLine) {
  const size_t second = kTwoTunes.find("X:2");
  struct Case {
    const char* name;
    std::string text;
    size_t caret;
    std::optional<std::string> replaced;
  } cases[] = {
      {"after an empty line: the empty line and the X: line", kTwoTunes, second, "\r\nX:2"},
      {"straight after the tune before", "X:1\r\nK:G\r\nabc|\r\nX:2\r\nK:D\r\n", 16, "\r\nX:2"},
      {"an X: line that ends the text", "X:1\r\nK:G\r\n\r\nX:22", 12, "\r\nX:22"},
      {"in the middle of a tune", kTwoTunes, kTwoTunes.find("abc"), std::nullopt},
      {"at the text's start", kTwoTunes, 0, std::nullopt},
      {"one character into the X: line", kTwoTunes, second + 1, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<TTextRange> range = CombineRange(c.text, c.caret);
    ASSERT_EQ(range.has_value(), c.replaced.has_value()) << c.name;
    if (range) EXPECT_EQ(c.text.substr(range->start, range->length), *c.replaced) << c.name;
  }
}

// Combine at the second tune and Split back, as the commands do it on the text.
std::string Combined(const std::string& text, size_t caret) {
  const TTextRange range = *CombineRange(text, caret);
  return text.substr(0, range.start) + AbcSplitMarker + text.substr(range.start + range.length);
}

TEST(AbcEdits, SplitRestoresTheEmptyLineAndAnXLine) {
  const std::string combined = Combined(kTwoTunes, kTwoTunes.find("X:2"));
  EXPECT_EQ(combined,
            "X:1\r\nT:First\r\nK:G\r\nabc|\r\nN:Replace by blank line and X field\r\nT:Second\r\n"
            "K:D\r\ndef|\r\n");
  const size_t marker = SplitMarkerIn(combined, 0, combined.size());
  ASSERT_NE(marker, std::string::npos);
  EXPECT_EQ(combined.substr(0, marker) + "\r\nX:?" +
                combined.substr(marker + AbcSplitMarkerLength),
            "X:1\r\nT:First\r\nK:G\r\nabc|\r\n\r\nX:?\r\nT:Second\r\nK:D\r\ndef|\r\n");
  EXPECT_EQ(SplitMarkerIn(combined, 0, marker), std::string::npos) << "beyond the tune";
  EXPECT_EQ(SplitMarkerIn(kTwoTunes, 0, kTwoTunes.size()), std::string::npos);
  EXPECT_EQ(SplitMarkerIn("n:replace BY blank line and x field", 0, 40), 0u) << "any case";
}

TEST(AbcEdits, ExtractedTuneIsThePieceBetweenMarkers) {
  // Three tunes joined into one: A, then B and C after markers.
  const std::string joined = std::string("X:5\r\nT:A\r\na|\r\n") + AbcSplitMarker +
                             "\r\nT:B\r\nb|\r\n" + AbcSplitMarker + "\r\nT:C\r\nc|\r\n";
  const size_t end = joined.size();
  struct Case {
    const char* name;
    size_t at;  // the caret, one character on
    std::optional<std::string> piece;
  } cases[] = {
      {"the first piece keeps its X: line", joined.find("a|") + 1, "X:5\r\nT:A\r\na|\r\n"},
      {"a later piece gets X:1", joined.find("b|") + 1, "X:1\r\nT:B\r\nb|\r\n"},
      {"the last piece runs to the next tune", joined.find("c|") + 1, "X:1\r\nT:C\r\nc|\r\n"},
      {"the caret at a marker takes the piece after it", joined.find("N:Replace") + 1,
       "X:1\r\nT:B\r\nb|\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractedTune(joined, c.at, 0, end), c.piece) << c.name;
  }
  EXPECT_EQ(ExtractedTune(kTwoTunes, 3, 0, kTwoTunes.find("X:2")), std::nullopt)
      << "a tune without a marker";
  // A marker in another tune belongs to that tune.
  const std::string after = kTwoTunes + AbcSplitMarker + "\r\nT:Z\r\n";
  EXPECT_EQ(ExtractedTune(after, 3, 0, kTwoTunes.find("X:2")), std::nullopt);
}

TEST(AbcEdits, LyricLinesGoButTheLastLineStays) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(WithoutLyricLines(Lines{"X:1", "abc|", "w:la la", "W:Verse two", "def|", "w:end"}),
            (Lines{"X:1", "abc|", "def|", "w:end"}));
  EXPECT_EQ(WithoutLyricLines(Lines{"w:only"}), (Lines{"w:only"}));
  EXPECT_EQ(WithoutLyricLines(Lines{}), Lines{});
}

TEST(AbcEdits, LyricsOfATune) {
  struct Case {
    const char* name;
    std::string tune, lyrics;
  } cases[] = {
      {"without a repeat, the first verse under each music line",
       "X:1\r\nK:G\r\nabc|\r\nw:Twin-kle twin-kle\r\nw:Sec-ond verse\r\ndef|\r\nw:lit-tle star\r\n"
       "K:G\r\n",
       "Twinkle twinkle\r\nlittle star\r\n"},
      {"with a repeat, the second verse follows the first after an empty line",
       "X:1\r\nK:G\r\nabc:|\r\nw:First verse here\r\nw:Sec-ond verse\r\nK:G\r\n",
       "First verse here\r\n\r\nSecond verse\r\n\r\n"},
      {"words of a W: line keep their hyphens, marks go, sentences get two blanks",
       "X:1\r\nK:G\r\nabc|\r\nw:Oh~my_ *dar|ling. Is it? Yes! so\r\nW:well-known  words\r\nK:G\r\n",
       "Oh my darling.  Is it?  Yes!  so\r\nwell-known words\r\n"},
      {"a ninth verse line joins the eighth",
       "X:1\r\nK:G\r\nabc:|\r\nw:a\r\nw:b\r\nw:c\r\nw:d\r\nw:e\r\nw:f\r\nw:g\r\nw:h\r\nw:i\r\n"
       "K:G\r\n",
       "a\r\n\r\nb\r\n\r\nc\r\n\r\nd\r\n\r\ne\r\n\r\nf\r\n\r\ng\r\n\r\nh\r\ni\r\n\r\n"},
      {"no lyrics", "X:1\r\nK:G\r\nabc|\r\n", ""},
      {"a tune too short to hold any", "X", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(LyricsOfTune(c.tune), c.lyrics) << c.name;
}

TEST(AbcEdits, MidiRatioGoesBeforeTheTunesKLine) {
  const std::string text = kTwoTunes;
  const size_t second = text.find("X:2");
  EXPECT_EQ(MidiRatioLineAt(text, 0, second), text.find("K:G"));
  EXPECT_EQ(MidiRatioLineAt(text, second, text.size()), text.find("K:D"));
  EXPECT_EQ(MidiRatioLineAt("X:1\r\nk:g\r\n", 0, 10), 5u) << "any case";
  EXPECT_EQ(MidiRatioLineAt(text, 0, text.find("K:G")), std::string::npos) << "beyond the tune";
  EXPECT_EQ(MidiRatioLineAt("X:1\r\nabc\r\n", 0, 10), std::string::npos);
}

}  // namespace
}  // namespace quorrel
