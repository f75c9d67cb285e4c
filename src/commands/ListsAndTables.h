#pragma once
// The Text menu's List and Table: lists and HTML tables made from the selected
// lines, or empty ones of a size the user gives. Texts are Windows-1252 bytes,
// lines of what is built end with LF.
#include <string>
#include <vector>

namespace quorrel {

// How a list is written: HTML tags, bullet lines of an RTF document (byte 149),
// or those of a text file ("  °  ").
enum class TListForm { Html, RtfBullets, TextBullets };

// An item's text without the blanks and quote marks around it and without its
// leading "<P>", "<p />", "<Br>", "<br />", blanks, double quotes, bullet
// characters and "&bull;", however many.
std::string ListItemText(const std::string& line);

// The numbering of an item of an ordered list taken off: digits, "(", ")", ".",
// blanks and "&nbsp;", and a run of lower-case letters that ends at ")" or "."
// (the "a)" of a lettered list; a word is no numbering).
std::string WithoutNumbering(const std::string& item);

// A list of the selected lines: empty lines are left out; when the first item
// begins "1", "(1)" or "(a)" the list is numbered (HTML "<OL>", "<OL Type=a>")
// and each item loses its numbering.
std::string ListOfLines(const std::string& selected, TListForm form);
// A list of empty items.
std::string EmptyList(int entries, TListForm form);

// A table of the selected lines: list tags go, each line is a row whose cells
// end at two blanks in a row.
std::string TableOfLines(const std::string& selected);
// An empty table: one row of TD cells, or a row of TH cells over rows of TD cells.
std::string EmptyTable(int rows, int columns);

// Whether a caret after `before`, with `after` following, lies inside a table:
// the last "<Table" before it is not closed before it, and "</Table>" follows.
bool InsideTable(const std::string& before, const std::string& after);

// List: a list in the form that fits the document.
void InsListClick();
// Table: Update table inside a table, else a new table.
void InsTableClick();

}  // namespace quorrel
