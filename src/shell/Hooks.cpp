#include "shell/Hooks.h"

#include "platform/ResetRegistry.h"

namespace quorrel {

namespace {

TActivationWindows windows;

void ResetActivationWindows() {
  windows = TActivationWindows{};
}

const TResetEntry resetActivationWindows(ResetActivationWindows);

}  // namespace

void SetActivationWindows(TActivationWindows hooks) {
  windows = std::move(hooks);
}

const TActivationWindows& ActivationWindows() {
  return windows;
}

}  // namespace quorrel
