#pragma once
// The program's own short sounds ("On", "Off", "Buzzer", "SystemHand"). Core only asks for a
// sound by name; the ui plays it from the resources without waiting, and stays
// silent where there is no audio device.
#include <functional>
#include <string>

namespace quorrel {

// Starts the named sound and returns at once. Nothing happens until a player is
// installed, or when the name is unknown.
void PlaySound(const std::string& name);

// Installs the player (nullptr removes it).
void SetSoundPlayer(std::function<void(const std::string& name)> player);

}  // namespace quorrel
