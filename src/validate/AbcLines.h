#pragma once
// What an ABC line is, read on its own: blank, a comment or directive, an
// information field ("T:Title") or music. Lines are Windows-1252 bytes without
// their line end.
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// Empty or only blanks: a tune ends at such a line.
bool IsBlankLine(std::string_view line);
// "%" starts a comment and "%%" a directive for the music programs.
bool IsCommentLine(std::string_view line);
// A letter and a colon.
bool IsFieldLine(std::string_view line);
// Anything else: notes, bar lines and the rest of a tune's body.
bool IsMusicLine(std::string_view line);
// Whether the line is the field of this letter (upper case as given, either case read).
bool IsFieldOf(std::string_view line, char letter);

// Where the comment of a music line starts: the first "%" outside double quotes
// and not escaped as "\%"; npos when there is none.
size_t CommentStart(std::string_view line);

// The bar lines of a music line: each run of bar signs ("|", "||", ":|", "|:",
// "[|", "|]", "::") counts once; quoted text and the comment do not count.
int CountBarLines(std::string_view line);

// The length of the UTF-8 character starting at i, or 0 when none starts there. A
// document written in UTF-8 keeps its bytes: the bytes the validator turns into
// others are also the second or third bytes of many UTF-8 characters.
size_t Utf8CharLength(std::string_view text, size_t i);

// The lines of a text and the text of lines: every line ends CR LF.
std::vector<std::string> AbcLinesOf(const std::string& text);
std::string AbcTextOf(const std::vector<std::string>& lines);
// Where a line starts in the text AbcTextOf makes of the lines.
size_t AbcLineOffset(const std::vector<std::string>& lines, size_t line);

}  // namespace quorrel
