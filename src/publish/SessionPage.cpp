#include "publish/SessionPage.h"

#include <cstdio>

#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"

namespace quorrel {

std::string SessionPageName = "$$Sess$$.asp";

void DeleteSessionPage() {
  if (LocalServerRoot.empty()) return;
  std::remove(NativePath(AddBackslash(LocalServerRoot) + SessionPageName).c_str());
}

void ResetSessionPage() {
  SessionPageName = "$$Sess$$.asp";
}

}  // namespace quorrel
