#pragma once
// The state of Caps Lock and Num Lock, asked of the X server's keyboard extension
// where the program runs on X11. Other platforms cannot tell.

namespace quorrel {

// False when the desktop cannot tell; otherwise caps and num hold the states.
bool QueryLockKeys(bool& caps, bool& num);

}  // namespace quorrel
