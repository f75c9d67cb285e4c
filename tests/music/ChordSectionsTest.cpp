#include <gtest/gtest.h>

#include "music/AbcTestSupport.h"
#include "music/ChordSections.h"
#include "shell/MenuModel.h"
#include "support/ScriptedDialogs.h"

namespace quorrel::test {
namespace {

struct ExpandCase {
  const char* name;
  const char* text;  // "\n" stands for CR LF
  const char* expected;
  int linesRemoved;
};

const ExpandCase kExpandCases[] = {
    {"one chord per bar, two chords as an overlay of invisible rests",
     "X:1\nT:Chords\nM:4/4\nL:1/4\nK:G\n%%chords\n|G|C D|Em|D7|\n%%endchords\nV:1\n"
     "GABc|cBAG|E2E2|D4|",
     "X:1\nT:Chords\nM:4/4\nL:1/4\nK:G\nV:1\n"
     "\"G\"GABc|\"C\" x \"D\" x &cBAG|\"Em\"E2E2|\"D7\"D4|",
     3},
    {"1n 2 over three voices: no bass notes, bass notes, nothing",
     "X:1\nM:4/4\nL:1/4\nK:G\n%%chords 1n 2\n|G/B|C D/F#|\n%%endchords\n"
     "V:1\n\"^Intro\"GABc|cBAG|]\nV:2\nG,4|C,2D,2|]\nV:3\nz4|z4|]",
     "X:1\nM:4/4\nL:1/4\nK:G\n"
     "V:1\n\"^Intro\"\"G\"GABc|\"C\" x \"D\" x &cBAG|]\n"
     "V:2\n\"G/B\"G,4|\"C\" x \"D/F#\" x &C,2D,2|]\nV:3\nz4|z4|]",
     3},
    {"repeat signs and double bars in the chord lines are plain bar lines; lines joined",
     "X:1\nK:G\n%%chords\n|:G|D:|\n|G|D||\n%%endchords\nV:1\n|:GABc|cBAG:|[1 G4:|[2 G4||",
     "X:1\nK:G\nV:1\n|:\"G\"GABc|\"D\"cBAG:|[1 \"G\"G4:|[2 \"D\"G4||", 4},
    {"a blank bar takes no chord; x lengths; an empty word keeps two blanks",
     "X:1\nK:G\n%%chords\n| |Am|Gx2 Dx2|G  D|\n%%endchords\nV:1\nD4|F4|G2 D2|A2B2|",
     "X:1\nK:G\nV:1\nD4|\"Am\"F4|\"G\"x2 \"D\"x2 &G2 D2|\"G\" x   \"D\" x &A2B2|", 3},
    {"a bar ending in a tie carries its one chord in an overlay",
     "X:1\nK:G\n%%chords\n|G|D|\n%%endchords\nV:1\nGABc-|cBAG|",
     "X:1\nK:G\nV:1\n\"G\" &GABc-|\"D\"cBAG|", 3},
    {"lyrics and inline fields are no music; a bar runs on over a line break",
     "X:1\nK:G\n%%chords\n|G|D|A|\n%%endchords\nV:1\nGABc|cB\nw:la la la la|la la\nAG|[K:D]D4|",
     "X:1\nK:G\nV:1\n\"G\"GABc|\"D\"cB\nw:la la la la|la la\nAG|[K:D]\"A\"D4|", 3},
    {"a voice in several blocks goes on with its next chord bar",
     "X:1\nK:G\n%%chords\n|G|D|C|A|\n%%endchords\nV:1\nGABc|cBAG|\nV:2\nG,4|D,4|\n"
     "V:1\nE4|F4|\nV:2\nC,4|A,4|",
     "X:1\nK:G\nV:1\n\"G\"GABc|\"D\"cBAG|\nV:2\n\"G\"G,4|\"D\"D,4|\n"
     "V:1\n\"C\"E4|\"A\"F4|\nV:2\n\"C\"C,4|\"A\"A,4|",
     3},
    {"the walk stops at a line beginning % and leaves the rest alone",
     "X:1\nK:G\n%%chords\n|G|D|\n%%endchords\nV:1\nGABc|\n%%MIDI program 1\ncBAG|cBAG|cBAG|",
     "X:1\nK:G\nV:1\n\"G\"GABc|\n%%MIDI program 1\ncBAG|cBAG|cBAG|", 3},
    {"two sections, each over the music after it",
     "X:1\nK:G\n%%chords\n|G|\n%%endchords\nV:1\nGABc|\n%%chords\n|D|\n%%endchords\nV:1\ncBAG|",
     "X:1\nK:G\nV:1\n\"G\"GABc|\nV:1\n\"D\"cBAG|", 6},
    {"voices are named after the keyword: the d of chords names no voice d",
     "X:1\nK:G\n%%chords 1\n|G|\n%%endchords\nV: 1\nG4|\nV:d\nB4|",
     "X:1\nK:G\nV: 1\n\"G\"G4|\nV:d\nB4|", 3},
    {"a P: line after the voice line is skipped; no section leaves the text alone",
     "X:1\nK:G\nV:1\nP:A\nGABc|", "X:1\nK:G\nV:1\nP:A\nGABc|", 0},
};

TEST(ChordSectionsTest, ExpandsSectionsIntoTheVoices) {
  for (const auto& c : kExpandCases) {
    SCOPED_TRACE(c.name);
    std::string text = Crlf(c.text);
    int removed = 0;
    EXPECT_FALSE(Aborts([&] { ExpandChordSections(text, removed); }));
    EXPECT_EQ(Lf(text), c.expected);
    EXPECT_EQ(removed, c.linesRemoved);
  }
  EXPECT_TRUE(Dialogs().Calls().empty());
}

struct ErrorCase {
  const char* name;
  const char* text;
  const char* message;  // the message shown before the command ends
};

const ErrorCase kErrorCases[] = {
    {"more music bars than chord bars", "X:1\nK:G\n%%chords\n|G|\n%%endchords\nV:1\nGABc|cBAG|",
     "Not enough bars in %%chords to fill Voice 1."},
    {"an unnamed voice still needs its bars",
     "X:1\nK:G\n%%chords 1\n|G|\n%%endchords\nV:1\nG4|\nV:2\nA4|B4|",
     "Not enough bars in %%chords to fill Voice 2."},
    {"no voice line", "X:1\nK:G\n%%chords\n|G|D|\n%%endchords\nGABc|cBAG|",
     "You must have at least one V: command to use %%chords."},
    {"quotation marks in the chord lines", "X:1\nK:G\n%%chords\n|\"G\"|D|\n%%endchords\nV:1\nGABc|",
     "Remove all \"quotes\" from %%chords section."},
    {"a bass note missing", "X:1\nK:G\n%%chords\n|G|D/|\n%%endchords\nV:1\nGABc|",
     "Error in %%chords.\rBar 2: D/\rChord has no bass note."},
    {"a chord that is no chord (an ending's number)",
     "X:1\nK:G\n%%chords\n|G|D|[1 G|\n%%endchords\nV:1\nGABc|",
     "Error in %%chords.\rBar 3: 1 G\rChord 1 does not start with A-G or \"/\" or \"(\"."},
    {"no %%endchords", "X:1\nK:G\n%%chords\n|G|D|\nV:1\nGABc|",
     "The text:\r%%endchords\rwas not found in\r"},
    {"%%chords as the last line", "X:1\nK:G\n%%chords", "The text:\r%%endchords\r"},
};

TEST(ChordSectionsTest, FaultsEndTheCommandWithTheirMessage) {
  for (const auto& c : kErrorCases) {
    SCOPED_TRACE(c.name);
    Dialogs().Clear();
    std::string text = Crlf(c.text);
    const std::string before = text;
    int removed = 0;
    EXPECT_TRUE(Aborts([&] { ExpandChordSections(text, removed); }));
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_NE(Dialogs().Last().text.find(c.message), std::string::npos) << Dialogs().Last().text;
    EXPECT_EQ(text, before) << "the text is left as it was";
  }
}

TEST(ChordSectionsTest, AnEmptyChordBarIsReportedAndDropped) {
  std::string text = Crlf("X:1\nK:G\n%%chords\n|G|  |D|\n%%endchords\nV:1\nGABc|cBAG|");
  int removed = 0;
  EXPECT_FALSE(Aborts([&] { ExpandChordSections(text, removed); }));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "Wrong terminator\r|\"G\"|");
  EXPECT_EQ(Lf(text), "X:1\nK:G\nV:1\n\"G\"GABc|\"D\"cBAG|");
}

TEST(ChordSectionsTest, MusicEndingWithoutABarLineStopsTheWalkAndTicksDebug) {
  ASSERT_FALSE(MainMenu().Checked("Debug"));
  std::string text = Crlf("X:1\nK:G\n%%chords\n|G|D|C|\n%%endchords\nV:1\nGABc|cBAG");
  int removed = 0;
  EXPECT_FALSE(Aborts([&] { ExpandChordSections(text, removed); }));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(Dialogs().Last().text.find("Error: Unexpected end of tune."), std::string::npos);
  EXPECT_TRUE(MainMenu().Checked("Debug"));
  EXPECT_EQ(Lf(text), "X:1\nK:G\nV:1\n\"G\"GABc|cBAG");
}

TEST(ChordSectionsTest, ChordVoiceLineBarByBar) {
  struct Case {
    const char* chords;
    const char* line;
  } cases[] = {
      {"|G|D7|", "|\"G\"|\"D7\"|"},     {"G|D", "\"G\"|\"D\"|"},
      {"|C D|", "|\"C\" x \"D\" x|"},   {"|Cx3 D|", "|\"C\"x3 \"D\" x|"},
      {"|(G)|/B|", "|\"(G)\"|\"/B\"|"}, {"|[G]|:D:|| |", "|\"G\"|\"D\"| |"},
      {"|G|D|  ", "|\"G\"|\"D\"|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chords);
    EXPECT_EQ(BuildChordVoiceLine(c.chords), c.line);
  }
  EXPECT_TRUE(Dialogs().Calls().empty());
}

}  // namespace
}  // namespace quorrel::test
