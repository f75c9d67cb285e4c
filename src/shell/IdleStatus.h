#pragma once
// What the idle pass shows in the status bar, worked out from the current editor
// (the section list's part is edit/Sections.h). Texts are Windows-1252 bytes.
#include <cstddef>
#include <string>

namespace quorrel {

class TMyRich;

// "  Line n  Col. c" for the caret: n counts the line ends before it plus one, c the
// characters from the line's start plus one (a tab four in an RTF document).
std::string LineColumnText(const TMyRich& editor, bool rtf);

// "  x  HH  ddd" for the character after the caret (its code in hex and decimal);
// "" when the caret stands at the end of the text.
std::string ShowHexText(const TMyRich& editor);

// "CAPS LOCK ON", "NUM LOCK OFF" ... for a lock key that changed (Num Lock wins when
// both did); "" when neither changed.
std::string LockKeyMessage(bool capsWas, bool numWas, bool caps, bool num);

}  // namespace quorrel
