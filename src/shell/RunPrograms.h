#pragma once
// Running other programs as commands do: the start and the wait of the platform's
// process table, with the messages, the help topic and the busy cursor the user
// sees. Program names and arguments are file-system bytes.
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace quorrel {

// Seconds WaitForOutputFile waits; ToolWaitQuiet means a short wait with no
// warning about an empty file. Every wait sets it back to ToolWaitDefault.
inline constexpr int ToolWaitDefault = 2;
inline constexpr int ToolWaitQuiet = -1;
extern int ToolWaitSeconds;

// Starts the program and returns at once. A program that does not exist opens the
// help topic (or, with help context 0, shows "Program not found: " and the name)
// and ends the command silently. Returns false after "Could not run" when the
// program exists but would not start.
bool RunHidden(const std::string& program, const std::vector<std::string>& arguments,
               int helpContext = 0, const TRunOptions& options = {});

// A program the user chooses: the setting [System] key, else the first of the known
// programs found on the search path (by its name); "" when there is neither.
std::string ChosenProgram(const std::string& key, std::initializer_list<const char*> known);

// Waits, keeping the screen live, for the program started last to finish (at most
// ToolWaitSeconds), then judges its output file: a missing file is an error that
// ends the command; an empty one may end it silently or give a warning.
void WaitForOutputFile(const std::string& path);

}  // namespace quorrel
