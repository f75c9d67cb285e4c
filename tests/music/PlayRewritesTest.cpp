// The text rewrites of the Play commands, each as a table of texts in and out.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "music/AbcTestSupport.h"
#include "music/AbcWorkFiles.h"
#include "music/PlayRewrites.h"
#include "shell/TextLines.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

// Lines written with "\n", and back.
TTextLines Lines(const std::string& text) {
  return LinesWithoutEnds(text);
}

std::string Text(const TTextLines& lines) {
  return Lf(JoinTextLines(lines));
}

struct Case {
  const char* name;
  const char* in;
  const char* out;
};

void RunTable(const std::vector<Case>& cases, const std::function<void(TTextLines&)>& rewrite) {
  for (const Case& c : cases) {
    TTextLines lines = Lines(c.in);
    rewrite(lines);
    EXPECT_EQ(Text(lines), c.out) << c.name;
  }
}

TEST(PlayRewritesTest, SlowHalvesTheFirstTempoAndDropsTheOthers) {
  RunTable(
      {
          {"quarter at 120", "X:1\nQ:1/4=120\nK:C\n", "X:1\nQ:1/4=60\nK:C\n"},
          {"dotted quarter at 81, rounded down", "Q:3/8=81\n", "Q:3/8=40\n"},
          {"second Q: line", "Q:1/4=100\nK:C\nabc|\nQ:1/4=50\n", "Q:1/4=50\nK:C\nabc|\n%\n"},
          {"cut at the first blank", "Q:1/4=120 \"Allegro\"\n", "Q:1/4=60\n"},
          {"tempo without a unit", "Q:90\n", "Q:45\n"},
          {"no number after =", "Q:1/4=fast\n", "Q:1/4=40\n"},
          {"no number at all", "Q:\"Allegro\"\n", "Q:50\n"},
          {"inline tempo fields", "abc [Q:1/4=60]def|[Q:3/8=90]g|\n", "abc def|g|\n"},
          {"unclosed inline tempo", "abc [Q:1/4=60 def\n", "abc \n"},
          {"blanks round =", "Q:1/4 = 142\n", "Q:1/4=71\n"},
          {"blank after Q:", "Q: 3/8=60\n", "Q:3/8=30\n"},
          {"blank after Q: without a unit", "Q: 90\n", "Q:45\n"},
          {"text before the tempo", "Q:\"Allegro\" 1/4=120\n", "Q:1/4=60\n"},
          {"tab before the number", "Q:1/2=\t80 \"Lento\"\n", "Q:1/2=40\n"},
      },
      SlowTempo);
}

TEST(PlayRewritesTest, MetronomeAddsADrumBeatPerBeatAfterTheKeyLine) {
  RunTable(
      {
          {"six-eight", "X:1\nM:6/8\nK:G\nabc|\n",
           "X:1\nM:6/8\nK:G\n%%MIDI drum dddddd 75 75 75 75 75 75\n%%MIDI drumon\nabc|\n"},
          {"the last metre before the key", "M:4/4\nM:3/4\nK:D\n",
           "M:4/4\nM:3/4\nK:D\n%%MIDI drum ddd 75 75 75\n%%MIDI drumon\n"},
          {"common time is one beat", "M:C\nK:C\n", "M:C\nK:C\n%%MIDI drum d 75\n%%MIDI drumon\n"},
          {"no metre", "K:C\n", "K:C\n%%MIDI drum d 75\n%%MIDI drumon\n"},
          {"no key: nothing", "M:4/4\nabc|\n", "M:4/4\nabc|\n"},
          {"a metre beyond any bar", "M:100000/4\nK:C\n",
           "M:100000/4\nK:C\n%%MIDI drum d 75\n%%MIDI drumon\n"},
      },
      AddMetronome);
}

