#include "publish/OpenFormFiles.h"

namespace quorrel {

void DelRenClick(const std::string&) {}

}  // namespace quorrel
