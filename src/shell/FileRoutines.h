#pragma once
// Small file and format routines shared by the editor shell and the other
// subsystems: sizes and dates for the status line, URL trimming, hexadecimal
// text, time formatting, sounds and the base tag. Texts are Windows-1252 bytes;
// paths are file-system bytes with "/" separators.
#include <cstdint>
#include <functional>
#include <string>

namespace quorrel {

// Local side of the server comparison, as last measured by DateSize: the file's
// modification time in whole seconds since the epoch (0 = not found) and its size.
extern int64_t LocalFileDate;
extern int64_t LocalFileSize;

// Set by the server window while it lists or runs over the site: DateSize then
// keeps quiet about empty files.
extern bool InServerRun;

// "123 B ", "12 KB ", "1.2 MB ".
std::string FormatSize(int64_t bytes);

// "dd-mmm-yy  hh.nn  " + FormatSize, or "*** Not found ***". Also sets LocalFileDate
// and LocalFileSize, and warns about an empty file (not folders, not robots.txt).
std::string DateSize(const std::string& path);

// The file's time as DateSize shows it: "10-Dec-26  14.05  ".
std::string FormatFileDate(int64_t secondsSinceEpoch);
// The local date alone: "10-Dec-26".
std::string FormatShortDate(int64_t secondsSinceEpoch);

// 64-bit size of a file; 0 when it does not exist.
int64_t FileSize64(const std::string& path);

// Folders the site checks skip ("/google...", "/nortonsw...").
bool IsExemptFolder(const std::string& path);

// The URL cut at its first "?", then at its first "#".
std::string StripUrlQuery(const std::string& url);

// Every byte as two upper-case hexadecimal digits.
std::string BytesToHex(const std::string& text);

// "m:ss" of a time in milliseconds.
std::string FormatMinSec(int64_t milliseconds);

// Plays one of the program's sounds ("On", "Off", "Buzzer") without waiting.
void PlayWaveResource(const std::string& name);

// Whether a Shift key is held down now. The ui installs the source; without one
// Shift never counts as held.
bool IsShiftDown();
void SetShiftKeyQuery(std::function<bool()> query);

// Where a base tag for a page goes and what it says: the offset (0-based, in the
// page's text) and the text to insert there.
struct TBaseTagInsertion {
  size_t offset = 0;
  std::string text;
};
// After "</title>"; else before "</head>"; else after the "<head>" tag, after the
// "<html>" tag, or at the very start.
TBaseTagInsertion PlanBaseTag(const std::string& pageText, const std::string& url);
// Puts the base tag for url into the current editor and leaves the caret after it.
void InsertBaseTag(const std::string& url);

// Compares the current document with its copy on the server and offers to
// download a newer one.
void CheckServer();

// Back to the state of a freshly started program.
void ResetFileRoutines();

}  // namespace quorrel
