#pragma once
// The open command (TWebForm.OpenClick) and its companions: every way a document
// comes into a tab.
// Paths and texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

struct TMenuItem;

// The login page of the current site: the last ".ASP" or ".PHP" page opened whose
// path holds "login" (any case).
extern std::string LoginPage;

// TWebForm.OpenClick. The sender decides what is opened and where: "Open" and
// "Open Tab" ask the file-list form, "Next" takes the form's next file, "Reload"
// and "Open Raw" the current document again, the New items and "Copy from..." a
// new document, a Recent item the path in its hint. Without a sender the path is
// CurrentFileName. Open Tab, the New items (not "Copy from...") and the Recent
// items open a new tab; the others reuse the current one.
void OpenClick(const TMenuItem* sender);

// TWebForm.OpenThis: opens a path in a new tab (an open file's tab is only
// activated); an ".ABC" document then has the music programs located and, unless
// the running command is "Extract parts", is played.
void OpenThis(const std::string& path);

// Opens a path in a new tab, as OpenThis does, without playing a tune.
void OpenInNewTab(const std::string& path);

// Opens a path in the current tab, which is emptied as "Reload" empties it (the
// caret kept where it was); with no document open, in a new tab.
void OpenInCurrentTab(const std::string& path);

// TWebForm.OpenText: the text becomes "Quorrel.txt" in the work folder, which is
// shown (a tab already showing it reads it again).
void OpenText(const std::string& text);

// TWebForm.OpenRawClick: the current document again, as plain text, with none of
// the conversions, questions or re-formatting of an ordinary open.
void OpenRawClick();

// TWebForm.FileMenuClick: "Compare" is enabled only when the current document has
// a ".Bak" back-up.
void FileMenuClick();

// Gives the open commands, the New items and the File menu their handlers.
void InstallOpenCommands();

// Back to the state of a freshly started program.
void ResetOpenDocs();

}  // namespace quorrel
