#include "shell/Recolour.h"

#include "platform/ResetRegistry.h"

namespace quorrel {

int RecolourRequest = RecolourNone;

int RequestRecolour(int level) {
  if (RecolourRequest == RecolourNone || RecolourRequest == RecolourAbcTune ||
      (RecolourRequest == RecolourEntered && level == RecolourFull)) {
    RecolourRequest = level;
  }
  return RecolourRequest;
}

namespace {
const TResetEntry resetRecolour([] { RecolourRequest = RecolourNone; });
}  // namespace

}  // namespace quorrel
