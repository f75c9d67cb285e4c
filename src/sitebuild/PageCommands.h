#pragma once
// The dot-commands that open a page and its body.
#include <string>
#include <string_view>

namespace quorrel {

struct TBuildRun;

// Help topic of the .PG command.
inline constexpr int kPageCommandHelp = 58020;
// The site's shortcut icon, relative to the site's root.
inline constexpr char kShortcutIcon[] = "/favicon.ico";

// .PG: finishes the open page and starts the next one with its head.
void RunPageCommand(TBuildRun& run);
// .BO: the page's body, with the site menu when the site has one.
void RunBodyCommand(TBuildRun& run);

// The section's source from the reader's position up to the next page start.
std::string_view RestOfSection(TBuildRun& run);

// The page extension of a document whose first line is firstLine: that of the
// page name of its first ".pg" line, ".htm" without one.
std::string DocumentPageExt(const std::string& firstLine);

// Every "§" written as a link's text in source (from start on) becomes the shown
// form of that link's address.
void ShowLinkAddresses(std::string& source, size_t start);

}  // namespace quorrel
