#pragma once
// Which of abc2midi's messages about a played tune are worth showing: its version
// and progress lines go, and so do complaints about things abc2midi does not
// understand but that are right for the score (chord annotations, fermatas, segno
// signs, triplets under "%%tuplets 1"). The messages' line numbers are already
// document lines (MapToolMessages), so that the document line a message names can
// be looked at.
#include <string>
#include <vector>

namespace quorrel {

struct TAbc2midiFilter {
  // The text abc2midi was given (for "&" overlays and "%%tuplets 1").
  std::string text;
  // "Play all": a later tune with voices cannot be played together with the others.
  bool playAll = false;
};

// The messages to show, rewritten where they need a word more. A failed open of the
// MIDI file deletes it. "Play all" of a text whose later tune has voices ends the
// command with a message.
std::vector<std::string> FilterAbc2midiMessages(const std::vector<std::string>& messages,
                                                const TAbc2midiFilter& filter);

}  // namespace quorrel
