#pragma once
// The Sections list of the current document: built by SectionsClick into
// SectionLines (start offsets of CurrentText) and one label per listed section,
// laid out in columns over the page control; the idle pass, F11 and F12, the
// section reports and the colouring read it. The main window draws the list
// (TMainWindow::ShowSectionsBox). Texts are Windows-1252 bytes.
#include <cstddef>
#include <string>
#include <vector>

namespace quorrel {

inline constexpr int SectionsHelp = 90000;
inline constexpr int SectionMovesHelp = 80300;
// The command of the menu-bar item, and the one the type-ahead keys rebuild the
// shown list with.
inline constexpr char SectionsCommand[] = "Sections";
inline constexpr char TypeAheadCommand[] = "ABCMenu";
inline constexpr char NoSectionsMessage[] = "File has no sections.";

// One label of the list: its caption, its tool tip (the long part of a shortened
// name), its place and width in pixels.
struct TSectionLabel {
  std::string caption;
  std::string hint;
  int left = 0;
  int top = 0;
  int width = 0;
};

// The list as the main window shows it: place and size on the page control,
// background (0x00BBGGRR, -1 for the window's own), the labels in the order of
// SectionLines, and the highlighted one.
struct TSectionsBox {
  int left = 0;
  int top = 0;
  int width = 20;
  int height = 0;
  int background = -1;
  std::vector<TSectionLabel> labels;
};
inline constexpr int RtfSectionsBackground = 15718087;
inline constexpr int HighlightBackground = 12617824;

// The caption of each listed section, in the order of SectionLines.
extern std::vector<std::string> SectionCaptions;
// The upper-case type-ahead text of the shown list ("" when none).
extern std::string SectionTypeAhead;

// TWebForm.SectionsClick: builds the list of the current document's sections.
// Command "" builds it quietly (the idle pass and the commands that read
// SectionLines); SectionsCommand shows it, TypeAheadCommand rebuilds it in place.
// A shown list is hidden by any other call.
void SectionsClick(const std::string& command);

// AddSection: one section found by a rule, named and starting at a CurrentText
// offset. It is listed when the type-ahead text allows.
void AddSection(const std::string& name, size_t offset);
// The start of the last listed section (npos when none yet).
size_t LastSectionStart();
// Whether a section name is listed under a type-ahead text (upper case).
bool MatchesTypeAhead(const std::string& name, const std::string& typeAhead, bool css,
                      bool bracketed);

// The list as last built.
const TSectionsBox& SectionsBox();

// Whether the list is on screen, and has the focus.
bool SectionsBoxShowing();
bool SectionsBoxFocused();
// The highlighted entry (-1 none); a key moves it (HighlightSection) or the mouse
// (Highlight, TWebForm.Highlight).
int HighlightedSection();
void HighlightSection(int index);
void Highlight(int index);
bool SectionHidden(int index);
// Entries in the list's first column.
int SectionsPerColumn();
// TWebForm.ThisSectClick: the caret to a listed section, the list hidden.
void ThisSectClick(int index);
// TWebForm.PseudoExit: the list lost the focus.
void PseudoExit();
// The idle pass has run: keys that moved the highlight are behind it.
void SectionsIdlePassed();

// "Previous section" and "Next section" (F11, F12); in a script "Previous scene" and
// "Next scene" (F9, Shift+F9).
void PNSectClick(bool next);
// "Highlight section": the section around the caret selected.
void SelSectClick();

// The listed section holding a CurrentText offset: its index in SectionLines (-1
// when the offset lies before every section), its start and the next section's
// start (npos when it is the last).
struct TSectionAt {
  int index = -1;
  size_t start = 0;
  size_t next = std::string::npos;
};
TSectionAt SectionAt(size_t offset);

// "Section: " and the section's caption with each tab as three blanks; "[None]" for
// no section.
std::string SectionPanelText(int index);

// Gives the menu items their commands.
void InstallSectionCommands();

// Back to no sections listed.
void ResetSections();

}  // namespace quorrel
