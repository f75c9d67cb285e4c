#include "spell/SpellEditClasses.h"

#include "platform/CodePage.h"

namespace quorrel {
namespace {

// Our editor control (in the program and in tests) is a rich edit whose text is
// Windows-1252 with no language per character; a plain Qt text box is a memo.
constexpr TEditClass kEditClasses[] = {
    {"TMyRich", false, false},
    {"QTextEdit", false, false},
    {"QPlainTextEdit", false, false},
};

}  // namespace

const TEditClass* FindEditClass(const std::string& className) {
  for (const TEditClass& entry : kEditClasses) {
    if (AnsiSameText(className, entry.name)) return &entry;
  }
  return nullptr;
}

}  // namespace quorrel
