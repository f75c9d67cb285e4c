#pragma once
// The broken-rhythm offer of the ABC editing commands: a tune that uses "<" or ">"
// plays best with "%%MIDI ratio 3 1" before its K: line.

namespace quorrel {

// The offer has been made in this run (set by the editor's key handler, tested by
// Paste, cleared by "New tune").
extern bool RatioOffered;

// With "Check chords" ticked, offers to add the directive to the tune at the
// caret, as the line before its K: line; the caret stays where it was in the text.
void OfferMidiRatio();

// Back to no offer made.
void ResetMidiRatio();

}  // namespace quorrel
