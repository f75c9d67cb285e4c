#include "music/MidiRatio.h"

namespace quorrel {

bool RatioOffered = false;

void OfferMidiRatio() {}

void ResetMidiRatio() {
  RatioOffered = false;
}

}  // namespace quorrel
