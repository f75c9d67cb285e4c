#pragma once
// The two views of an RTF document: formatted, and its RTF codes as plain text.
// Texts are Windows-1252 bytes; positions are the editor's.
#include <string>
#include <string_view>

namespace quorrel {

class TMyRich;

// Set by GetRtfSource: the document is a play script in its compact layout (its
// RTF holds "\sa60" and not "\fcharset0 Courier New").
extern bool IsCompactScript;

// Whether RTF source is that of a play script in its compact layout: it holds
// "\sa60" and not "\fcharset0 Courier New".
bool IsCompactScriptSource(std::string_view source);

// Whether text begins as RTF source does ("{\rtf").
bool StartsWithRtf(std::string_view text);

// The marker that keeps the caret on the same text through a switch of views.
inline constexpr char kSwitchMarker[] = "X*m6[j!%";

// Renders RTF source in an editor, which then shows it formatted. Source that does
// not begin with "{" stops the command with "Raw text does not start "{".".
void SetRtfSource(const std::string& rtf, TMyRich& editor);

// The editor's content as RTF source; sets IsCompactScript.
std::string GetRtfSource(TMyRich& editor);

// Switches an editor between the formatted view and the RTF codes, keeping its
// modified state and caret position. A formatted editor whose text is itself RTF
// codes ("{\rtf" at the start) is told so and taken as codes.
void FlipRtfView(TMyRich& editor);

// Where the switch marker goes in RTF codes for a caret at offset: past the
// header (the first blank after "\viewkind" in the first 999 characters), then on
// to the next blank, or, when a backslash comes first, to the end of that line.
// *blankFirst is set when the marker must be preceded by a blank so that it does
// not run on from a control word.
size_t MarkerPlaceInCodes(const std::string& codes, size_t offset, bool* blankFirst);

// Switches the editor's view with the caret kept on the same text (through the
// switch marker) and returns the caret's new position. Near the end of the text
// the caret goes to the end. A marker lost on the way to the codes gives
// "Switch marker not found in display mode." (the codes then hold no marker); one
// lost on the way back leaves the codes as they were.
size_t SwitchRtfView(TMyRich& editor);

// TWebForm.RawClick ("&Raw", F2): switches the current RTF document between its
// formatted view and its codes, the caret on the same text, the modified state
// kept. An empty document stops with "Add some text first!".
void RawClick();

// Puts RawClick behind the "Raw" menu item.
void InstallRtfViewCommands();

// RTF in disguise: a document opened as another type whose first five bytes are
// "{\rtf". The user is asked whether to save it as plain text: yes renders the
// source in the current editor (the caller then saves the document); no renames
// the document in memory to the ".RTF" extension (its record's path, and CurrentExt).
enum class TRtfDisguise { NotRtf, RenderedToSave, RenamedToRtf };
TRtfDisguise RtfInDisguise(const std::string& firstFive);

// An RTF file that shows no text: the user is told that it is empty, since every
// RTF the program meets is read by its own reader. Returns whether that happened.
// Not while saving.
bool ReportEmptyRtf(const std::string& path, size_t renderedLength, bool saving);

// Back to the state of a freshly started program.
void ResetRtfView();

}  // namespace quorrel
