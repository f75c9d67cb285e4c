#pragma once
// Documents in tabs: the working copy of the current document, tab captions,
// caret and view, the busy state, and the tab change that makes a document
// current. Texts are Windows-1252 bytes; positions are the editor's unless a
// name says offset (an index into CurrentText).
#include <string>

namespace quorrel {

// The editor of the current document changed (every edit).
void ThisChange();

// Conversions between CurrentText offsets and the current editor's positions.
size_t TextOffsetOf(size_t pos);
size_t EditorPosOf(size_t offset);

// Refreshes CurrentText from the editor when it may differ: an HTML working copy
// has LF line ends (so that its offsets are editor positions), every other text
// CR LF; a text that is not empty ends with a line end.
void GetEditorText();
// The same for a text just given to the current editor's SetText in plain-text
// mode, every line end already CR LF: the editor reads out exactly that text, so
// it becomes CurrentText without the read-back.
void TakeEditorText(std::string text);

// Puts CurrentText's line ends in the form its type asks: LF in an HTML working
// copy (except while Close all runs), CR LF in every other text.
void FitLineEnds();

// The tab caption for a document: its name without the folder, shortened when
// the part before the first dot is longer than tabWidth. hint receives the full
// path when the name was shortened, "" otherwise.
std::string TabCaptionFor(const std::string& fileName, int tabWidth, std::string* hint);
// Captions the active tab after a document's path.
void SetTabCaption(const std::string& fileName);

// The main window's caption for the current document: its path, " - Quorrel v. ",
// the version and its date; "Updating " and the page for the content document;
// "Quorrel" with no document.
std::string MainCaption();

// Caret line and column and the first visible line, remembered and put back.
// A second save before the restore is ignored; ReleaseCaretPos forgets the save.
void SaveCaretPos();
void RestoreCaretPos();
void ReleaseCaretPos();

// Moves the caret to an editor position and scrolls it into view; with context
// the target gets lines above it.
void ScrollToPos(size_t position, bool withContext);
// Whether an editor position lies on the screen.
bool IsPosOnScreen(size_t position);

// The busy state of long operations: busy cursor, redrawing off.
void BeginBusy();
void StdCursor();
void HideUpdates();
void ShowUpdates();

// Focuses the current editor when it can take the focus.
void FocusEditor();

// Word wrap of the current editor as the option says.
void ApplyWordWrap();

// Line feeds among the first n characters of CurrentText.
size_t CountLineBreaks(size_t n);

// "Previous tab" and "Next tab": the neighbouring tab, wrapping round.
void TabClick(bool next);

// The common top folder of the open documents.
void GetHighest();

// A new tab with its editor and record for a document (the tab becomes the active
// one); returns its slot. The 41st tab since start or Close all is refused.
int NewDocumentTab(const std::string& path);

// The index of the tab whose document is in a slot; -1 when none.
int TabOfSlot(int slot);
// The path of a tab's document ("" when the slot is unknown).
std::string TabPath(int tab);

// Makes the active tab's document current (TWebForm.PCChange).
void PCChange();

// Resets the unit-level state of this module.
void ResetDocuments();

}  // namespace quorrel
