#pragma once
// Templates and library items of a site, and the list of site files that their
// site-wide runs walk. Paths are Windows-1252 bytes with "/" separators.
#include <functional>
#include <string>
#include <vector>

namespace quorrel {

// The files in and below CurrentFolder whose names match the mask, as the site file
// list gives them: each path relative to CurrentFolder on a line of its own, CR LF
// after each, a folder's own files before those of its sub-folders; binary kinds of
// file (images, archives, back-ups ...) are left out. Sub-folders are
// entered while the Open form's "Sub-dirs" box is ticked, down to 30 levels; folders
// whose names begin with "." and system folders are not entered, and neither are
// symbolic links to folders. A mask without "." gets ".*".
std::string DoGrab(const std::string& mask);

// The paths of a DoGrab list, one per line; empty lines left out.
std::vector<std::string> GrabLines(const std::string& list);

// The scan behind the site file list: the paths, relative to root (which ends with
// "/"), of the files that match the mask, in the list's order (a folder's own files
// before those of its sub-folders, each without regard to case); binary kinds of
// file left out, sub-folders entered as DoGrab enters them when subFolders is set.
std::vector<std::string> SiteFilePaths(const std::string& root, const std::string& mask,
                                       bool subFolders);

// Folders deeper than this (the root is level 1) are never entered.
inline constexpr int SiteMaxDepth = 30;

// One walk of a folder tree, the scan under the site file lists. Each regular file
// of a level whose name matches the mask is handed to file, by its path relative to
// root, before the level's sub-folders are entered; binary kinds of file and the
// program's own work files are passed over. Sub-folders are entered as SiteFilePaths
// enters them, down to maxDepth levels.
struct TSiteWalk {
  std::string root;  // ends with "/"
  std::string mask;  // with its "." (see DoGrab)
  bool subFolders = true;
  int maxDepth = SiteMaxDepth;
  // Returns false to end the walk.
  std::function<bool(const std::string& relative)> file;
  // Set by the walk: a folder below maxDepth was left out.
  bool deeperLeftOut = false;
};
// False when file ended the walk.
bool WalkSiteFiles(TSiteWalk& walk);

// The order of the site file lists: byte order on the upper-cased lines (the blank
// after a path's last "/" puts a folder's own files before those of its
// sub-folders), ties by the bytes themselves.
struct TSiteListLine {
  std::string key;  // the line upper-cased
  std::string line;
};
TSiteListLine SiteListLine(std::string line);
bool SiteListLess(const TSiteListLine& a, const TSiteListLine& b);
// Sorts lines into that order.
void SortSiteList(std::vector<std::string>& lines);

}  // namespace quorrel
