#include "edit/Reparagraph.h"

namespace quorrel {

std::function<void(TMyRich& editor)> Reparagraph;

}  // namespace quorrel
