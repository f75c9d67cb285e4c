#include "shell/Commands.h"

#include <exception>
#include <utility>

#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

std::function<void(const std::string&)>& Handler() {
  static std::function<void(const std::string&)> handler;
  return handler;
}

void Report(const std::string& message) {
  // The report itself may fail (a box that throws, a handler that aborts); nothing
  // of that may escape either.
  try {
    if (Handler()) {
      std::function<void(const std::string&)> handler = Handler();
      handler(message);
    } else {
      ShowMsg(message);
    }
  } catch (...) {
  }
}

bool Guarded(const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    Report(e.what());
  } catch (...) {
    Report("Unknown exception");
  }
  return false;
}

}  // namespace

bool RunCommand(const std::string& componentName, const std::function<void()>& body) {
  // A command started while another waits in a box (its event loop runs) must not
  // take the outer command's name away when it ends.
  std::string outer = CurrentCommand;
  CurrentCommand = componentName;
  bool completed = Guarded(body);
  CurrentCommand = outer;
  return completed;
}

bool RunGuarded(const std::function<void()>& body) {
  return Guarded(body);
}

void SetExceptionHandler(std::function<void(const std::string& message)> handler) {
  Handler() = std::move(handler);
}

void ResetCommands() {
  Handler() = nullptr;
}

namespace {
const TResetEntry resetCommands(ResetCommands);
}  // namespace

}  // namespace quorrel
