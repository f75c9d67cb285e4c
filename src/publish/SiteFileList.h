#pragma once
// The site file list: the files of a folder tree that match a mask, in the sorted
// list of the file-list form ("Open"), which commands step through one file after
// another (Next, the Find dialog's search in files). Paths are Windows-1252 bytes
// with "/" separators.
#include <string>
#include <vector>

#include "publish/SiteScan.h"

namespace quorrel {

struct TSiteFileList {
  std::string root;      // the folder scanned, ending with "/"
  std::string fileMask;  // "*.htm|*.css"; a mask without "." gets ".*"
  bool subFolders = true;
  // The lines of the list (SiteScan.h): "sub/ page.htm » Title", " index.htm", and
  // in find mode "·" lines for files that could not be read.
  std::vector<std::string> entries;
  int selected = -1;          // the entry chosen last; -1 none
  std::string counter;        // the counter line of the last listing
  bool rescanOnShow = false;  // the form lists again when it next shows
};
extern TSiteFileList SiteFileList;

// How one listing runs: a plain listing, a search of the files' texts, or the list of
// pages that "Regenerate HTML" works through.
struct TListing {
  std::optional<TScanFind> find;
  bool regenerate = false;
};

// Lists the root folder's files afresh (an empty root is CurrentFolder): titles
// when "Show titles" is ticked, the form's counter and Cancel while it runs, and the
// messages of its end. Nothing is selected. False when Cancel ended it.
bool ScanSiteFileList(const TListing& listing = {});

// The pages "Regenerate HTML" works through: the files below root that match the
// mask, four levels deep, without back-ups, by their paths relative to root. The
// form's own list, root and mask are left as they were.
std::vector<std::string> RegenerationPages(const std::string& root, const std::string& mask);

// The path of an entry relative to the root: the entry cut before " »", less the
// blank after its last "/" (or its first blank when it has no "/"); "" for an entry
// without that blank.
std::string ListEntryPath(const std::string& entry);
// Whether an entry reports a read error rather than naming a file.
bool IsErrorLine(const std::string& entry);

// The entry of the current document: the first entry whose file name is the current
// document's (letter case counts), else the first; while Replace runs, the first.
// -1 for an empty list.
int CurrentFileEntry();

// root + ListEntryPath of the selected entry; "" when none is selected.
std::string SelectedEntryPath();

// The list as text: the path of each entry on a line, CR LF after each.
std::string GrabList();

// Chooses the file entry after the selected one: ChosenPath becomes its full path
// and FileListEnded is cleared. After the last, FileListEnded is set, the selection
// stays and the status line says so.
void SiteFileListNext();

// Back to an empty list.
void ResetSiteFileList();

}  // namespace quorrel
