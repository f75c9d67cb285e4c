#pragma once
// The .BB link block, listing the page's sections or the site's pages, and the
// .DX links to other pages.
#include <string>

namespace quorrel {

struct TBuildRun;

// Help topics of the link block and of a page missing its main heading.
inline constexpr int kLinkBlockHelp = 58120;
inline constexpr int kMissingMainHeadingHelp = 51820;
// Link texts wider than this many pixels are shortened.
inline constexpr double kMaxLinkTextWidth = 240;

// .BB: the first argument holds the option letters, further ones name masters.
void RunLinkBlockCommand(TBuildRun& run);
// .DX: pairs of page and link text.
void RunOtherPagesCommand(TBuildRun& run);

// A file named by a command's argument, relative to the master's folder ("\" as
// "/"), found whatever its letter case.
std::string MasterFolderFile(const std::string& argument);

// The text as a link of the block shows it: a leading small word made small, and
// a text too wide cut short with its whole text kept after it.
std::string ShownLinkText(const std::string& text);

}  // namespace quorrel
