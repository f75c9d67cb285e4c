#pragma once
// The MIDI directive editor as other parts of the program see it: whether it is
// open, and the help topic its Help button shows (the player switches it to the
// playing topic while it plays). The form sets both.
namespace quorrel {

extern bool MidiFormOpen;
extern int MidiFormHelpContext;

void ResetMidiFormState();

}  // namespace quorrel
