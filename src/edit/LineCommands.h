#pragma once
// The File menu's commands on the lines of the current document: Sort, Find
// Duplicate and Remove Duplicates. Texts are Windows-1252 bytes.
#include <cstddef>
#include <string>
#include <vector>

namespace quorrel {

// The lines joined by CR LF, with one after the last when lineEndAfterLast.
std::string JoinLines(const std::vector<std::string>& lines, bool lineEndAfterLast);

// Sorts lines on their text from a column (1 = the line start) to the line end,
// letters compared in upper case and blanks counting as "!". Lines with the same
// key keep their order.
void SortLinesFromColumn(std::vector<std::string>& lines, size_t column);

// What Find Duplicate finds: the first line lower than the one before it (out of
// sequence), or else the first line equal to the one before it, comparing bytes.
struct TDuplicateFind {
  enum Kind { None, OutOfSequence, Duplicate } kind = None;
  size_t line = 0;  // 0-based
};
TDuplicateFind FindDuplicateLine(const std::vector<std::string>& lines);

// Removes every line equal to the one before it; returns how many went.
size_t RemoveDuplicateLines(std::vector<std::string>& lines);

// "Sort": the selected lines (when the selection is longer than 20 characters and
// the user says so) or the whole text, on the text from the caret's column.
void SortMClick();
// "Find Duplicate".
void FindDupClick();
// "Remove Duplicates".
void RemoveDupsClick();

}  // namespace quorrel
