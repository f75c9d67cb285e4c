#pragma once
// "&Restore": the current document and its ".Bak" back-up change places.
#include <string>

namespace quorrel {

// The question of the restore: the dates and sizes of the document (or that it is
// missing) and of its back-up, a warning when the editor holds changes, and
// "Swap files? Y/N".
std::string RestoreQuestion(const std::string& path, bool modified);

// TWebForm.RestoreMClick: after yes to the question, the back-up becomes the
// document and the document (when there is one) the back-up, in one exchange where
// the file system can make one; the document is reloaded, unmodified, with the
// caret where it was. A missing back-up, or a swap the system refuses, is reported
// and changes nothing; a ".Bak" document is left alone.
void RestoreMClick();

}  // namespace quorrel
