#pragma once
// Folders of the site that the site tools work on. Local folders end with "/".
#include <string>

namespace quorrel {

// The folder of the page a site tool hands to the validators (a generated page,
// a page whose menu is being updated): its relative references are resolved
// against it. "" when no such page is being handled.
extern std::string SiteBaseFolder;

// The top folder of the current site, where site-wide runs start: the folder of
// the site's server details when known, else the current document's folder.
std::string SiteRootFolder();

// Back to the state of a freshly started program.
void ResetSiteFolders();

}  // namespace quorrel