TEST(PlayRewritesTest, IgnoreProgramsRemovesProgramDirectivesAndFields) {
  RunTable(
      {
          {"directives",
           "%%MIDI program 41\n%%MIDI chordprog 20\n%%MIDI bassprog 33\n%%MIDI gchord fff\n",
           "%\n%\n%\n%%MIDI gchord fff\n"},
          {"inline fields",
           "abc [I: MIDI=program 3]de [I: MIDI=chordprog 2]f|[I: MIDI=bassprog 1]g\n",
           "abc de f|g\n"},
          {"other inline fields stay", "[I: MIDI=gchord ff]abc|\n", "[I: MIDI=gchord ff]abc|\n"},
      },
      IgnorePrograms);
}

TEST(PlayRewritesTest, MutedVoicesGoToChannelFifteenAtNoVolume) {
  RunTable(
      {
          {"voice 2 of 1 and 2 muted", "V:1\nabc|\nV:2 clef=bass\nABC|\n",
           "V:1\nabc|\nV:2 clef=bass\n%%MIDI channel 15\n%%MIDI control 7 0\n%%MIDI "
           "gchordoff\nABC|\n"},
          {"volume settings neutralised", "%%MIDI control 7 100\n[I:MIDI=control 7 90]\nV:1\n",
           "% 100\n[I:MIDI=control 3 90]\nV:1\n"},
          {"letters too", "V:S\nV:T\n",
           "V:S\n%%MIDI channel 15\n%%MIDI control 7 0\n%%MIDI gchordoff\nV:T\n"},
      },
      [](TTextLines& lines) { MuteVoices(lines, lines[0] == "V:S" ? "T" : "1"); });
}

TEST(PlayRewritesTest, PianoVoicesAreThoseInTheBraces) {
  struct PianoCase {
    const char* text;
    std::optional<std::string> voices;
  };
  const PianoCase cases[] = {
      {"%%staves 1 {2 3}\nV:1\n", "2 3}"},
      {"%%score 1 {RH LH}\n", "RH LH}"},
      {"%%STAVES [1 2] {3 4}\n%%score {5}\n", "3 4}"},
      {"%%staves 1 2\n%%score {5}\n", std::nullopt},
      {"V:1\nabc|\n", std::nullopt},
  };
  for (const PianoCase& c : cases) EXPECT_EQ(PianoVoices(Lines(c.text)), c.voices) << c.text;
}

TEST(PlayRewritesTest, LyricsAndClosingBrackets) {
  RunTable({{"lyrics lines", "abc|\nw:la la\nW:verse\nwords\n", "abc|\n%\n%\nwords\n"}}, LyricsOff);
  RunTable(
      {
          {"closing brackets become bars", "abc|]\n[K:D]\nabc\n", "abc||\n[K:D|\nabc\n"},
          {"left alone with |[", "abc|[1 d:|\nabc|]\n", "abc|[1 d:|\nabc|]\n"},
          {"left alone with | [K:", "abc| [K:D]\nabc|]\n", "abc| [K:D]\nabc|]\n"},
      },
      BarsForClosingBrackets);
}

TEST(PlayRewritesTest, BareBassNotesTakeThePreviousChord) {
  RunTable(
      {
          {"D7 over A", "K:G\n\"D7/F#\"ABc \"/A\"d|\n", "K:G\n\"D7/F#\"ABc \"D7/A\"d|\n"},
          {"across lines", "K:G\n\"G\"abc|\n\"/B\"abc|\n", "K:G\n\"G\"abc|\n\"G/B\"abc|\n"},
          {"a lone slash is no bass note", "K:G\n\"C\"a \"/\"b|\n", "K:G\n\"C\"a \"/\"b|\n"},
          {"field lines passed over", "T:\"/A\" waltz\nK:G\n\"/A\"abc|\n",
           "T:\"/A\" waltz\nK:G\n\"/A\"abc|\n"},
          {"text blocks passed over",
           "K:G\n\"Em\"a|\n%%begintext\n\"/B\" said\n%%endtext\n\"/B\"a|\n",
           "K:G\n\"Em\"a|\n%%begintext\n\"/B\" said\n%%endtext\n\"Em/B\"a|\n"},
      },
      [](TTextLines& lines) { FillBassChords(lines); });
}

