#pragma once
// The quick deletion of back-up files ("QDel all", "QDel one", "QDel specific").
#include <string>

namespace quorrel {

// QuickDelete: deletes the back-up and work files in and below a folder; sender is
// the component name of the menu item. The run itself is still to be built;
// until then nothing is deleted.
void QuickDelete(const std::string& sender);

}  // namespace quorrel
