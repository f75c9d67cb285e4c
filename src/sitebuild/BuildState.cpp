#include "sitebuild/BuildState.h"

#include "platform/ResetRegistry.h"

namespace quorrel {

long BuildRoundLimit = kMaxBuildRounds;

void ResetBuildState(TBuildRun& run) {
  run = TBuildRun();
}

namespace {
void ResetBuildUnit() {
  BuildRoundLimit = kMaxBuildRounds;
}
const TResetEntry reset(ResetBuildUnit);
}  // namespace

}  // namespace quorrel
