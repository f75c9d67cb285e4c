#include "validate/ScriptDelimiters.h"

#include "platform/ResetRegistry.h"
#include "shell/ShellState.h"

namespace quorrel {

std::string ServerScriptStart = "<%";
std::string ServerScriptEnd = "%>";

void ScriptDelimiters() {
  ServerScriptStart = IsPhp ? "<?php" : "<%";
  ServerScriptEnd = IsPhp ? "?>" : "%>";
}

namespace {
const TResetEntry resetScriptDelimiters([] {
  ServerScriptStart = "<%";
  ServerScriptEnd = "%>";
});
}  // namespace

}  // namespace quorrel
