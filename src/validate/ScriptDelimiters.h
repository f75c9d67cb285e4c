#pragma once
// The delimiters of server-script blocks in the current document.
#include <string>

namespace quorrel {

// "<%" and "%>", or "<?php" and "?>" in PHP documents.
extern std::string ServerScriptStart;
extern std::string ServerScriptEnd;

// Sets the delimiters for the current document's type.
void ScriptDelimiters();

}  // namespace quorrel
