#include "publish/QDel.h"

namespace quorrel {

void QuickDelete(const std::string&) {}

}  // namespace quorrel
