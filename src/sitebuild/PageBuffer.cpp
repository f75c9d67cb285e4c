#include "sitebuild/PageBuffer.h"

namespace quorrel {

std::string PageBuffer;

void ResetPageBuffer() {
  PageBuffer.clear();
}

}  // namespace quorrel
