#pragma once
// The character check of the tag and link checker, which the HTML validator's
// output routine also applies to every character it writes unchanged.

namespace quorrel {

// Codes 128 to 159 are control characters in HTML's character set: in a page of a
// site one of them selects its first occurrence in the editor and ends the command
// with a message. Nothing happens outside a site, during Validate all and in the
// server window's check.
void CheckReservedCharacter(unsigned char code);

}  // namespace quorrel
