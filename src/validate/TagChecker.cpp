#include "validate/TagChecker.h"

#include "platform/ResetRegistry.h"
namespace quorrel {

bool TagsPassed = false;

void CheckHtmlTags(std::string& text) {
  (void)text;
  // Nothing is checked yet: every page passes.
  TagsPassed = true;
}

namespace {
const TResetEntry resetTagChecker([] { TagsPassed = false; });
}  // namespace

}  // namespace quorrel
