#include "sitebuild/SplitArguments.h"

#include "platform/ResetRegistry.h"

namespace quorrel {

std::vector<std::string> SplitFields;

namespace {
const TResetEntry kReset([] { SplitFields.clear(); });
}  // namespace

void SplitArguments(std::string_view text) {
  SplitFields.clear();
  std::string field;
  bool afterBar = false;
  for (size_t k = 0; k < text.size(); ++k) {
    const char ch = text[k];
    if (ch == '|' && (k == 0 || text[k - 1] != '\'')) {
      // Commands count their arguments, so a field left empty on purpose still counts.
      SplitFields.push_back(field.empty() && afterBar ? std::string(" ") : field);
      field.clear();
      afterBar = true;
      continue;
    }
    field += ch;
  }
  SplitFields.push_back(field);
}

}  // namespace quorrel
