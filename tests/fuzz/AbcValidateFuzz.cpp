// libFuzzer target of the ABC validator: any text, validated or re-formatted, with
// any options and answers, ends validated or with one stop at a line of the text -
// never a crash, an overrun or a hang; a text it re-formatted is left as it is by a
// second re-format. Built and run by scripts/fuzz (target "abc"), outside the suite.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/Validators.h"

namespace {

// Every question gets the answer the input's first byte picked.
class AnsweringDialogs : public quorrel::TUserDialogs {
 public:
  int answer = quorrel::mrYes;
  int ShowBox(const quorrel::DialogCall& call) override {
    return call.kind == quorrel::DialogKind::Message ? quorrel::mrOk : answer;
  }
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

quorrel::TValidation Validate(const std::string& text, const char* sender, size_t caret) {
  quorrel::TPage page;
  page.text = text;
  page.kind = quorrel::TDocumentKind::Abc;
  page.sender = sender;
  page.caret = caret;
  return quorrel::ValidateAbc(page);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorrel;
  static AnsweringDialogs dialogs;
  SetUserDialogs(&dialogs);
  ResetRegisteredState();
  if (size == 0) return 0;
  // The first byte picks the command, the options, the answers and the site; the
  // rest is the document.
  const uint8_t modes = data[0];
  static const char* const senders[] = {"Validate", "Reformat", "NoReformat", "Play"};
  const char* sender = senders[modes & 3];
  MainMenu().SetChecked("Renumber", modes & 4);
  MainMenu().SetChecked("CountBars", modes & 8);
  MainMenu().SetChecked("FieldOrder", modes & 16);
  dialogs.answer = modes & 32 ? mrYes : mrNo;
  NotInSite = modes & 64;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t caret = modes & 128 ? text.size() / 2 : 0;
  try {
    const TValidation verdict = Validate(text, sender, caret);
    const std::string result = verdict.text ? *verdict.text : text;
    if (verdict.error && verdict.error->offset > result.size()) Fail("a stop beyond the text");
    if (verdict.error || sender != std::string("Reformat")) return 0;
    const TValidation again = Validate(result, sender, 0);
    if (again.error) Fail("a re-formatted text stopped a second re-format");
    if (again.text) Fail("a second re-format changed the text");
  } catch (const EAbort&) {
  }
  return 0;
}
