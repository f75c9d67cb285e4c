#include "sitebuild/BuildState.h"

#include "platform/ResetRegistry.h"

namespace quorrel {

TBuildRun BuildRun;

void ResetBuildState() { BuildRun = TBuildRun(); }

namespace {
const TResetEntry reset(ResetBuildState);
}  // namespace

}  // namespace quorrel
