#pragma once
// The width in pixels of a link text as the site's pages show it. Measuring needs a
// font, which only the ui has: it installs the measure at start-up.
#include <functional>
#include <string>

namespace quorrel {

using TTextWidth = std::function<double(const std::string& text)>;

// Installs the measure (an empty one removes it).
void SetLinkTextWidth(TTextWidth measure);
// The text's width; 0 while no measure is installed.
double LinkTextWidth(const std::string& text);

}  // namespace quorrel
