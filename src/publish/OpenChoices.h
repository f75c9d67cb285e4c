#pragma once
// What the file-list form's buttons do, apart from drawing: choosing an entry or a
// web address, the platform's open dialog, one level up, the list grabbed into a
// document, the root checked, and whether showing the form lists again. The form
// gathers what the user did and calls these. Paths are Windows-1252 bytes.
#include <string>

namespace quorrel {

// The web address box's text while nothing was typed into it.
inline constexpr char EmptyWebAddress[] = "http://";

// How "Open" leaves the form.
enum class TOpenChoice {
  Chosen,     // ChosenPath set: the form closes with OK
  Cancelled,  // the form closes with Cancel
  Stay,       // nothing chosen yet: the form stays
};

// OpenBtnClick: a web address typed last (other than "http://") is chosen as it
// stands; with no root the form closes; else the selected entry's path.
TOpenChoice OpenBtnClick(bool webAddressUsedLast, const std::string& webAddress);

// WinOpenClick: the open dialog "File to be opened" for the mask (all files without
// one), in the folder of the last path chosen, else the current folder. A chosen file
// becomes ChosenPath and its folder the root (the list emptied). True when chosen.
bool WinOpenClick(const std::string& mask);

// The root one level up: cut after the last "/" before its final character; a root
// without one stays as it is.
std::string UpOneLevel(const std::string& root);

// The root as the form lists it: an empty root stops with "Root directory cannot be
// blank."; a relative one is taken from the current directory; "/" is appended; a
// missing folder stops with root + " does not exist.\rPlease specify a valid root
// directory".
std::string CheckOpenRoot(const std::string& root);

// GrabBtnClick: the list, one path a line, as the text of the "Untitled" document
// (a new one when that document holds unsaved text), unmodified, caret at the start,
// coloured afresh. The form lists afresh when it next shows.
void GrabBtnClick();

// Showing the form: the root becomes the top folder of the open documents (unless a
// search of files runs), or the current folder after a start with parameters when
// it is empty. True when the list is to be made afresh: the root changed, the list
// is empty, or a listing asked for it.
bool OpenFormShowRescan(bool findFilesRunning);

}  // namespace quorrel
