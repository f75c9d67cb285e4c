#pragma once
// Where the Pascal formatter puts comments: trailing comments line up in columns
// that are multiples of 5, from column 30 on, and follow the line before them when
// the line still fits; comment lines join the comment column above them. Columns
// are 1-based; a length is the comment's, to the end of the line.
#include <cstddef>

namespace quorrel {

// The width limit with no window to measure: a client width of 1024 pixels.
constexpr int DefaultPascalWidthLimit = 150;

// The width limit, in characters, of a main window whose client area is this many
// pixels wide; a window with no width gives the default.
int PascalWidthLimit(int clientWidth);

// The column of a comment that follows code ending in column codeEnd. previous is
// the comment column of the line before (0 for none); limit the width limit.
int TrailingCommentColumn(int codeEnd, size_t commentLength, int previous, int limit);

// The column of a line that starts with "{": the previous comment column when the
// line fits there, else its own column moved left until it fits, never before 1.
int BraceLineColumn(int column, size_t length, int previous, int limit);

}  // namespace quorrel
