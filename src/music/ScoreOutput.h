#pragma once
// Typesetting the tune at the caret ("Show score" and the score half of "Play &&
// show score").
#include <string>

namespace quorrel {

// TWebForm.PSClick: typesets the tune for the command named by sender. Its
// messages for "Play && show score" are left in ScoreMessages.
void PSClick(const std::string& sender);

}  // namespace quorrel
