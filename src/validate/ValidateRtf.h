#pragma once
// The RTF validator: letters, masters of generated pages, content documents and
// play scripts, given as RTF source. It checks the paragraphs of the section at the
// caret, mends a few habits of the source (language markers, in masters blank
// paragraphs and misplaced bold or italic ends) and brings a word count near the
// start up to date.
#include "shell/Page.h"

namespace quorrel {

// Whether the document last validated holds a table row.
extern bool RtfHasTables;

// What a play script's validation says while its structure is not checked.
inline constexpr char ScriptParagraphsStatus[] =
    "Paragraphs checked; script structure not checked yet";

// The page's text is the RTF source; its caret and selection are offsets into the
// text the editor shows, the selection being the section to check (nothing
// selected: the whole text). A paragraph at fault ends with the paragraph view;
// otherwise the mended source comes back when anything changed.
TValidation ValidateRtf(const TPage& page);

// Back to a freshly started program: the Polish markers question not asked yet.
void ResetValidateRtf();

}  // namespace quorrel
