#pragma once
// The ABC validator's work on the whole text before it walks the tunes. Texts are
// Windows-1252 bytes with CR LF line ends.
#include <string>

namespace quorrel {

// The text without the line ends it starts with; *removed counts the characters gone.
std::string WithoutLeadingLineEnds(const std::string& text, size_t* removed = nullptr);

// Re-format mode's mends, in this order:
// - a backslash that continues a music line is taken out with its line end (and
//   with a comment after it), unless the next line starts with "|", "%" or ":", is a
//   field, a blank line or a comment, or the backslash stands in a comment or a
//   %%begin block; a bar line doubled where the two lines meet loses one "|";
// - "bass middle=d" becomes "bass octave=-2";
// - unless the text has a "W:" line, a "::" in music becomes ":|", a line end and
//   "|:", and a music line ending "|:" is joined to the music line after it (unless
//   that one starts with an end of repeat).
std::string JoinContinuations(const std::string& text);
std::string SplitDoubleRepeats(const std::string& text);
std::string PrepareForReformat(const std::string& text);

}  // namespace quorrel
