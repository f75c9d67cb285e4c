#pragma once
// The ten markers (bookmarks 0 to 9) of the current document and their store: a
// section of SettingsIni named by the document's full path, with the keys "0" to
// "9" (the CurrentText offset of each set marker) and "Date" (the day they were
// last saved). The marker list (TMarkForm) shows them; its digits set, remove and
// go to them. Texts and paths are Windows-1252 bytes.
#include <functional>
#include <string>
#include <vector>

namespace quorrel {

inline constexpr int MarkersHelp = 95000;
inline constexpr char NoMarkersMessage[] = "No markers have been set for this file.";

// The store's section of a document: its full path. Only paths (names beginning
// with "/") have one, so that no other section of the settings file is mistaken
// for a document's markers.
bool IsMarkerSection(const std::string& name);

// Reads a document's ten markers from its section, and enables "Clear all (this
// file)" when one is set.
void LoadMarkers(const std::string& path);
// Whether the markers in memory are a document's (loaded for it or set in it).
bool MarkersBelongTo(const std::string& path);
// "Clear all (this file)" enabled exactly when a marker is set.
void SetClear();
// No marker set; "Clear all (this file)" disabled; a recolour asked for.
void ClearMarkers();
// The same as a document is left, which is coloured when entered anyway.
void ClearMarkerPositions();
// Writes the markers to the section of the document they belong to (the one they
// were loaded for or set in) when one is set: the keys of the set ones, none for
// the others, and today's date.
void SaveMarkers();

// Erases the sections of documents that no longer exist. A document whose folder
// is missing too (a medium not mounted now) keeps its markers.
void EraseLostMarkerSections();

// One row of the marker list: the digit, with the label of the section holding a
// set marker; and the text at the marker ("[End of file]" at the end), as one line.
struct TMarkRow {
  std::string caption;
  std::string text;
};
std::vector<TMarkRow> MarkFormRows();
// The text shown for a marker: a leading line feed dropped, line feeds as " » ",
// CRs dropped, tabs as two blanks; "[End of file]" when there is none.
std::string MarkerShownText(const std::string& text);

// A digit pressed in the marker list. Set mode: a marker already at the caret is
// removed (its key deleted, the section erased when fewer than two keys remain),
// any other is set at the caret. Go-to mode: the caret goes to a set marker; an
// unset one sounds "SystemHand".
void MarkerDigit(int digit, bool setMode);

// "Set" and "Goto" (TWebForm.MarkerClick): the marker list in either mode.
void MarkerClick(bool setMode);
// "Clear all (this file)" and "Clear all (all files)".
void ClearMarkClick();
void ClearAllClick();

// The ui's marker list: shown modally, calling MarkerDigit for the digit chosen.
void SetMarkForm(std::function<void(bool setMode)> show);

// Gives the Markers menu its commands.
void InstallMarkerCommands();

// Back to no markers and no document of theirs.
void ResetMarkers();

}  // namespace quorrel
