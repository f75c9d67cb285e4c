#pragma once
// The parts of the open command, shared by its files: the new documents and the
// reading of an existing file. Only the open command calls these.
#include <string>

namespace quorrel {

// One run of the open command, once its tab is ready.
struct TOpenRun {
  std::string path;
  std::string sender;    // component name of the item; "" for none
  int slot = -1;         // the document's slot (its record in Documents)
  bool reload = false;   // "Reload" and "Open Raw": the caret stays where it was
  size_t keptCaret = 0;  // editor position kept by a reload
};

// The text of a new HTML page.
extern const char NewHtmlTemplate[];
// RTF source of a new play script.
std::string NewScriptSource();

// A new document of the kind the New item (or "Copy from...") names, in the
// current, empty editor.
void OpenNewDocument(const TOpenRun& run);

// Reads an existing file (or web address) into the current editor, with every
// conversion and question that belongs to it. A failure to load frees the tab.
void OpenExistingFile(TOpenRun& run);

// The length a file's text has once read: every line end as CR LF and a final one
// added when missing.
size_t LoadedLengthOf(const std::string& bytes);

// Whether the current document is re-formatted as soon as it is opened: a style
// sheet that is all on one line, or an ".HTM"/".HTML" page whose head does not
// begin a line.
bool ReformatOnOpen(const std::string& text);

// The last steps of every open: focus, recolour, the tab change.
void FinishOpen();

}  // namespace quorrel
