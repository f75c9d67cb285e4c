#pragma once
// The HTML validator's Debug views: a text shown in an "Untitled" tab.
#include <string>

namespace quorrel {

// Writes the text into the first "Untitled" tab (a new one when there is none); with
// backToPage the tab that was active before becomes the current one again.
void ShowInTextTab(const std::string& text, bool backToPage = true);

}  // namespace quorrel
