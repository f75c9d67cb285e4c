#pragma once
// Closing documents: one tab, or all of them. The part that asks to save a
// changed document, keeps the Recent list and wipes extracted archive members is
// still to be built; until then a changed document is never closed, so that no
// edit is lost.
#include <string>

namespace quorrel {

// TWebForm.CloseClick: closes the current tab. The sender is the component name of
// the command ("CloseTab"); "" closes the document for the open command, which
// reuses the tab: its editor is emptied and its slot blanked. Returns false when
// the document stays open.
bool CloseClick(const std::string& sender);

// TWebForm.CloseAllClick: closes every tab, from the last to the first; "" when no
// menu item asked. Returns false when a document stays open (the tabs before it
// stay too).
bool CloseAllClick(const std::string& sender);

}  // namespace quorrel
