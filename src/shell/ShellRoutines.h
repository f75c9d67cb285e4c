#pragma once
// Small routines of the shell that many commands share: deleting a file or
// stopping, and the caret refresh of the timer. Paths are Windows-1252 bytes.
#include <string>

namespace quorrel {

// The help topic of a file that cannot be deleted.
inline constexpr int DeleteErrorHelp = 20970;

// Deletes a file. A file that exists and cannot be deleted (unless its name holds
// "ABCErrors.Txt") is reported with the system's reason and ends the command
// silently; a missing file is no error.
void DeleteFileOrAbort(const std::string& path);

// Hands the caret to the timer's refresh job: with a document open and nothing
// selected, the caret's place blinks (editor/BlinkJob).
void ScheduleTimerRefresh();

}  // namespace quorrel
