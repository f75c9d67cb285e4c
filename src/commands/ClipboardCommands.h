#pragma once
// The Edit menu's Cut, Copy and Paste (and the editor's pop-up menu's). Texts are
// Windows-1252 bytes.
#include <string>

namespace quorrel {

// Opening the Edit menu: Cut, Copy and Delete need a selection, Paste text on the
// clipboard, all of them an open document.
void EditClick();

// Cut and Copy: with nothing selected the current section first. A plain
// document hands the clipboard plain text only, with LF line ends; a formatted
// one its formats too. A play script's copy loses its synopsis lines and the "|"
// separators of its character list.
void CutClick();
void CopyClick();

// Paste: the clipboard's text converted for the document (mail text, typography,
// line ends, links, paragraphs) replaces the selection and stays selected.
void PasteClick();

// The text as Paste takes it: line ends made CR LF, as the steps expect
// whatever the clipboard's owner wrote.
std::string PastedLineEnds(const std::string& text);

// Registers the commands with their menu items.
void InstallClipboardCommands();

}  // namespace quorrel
