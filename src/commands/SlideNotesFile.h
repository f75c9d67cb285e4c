#pragma once
// The notes file of a slide show, written after a build and opened by "View notes".
#include <string>

namespace quorrel {

// RTF as the editor control writes it back after reading it: through the work
// file in TempFolder and a hidden editor, the work file deleted afterwards.
std::string NormalisedRtf(const std::string& rtf);

// Writes the notes (the header and the entries of the .NO commands, not yet
// closed) to the notes file, unless the file already holds the same notes once
// both are normalised. True when the file was written.
bool WriteSlideNotes(const std::string& path, std::string notes);

// The notes file of the current document (a slide-show master).
std::string CurrentSlideNotesPath();

// TWebForm.ViewNotesClick: the show's notes file in a tab, or the path + " not
// found.".
void ViewNotes();

}  // namespace quorrel
