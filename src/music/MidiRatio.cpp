#include "music/MidiRatio.h"

#include "platform/ResetRegistry.h"

namespace quorrel {

bool RatioOffered = false;

void OfferMidiRatio() {}

void ResetMidiRatio() {
  RatioOffered = false;
}

namespace {
const TResetEntry resetMidiRatio(ResetMidiRatio);
}  // namespace

}  // namespace quorrel
