#pragma once
// The special-characters table: a grid of the 256 Windows-1252 codes, from which
// a click inserts one character into the document at the caret, or into the Find
// dialog's active box when the table was opened from there with Ctrl+S, and puts
// it on the clipboard.
#include <functional>
#include <string>

namespace quorrel {

inline constexpr int SpecialHelpContext = 50800;

// A grid button's hint: the code in two hexadecimal digits, two blanks and the code
// in decimal ("41  65").
std::string SpecialHint(unsigned char code);

// The character handler (TWebForm.SBClick). Code 0 inserts nothing. findField,
// when given, takes the character instead of the document.
void SBClick(unsigned char code, const std::function<void(const std::string&)>& findField = {});

// The "Special" command (TWebForm.SpecialClick): the table shown modally. With
// findField, it was opened from the Find dialog. The ui sets the table; unset,
// nothing shows.
void SpecialClick(bool findField);
void SetSpecForm(std::function<void(bool findField)> show);

// Gives "Special" its menu item.
void InstallSpecialCommand();

}  // namespace quorrel
