#pragma once
// The reader's steps, shared between its files.
#include <string>

namespace quorrel {

// After a "\" outside raw mode: reads one run of control words and symbols and
// pushes its translation back. Returns the character itself for "\\", "\{" and
// "\}" (ch set, true); false when the translation was pushed back.
bool ReadControlRun(char& ch);
// After a "\" in raw mode: the escapes scripts and styles still need decoded.
// False when the backslash stands as written.
bool ReadRawEscape(char& ch);
// After a "<" taken from the source: reads the tag to its ">", refuses the
// forms a master may not use, and pushes the tag back unchanged. False, with
// nothing read, when no ">" closes it: the "<" is text.
bool CheckSourceTag();

// The build stops on the end of the source; the reader finishes the page.
void FlushPage();
void EndBuildRun();

}  // namespace quorrel