TEST(PlayRewritesTest, PartsAreThoseNamedBeforeTheKey) {
  TTextLines withParts = Lines("X:1\nP:AB\nK:C\nP:A\nabc|\n");
  EXPECT_TRUE(FillBassChords(withParts));
  TTextLines partInBody = Lines("X:1\nK:C\nP:A\nabc|\n");
  EXPECT_FALSE(FillBassChords(partInBody));
}

TEST(PlayRewritesTest, AnUnfinishedChordEndsTheCommand) {
  TTextLines lines = Lines("K:C\n\"Am abc|\n");
  EXPECT_TRUE(Aborts([&] { FillBassChords(lines); }));
  EXPECT_EQ(Dialogs().Last().text, "\"Am abc|\rhas unfinished chord.");
}

TEST(PlayRewritesTest, ClosingBarOnlyForTunesWithoutPartsOrVoiceOne) {
  const std::string bar = SilentClosingBar;
  struct BarCase {
    const char* text;
    bool parts;
    bool added;
  };
  const BarCase cases[] = {
      {"K:C\nabc|\n", false, true},
      {"K:C\nabc|\n", true, false},
      {"K:C\nv:1\nabc|\n", false, false},
      {"K:C\nV:2\nabc|\n", false, true},
  };
  for (const BarCase& c : cases) {
    TTextLines lines = Lines(c.text);
    AddClosingBar(lines, c.parts);
    EXPECT_EQ(lines.back() == bar, c.added) << c.text;
  }
  EXPECT_EQ(bar, "[M:none] [I:MIDI=gchordoff]Z | [M:2/2] [I:MIDI=gchordon]|]");
}

TEST(PlayRewritesTest, Abc2midiuSpellingKeepsEveryFieldClosed) {
  RunTable(
      {
          {"with a blank", "[I: MIDI=program 3]abc\n", "[I: MIDI program 3]abc\n"},
          {"without", "[I:MIDI=gchord f]abc\n", "[I: MIDI gchord f]abc\n"},
          {"blank before =", "[I:MIDI =drumon]abc\n", "[I: MIDI drumon]abc\n"},
          {"any case", "[i:midi=chordprog 1]\n", "[I: MIDI chordprog 1]\n"},
      },
      RespellForAbc2midiu);
}

TEST(PlayRewritesTest, PlayAllKeepsOneTuneNumberAndCountsTunes) {
  std::string file;
  for (int tune = 1; tune <= 12; ++tune) {
    if (tune > 1) file += "\n";
    file += "X:" + std::to_string(tune) + "\nT:Tune " + std::to_string(tune) + "\nK:C\nabc|\n";
  }
  int tunes = 0;
  TTextLines lines = PlayAllLines(Crlf(file), tunes);
  EXPECT_EQ(tunes, 12);
  int xLines = 0;
  for (const std::string& line : lines) {
    EXPECT_FALSE(line.empty());
    if (line.rfind("X:", 0) == 0) {
      ++xLines;
      EXPECT_EQ(line, "X:1");
    }
  }
  EXPECT_EQ(xLines, 1);
  EXPECT_EQ(lines.size(), 12u * 3 + 1);
}

