#pragma once
// The RTF validator: letters, masters of generated pages, content documents and
// play scripts, given as RTF source. It checks the paragraphs of the section at the
// caret, mends a few habits of the source (language markers, in masters blank
// paragraphs and misplaced bold or italic ends), checks the structure of play
// scripts and brings a word count near the start up to date.
#include "shell/Page.h"

namespace quorrel {

// Whether the document last validated holds a table row.
extern bool RtfHasTables;

// The page's text is the RTF source; its caret and selection are offsets into the
// text the editor shows, the selection being the section to check (nothing
// selected: the whole text). A paragraph at fault ends with the paragraph view.
// A play script is then checked as a whole and its speakers' names written out in
// full; a fault there is an error at an offset into the shown text, and leaves the
// script as it was. Otherwise the mended source comes back when anything changed,
// and speakers missing from a characters list still to be written go to the
// clipboard.
TValidation ValidateRtf(const TPage& page);

// Back to a freshly started program: the Polish markers question not asked yet.
void ResetValidateRtf();

}  // namespace quorrel
