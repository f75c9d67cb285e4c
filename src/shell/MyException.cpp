#include "shell/MyException.h"

#include <cstdio>
#include <utility>

#include "platform/ResetRegistry.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/ShellState.h"

namespace quorrel {

int ExceptionDepth = 0;

namespace {

std::function<void()> browserCloser;

// Errors of the windowing layer that pass by themselves.
bool Ignored(const std::string& message) {
  return message.find("A call to an OS function failed") != std::string::npos ||
         message.find("Scan line index out of range") != std::string::npos;
}

bool Passing(const std::string& message) {
  return message.find("date encode") != std::string::npos ||
         message.find("Invalid callback") != std::string::npos;
}

// The shell as it is after a command ended normally.
void Recover(TMainWindow* w) {
  if (ExceptionDepth == 1) {
    if (w) w->CloseSplash();
    PCChange();
    if (browserCloser) browserCloser();
  }
  CurrentCommand.clear();
  const TActivationWindows& windows = ActivationWindows();
  if (windows.serverWindowActive && windows.serverWindowActive() && windows.refreshServerWindow) {
    windows.refreshServerWindow();
  }
  StdCursor();
  ExceptionDepth = 0;
  ReleaseCaretPos();
}

}  // namespace

std::string ExceptionText(const std::string& message, uintptr_t address) {
  char hex[24];
  std::snprintf(hex, sizeof hex, "%08llX", static_cast<unsigned long long>(address));
  return message + "\rException Address:  " + hex;
}

void MyException(const std::string& message) {
  TMainWindow* w = MainWindow();
  if (w) w->ProcessMessages();
  if (Ignored(message) || (w && w->Terminating())) return;
  if (Passing(message)) {
    ShowMsg("Just a glitch.  Please try again.");
    return;
  }
  ++ExceptionDepth;
  if (ExceptionDepth > 3) {
    // Errors keep coming from inside the error boxes: the program ends.
    if (w) {
      w->ProcessMessages();
      w->Terminate();
    }
    return;
  }
  // Whatever fails while the shell is put back in order must not leave the depth
  // raised, or later errors would end the program.
  try {
    ShowMsg(ExceptionText(message));
    Recover(w);
  } catch (...) {
    ExceptionDepth = 0;
    throw;
  }
}

void SetBrowserCloser(std::function<void()> closeBrowser) {
  browserCloser = std::move(closeBrowser);
}

void InstallMyException() {
  SetExceptionHandler(MyException);
}

void ResetMyException() {
  ExceptionDepth = 0;
  browserCloser = nullptr;
}

namespace {
const TResetEntry resetMyException(ResetMyException);
}  // namespace

}  // namespace quorrel
