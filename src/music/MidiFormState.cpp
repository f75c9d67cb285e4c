#include "music/MidiFormState.h"

#include "platform/ResetRegistry.h"

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

namespace {
const TResetEntry resetMidiFormState(ResetMidiFormState);
}  // namespace

}  // namespace quorrel
