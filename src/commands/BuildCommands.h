#pragma once
// The Web menu's page-building commands.
#include <string>

namespace quorrel {

// TWebForm.BuildWeb: saves the master and builds its pages, every section or only
// the one round the caret, then names the last page built in the status line.
// Returns that page's file name (name and extension).
std::string BuildWeb(bool oneSection);

// Gives "Build &Web pages" and "Build One" their commands.
void InstallBuildCommands();

}  // namespace quorrel
