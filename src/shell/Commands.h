#pragma once
// The one way commands run: every menu command, button and shortcut goes through
// RunCommand, every timer and idle handler through RunGuarded. No exception
// leaves them, so none ever crosses Qt's event loop.
#include <functional>
#include <string>

namespace quorrel {

// Runs body as the command of the menu item componentName (CurrentCommand for the run).
// Returns true when the body ran to its end; false after the silent abort (dropped
// without a word) or another exception (handed to the exception handler).
bool RunCommand(const std::string& componentName, const std::function<void()>& body);

// The same protection without making the body a command.
bool RunGuarded(const std::function<void()>& body);

// Receives the message of every exception other than the silent abort. An empty
// handler restores the default, which shows the message.
void SetExceptionHandler(std::function<void(const std::string& message)> handler);

// Back to the default handler.
void ResetCommands();

}  // namespace quorrel
