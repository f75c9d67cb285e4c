#pragma once
// The rewrites a tune's text goes through before abc2midi plays it: the options of
// the ABC menu (muted voices, lyrics off, MIDI programs ignored, a metronome, half
// speed), the bass-note chord fill, the silent closing bar and the field spelling
// abc2midiu wants. Each works on the lines of the text (Windows-1252 bytes, without
// their line ends).
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

using TTextLines = std::vector<std::string>;

// The lines joined, each followed by CR LF.
std::string JoinTextLines(const TTextLines& lines);

// "Play all": every line of the document except blank lines and "X:" lines, and
// the first "X:" line as "X:1", so that abc2midi reads the tunes as one. tunes
// receives the number of tunes ("X:" lines; 1 when there are none).
TTextLines PlayAllLines(const std::string& text, int& tunes);

// Whether a tune after the first has voices ("V:" lines): played as one with the
// others, its voices would be merged with theirs.
bool LaterTuneHasVoices(const std::string& text);

// "Play piano part only": the voices of the braces in the first "%%staves" line
// (else the first "%%score" line): the text after its "{". Nothing without such a
// line or without "{" in it.
std::optional<std::string> PianoVoices(const TTextLines& lines);

// Voices not among the chosen voice characters are played silently: their
// volume settings are neutralised and each of their "V:" lines is followed by
// channel 15, volume 0 and no chords.
void MuteVoices(TTextLines& lines, const std::string& chosenVoices);

// Lyrics lines ("w:") become "%".
void LyricsOff(TTextLines& lines);

// A text without "|[" or "| [K:" ends its lines with a bar line in place of "]".
void BarsForClosingBrackets(TTextLines& lines);

// "Ignore MIDI programs": program directives and inline program fields go.
void IgnorePrograms(TTextLines& lines);

// "Metronome": a drum beat per beat of the metre, after the first "K:" line.
void AddMetronome(TTextLines& lines);

// "Slow": the first tempo halved, every later tempo dropped.
void SlowTempo(TTextLines& lines);

// Chords written as a bare bass note ("/A") get the name of the chord before them
// ("D7/A"). Returns whether the tune has parts (a "P:" line before its "K:" line).
// A chord without its closing quotation mark ends the command with a message.
bool FillBassChords(TTextLines& lines);

// The silent bar that lets the last notes ring out, added to a tune without parts
// or a "V:1" voice.
inline constexpr char SilentClosingBar[] =
    "[M:none] [I:MIDI=gchordoff]Z | [M:2/2] [I:MIDI=gchordon]|]";
void AddClosingBar(TTextLines& lines, bool hasParts);

// abc2midiu reads inline MIDI fields as "[I: MIDI " + directive.
void RespellForAbc2midiu(TTextLines& lines);

// Chord symbols of every tune body overwritten with blanks (the text keeps its
// length and so its positions).
void BlankChordSymbols(std::string& text);

}  // namespace quorrel
