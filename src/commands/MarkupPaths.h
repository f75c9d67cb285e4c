#pragma once
// Names of the user's files as the markup that the insert commands write: escaped
// so that no name or typed text can end an attribute or start a tag, and made
// relative to the folder the page's links start from. Texts and paths are
// Windows-1252 bytes.
#include <string>

namespace quorrel {

// An attribute value between double quotes: "&", "<" and '"' as entities.
std::string EscapeAttribute(const std::string& text);
// Text between tags: "&" and "<" as entities.
std::string EscapeText(const std::string& text);
// A local path as an address: the characters that would end the attribute, end
// the path ("#", "?") or read as an escape ("%"), and blanks, controls, "&", "<",
// ">" and "\", percent-encoded; other characters kept as written.
std::string HrefPath(const std::string& path);

// The folder a link of the current document starts from: its own folder, or for a
// dot-command page the folder its pages are written to.
std::string LinkBaseFolder();

// A file's path as seen from LinkBaseFolder ("../" for each level up, "/"
// between folders), judged on the files' real paths; "" when the file lies outside
// the site's folder.
std::string SiteRelativePath(const std::string& path);

}  // namespace quorrel
