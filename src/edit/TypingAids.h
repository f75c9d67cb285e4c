#pragma once
// What the editor does for the keys typed into it, as plain computations on the
// text: the indent of a new line, the smart tab, the alternating non-breaking
// blanks of HTML, the list item after a list tag and the note groups of ABC tunes.
// Texts are Windows-1252 bytes; columns and positions are 0-based.
#include <cstddef>
#include <string>
#include <string_view>

namespace quorrel {

// The blanks a line begins with.
size_t LeadingBlanks(std::string_view line);

// The column of the word that the smart tab reaches from column in a line above:
// the line has text at that column followed by blanks, and the word after those
// blanks starts at the column returned. npos when the line gives none.
size_t WordColumnAbove(std::string_view line, size_t column);

// The next tab stop after column when no line above gives one: columns 5, 10, 15 ...
// (the fifth, tenth ... characters' places, counting from 0).
size_t NextTabStop(size_t column);

// What a blank typed after the text before the caret becomes in an HTML page: ""
// when it stays a blank, "&nbsp; " when the blank before it turns into "&nbsp;"
// (replacing that blank), "&nbsp;" when it is typed as "&nbsp;".
enum class TBlankTyped { Plain, EarlierToNbsp, TypedAsNbsp };
TBlankTyped BlankAfter(std::string_view before);

// Whether a line ends with <UL>, <OL> or </LI> (any case): Enter there starts a
// list item.
bool EndsWithListTag(std::string_view line);

// The caret's place after Ctrl+Right or Ctrl+Left in an ABC tune: the start of the
// next or previous note group (groups are separated by blanks and line ends; a bar
// line after a blank belongs to the separation). text is the editor's text with one
// character ("\n") per line end.
size_t NextNoteGroup(std::string_view text, size_t pos);
size_t PreviousNoteGroup(std::string_view text, size_t pos);

}  // namespace quorrel
