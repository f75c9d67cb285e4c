#pragma once
// The charset names a speller's configuration gives ("iso-8859-2", "koi8-r",
// "UTF-8") as the font character set and code page they stand for.
#include <string_view>

namespace quorrel {

// The charset name of text in UTF-8, compared without case.
extern const char kUtf8CharsetName[];

// Names compare without case; a name not in the table gives 1, the default set.
int CharsetOfCharsetName(std::string_view name);
// The code page that reads 8-bit text of the charset: 65001 for "UTF-8", the
// system's (1252) for a name not in the table.
int CodePageOfCharsetName(std::string_view name);

}  // namespace quorrel
