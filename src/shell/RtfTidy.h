#pragma once
// Tidying the RTF source of the current document before it is saved: the house
// font and size, and no more than two blank paragraphs in a row. Texts are
// Windows-1252 bytes.
#include <cstddef>
#include <string>

namespace quorrel {

// RTF source with the first font of its font table named "Arial", its first font
// size ("\fs" and a number) 24 half-points, and its colour table removed.
std::string RtfWithDefaultFont(const std::string& source);

// SetRtfDefaultFont: shows the current editor formatted, in the house font and
// size and without colours; its modified state is kept.
void SetRtfDefaultFont();

// The paragraph mark of the RTF source layout: a line end and "\par ".
inline constexpr char kRtfParMark[] = "\r\n\\par ";

// Where the first run of three paragraph marks in a row starts (0-based), npos
// when there is none.
size_t FirstTripleBlankLine(const std::string& source);

// RTF source in which every run of three or more paragraph marks in a row is cut
// to two.
std::string WithoutTripleBlankLines(const std::string& source);

// The current editor's RTF source without runs of blank lines, rendered back into
// the editor (caret and modified state kept) when anything went; returns the source. With the "Debug" option the first run is shown instead: the
// editor switches to its codes with the caret there, "Two blank lines." is shown
// and the command ends.
std::string RemoveTripleBlankLines();

}  // namespace quorrel
