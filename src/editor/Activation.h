#pragma once
// The activation check (TWebForm.MyActivate), run whenever the program regains
// the focus and by the tab change: the lock-key warning, the windows beside the
// main one, and the current document's file on disk: changed by another program
// (reload, asked once per change) or gone (its back-up offered).
#include <functional>

namespace quorrel {

// The check as the tab change runs it.
void MyActivate();
// The check as the application runs it on regaining the focus: the lock keys too.
void ApplicationActivate();

// The preview browser and the server window take part once they exist: the
// browser gets the focus when it is the active window; the server window, when
// active and on-line, refreshes its list (it knows itself whether a transfer or a
// busy spell forbids that).
struct TActivationWindows {
  std::function<bool()> browserActive;
  std::function<void()> focusBrowser;
  std::function<bool()> serverWindowActive;
  std::function<void()> refreshServerWindow;
};
void SetActivationWindows(TActivationWindows windows);
const TActivationWindows& ActivationWindows();

// Back to the state of a freshly started program.
void ResetActivation();

}  // namespace quorrel
