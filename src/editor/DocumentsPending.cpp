#include "editor/DocumentsPending.h"

namespace quorrel {

void SaveMarkers() {}

}  // namespace quorrel
