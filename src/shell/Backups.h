#pragma once
// Writing files without ever losing the previous version: the new bytes go to a
// work file beside the target and are checked there before the old file becomes
// its ".Bak" back-up and the new one takes its name. Paths are Windows-1252 bytes
// with "/" separators.
#include <cstdint>
#include <functional>
#include <string>

namespace quorrel {

// The back-up of a file: the whole name with ".Bak" after it (one generation).
std::string BackupPath(const std::string& path);

// A file's modification time in whole seconds; 0 when it does not exist.
int64_t FileAge(const std::string& path);

// When the file exists: renames it to the back-up name, which replaces the old
// back-up in one step (a back-up name the rename cannot take is first deleted with
// DeleteFileOrAbort). A failed rename asks whether to go on; No ends the command
// silently.
void RenameToBackup(const std::string& path);

// The file as text through a string list: every line (CR LF, LF or CR ends one)
// written with CR LF. Stops the command with "Unable to create file " and the path
// when the file could not be written; a file that existed is then unchanged.
void WriteTextFile(const std::string& path, const std::string& text);

// A path in double quotes when it holds a blank.
std::string QuotePath(const std::string& path);

// How a replacement went.
enum class TReplaceResult {
  Replaced,      // the new bytes are in place
  NotCreated,    // the new file could not be written: the old one is as it was
  BackupRefused  // the user chose not to go on without a back-up: nothing changed
};

// Replaces a file's bytes. The new bytes are written completely to a work file in
// the target's folder and checked; only then, with keepBackup, the previous file's
// ".Bak" is made beside it (a hard link, or a copy where links are refused) and
// takes the place of the old back-up, and the work file takes the name in one
// step: whenever the process stops, the file is there, old or new, and whole. The
// new file keeps the previous file's mode (a new file gets newMode, less the
// umask), and a path that is a symbolic link has its target written, the link
// staying as it is. Any failure leaves the previous file in place. Work files that
// killed saves left beside the file go once it is replaced.
TReplaceResult ReplaceFile(const std::string& path, const std::string& bytes, bool keepBackup,
                           unsigned newMode = 0666);

// For tests: called as a replacement reaches each step ("written": the work file
// is complete; "backed-up": the back-up is in place; "replaced": the new file has
// the name), where a test can stop the process. nullptr for none.
void SetReplaceStepForTests(std::function<void(const char* step)> step);

}  // namespace quorrel
