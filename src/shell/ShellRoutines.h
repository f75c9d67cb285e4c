#pragma once
// Small routines of the shell that many commands share: asking for a number,
// trimming quotes, reading hexadecimal, deleting a file or stopping, re-dating a
// file after a transfer, and the caret refresh of the timer. Texts and paths are
// Windows-1252 bytes.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorrel {

// A text that does not convert to the number it should hold.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The input box "Quorrel" with the prompt and the number as its value. On OK the
// text becomes the number; a text that is not a whole number in the integer range
// shows "Not a number!" and counts as not accepted, as does Cancel. The number
// changes only when accepted.
bool AskNumber(const std::string& prompt, int& number);

// A whole decimal number (optional sign, blanks around it allowed) from minimum
// to maximum; false for anything else, however many digits it has.
bool ParseInteger(const std::string& text, int minimum, int maximum, int& value);

// The text without the characters below "!" and the double and single quote marks
// at either end, in any mix.
std::string TrimQuotes(std::string_view text);

// The value of hexadecimal digits (either case). Any other character throws
// EConvertError "Invalid Hex digit:" CR and the character; so do more than eight
// digits, which would not fit the 32 bits of the value.
unsigned int HexToInt(const std::string& text);

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

// Hands the caret to the timer's refresh job: with a document open, nothing
// selected and no find-in-files run under way, the caret's place blinks
// (editor/BlinkJob).
void ScheduleTimerRefresh();

}  // namespace quorrel
