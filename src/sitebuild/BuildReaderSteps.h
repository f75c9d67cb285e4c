#pragma once
// The reader's steps, shared between its files.
#include <string>

namespace quorrel {

struct TBuildRun;

// After a "\" outside raw mode: reads one run of control words and symbols and
// pushes its translation back. Returns the character itself for "\\", "\{" and
// "\}" (ch set, true); false when the translation was pushed back.
bool ReadControlRun(TBuildRun& run, char& ch);
// After a "\" in raw mode: the escapes scripts and styles still need decoded.
// False when the backslash stands as written.
bool ReadRawEscape(TBuildRun& run, char& ch);
// After a "<" taken from the source: reads the tag to its ">", refuses the
// forms a master may not use, and pushes the tag back unchanged. False, with
// nothing read, when no ">" closes it: the "<" is text.
bool CheckSourceTag(TBuildRun& run);

// The build stops on the end of the source; the reader finishes the page.
void FlushPage(TBuildRun& run);
void EndBuildRun(TBuildRun& run);

}  // namespace quorrel
