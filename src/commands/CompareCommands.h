#pragma once
// "Compare", "Compare with..." and "Compare folder": the current document beside
// another file in the compare program. Paths are Windows-1252 bytes.
#include <string>

namespace quorrel {

// TWebForm.CompareClick: "Compare" shows the document beside its ".Bak" back-up;
// "CompareWith" beside a file chosen in the dialog "File to compare with".
void CompareClick(const std::string& sender);

// Gives the three compare items their commands.
void InstallCompareCommands();

}  // namespace quorrel
