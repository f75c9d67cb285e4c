#pragma once
// Template instance pages and library items: a page made from a template keeps its
// editable regions and takes everything else from the template again; a library
// item's block in a page takes the item file's text again. Both rebase "../" for
// the page's depth below the site root. Texts are Windows-1252 bytes with LF line
// ends (the HTML working copy); paths use "/".
#include <string>
#include <vector>

namespace quorrel {

// The comments these pages carry, as the editors that write them spell them.
inline constexpr char LibraryItemBegin[] = "<!-- #BeginLibraryItem \"";
inline constexpr char LibraryItemEnd[] = "<!-- #EndLibraryItem -->";
inline constexpr char InstanceBeginMark[] = "<!-- InstanceBegin ";
inline constexpr char InstanceEndMark[] = "<!-- InstanceEnd -->";
inline constexpr char InstanceRegionBegin[] = "<!-- InstanceBeginEditable name=\"";
inline constexpr char InstanceRegionEnd[] = "<!-- InstanceEndEditable -->";
inline constexpr char TemplateRegionBegin[] = "<!-- TemplateBeginEditable";
inline constexpr char TemplateRegionEnd[] = "<!-- TemplateEndEditable -->";

// The folder of library items in a site, as a path component.
inline constexpr char LibraryFolderName[] = "Library";

// What the "Update item" dialog shows when the page uses no library item.
inline constexpr char NoLibraryItemsUsed[] = "No library items used";

// How far a page lies below the site root: the "/" in its path below the root (0 for
// a page in the root). Both paths are cleaned and made absolute first and then
// compared exactly; a page elsewhere stops the command with "File is not below root
// directory" and the root.
int PageDepth(const std::string& pagePath, const std::string& siteRoot);

// The file a page comment names ("/Library/menu.lbi", "/Templates/main.dwt"): the
// path below siteRoot, each component found without regard to case. A ".." or a
// path that leads out of the site (through a link too) stops the command, for a
// file to be read as for one to be written. forWriting allows a file that does not
// exist yet (its folder must).
std::string SiteFileOfComment(const std::string& siteRoot, const std::string& commentPath,
                              bool forWriting);

// Every "../" given depth-1 further "../" below depth 1; at depth 0 removed when
// atRootRemoves, else left.
std::string RebaseParents(const std::string& text, int depth, bool atRootRemoves);

// The paths of the library items a page uses, in page order, each once. A path
// that does not start "/" stops the command.
std::vector<std::string> LibraryItemsOfPage(const std::string& text);

// The page's copy of an item: after its begin comment's "-->", leading line ends
// removed, up to "<!-- #EndLibraryItem". Stops the command when the page lacks it.
std::string PageCopyOfItem(const std::string& text, const std::string& itemPath);

// How a page is regenerated.
enum class TRegenMode {
  LibraryOnly,  // "Refresh from Library": the library items only
  Full          // the template, then the library items
};

struct TRegenResult {
  std::string text;         // the new page; the page as it was after a region error
  std::string regionError;  // an editable region could not be merged: "" when none
};

// Regenerates a page that lies depth folders below siteRoot. A region error is
// returned and leaves the page as it was; the other faults (a template or item that
// cannot be read, a comment without its end, no "</HTML>" at the end ...) stop the
// command. A page that is no template instance is left as it is in Full mode.
TRegenResult RegeneratePage(const std::string& text, const std::string& siteRoot, int depth,
                            TRegenMode mode);

}  // namespace quorrel
