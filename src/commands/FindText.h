#pragma once
// The texts of a find or replace as the engine searches them: hex entry, the
// line-end and tab marks of the find fields, and the search of one occurrence.
// Texts are Windows-1252 bytes; offsets are 0-based indexes into the text.
#include <cstddef>
#include <string>
#include <string_view>

#include "shell/TextSearch.h"

namespace quorrel {

// The marks of the find fields: "¶" stands for a line end, "»" for a tab.
inline constexpr char LineEndMark = '\xB6';
inline constexpr char TabMark = '\xBB';

// Pairs of hexadecimal digits, each pair one character ("414243" is "ABC"). An odd
// number of digits (three or more) stops with "Odd number of hex digits."; a pair
// that is no number raises a conversion error.
std::string DecodeHexPairs(const std::string& digits);

// The line end of a text: CR LF when a CR LF stands before its final line end,
// else LF.
std::string DocumentLineEnd(std::string_view text);

// A find field's text as it is searched: "¶" becomes the line end and, when tabs
// is set, "»" a tab.
std::string ResolveMarks(std::string text, const std::string& lineEnd, bool tabs);

}  // namespace quorrel
