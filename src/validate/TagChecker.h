#pragma once
// The tag and link checker: the second pass over the HTML validator's output.
#include <string>

namespace quorrel {

// Whether the last run of CheckHtmlTags found the page in order.
extern bool TagsPassed;

// Checks the tags, attributes and links of a page (LF line ends) and corrects
// them in place; the result is in TagsPassed.
void CheckHtmlTags(std::string& text);

}  // namespace quorrel
