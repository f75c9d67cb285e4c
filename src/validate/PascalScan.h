#pragma once
// The Pascal formatter's scanner: one line at a time, it makes the upper-case copy
// in which strings and comments are blanked, so that no rule sees a keyword in
// them, and carries the comment state, the open round brackets and the formatting
// switch from line to line. Texts are Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

struct TPascalScanState {
  bool inBrace = false;        // inside "{ ... }"
  bool inParenStar = false;    // inside "(* ... *)"
  int openBrackets = 0;        // round brackets open in code
  bool formattingOff = false;  // after "{£F-}" until "{£F+}"
};

enum class TPascalDirective { If, Else, EndIf };

struct TPascalLineScan {
  std::string upper;        // the line in upper case, strings and comments blanked
  bool stringOpen = false;  // a quote still open at the end of the line
  // Where the first comment opened on this line starts ("{", "(*" or "//" outside
  // strings); npos when the line opens none.
  size_t commentAt = std::string::npos;
  // The conditional directives of the line, in order.
  std::vector<TPascalDirective> directives;
};

TPascalLineScan ScanPascalLine(const std::string& line, TPascalScanState& state);

}  // namespace quorrel
