#pragma once
// The character set a page declares, and its UTF-8 characters: in a page that
// declares UTF-8 a valid multi-byte sequence is one character, whose bytes are
// neither Windows-1252 letters nor control characters.
#include <cstddef>
#include <string>

namespace quorrel {

// Whether the page declares UTF-8: the charset of a meta tag in its head, or
// without one the encoding of its XML declaration.
bool DeclaresUtf8(const std::string& text);

// The length of the UTF-8 character at text[at] in a page that declares UTF-8
// (utf8); 0 when no multi-byte character starts there, or the page is not UTF-8.
size_t Utf8CharAt(const std::string& text, size_t at, bool utf8);

}  // namespace quorrel
