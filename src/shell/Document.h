#pragma once
// One record per tab: what the program keeps about each open document. The
// current document's names (CurrentFileName, DocModified, SectionLines, Markers)
// read the record of the current tab, so that a tab's facts live in one place and
// never drift apart.
// Paths are Windows-1252 bytes.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/ClassifyDocument.h"

namespace quorrel {

// A server date not known yet; a zero would read as a copy dated 30-Dec-1899.
inline constexpr double ServerDateUnknown = -2.0;

// One bookmark (0 to 9) of a document: a CurrentText offset (-1 = not set) and
// the text at the marked place.
struct TMarkerState {
  long position = -1;
  std::string text;
};

struct TDocument {
  // Full path (or "Untitled...", a web address, "Content"); "" once the tab is closed.
  std::string FileName;
  // The type as the document was last classified.
  TDocumentType Type;
  // The editor's text may differ from CurrentText (see GetEditorText).
  bool Modified = false;
  // File time (seconds) when last loaded or saved; 0 = none.
  int64_t FileAge = 0;
  // The server copy's date when last seen on the server; ServerDateUnknown until then.
  double ServerFileDate = ServerDateUnknown;
  // Start offsets (0-based, decimal texts) of the listed sections of its text.
  std::vector<std::string> Sections;
  // Its bookmarks 0 to 9.
  std::array<TMarkerState, 10> Marks;
};

// One record per tab opened since start or the last Close all; the index is the
// editor's tag (the tab's slot). Records are only appended; closing a tab blanks
// its path.
extern std::vector<TDocument> Documents;

// The record of a slot; nullptr for a slot that has none.
TDocument* DocumentAt(int slot);
// The record of the current document. With no current tab it is a record of its
// own, which a command may fill for a document that has no tab.
TDocument& CurrentDocument();
// The slot of the current document; -1 when it has no tab.
int CurrentSlot();
// Makes a slot's record the current one (-1: the record of no tab, emptied).
void SetCurrentDocument(int slot);
// Appends a record for a new tab and returns its slot.
int AddDocument(const std::string& path);
// Forgets every record (start-up and Close all); no tab's record is current then.
void ClearDocuments();

// The paths of the records by slot, blank for a closed tab.
std::vector<std::string> OpenFiles();

// Back to no records.
void ResetDocumentRecords();

}  // namespace quorrel

// The names of the current document read and write its record.
#define CurrentFileName (::quorrel::CurrentDocument().FileName)
#define DocModified (::quorrel::CurrentDocument().Modified)
#define SectionLines (::quorrel::CurrentDocument().Sections)
#define Markers (::quorrel::CurrentDocument().Marks)
