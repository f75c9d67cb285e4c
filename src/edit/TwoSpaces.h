#pragma once
// The Edit menu's Two spaces: a second space after each sentence end. Texts are
// Windows-1252 bytes.
#include <cstddef>
#include <string>

namespace quorrel {

struct TTwoSpacesResult {
  std::string text;  // the range, changed
  size_t count = 0;  // sentence ends that got their second space
};

// The range [start, end) of a text with a blank (in a web page "&nbsp;") after
// each ".", "!" or "?" that a blank and then a capital or "(" follow. Not after
// "e.g", "i.e", "Mrs", "Mr", "Dr" or "St", nor where a second space already is. In
// a web page, tags, comments, server-script blocks and the contents of SCRIPT,
// STYLE and PRE stay as they are (the whole text is read to know where they lie).
TTwoSpacesResult TwoSpacesInRange(const std::string& text, size_t start, size_t end, bool html);

// TWebForm's Two spaces on the current editor: the selection, or the whole text.
void TwoSpacesClick();

// Registers the command with its menu item.
void InstallTwoSpacesCommand();

}  // namespace quorrel
