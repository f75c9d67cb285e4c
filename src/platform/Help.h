#pragma once
// Opens a help topic by its context number. The help window registers itself
// as the viewer; until one is registered, asking for help does nothing.
#include <functional>

namespace quorrel {

void SetHelpViewer(std::function<void(int context)> viewer);
void ShowHelpContext(int context);

}  // namespace quorrel
