#pragma once
// Where the program is put together: the slots of shell/Hooks.h get the commands
// and engines that answer them, and the menu items their handlers.

namespace quorrel {

// Fills every slot of shell/Hooks.h. Tests call it once, before any case.
void InstallHooks();

// The hooks, the error handler and the handlers of the menu commands, as the
// start-up installs them.
void InstallHandlers();

}  // namespace quorrel
