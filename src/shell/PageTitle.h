#pragma once
// The title of a page as lists of pages show it. Texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

// The text between "<Title>" and "</Title>" (any case) with "&hellip;" as "...",
// "&amp;" as "&" and "&mdash;" and "&ndash;" as "-"; "[No title]" without one and
// "[Dynamic title]" for a title that a script writes ("<%"). A script page
// ("<%") without a usable title is named by the comment on its first line (after
// "'"), up to the line's end, shortened with "..." when long.
std::string GetPageTitle(const std::string& pageText);

}  // namespace quorrel
