#pragma once
// Messages of the music programs about the prepared tune: their line numbers are
// lines of the tune file the program read, and are turned into lines of the
// document before the messages are shown in the report viewer.
#include <string>

namespace quorrel {

// Rewrites the line numbers of the messages in ReadList as document lines. A
// number that cannot be mapped becomes a bracketed reason: "[past end of tune]",
// "[cannot compute]", "[cannot compute - transposing instrument]" or
// "[cannot compute - voices selected]". computable is false when the program read
// more than the tune at the caret. Two document lines equal to the tune's X: line
// end the command with a message (unless the document is the tune file itself).
void MapToolMessages(bool computable);

// Line n (1-based) of CurrentText without its line end; "" beyond the text.
std::string GetDocumentLine(long n);

// Shows ReadList in the report viewer (unless the tune asks to "Ignore errors") and
// gives the focus back to the editor. Ends a "Check All" run: its flag is cleared
// and the command ends silently.
void ShowToolErrors();

}  // namespace quorrel
