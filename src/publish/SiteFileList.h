#pragma once
// The site file list: the files of a folder tree that match a mask, in a sorted
// list that commands step through one file after another (the Find dialog's
// search in files; the file-list form shows it). Paths are Windows-1252 bytes with
// "/" separators.
#include <string>
#include <vector>

namespace quorrel {

struct TSiteFileList {
  std::string root;       // the folder scanned, ending with "/"
  std::string fileMask;   // "*.htm|*.css"; a mask without "." gets ".*"
  bool subFolders = true;
  std::vector<std::string> entries;  // paths relative to root
  int selected = -1;                 // the entry chosen last; -1 none
};
extern TSiteFileList SiteFileList;

// Lists the root folder's files afresh; nothing is selected.
void ScanSiteFileList();

// Chooses the entry after the selected one: ChosenPath becomes its full path and
// FileListEnded is cleared; after the last, FileListEnded is set.
void SiteFileListNext();

// Back to an empty list.
void ResetSiteFileList();

}  // namespace quorrel
