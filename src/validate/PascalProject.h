#pragma once
// What a Pascal project file says about its files: the companion files whose
// names take fixed letter cases, and the units it lists. Paths are
// Windows-1252 bytes; folders end with "/".
#include <string>
#include <vector>

namespace quorrel {

// The names the project's files keep on disk, in their letter cases: "Direct.Inc"
// and the project's base name with ".cfg", ".dof", ".Dpr", ".dsk", ".Exe", ".Ico",
// ".res" and ".dcu".
std::vector<std::string> ProjectFileNames(const std::string& baseName);

// The unit files a project lists: from its third line on, each line with " in '"
// names one between the quotes, "\" read as "/" and a leading "\" as the root;
// other names are relative to folder. The list ends after the line that holds
// "{$R *.RES" or at the last line but one.
std::vector<std::string> ProjectUnitPaths(const std::string& text, const std::string& folder);

}  // namespace quorrel
