#include "music/MidiFormState.h"

namespace quorrel {

bool MidiFormOpen = false;
int MidiFormHelpContext = 0;

void ResetMidiFormState() {
  MidiFormOpen = false;
  MidiFormHelpContext = 0;
}

}  // namespace quorrel
