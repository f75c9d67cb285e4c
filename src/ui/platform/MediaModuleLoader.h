#pragma once
// The program's side of the media module (ui/media/MediaModule.h): loaded with its
// first use, from beside the program.
#include <string>

namespace quorrel {

// The module, loaded on the first call; nullptr when it cannot be loaded, the reason
// then written to the standard error once.
void* MediaModule();

// The module's file name, for messages.
std::string MediaModuleName();

}  // namespace quorrel
