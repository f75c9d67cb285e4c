// The ABC validator on the smallest tunes that show each rule: its stops with their
// exact messages, help contexts and lines, its mends in both modes, its questions
// answered Yes and No, and which tunes a run takes.
#include <gtest/gtest.h>

#include <string>

#include "platform/Abort.h"
#include "shell/CommandNames.h"
#include "support/ScriptedDialogs.h"
#include "validate/AbcMessages.h"
#include "validate/AbcTestKit.h"

namespace quorrel::test {
namespace {

struct StopCase {
  const char* why;
  const char* sender;
  const char* text;
  std::string message;
  int help;
  size_t line;  // the caret's line, 0-based
};

TEST_F(AbcTest, EachStopHasItsMessageHelpAndLine) {
  const StopCase cases[] = {
      {"no X: at the start", "Validate", "T:Lost\nK:C\nab|\n", AbcNoXStart, 0, 0},
      {"%%begin without end", "Validate", "X:1\nT:t\n%%begintext\nwords\n", AbcBeginWithoutEnd, 0,
       2},
      {"lower-case key", "Validate", "X:1\nT:t\nM:4/4\nK:g\nab|\n", AbcBadKey, 0, 3},
      {"key of a clef only", "Validate", "X:1\nT:t\nM:4/4\nK:clef=bass\nab|\n", AbcBadKey, 0, 3},
      {"one-character line", "Validate", "X:1\nT:t\nM:4/4\nQ:1/4=90\nK:C\na\n", AbcShortLine, 0, 5},
      {"empty field", "Validate", "X:1\nT:t\nC:\nM:4/4\nK:C\nab|\n", AbcNoFieldValue,
       AbcFieldValueHelp, 2},
      {"empty X:", "Validate", "X:\nT:t\n", AbcNoFieldValue, AbcFieldValueHelp, 0},
      {"tempo without beat", "Validate", "X:1\nT:t\nM:4/4\nQ:120\nK:C\nab|\n", AbcDeprecatedTempo,
       0, 3},
      {"tempo without length", "Validate", "X:1\nT:t\nM:4/4\nQ:C=120\nK:C\nab|\n",
       AbcDeprecatedTempo, 0, 3},
      {"gchord before the metre", "Validate", "X:1\nT:t\n%%MIDI gchord fz\nM:4/4\nK:C\nab|\n",
       AbcGchordBeforeMetre, 0, 2},
      {"old gchord", "Validate", "X:1\nT:t\nM:4/4\n%%gchord fz\nK:C\nab|\n", AbcOldGchord, 0, 3},
      {"music before the key", "Validate", "X:1\nT:t\nM:4/4\nQ:1/4=90\nab|\nK:C\n",
       "No K: field before\rab|\rA tune must have a key specified.", 0, 4},
      {"second X: in a tune", "Validate", "X:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\nX:2\nT:b\n",
       AbcSecondX, 0, 6},
      {"no title", "Validate", "X:1\nM:4/4\nQ:1/4=90\nK:C\nab|\n",
       "Title field not found.\rError in tune ending at line 5", 0, 4},
      {"second X: in the tune at the caret", "NoReformat",
       "X:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\nX:2\nT:b\n", AbcSecondX, 0, 6},
      {"no tune at the caret", "NoReformat", "% just a note\nab|\n",
       "Start of tune not found\r% just a note", 0, 0},
  };
  for (const StopCase& c : cases) {
    const TValidation result = Run(c.sender, c.text);
    ASSERT_TRUE(result.error) << c.why;
    EXPECT_EQ(result.error->message, c.message) << c.why;
    EXPECT_EQ(result.error->helpTopic, c.help) << c.why;
    EXPECT_EQ(ErrorLine(result, c.text), c.line) << c.why;
    EXPECT_FALSE(result.status) << c.why << ": a stop is no validation";
  }
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(AbcTest, AStopWritesBackTheMendsMadeBeforeIt) {
  const TValidation result = Run("Validate", "X: 1\nt:Title\nM:4/4\nK:G clef=bass\nQ:120\n");
  ASSERT_TRUE(result.error);
  EXPECT_EQ(result.error->message, AbcDeprecatedTempo);
  EXPECT_EQ(TextOf(result), "X:1\nT:Title\nM:4/4\nK:G bass\nQ:120\n");
  EXPECT_EQ(ErrorLine(result, ""), 4u);
}

TEST_F(AbcTest, VoicesMustHaveAsManyBarLinesAsVoiceOne) {
  const char kTune[] =
      "X:1\nT:t\nM:4/4\nQ:1/4=90\nK:C\nV:1\nab|cd|\nV:2\nab|cd|\nV:1\nef|\nV:2\nef|g|\n";
  MainMenu().SetChecked("CountBars", true);
  TValidation result = Run("Validate", kTune);
  ASSERT_TRUE(result.error);
  EXPECT_EQ(result.error->message, "Voice 1 has 1 bar lines but voice 2 has 2");
  EXPECT_EQ(result.error->helpTopic, AbcBarCountHelp);
  EXPECT_EQ(ErrorLine(result, kTune), 11u) << "the voice's field";

  // Voices of names and not numbers, the option off, or a tune marked, are not counted.
  const std::string named = ReplaceAll(kTune, "V:2", "V:Bass", true);
  EXPECT_FALSE(Run("Validate", named).error);
  EXPECT_FALSE(Run("Validate", std::string(kTune) + "% NoValidate\n").error);
  MainMenu().SetChecked("CountBars", false);
  EXPECT_FALSE(Run("Validate", kTune).error);
}

struct MendCase {
  const char* why;
  const char* sender;
  const char* in;
  const char* out;  // "" for unchanged
};

TEST_F(AbcTest, SmallThingsAreMendedInBothModes) {
  const MendCase cases[] = {
      {"the plain tune", "Validate", kPlainTune, ""},
      {"the plain tune re-formatted", "Reformat", kPlainTune, ""},
      {"fields", "Validate",
       "X: 1\nt:Plain\nM:4/4 time\nQ: 1/4=120\nR:reel\nK:G clef=treble\nab|\n",
       "X:1\nT:Plain\nM:4/4\nQ:1/4=120\nR:Reel\nK:G treble\nab|\n"},
      {"lyrics and voices", "Validate",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nV:1 clef=bass\nab|\nw: la la\n",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nV:1 bass\nab|\nw:la la\n"},
      {"leading line ends and a missing final one", "Validate",
       "\n\nX:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n"},
      {"blank lines after a tune", "Validate",
       "X:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\n\n\n\nX:2\nT:b\nM:4/4\nQ:1/4=9\nK:C\nab|\n\n\n",
       "X:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\n\nX:2\nT:b\nM:4/4\nQ:1/4=9\nK:C\nab|\n"},
      {"blank lines at the end outside a tune", "Reformat",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n\nnotes\n\n\n\n",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n\nnotes\n"},
      {"a page break before a part", "Validate",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n%%vskip 0\nP:B\ncd|\n",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\nP:B\ncd|\n"},
      {"a metre in three gets its beat", "Validate", "X:1\nT:t\nM:3/4\nQ:1/4=9\nK:C\nab|\n",
       "X:1\nT:t\nM:3/4\n%%MIDI beat 100 95 80\nQ:1/4=9\nK:C\nab|\n"},
      {"the beat given", "Validate", "X:1\nT:t\nM:3/8\nQ:3/8=9\nK:C\n%%MIDI beat 90 80 70 1\nab|\n",
       ""},
      {"an empty field is no error when re-formatting", "Reformat",
       "X:1\nT:t\nC:\nM:4/4\nQ:1/4=9\nK:C\nab|\n", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n"},
      {"an empty title is allowed", "Validate", "X:1\nT:\nM:4/4\nQ:1/4=9\nK:C\nab|\n", ""},
      {"no title when re-formatting", "Reformat", "X:1\nM:4/4\nQ:1/4=9\nK:C\nab|\n", ""},
      {"a second X: when re-formatting", "Reformat",
       "X:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\nX:2\nT:b\nM:4/4\nQ:1/4=9\nK:C\ncd|\n",
       "X:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\n\nX:2\nT:b\nM:4/4\nQ:1/4=9\nK:C\ncd|\n"},
      {"the Q: field a few lines into the music", "Validate",
       "X:1\nT:t\nM:4/4\nK:C\nab|\nQ:1/4=80\ncd|\n", ""},
      {"a directives block before the tunes", "Validate",
       "%%beginps\n/x{}def\n\n%%endps\nX:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n", ""},
      {"a chords section is passed over", "Validate",
       "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\n%%chords\nx\n%%endchords\nab|\n", ""},
  };
  for (const MendCase& c : cases) {
    const TValidation result = Run(c.sender, c.in);
    EXPECT_FALSE(result.error) << c.why << ": " << result.error->message;
    EXPECT_EQ(TextOf(result), c.out) << c.why;
    EXPECT_EQ(result.status, std::optional<std::string>(ValidatedStatus)) << c.why;
  }
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(AbcTest, OldTempoIsAcceptedOutsideASite) {
  NotInSite = true;
  EXPECT_FALSE(Run("Validate", "X:1\nT:t\nM:4/4\nQ:120\nK:C\nab|\n").error);
}

TEST_F(AbcTest, ACommentAfterTheTuneNumberIsPointedOutWithoutStopping) {
  const TValidation result = Run("Validate", "X:1 % first\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab|\n");
  EXPECT_FALSE(result.error);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text,
            "X:1 % first\rQuorrel does not accept comments following the tune number.");
}

TEST_F(AbcTest, ReformattingSetsOffTextBetweenTunesOnceAndGoesOn) {
  // Text that is no tune gets a blank line before it and is passed over, so that
  // the walk never takes it for a tune again and never adds blank lines without end.
  // Outside a site, where notes need not end with a bar line.
  NotInSite = true;
  const char kBook[] =
      "X:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\n%%endtext\nThese are notes\nmore notes\n\n"
      "X:2\nT:b\nM:4/4\nQ:1/4=9\nK:C\nab|\n";
  const TValidation first = Run("Reformat", kBook);
  ASSERT_FALSE(first.error);
  // The tune ends at a blank line; the comment line is part of it.
  EXPECT_EQ(TextOf(first), "");
  const char kJunk[] = "Notes on the book\n\nX:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\n\nstray\ntext\n";
  EXPECT_TRUE(Run("Validate", kJunk).error);
  const TValidation reformatted = Run("Reformat", kJunk);
  EXPECT_FALSE(reformatted.error);
  EXPECT_EQ(TextOf(reformatted), "");
  const char kGlued[] = "X:1\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\n%%begintext\nx\n%%endtext\nstray\n";
  const TValidation glued = Run("Reformat", kGlued);
  ASSERT_FALSE(glued.error);
  EXPECT_EQ(TextOf(glued), "");
}

TEST_F(AbcTest, FieldOrderOpensItsHelpAndStopsAtTheMusic) {
  MainMenu().SetChecked("FieldOrder", true);
  const char kLateMetre[] = "X:1\nT:t\nK:C\nM:4/4\nQ:1/4=9\nab|\n";
  const TValidation result = Run("Validate", kLateMetre);
  ASSERT_TRUE(result.error);
  EXPECT_EQ(result.error->message, "") << "the help topic has spoken";
  EXPECT_EQ(ErrorLine(result, kLateMetre), 5u);
  EXPECT_EQ(helps, std::vector<int>{AbcFieldOrderHelp});
  helps.clear();
  // The key or an instruction last, or several voices, are in order.
  EXPECT_FALSE(Run("Validate", kPlainTune).error);
  EXPECT_FALSE(Run("Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nI:abc-charset utf-8\nab|\n").error);
  EXPECT_FALSE(Run("Validate", "X:1\nT:t\nM:4/4\nQ:1/4=9\nK:C\nV:1\nab|\n").error);
  EXPECT_TRUE(helps.empty());
  MainMenu().SetChecked("FieldOrder", false);
  EXPECT_FALSE(Run("Validate", kLateMetre).error);
}

TEST_F(AbcTest, MissingMetreIsAskedForOnceARun) {
  const char kTwoTunes[] = "X:1\nT:One\nQ:1/4=9\nK:C\nab|\n\nX:2\nT:Two\nQ:1/4=9\nK:C\nab|\n";
  Dialogs().Answer(mrYes);
  const TValidation yes = Run("Validate", kTwoTunes);
  EXPECT_FALSE(yes.error);
  EXPECT_EQ(TextOf(yes),
            "X:1\nT:One\nQ:1/4=9\nM:none\nK:C\nab|\n\nX:2\nT:Two\nQ:1/4=9\nM:none\nK:C\nab|\n");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, std::string("One") + AbcNoMetreQuestion);

  Dialogs().Clear();
  Dialogs().Answer(mrNo);
  const TValidation no = Run("Validate", kTwoTunes);
  ASSERT_TRUE(no.error);
  EXPECT_EQ(no.error->message, AbcEnterMetre);
  EXPECT_EQ(ErrorLine(no, kTwoTunes), 3u) << "the key, where the metre belongs";
  EXPECT_EQ(TextOf(no), "");

  // A metre later in the tune is one.
  Dialogs().Clear();
  EXPECT_FALSE(Run("Validate", "X:1\nT:t\nQ:1/4=9\nK:C\nab|\nM:3/4\nabc|\n").error);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(AbcTest, MissingTempoIsAskedForOnceARunAndFollowsTheMetre) {
  const struct {
    const char* metre;
    const char* tempo;
  } cases[] = {
      {"4/4", "Q:1/4=112"}, {"3/4", "Q:1/4=112"}, {"6/8", "Q:3/8=112"}, {"2/2", "Q:1/2=112"}};
  std::string book, mended;
  for (const auto& c : cases) {
    book += std::string("X:1\nT:t\nM:") + c.metre + "\nK:C\nab|\n\n";
    mended += std::string("X:1\nT:t\nM:") + c.metre + "\n" +
              (std::string(c.metre) == "3/4" ? "%%MIDI beat 100 95 80\n" : "") + c.tempo +
              "\nK:C\nab|\n\n";
  }
  mended.pop_back();
  Dialogs().Answer(mrYes);
  const TValidation yes = Run("Validate", book);
  EXPECT_FALSE(yes.error);
  EXPECT_EQ(TextOf(yes), mended);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, std::string("t") + AbcNoTempoQuestion);

  Dialogs().Clear();
  Dialogs().Answer(mrNo);
  const char kNoTempo[] = "X:1\nT:t\nM:6/8\nK:C\nab|\n";
  const TValidation no = Run("Validate", kNoTempo);
  ASSERT_TRUE(no.error);
  EXPECT_EQ(no.error->message, AbcEnterTempo);
  EXPECT_EQ(ErrorLine(no, kNoTempo), 2u) << "the metre, where the tempo belongs";

  // A metre later in the tune: the tempo goes before the key, which stays the
  // header's last field. With both questions the metre comes first.
  Dialogs().Clear();
  MainMenu().SetChecked("FieldOrder", true);
  Dialogs().Answer(mrYes);
  const TValidation later = Run("Validate", "X:1\nT:t\nK:C\nab|\nM:3/4\nabc|\n");
  EXPECT_EQ(TextOf(later), "X:1\nT:t\nQ:1/2=112\nK:C\nab|\nM:3/4\n%%MIDI beat 100 95 80\nabc|\n");
  EXPECT_FALSE(Run("Validate", TextOf(later)).error) << "the field order holds";
  MainMenu().SetChecked("FieldOrder", false);
  Dialogs().Clear();
  Dialogs().Answer({mrYes, mrYes});
  const TValidation both = Run("Validate", "X:1\nT:t\nK:C\nab|\n");
  EXPECT_EQ(TextOf(both), "X:1\nT:t\nM:none\nQ:1/2=112\nK:C\nab|\n");
}

TEST_F(AbcTest, AMinuetAsksForItsAccompanimentAndSixFourGetsOne) {
  const char kMinuet[] = "X:4\nT:Slow\nM:3/2\nQ:1/2=60\nK:C\nab|\n";
  Dialogs().Answer(mrYes);
  EXPECT_EQ(TextOf(Run("Validate", kMinuet)),
            "X:4\nT:Slow\nM:3/2\n%%MIDI gchord czc\n%%MIDI beat 100 95 80\nQ:1/2=60\nK:C\nab|\n");
  EXPECT_EQ(Dialogs().Last().text, std::string("Slow") + AbcMinuetQuestion);
  Dialogs().Answer(mrNo);
  EXPECT_EQ(
      TextOf(Run("Validate", kMinuet)),
      "X:4\nT:Slow\nM:3/2\n%%MIDI gchord fcHcfc\n%%MIDI beat 100 95 80\nQ:1/2=60\nK:C\nab|\n");
  Dialogs().Clear();

  const TValidation six = Run("Validate", "X:4\nT:Jig\nM:6/4\nQ:1/4=90\nK:C\nab|\n");
  EXPECT_EQ(TextOf(six), "X:4\nT:Jig\nM:6/4\n%%MIDI gchord czcczc\nQ:1/4=90\nK:C\nab|\n");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "Tune 4 is 6/4 time with no bass line - added gchord.");

  // A gchord of its own, or several voices, leave the tune as it is.
  Dialogs().Clear();
  EXPECT_EQ(TextOf(Run("Validate", "X:4\nT:J\nM:6/4\nQ:1/4=9\nK:C\n%%MIDI gchord fzz\nab|\n")), "");
  EXPECT_EQ(TextOf(Run("Validate", "X:4\nT:J\nM:6/4\nQ:1/4=9\nK:C\nab[I:MIDI=gchord fz]|\n")), "");
  EXPECT_EQ(TextOf(Run("Validate", "X:4\nT:J\nM:6/4\nQ:1/4=9\nK:C\nV:1\nab|\n")), "");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(AbcTest, RenumberingNumbersTheTunesOnFromTheFirst) {
  const char kBook[] =
      "X:3\nT:a\nM:4/4\nQ:1/4=9\nK:C\nab|\n\nX:7 % b\nT:b\nM:4/4\nQ:1/4=9\nK:C\n"
      "ab|\n\nX:7\nT:c\nM:4/4\nQ:1/4=9\nK:C\nab|\n";
  MainMenu().SetChecked("Renumber", true);
  const TValidation result = Run("Validate", kBook);
  EXPECT_EQ(TextOf(result),
            ReplaceAll(ReplaceAll(kBook, "X:7 % b", "X:4 % b", true), "X:7\n", "X:5\n", true));
  Dialogs().Clear();  // the comment after the number is pointed out
  // The tune at the caret alone keeps its number.
  EXPECT_EQ(TextOf(Run("NoReformat", kBook, AbcText(kBook).find("X:7\r\n"))), "");
}

TEST_F(AbcTest, OnlyTheTuneAtTheCaretIsCheckedForOtherCommands) {
  const char kBook[] =
      "% two tunes\n\nX:1\nT:a\nM:4/4\nQ:1/4=9\nK:g\nab|\n\nX:2\nT:b\nM:4/4\nQ:1/4=9\nK:C\nab|\n";
  const std::string text = AbcText(kBook);
  const size_t inSecond = text.find("ab|", text.find("X:2"));
  EXPECT_FALSE(Run("NoReformat", kBook, inSecond).error);
  EXPECT_FALSE(Run("Play", kBook, inSecond).error);
  // The first tune, whole-file runs, and a text asking for the whole file stop at its key.
  EXPECT_TRUE(Run("NoReformat", kBook, text.find("K:g")).error);
  EXPECT_TRUE(Run("NoReformat", kBook, 0).error) << "the caret before the first tune";
  EXPECT_TRUE(Run("Validate", kBook, inSecond).error);
  EXPECT_TRUE(Run("NoReformat", std::string(kBook) + "% X:?\n", inSecond).error);
}

TEST_F(AbcTest, ABigFileIsReformattedOnlyWhenTheUserSaysSo) {
  std::string book;
  for (int n = 1; book.size() <= 20000; ++n) {
    book += "X:" + std::to_string(n) + "\nT:t\nM:4/4\nQ:1/4=9\nK:C\nab::cd|\n\n";
  }
  Dialogs().Answer(mrNo);
  EXPECT_THROW(Run("Reformat", book), EAbort);
  EXPECT_EQ(Dialogs().Last().text, AbcBigFileQuestion);
  Dialogs().Answer(mrYes);
  EXPECT_NE(TextOf(Run("Reformat", book)).find("ab :|\n|: cd|"), std::string::npos);
  // Extracting parts re-formats without asking; validating never asks.
  Dialogs().Clear();
  CurrentCommand = ExtractPartsCommand;
  EXPECT_FALSE(Run("Reformat", book).error);
  CurrentCommand.clear();
  EXPECT_FALSE(Run("Validate", book).error);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

}  // namespace
}  // namespace quorrel::test
