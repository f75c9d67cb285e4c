#pragma once
// The .ME page menu: the navigation block of a menu file, with the page's own
// link marked.
#include <string>

namespace quorrel {

struct TBuildRun;

// .ME: the argument names the menu file, relative to the master's folder.
void RunPageMenuCommand(TBuildRun& run);

// The menu's "<Nav" ... "</Nav>" block with the link to page marked as this page's
// (the marks of other pages removed, empty lines dropped); marked tells whether
// the page was found.
std::string MarkedMenu(const std::string& menu, const std::string& page, bool& marked);

}  // namespace quorrel
