#pragma once
// The open command reached by the component name of its sender, as core code
// names senders elsewhere (SaveClick, CloseClick).
#include <string>

namespace quorrel {

// TWebForm.OpenClick with the menu item of that name ("Reload", "NewTXT" ...); ""
// for no sender. See OpenDocs.h.
void OpenClick(const std::string& sender);

}  // namespace quorrel
