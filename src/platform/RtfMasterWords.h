#pragma once
// A dot-command master (RTF whose text starts ".PG") is read by the page builder,
// which knows bold, italic, underline, strike, super- and subscript, red text and
// one fixed-pitch font (\f1 ... \f0), and stops a build at the fourth control word
// it does not know. Such a document is written in those words only: font sizes,
// other fonts, highlights and capitals have no place on the page and are left out.
// Text colours stay as they are: the builder reads them. Paragraph formats and
// fields stay too, so that the user's lists, alignment and links survive a save:
// the builder passes over a line's layout, reads a bullet as its bullet and a link
// as a link, and refuses centring.
#include "platform/RtfModel.h"

namespace quorrel {

bool IsDotMasterDocument(const TRtfDocument& document);

// The document in the builder's words: fonts other than the main one become the
// main one, fixed-pitch fonts the one fixed-pitch font; optional hyphens go and
// non-breaking hyphens become "-".
TRtfDocument InMasterWords(const TRtfDocument& document);

}  // namespace quorrel
