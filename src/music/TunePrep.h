#pragma once
// The tune at the caret and the text handed to the music programs for it: the
// document's file header, the format codes of "ABCCodes.txt" the header lacks, and
// the tune with its %%chords sections turned into chord voices. Texts are
// Windows-1252 bytes with CR LF line ends, as CurrentText holds them.
#include <array>
#include <cstddef>
#include <string>

namespace quorrel {

// ---- the tune last found, shared by the music commands --------------------------
// 1-based offsets in CurrentText: the start of the tune's "X:" line, and (first
// entry of TuneBounds) its end: the line feed before the next "X:" line, or the
// text's length.
extern size_t TuneStart;
extern std::array<size_t, 1> TuneBounds;
// The tune as the document holds it, before any rewriting.
extern std::string LastTuneText;
// The text after the tune's first "T:" up to the end of that line.
extern std::string TuneTitle;
// Document lines the %%chords expansion took out of the tune (each section's
// %%chords line, chord lines and %%endchords line).
extern int ChordLinesRemoved;
// The score replaced a split marker by a new "X:1" line: the tool's text has one
// line more than the document.
extern bool SplitMarkerExpanded;
// A "Check All" run is going; showing tool messages ends it.
extern bool CheckAllRun;

// The lines every tool's text starts with when "ABCCodes.txt" is missing.
extern const std::array<const char*, 18> DefaultAbcCodes;

// Writes "ABCCodes.txt" with the default lines when it does not exist.
void EnsureCodesFile();

// Where the tune at a caret lies in a text: 1-based start and end (inclusive; the
// line feed before the next "X:" line, or the text's length). moveCaret says the
// caret was not inside a tune and belongs at its start. A text without "X:" lines
// is one tune.
struct TTuneSpan {
  size_t start = 1;
  size_t end = 0;
  bool moveCaret = false;
};
// caretOffset is 0-based, counted in the text's own characters.
TTuneSpan FindTuneIn(const std::string& text, size_t caretOffset);

// The file header of the current document (up to the line feed before its first
// "X:" line) followed by the format codes whose first word the header lacks.
std::string BuildTuneHeader();
// The tune at the caret of the current editor; sets TuneStart and TuneBounds and,
// when the caret lay outside every tune, moves it to the tune's start.
std::string FindTuneStart();
// The text after a tune's first "T:" line's field name, up to the end of that line.
std::string TitleOfTune(const std::string& tune);
// The whole text to hand to a tool for the tune at the caret.
std::string PrepareCurrentTune();

// Back to the state of a freshly started program.
void ResetTunePrep();

}  // namespace quorrel
