#include "sitebuild/BuildState.h"

#include "platform/ResetRegistry.h"

namespace quorrel {

TBuildRun BuildRun;
long BuildRoundLimit = kMaxBuildRounds;

void ResetBuildState() {
  BuildRun = TBuildRun();
}

namespace {
void ResetBuildUnit() {
  ResetBuildState();
  BuildRoundLimit = kMaxBuildRounds;
}
const TResetEntry reset(ResetBuildUnit);
}  // namespace

}  // namespace quorrel
