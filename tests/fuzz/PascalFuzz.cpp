// libFuzzer target of the Pascal formatter: any text ends in a re-indented unit,
// lines split, or one stop message - never a crash, an overrun or a hang; a unit it
// re-indents keeps everything but blanks, line breaks and letter case, and a second
// run leaves it as it is. Built and run by scripts/fuzz-pascal, outside the suite.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "validate/PascalTestKit.h"

namespace {

// The split question is answered as the input's first byte says.
class AnswerDialogs : public quorrel::TUserDialogs {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static AnswerDialogs dialogs;
  quorrel::SetUserDialogs(&dialogs);
  quorrel::ResetRegisteredState();
  if (size == 0) return 0;
  static const int answers[] = {quorrel::mrYes, quorrel::mrNo, quorrel::mrCancel};
  dialogs.answer = answers[data[0] % 3];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    const quorrel::TValidation verdict = quorrel::test::FormatPascal(text);
    if (!verdict.status) return 0;  // stopped, split, or nothing to do
    const std::string laidOut = verdict.text ? *verdict.text : text;
    if (quorrel::test::PascalKept(laidOut) != quorrel::test::PascalKept(text))
      Fail("the re-indented unit lost or gained text");
    const quorrel::TValidation again = quorrel::test::FormatPascal(laidOut);
    if (again.text || again.error) Fail("a second run changed the re-indented unit");
  } catch (const quorrel::EAbort&) {
  }
  return 0;
}
