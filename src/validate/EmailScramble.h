#pragma once
// E-mail addresses in pages: mailto links become script calls that write the link
// in the visitor's browser from a scrambled form of the address, and back.
#include <string>

namespace quorrel {

struct THtmlRun;

// The scrambled form of an address.
std::string ScrambleEmail(const std::string& address);

// Turns every script call of a scrambled address in the text back into a plain link.
void DecodeEmailScripts(std::string& text);

// Called by the HTML validator's walk for an A tag whose text holds
// " Href=\"mailto:": when the page's options ask for it, writes the script call in
// place of the whole link and moves the walk past the link's end tag. True when it
// did; false leaves the tag to the walk.
bool ScrambleMailtoTag(THtmlRun& run);

}  // namespace quorrel
