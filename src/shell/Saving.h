#pragma once
// Saving the current document in its own format: plain text with the line ends of
// its type, RTF source, or the scrambled form; the previous file always kept as
// its ".Bak" back-up, validation on the way when asked for, and a warning when a
// save shrinks a file noticeably. Texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

// TWebForm.SaveClick ("Save", Ctrl+S): saves the current document. sender is the
// component name of the command that asked ("Save"; "Validate" and "NoValidate"
// save without validating again; "" for none). Untitled documents and web
// addresses go to Save as. Nothing is written when validation finds an error, and
// a save that fails leaves the previous file as it was.
void SaveClick(const std::string& sender = "");

// TWebForm.SaveAsClick: "SaveAs" ("Save &as...") gives the document a new name and
// saves it there; "SaveCopyAs" ("Save copy as...") writes a copy and leaves the
// document as it is; "RestoreM" proposes the name with ".RTF".
void SaveAsClick(const std::string& sender);

// The filter of the save dialog for the current document.
std::string SaveAsFilter();

}  // namespace quorrel