TEST(PlayRewritesTest, PlayAllCountsTunesAndNumbersTheFirstOneWhateverItsSpelling) {
  struct PlayAllCase {
    const char* name;
    std::string in;
    std::string out;
    int tunes;
  };
  const PlayAllCase cases[] = {
      {"blank after the colon", "X: 1\nT:A\nK:C\nabc|\n\nX: 2\nT:B\nK:C\ndef|\n",
       "X:1\nT:A\nK:C\nabc|\nT:B\nK:C\ndef|\n", 2},
      {"several blank lines between tunes",
       "X:1\nK:C\na|\n\n\n\nX:2\nK:C\nb|\n\n\nX:3\nK:C\nc|\n\n", "X:1\nK:C\na|\nK:C\nb|\nK:C\nc|\n",
       3},
      {"lines of blanks between tunes", "X:1\nK:C\na|\n  \n\t\nX:2\nK:C\nb|\n",
       "X:1\nK:C\na|\nK:C\nb|\n", 2},
      {"first tune numbered other than 1", "%%abc\n\nX:7\nK:C\na|\n\nX:1\nK:C\nb|\n",
       "%%abc\nX:1\nK:C\na|\nK:C\nb|\n", 2},
      {"no tune number", "T:A\nK:C\na|\n", "T:A\nK:C\na|\n", 1},
  };
  for (const PlayAllCase& c : cases) {
    int tunes = 0;
    TTextLines lines = PlayAllLines(Crlf(c.in), tunes);
    EXPECT_EQ(Text(lines), c.out) << c.name;
    EXPECT_EQ(tunes, c.tunes) << c.name;
  }
}

TEST(PlayRewritesTest, LaterTuneWithVoices) {
  struct VoicesCase {
    const char* name;
    std::string text;
    bool later;
  };
  const VoicesCase cases[] = {
      {"one tune with voices", "X:1\nK:C\nV:1\na|\nV:2\nb|\n", false},
      {"voices in the second tune", "X:1\nK:C\na|\n\nX:2\nK:C\nV:1\na|\n", true},
      {"voices in every tune", "X:1\nK:C\nV:1\na|\n\nX:2\nK:C\nV:1\na|\n", true},
      {"inline voice at a line start", "X:1\nK:C\na|\n\nX:2\nK:C\n[V:1] a|\n", true},
      {"voices in the file header", "V:1 treble\n\nX:1\nK:C\na|\n\nX:2\nK:C\nb|\n", false},
      {"a voice named in a text", "X:1\nK:C\na|\n\nX:2\nT:V: is a field\nK:C\nb|\n", false},
  };
  for (const VoicesCase& c : cases) {
    EXPECT_EQ(LaterTuneHasVoices(Crlf(c.text)), c.later) << c.name;
  }
}

TEST(PlayRewritesTest, BlankChordSymbolsKeepsTheTextsLength) {
  const Case cases[] = {
      {"chords in the body", "X:1\nT:\"A\" title\nK:G\n\"G\"abc \"D7/F#\"d \"(Em)\"e \"/B\"f|\n",
       "X:1\nT:\"A\" title\nK:G\n   abc        d       e     f|\n"},
      {"annotations stay", "K:G\n\"^Fine\"abc \"_D.C.\"d|\n", "K:G\n\"^Fine\"abc \"_D.C.\"d|\n"},
      {"after = stays", "K:G\n%%MIDI gchord=\"Gfg\"\n", "K:G\n%%MIDI gchord=\"Gfg\"\n"},
      {"header stays until the key", "X:1\n\"G\"abc\nK:C\n\"C\"d|\nX:2\n\"E\"e\n",
       "X:1\n\"G\"abc\nK:C\n   d|\nX:2\n\"E\"e\n"},
      {"an unclosed quotation ends with its line", "K:G\n\"G abc|\n\"C\"d|\n",
       "K:G\n\"G abc|\n   d|\n"},
      {"unclosed at the text's end", "K:G\nabc \"G", "K:G\nabc \"G"},
  };
  for (const Case& c : cases) {
    std::string text = Crlf(c.in);
    const size_t length = text.size();
    BlankChordSymbols(text);
    EXPECT_EQ(Lf(text), Lf(Crlf(c.out))) << c.name;
    EXPECT_EQ(text.size(), length) << c.name;
  }
}

}  // namespace
}  // namespace quorrel::test
