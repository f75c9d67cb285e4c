#pragma once
// The activation check (TWebForm.MyActivate), run whenever the program regains
// the focus and by the tab change: the lock-key warning, the windows beside the
// main one, and the current document's file on disk: changed by another program
// (reload, asked once per change) or gone (its back-up offered).
#include "shell/Hooks.h"  // TActivationWindows

namespace quorrel {

// The check as the tab change runs it.
void MyActivate();
// The check as the application runs it on regaining the focus: the lock keys too.
void ApplicationActivate();

// Back to the state of a freshly started program.
void ResetActivation();

}  // namespace quorrel
