#pragma once
// The text shown for a link: long addresses get break points so that a narrow
// window can wrap them.
#include <string>

namespace quorrel {

// A link text with "<WBr>" break points so that no piece between blanks and breaks
// is longer than 30 characters (an entity counts as one), placed after one of
// ", - . / ? _" or before "&" where the piece has one. "http://", "https://" or
// "www." at the start is dropped, "%20" becomes a blank and old break points go. A
// text holding an image is returned unchanged.
std::string BreakLongUrl(const std::string& linkText);

}  // namespace quorrel
