#pragma once
// The help system: turns the application's help requests into topics of the help
// window, and reports when no window can show them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quorrel {

// Help request commands as the application hands them over.
constexpr int HELP_CONTEXT = 1;        // show a topic
constexpr int HELP_CONTEXTPOPUP = 8;   // show a topic as a pop-up
constexpr int HELP_SETPOPUP_POS = 13;  // data: the pop-up position, x in the low word

// How topics are shown: through the help window (the only one used), or by the
// outside viewers "KeyHH.EXE" and "HH.EXE", which this system does not have.
enum THelpHostType { htHHAPI = 0, htKeyHHexe = 1, htHHexe = 2 };

// The map of our help pages, in the program's resources: one "context=page" a line.
inline constexpr char HelpFile[] = ":/help/map.txt";

class THookHelpSystem {
 public:
  // Keeps the values and hooks HelpHook in place of the application's help handler.
  THookHelpSystem(const std::string& helpFile, const std::string& windowDefinition, int hostType);
  // Closes the help windows (help window host only) and restores the previous handler.
  ~THookHelpSystem();
  THookHelpSystem(const THookHelpSystem&) = delete;
  THookHelpSystem& operator=(const THookHelpSystem&) = delete;

  // The application's help handler. True when the request was handled.
  bool HelpHook(int command, intptr_t data);
  // Opens the topic and reports a failure; returns 0 (shown), 1 (no help window),
  // 2 ("KeyHH.EXE" missing), 3 ("HH.EXE" missing).
  int ShowContext(int helpContext);

  const std::string& HelpFileName() const { return helpFile_; }
  int HostType() const { return hostType_; }
  int PopupX() const { return popupX_; }
  int PopupY() const { return popupY_; }

  // Call the previous handler before our own (off in this program).
  bool ChainHandler = false;
  // Optional replacements for showing a topic and a pop-up (not set in this program).
  std::function<void(int helpContext)> OnContext;
  std::function<void(int helpContext, int x, int y)> OnPopupContext;

 private:
  std::string helpFile_;
  std::string windowDefinition_;
  int hostType_;
  std::function<void(int)> previous_;
  int popupX_ = 0;
  int popupY_ = 0;
};

// The program's help system, hooked once at the first activation of the main
// window and kept until the program closes.
extern std::unique_ptr<THookHelpSystem> HelpSystem;
// Creates HelpSystem on the program's help pages (nothing when it exists).
void HookHelpSystem();
// Closes every help window (when a help window is registered).
void CloseAllHelp();
// The message for a result of ShowContext; "" for 0.
std::string HelpResultMessage(int result);

// Releases the help system (tests).
void ResetHelpSystem();

}  // namespace quorrel
