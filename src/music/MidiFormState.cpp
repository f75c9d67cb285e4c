#include "music/MidiFormState.h"

namespace quorrel {

bool MidiFormOpen = false;
int MidiFormHelpContext = 0;
std::string MidiFormItem;
bool MidiFormActive = false;

void ResetMidiFormState() {
  MidiFormOpen = false;
  MidiFormHelpContext = 0;
  MidiFormItem.clear();
  MidiFormActive = false;
}

}  // namespace quorrel
