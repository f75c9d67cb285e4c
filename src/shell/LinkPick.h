#pragma once
// The pick list of clickable entries (the link form): a caller names its caption
// and entries and learns which entry was clicked. Texts are Windows-1252 bytes.
#include <functional>
#include <string>
#include <vector>

namespace quorrel {

// The text of the entry last clicked, exactly as it was added; kept until the
// next choice.
extern std::string ChosenLink;

// Shows the list modally; true when an entry was clicked (ChosenLink then holds
// it), false when the list was closed or Esc pressed (ChosenLink unchanged). The
// ui sets the list; unset, nothing is chosen. F1 on the list opens helpContext.
bool PickLink(const std::string& caption, const std::vector<std::string>& entries,
              int helpContext = 0);
void SetLinkForm(std::function<bool(const std::string& caption,
                                    const std::vector<std::string>& entries, int helpContext)>
                     show);

}  // namespace quorrel
