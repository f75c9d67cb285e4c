#pragma once
// The tag and link checker: the second pass over the HTML validator's output.

namespace quorrel {

struct THtmlRun;

// Whether the last run of CheckHtmlTags found the page in order.
extern bool TagsPassed;

// Checks the text the HTML validator's run put out (LF line ends) and corrects it
// in place; the result is in TagsPassed. After an error the editor holds the page as
// far as it was corrected, with the caret at the error, and the message was shown;
// errors that end the command at once throw the silent abort.
void CheckHtmlTags(THtmlRun& run);

}  // namespace quorrel
