#pragma once
// "&Print": the current document, its selection or the progress box's report on
// the printer the print dialog chooses. Texts are Windows-1252 bytes.
#include <string>

namespace quorrel {

// TWebForm.PrintClick from the menu: the selection when there is one, else the
// document; an ABC document first asks whether its score or its text is printed.
void PrintClick();

// The progress box's Print button: its report, printed as the document would be.
void PrintProgressText(const std::string& text);

// Gives "&Print" its command.
void InstallPrintCommand();

}  // namespace quorrel
