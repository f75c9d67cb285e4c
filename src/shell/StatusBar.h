#pragma once
// The status bars of the main window as commands use them: the message bar
// (ShowStatus), whose message blinks and clears itself on the idle passes, and the
// information panel (ShowInfo) with the selection's counts. Texts are
// Windows-1252 bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/MainWindow.h"

namespace quorrel {

// When the message bar's message was set (IdleNow milliseconds), and the text it
// was set to: a text written there without ShowStatus is new to the idle pass.
extern int64_t StatusShownAt;
extern std::string StatusShownText;
// The colour the message bar shows.
extern TMessageColour MessageColour;

// The colour of corrections: text a validator inserted or changed, and typing in
// an RTF document while "Correcting" is ticked (0x00BBGGRR).
constexpr int CorrectionColour = 0x0100FF;
// The orange of a new message (0x00BBGGRR).
constexpr int MessageOrange = 33023;

// The menu item "Show hex": the message bar shows the character at the caret and
// keeps its normal colours. Not ticked while the menu has no such item.
inline constexpr char ShowHexItem[] = "ShowHex";
bool ShowHexTicked();

// Shows a message in the message bar: two blanks before it and "  Modified" after
// it while the current document is modified; orange unless "Show hex" is ticked.
// An empty message empties the bar. Pending events run, so that it shows at once.
void ShowStatus(const std::string& message);
// Writes a message in the message bar after two blanks, as it stands: no colour,
// no "Modified", and the idle pass takes it for a new message.
void ShowStatusMessage(const std::string& message);

// Shows a message in the information panel after six blanks (StatusText when none
// is given). With more than 5 words or 30 characters selected, the selection's word
// and byte counts follow. Nothing happens with no document open.
void ShowInfo();
// The information panel's text for a document: its file's date and size as they
// are on disk now, and the number of lines of its text.
std::string DocumentInfoText(const std::string& path, const std::string& text);
void ShowInfo(const std::string& message);

// The word count of the editing commands: every blank, tab, CR, LF or "=" that
// follows another character and is not followed by "-" ends a word; so does the end
// of a text that does not end in one of them.
size_t CountWords(std::string_view text);

// Sets the message bar's colour (and tells the main window).
void SetMessageColour(TMessageColour colour);

// Back to an empty message bar in its normal colours.
void ResetStatusBar();

}  // namespace quorrel
