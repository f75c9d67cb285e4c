#pragma once
// Going to a line or a character offset of the current document (the Go To
// dialog), and to the neighbouring line of the same indentation (F7, F8). Lines
// and offsets are those of CurrentText; the caret lands on the same character
// whatever the document's line ends.
#include <cstddef>
#include <functional>
#include <string>

namespace quorrel {

inline constexpr int IndentHelp = 80250;
inline constexpr char NotDecimalMessage[] = "Go To must specify a decimal number.";

// The caret to the start of a line (1 = the first): the first character after the
// (line - 1)th line feed of CurrentText, or the end of the text when it has fewer
// lines. A line below 1 sounds the Buzzer and leaves the caret where it is; false
// then.
bool GotoLine(long long line);

// The Go To dialog's two fields, filled with the caret's line and offset.
struct TGotoFields {
  std::string lineNo;
  std::string offset;
};
enum class TGotoChoice { Cancel, Line, Offset };
// The ui's dialog: shown modally, it says which button was pressed.
void SetGotoForm(std::function<TGotoChoice(TGotoFields&)> show);

// "Goto line/offset" (TWebForm.GotoMClick): a line number, or an offset that
// sounds the Buzzer when it lies beyond the text (the caret goes to the end). A
// field that is not a decimal number is refused with NotDecimalMessage; a line
// below 1, a negative offset or a number beyond the integer range sounds the
// Buzzer and moves nothing.
void GotoMClick();

// The line to which Previous or Next indent goes from the line holding an offset:
// the nearest line before (not from the first line) or after it that begins with
// exactly as many blanks as that line, followed by a character other than a blank
// ("<" when tagsOnly). Whatever lies between "<SCRIPT" and the end of "</SCRIPT"
// (any case) is passed over. Returns the CurrentText offset of that line's start,
// or npos when there is none.
size_t IndentTarget(const std::string& text, size_t offset, bool next, bool tagsOnly);

// Previous and Next indent, and their Select variants, which select whole lines from
// the caret's line to the line found.
void IndentClick(bool next, bool select);

// Gives Go To and the indent commands their menu items.
void InstallGotoCommands();

}  // namespace quorrel
