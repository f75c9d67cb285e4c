#pragma once
// The desktop side of two small core seams: the program's sounds, played with
// the media module from the resources, and the state of the Shift keys.

namespace quorrel {

// Installs both at start-up. Sounds stay silent where there is no audio device.
void InstallSoundAndKeys();

}  // namespace quorrel
