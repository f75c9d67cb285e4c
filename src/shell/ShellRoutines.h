#pragma once
// Small routines of the shell that many commands share: trimming quotes,
// deleting a file or stopping, re-dating a file after a transfer, and the caret
// refresh of the timer. Paths are Windows-1252 bytes.
#include <cstdint>
#include <string>
#include <string_view>

namespace quorrel {

// Sets a flag for the length of a block and puts its value back however the block
// ends.
class TFlagScope {
 public:
  TFlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
  ~TFlagScope() { flag_ = saved_; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

// The help topic of a file that cannot be deleted.
inline constexpr int DeleteErrorHelp = 20970;

// The text without the characters below "!" and the double and single quote marks
// at either end (mixed in any order).
std::string TrimQuotes(std::string_view text);

// The server's time of the file the current transfer moved, in seconds since the
// epoch; 0 when none is known.
extern int64_t TransferFileTime;

// TWebForm.MySetDate: gives the file TransferFileTime. A file that cannot be
// re-dated is reported ("Could not redate " and the path), except during a
// whole-site download, which passes over it; false then. For the current document
// the stored file time follows, so that no time-stamp question comes of it, and
// the tab and its comparison with the server copy are shown again.
bool MySetDate(const std::string& path);

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
