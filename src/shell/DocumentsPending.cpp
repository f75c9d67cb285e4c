#include "shell/DocumentsPending.h"

namespace quorrel {

void SaveMarkers() {}

}  // namespace quorrel
