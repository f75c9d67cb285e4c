#pragma once
// Help by context number. Two seams meet here:
// - the application's help handler, which receives every help request (F1, Help
//   buttons, commands that open a topic); the help system hooks itself in there,
//   and tests replace it to see which topics were asked for;
// - the help viewer, the window that shows a topic of a help file, registered by
//   the ui at start-up.
// Until a handler is installed, asking for help does nothing.
#include <functional>
#include <string>

namespace quorrel {

// Installs the application's help handler (an empty one removes it).
void SetHelpViewer(std::function<void(int helpContext)> handler);
// The handler now installed, so that a hook can keep it and restore it later.
std::function<void(int helpContext)> CurrentHelpHandler();
// The application's request for a help topic. Context 0 opens nothing.
void ShowHelpContext(int helpContext);

// The window that shows help topics: the stand-in for the platform's HTML Help.
class THelpWindow {
 public:
  virtual ~THelpWindow() = default;
  // Shows the topic of the context in the help file's map and brings the window to
  // the foreground. False when no window could be shown.
  virtual bool ShowTopic(const std::string& helpFile, int helpContext) = 0;
  // Closes every help window.
  virtual void CloseAll() = 0;
};

// Registered by the ui when its help pages are present (nullptr unregisters).
void SetHelpWindow(THelpWindow* window);
THelpWindow* HelpWindow();

}  // namespace quorrel
