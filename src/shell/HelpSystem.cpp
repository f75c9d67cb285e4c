#include "shell/HelpSystem.h"

#include <QCoreApplication>
#include <QThread>

#include "platform/Help.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"

namespace quorrel {

std::unique_ptr<THookHelpSystem> HelpSystem;

THookHelpSystem::THookHelpSystem(const std::string& helpFile, const std::string& windowDefinition,
                                 int hostType)
    : helpFile_(helpFile), windowDefinition_(windowDefinition), hostType_(hostType) {
  previous_ = CurrentHelpHandler();
  SetHelpViewer([this](int helpContext) { HelpHook(HELP_CONTEXT, helpContext); });
}

THookHelpSystem::~THookHelpSystem() {
  if (hostType_ == htHHAPI) CloseAllHelp();
  SetHelpViewer(previous_);
}

bool THookHelpSystem::HelpHook(int command, intptr_t data) {
  // The viewer's network-zone fix for help files on shares has no meaning here.
  if (ChainHandler && previous_ && command == HELP_CONTEXT) previous_(static_cast<int>(data));
  switch (command) {
    case HELP_CONTEXT:
      if (OnContext) {
        OnContext(static_cast<int>(data));
      } else {
        ShowContext(static_cast<int>(data));
      }
      return true;
    case HELP_CONTEXTPOPUP:
      if (OnPopupContext) {
        OnPopupContext(static_cast<int>(data), popupX_, popupY_);
      } else {
        ShowContext(static_cast<int>(data));
      }
      return true;
    case HELP_SETPOPUP_POS: {
      // A packed point: x in the low word, y in the high word, both signed.
      const auto packed = static_cast<uint32_t>(data);
      popupX_ = static_cast<int16_t>(packed & 0xFFFF);
      popupY_ = static_cast<int16_t>(packed >> 16);
      return true;
    }
    default:
      return false;  // left to the default handling
  }
}

int THookHelpSystem::ShowContext(int helpContext) {
  std::string topic = helpFile_;
  if (!windowDefinition_.empty()) topic += ">" + windowDefinition_;
  int result = 0;
  THelpWindow* window = HelpWindow();
  if (!window) {
    result = 1;
  } else if (hostType_ == htHHAPI) {
    window->ShowTopic(topic, helpContext);  // the window raises itself when shown
  } else {
    // The outside viewers live in the Windows folder, which this system has not.
    result = hostType_ == htKeyHHexe ? 2 : hostType_ == htHHexe ? 3 : 4;
  }
  const std::string message = HelpResultMessage(result);
  if (!message.empty()) ShowMsg(message);
  return result;
}

void HookHelpSystem() {
  if (!HelpSystem) HelpSystem = std::make_unique<THookHelpSystem>(HelpFile, "", htHHAPI);
}

void CloseAllHelp() {
  // Once the application is gone, so are its windows.
  if (!QCoreApplication::instance()) return;
  if (THelpWindow* window = HelpWindow()) {
    window->CloseAll();
    QThread::yieldCurrentThread();
  }
}

std::string HelpResultMessage(int result) {
  switch (result) {
    case 0:
      return "";
    case 1:
      return "Cannot find hhctrl.ocx";
    case 2:
      return "KeyHH.EXE not found in the Windows folder.";
    case 3:
      return "HH.EXE not found in the Windows folder.";
    default:
      return "Unknown error returned by HHelpContext";
  }
}

void ResetHelpSystem() {
  HelpSystem.reset();
}

namespace {
const TResetEntry resetHelpSystem(ResetHelpSystem);
}  // namespace

}  // namespace quorrel
