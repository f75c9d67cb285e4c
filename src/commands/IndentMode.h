#pragma once
// The Edit menu's "Indent block": a mode in which the arrow keys move the selected
// lines two blanks to the right or the left, until Enter or Esc. Texts are
// Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

inline constexpr char IndentCommand[] = "Indent";
inline constexpr char IndentInfoText[] = "Indent/outdent block with -> or <-  [Esc] to exit";

// Two blanks before every line, or (outdent) two leading blanks taken away, or
// the one there is.
void IndentLines(std::vector<std::string>& lines, bool outdent);

// Starts the mode on the selected lines of the current editor (the caret's line
// when nothing is selected): they are selected whole and the keys go to the mode.
void IndentClick();
bool InIndentMode();
// Ends the mode: the form's own shortcut handler back, the selection cleared and
// the information line emptied. Nothing when the mode is not on.
void EndIndentMode();

// Back to no mode.
void ResetIndentMode();

}  // namespace quorrel
