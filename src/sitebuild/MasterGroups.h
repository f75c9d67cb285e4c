#pragma once
// What the program's save writes into a master besides character formatting:
// paragraph layout at a line's start, a list item's bullet as a group of its own,
// and links as fields. The reader reads none of these as they stand; here they
// become what it reads.
#include <string>
#include <string_view>

namespace quorrel {

// The position in line after the paragraph layout that starts at `at` (indents,
// spacing, tab stops, alignment other than centring, the list level's own group)
// and the blank that ends it: where the line's text starts.
size_t LayoutEnd(std::string_view line, size_t at);

// The collected source (lines split at CR LF) with each line's layout removed, a
// list item's bullet as "\bullet " (a numbered item's mark as its text), and each
// field: a link as an "<a href=...>" tag round its text, any other field as the
// unknown word "\field" before its text.
std::string ReadMasterGroups(const std::string& source);

}  // namespace quorrel
