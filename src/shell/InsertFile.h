#pragma once
// "&Insert": a file's text put in at the caret of the current document, formatted
// when both are RTF. Texts are Windows-1252 bytes.
#include <cstddef>
#include <string>

#include "platform/RtfModel.h"

namespace quorrel {

class TMyRich;

// The open dialog's filter for a file to insert into the current document.
std::string InsertFilter();

// Gives text of the automatic colour a colour (0x00BBGGRR) of its own.
void ColourAutomaticText(TRtfDocument& document, int colour);

// Puts a formatted document in place of a formatted editor's selection, the caret
// after it; text of the automatic colour takes the editor's text colour.
void InsertRtfDocument(TMyRich& editor, TRtfDocument inserted);

// TWebForm's Insert command: asks for the file ("File to be inserted"), offers the
// old word-processor conversion, and puts the file in at the caret in place of the
// selection. Cancelling the dialog ends the command silently.
void InsertFileClick();

}  // namespace quorrel
