#pragma once
// The walk over the signs of one ABC music line: bracketed repeats, decorations,
// chord brackets, braces, full-bar rests and the signs that do not belong in music.
// It returns the line with what it mends mended, and stops at the first fault it
// cannot mend with a TAbcStop at the line it is given.
#include <string>

namespace quorrel {

struct TAbcWalk {
  size_t line = 0;                  // the line's number in the work list, for a stop
  bool reformat = false;            // mend instead of stopping where that is possible
  bool decorationsDefined = false;  // "U:" gives the signs meanings of its own
  bool checkSquare = false;         // "Check [ ]"
  bool checkChords = false;         // "Check chords"
  bool inBraces = false;            // carried to the next line and the tune's end
  int fullBarRests = 0;             // bars a "Z" or "X" stood for beyond its own bar line
};

std::string WalkMusicLine(const std::string& line, TAbcWalk& walk);

}  // namespace quorrel
