#include "platform/Help.h"

#include <utility>

namespace quorrel {

namespace {

// Never destroyed: a help system released while the program ends may still
// restore its predecessor here.
std::function<void(int)>& Handler() {
  static auto* handler = new std::function<void(int)>;
  return *handler;
}

THelpWindow* helpWindow = nullptr;

}  // namespace

void SetHelpViewer(std::function<void(int helpContext)> handler) {
  Handler() = std::move(handler);
}

std::function<void(int helpContext)> CurrentHelpHandler() {
  return Handler();
}

void ShowHelpContext(int helpContext) {
  if (helpContext == 0) return;
  // Copy first: the handler may replace itself while it runs.
  std::function<void(int)> handler = Handler();
  if (handler) handler(helpContext);
}

void SetHelpWindow(THelpWindow* window) {
  helpWindow = window;
}

THelpWindow* HelpWindow() {
  return helpWindow;
}

}  // namespace quorrel
