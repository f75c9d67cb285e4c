#pragma once
// The charset names a speller's configuration gives ("iso-8859-2", "koi8-r",
// "UTF-8") as the font character set and code page they stand for.
#include <string>
#include <string_view>

namespace quorrel {

// The charset name of text in UTF-8, compared without case.
extern const char kUtf8CharsetName[];

// Names compare without case; a name not in the table gives 1, the default set.
int CharsetOfCharsetName(std::string_view name);
// The Windows code page of the charset's language: 65001 for "UTF-8", the
// system's (1252) for a name not in the table. It is the code page of the same
// letters, not always of the same bytes: "koi8-r" gives 1251.
int CodePageOfCharsetName(std::string_view name);
// The encoding of the charset's bytes as iconv names it ("KOI8-R", "ISO-8859-2",
// "UTF-8"); "" for a name not in the table.
std::string EncodingOfCharsetName(std::string_view name);

}  // namespace quorrel
