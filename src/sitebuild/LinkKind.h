#pragma once
// What a link points at, as the site tools sort links.
#include <string>

namespace quorrel {

// 'I' for an image (".jpg", ".gif", ".png"), 'W' for a web page or an address
// ("http...", "www...", ".htm", ".html", ".pdf", or "NONE"), else a blank. Any case.
char LinkKindOf(const std::string& target);

}  // namespace quorrel
