#pragma once
// The Sections list of the current document, as the idle pass and the keys see it:
// the list is built by TWebForm.SectionsClick into SectionLines (start offsets) and
// one caption per listed section. Texts are Windows-1252 bytes.
#include <string>
#include <vector>

namespace quorrel {

// The caption of each listed section, in the order of SectionLines.
extern std::vector<std::string> SectionCaptions;
// The upper-case type-ahead text of the shown list ("" when none).
extern std::string SectionTypeAhead;

// Builds the list of the current document's sections (command "" builds it quietly,
// for the idle pass and the commands that read SectionLines). Until the Sections
// list exists this lists nothing.
void SectionsClick(const std::string& command);

// The list laid over the page control while the user picks a section. Until it
// exists it is never shown.
bool SectionsBoxShowing();
bool SectionsBoxFocused();
// Its entries: the highlighted one (-1 none), those the type-ahead text hides, how
// many fit in a column; highlighting one, and choosing one (TWebForm.ThisSectClick).
int HighlightedSection();
void HighlightSection(int index);
bool SectionHidden(int index);
int SectionsPerColumn();
void ThisSectClick(int index);

// Back to no sections listed.
void ResetSections();

}  // namespace quorrel
