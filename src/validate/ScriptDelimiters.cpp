#include "validate/ScriptDelimiters.h"

#include "editor/ShellState.h"

namespace quorrel {

std::string ServerScriptStart = "<%";
std::string ServerScriptEnd = "%>";

void ScriptDelimiters() {
  ServerScriptStart = IsPhp ? "<?php" : "<%";
  ServerScriptEnd = IsPhp ? "?>" : "%>";
}

}  // namespace quorrel
