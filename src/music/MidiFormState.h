#pragma once
// The MIDI directive editor as other parts of the program see it: whether it is
// open, and the help topic its Help button shows (the player switches it to the
// playing topic while it plays). The form sets both.
#include <string>

namespace quorrel {

extern bool MidiFormOpen;
extern int MidiFormHelpContext;
// The item the editor was opened for ("Percussion", "Accomp" ...), and whether it
// is the active window.
extern std::string MidiFormItem;
extern bool MidiFormActive;

void ResetMidiFormState();

}  // namespace quorrel
