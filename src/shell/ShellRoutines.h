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
// The Windows error number of a delete's errno, as the delete error's help topic
// knows them (5 denied, 2 missing, 32 in use); others as they are.
int WindowsErrorCode(int error);

// Hands the caret to the timer's refresh job: with a document open and nothing
// selected, the caret's place blinks (editor/BlinkJob).
void ScheduleTimerRefresh();

}  // namespace quorrel
