#pragma once
// "Maximise" and "Explore Temp Dir".

namespace quorrel {

// Maximised and normal in turn.
void MaximiseClick();
// The program's work folder in the file manager.
void ExploreTempClick();

void InstallViewCommands();

}  // namespace quorrel
