#pragma once
// The ABC validator's messages, questions, help contexts and the lines it adds.
// Texts are Windows-1252 bytes; "\r" breaks a message's lines.
namespace quorrel {

// ---- help contexts -----------------------------------------------------------
inline constexpr int AbcFieldValueHelp = 55950;
inline constexpr int AbcBarCountHelp = 55940;
inline constexpr int AbcFieldOrderHelp = 55930;
inline constexpr int AbcSquareHelp = 55720;
inline constexpr int AbcChordOrderHelp = 55710;

// ---- preparation -------------------------------------------------------------
inline constexpr char AbcBigFileQuestion[] =
    "This is a big file.  Are you sure you want to reformat it all?!";
inline constexpr char AbcTuneStartNotFound[] = "Start of tune not found\r";

// ---- the header ----------------------------------------------------------------
inline constexpr char AbcNoXStart[] = "Tune does not start \"X:\"";
inline constexpr char AbcXCommentNotice[] =
    "\rQuorrel does not accept comments following the tune number.";
inline constexpr char AbcBeginWithoutEnd[] = "%%begin... not followed by %%end...";
inline constexpr char AbcBadKey[] =
    "Key must start with upper-case A-G or be \"HP\", \"Hp\" or \"none\".";
inline constexpr char AbcShortLine[] = "Line must be at least three characters long.";
inline constexpr char AbcNoFieldValue[] = "No value for information field.";
inline constexpr char AbcDeprecatedTempo[] = "Deprecated syntax.  Use e.g. Q:3/8=110";
inline constexpr char AbcGchordBeforeMetre[] = "gchord needs to go after M:";
inline constexpr char AbcOldGchord[] = "%%gchord should be %%MIDI gchord";

// ---- the music lines -----------------------------------------------------------
inline constexpr char AbcNoKeyBefore[] = "No K: field before\r";
inline constexpr char AbcNoKeyAfter[] = "\rA tune must have a key specified.";
inline constexpr char AbcNoMetreQuestion[] =
    "\rThis tune has no M: field to give the time signature.  Did you mean this?\r"
    "If so I'll insert \"M:none\" (which won't display in the score) to stop me asking again.";
inline constexpr char AbcEnterMetre[] = "Please enter M: command.";
inline constexpr char AbcNoTempoQuestion[] =
    "\rThis tune and maybe others has no Q: field to give the tempo.\r"
    "Did you mean this?  If so I'll insert my own choice.";
inline constexpr char AbcEnterTempo[] = "Please enter Q: command.";
inline constexpr char AbcMissingRepeatStart[] =
    "Missing start of repeat and tune has more than one voice!";
inline constexpr char AbcPartLetterLine[] =
    "Line just contains \"A\"\rChange this to use \"P:A\" etc.";
inline constexpr char AbcSlashAtEnd[] =
    "I think you meant a back-slash (or a bar-line) at the end:";
inline constexpr char AbcNoBarAtEnd[] =
    "Line of music should normally end with \"|\", possibly followed by \"\\\".";
inline constexpr char AbcBracketBeforeRepeat[] =
    "Don't need square bracket before start of repeat.";
inline constexpr char AbcBracketAfterRepeat[] = "Don't need square bracket after end of repeat.";
inline constexpr char AbcDecorationNotClosed[] = "No \"!\" at end of decoration.";
inline constexpr char AbcSquareNotClosed[] = "Square brackets not closed at end of line.";
inline constexpr char AbcNestedChords[] = "Attempt to nest chords.";
inline constexpr char AbcNotAChord[] =
    " is not a chord,\r"
    "and if it's an embedded command it needs a colon such as\r"
    "[K: G] or [I:MIDI gchord b2z] or [I: MIDI = program 73 MIDI=chordprog 29]";
inline constexpr char AbcChordNotAscending[] = "Notes not in ascending sequence in chord ";
inline constexpr char AbcUnequalChordNotes[] = "Unequal notes in chord: ";
inline constexpr char AbcLengthInAndOut[] = "Length specifier inside and outside chord ";
inline constexpr char AbcUnmatchedSquare[] = "Unmatched square brackets.";
inline constexpr char AbcNestedBraces[] = "Nested curly brackets.";
inline constexpr char AbcUnmatchedBraces[] = "Unmatched curly brackets.";
inline constexpr char AbcQuestionMark[] = "What's \"?\" doing here?";
inline constexpr char AbcHashSign[] = "I think \"#\" should be \"^\".";
inline constexpr char AbcRestAndNotes[] = "Bar contains full-bar rest Z or X but also ";
inline constexpr char AbcLineEndsWithQuote[] = "Line ends with double-quote.";
inline constexpr char AbcAnnotationNotClosed[] = "String incomplete at end of line.";
inline constexpr char AbcUnmatchedQuote[] = "Unmatched double-quote at end of line.";
inline constexpr char AbcChordNotEnded[] = "No end of guitar chord.";
inline constexpr char AbcChordUpperCase[] = "Chords and bass notes must be upper-case.";
inline constexpr char AbcNewLineInChord[] = "Don't use \"\\n\" in a chord - use \";\" instead.";
inline constexpr char AbcSharpFlatBass[] = "Use G# or Gb rather than ^G or _G";
inline constexpr char AbcBassFollowedBy[] =
    "Chord bass can be followed by \"b\", \"#\" or \"=\", but not ";
inline constexpr char AbcChordAtLineEnd[] = "Chord at end of line.";
inline constexpr char AbcPartNotChord[] =
    " is probably intended to be a Part specifier rather than a chord.";
inline constexpr char AbcBracesOpenAtLineEnd[] = "Curly brackets not closed at end of line.";
inline constexpr char AbcBracesOpenAtTuneEnd[] = "Curly brackets not closed at end of tune.";
inline constexpr char AbcSecondX[] = "Second \"X\" found - may be missing blank line before tune.";

// ---- the end of a tune --------------------------------------------------------
inline constexpr char AbcNoTitle[] = "Title field not found.";
inline constexpr char AbcErrorInTuneEnding[] = "\rError in tune ending at line ";
inline constexpr char AbcMinuetQuestion[] =
    "\rTune is minuet or 3/2 time with no bass line.\r"
    "Would you like chord, rest, chord rather than oom-cha, oom-cha, oom-cha?"
    "\rYou can change your mind later using ABC | Accompaniment.";

// ---- lines the validator adds ------------------------------------------------
inline constexpr char AbcNoMetreLine[] = "M:none";
inline constexpr char AbcBeatLine[] = "%%MIDI beat 100 95 80";
inline constexpr char AbcChordRestChordLine[] = "%%MIDI gchord czc";
inline constexpr char AbcOomChaLine[] = "%%MIDI gchord fcHcfc";
inline constexpr char AbcSixFourGchordLine[] = "%%MIDI gchord czcczc";

}  // namespace quorrel
