#include "music/ScoreOutput.h"

namespace quorrel {

// The score comes with the typesetting commands; until then there is nothing to
// show beside the tune that plays.
void PSClick(const std::string& /*sender*/) {}

}  // namespace quorrel
