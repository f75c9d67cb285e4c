#pragma once
// %%chords sections: the chords of a tune written once, bar by bar, between a
// "%%chords" line (which may name the voices that take them, "n" after a voice
// meaning without bass notes) and a "%%endchords" line. Each section is taken out
// of the text and its chords are put into the bars of the voices that follow, as
// chord symbols at each bar's first note or, for several chords in a bar, as a
// voice overlay of invisible rests that carry them.
#include <string>
#include <vector>

namespace quorrel {

// The chord voice line of a section's chord lines, bar by bar: each chord in
// quotation marks, several chords in a bar each followed by an invisible rest "x",
// bars ended by "|". Errors end the command with their message.
std::string BuildChordVoiceLine(const std::string& chordLines);

// Expands every %%chords section of the text in turn (first to last). Adds to
// linesRemoved the number of lines each section took out.
void ExpandChordSections(std::string& text, int& linesRemoved);

}  // namespace quorrel
