#pragma once
// The member a ".7Z" open extracted into the work folder goes when its tab closes
// and at exit: its bytes are overwritten where they lie (line ends kept, every
// other byte "?") and the file is deleted, so that no readable copy stays on
// disk, not even a ".Bak" left by a save. Paths are Windows-1252 bytes.
#include <string>

namespace quorrel {

// Overwrites a file in place and deletes it (DeleteFileOrAbort). A file that does
// not exist is no error; a link is deleted without touching its target.
void WipeFile(const std::string& path);

// Wipes ExtractedMember and its back-up, then forgets it. Nothing when no member
// was extracted.
void WipeExtractedMember();

// Whether an archive member was extracted in this run (wiped or not).
bool MemberExtractedThisRun();

// Back to the state of a freshly started program.
void ResetArchiveMemberWipe();

}  // namespace quorrel
