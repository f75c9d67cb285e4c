#include "validate/TagChecker.h"

namespace quorrel {

bool TagsPassed = false;

void CheckHtmlTags(std::string& text) {
  (void)text;
  // Nothing is checked yet: every page passes.
  TagsPassed = true;
}

}  // namespace quorrel
