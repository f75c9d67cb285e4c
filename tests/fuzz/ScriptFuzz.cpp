// libFuzzer target of the script checker: any text, as JavaScript, C# or PHP (the
// first byte says which, and which options are on), ends re-indented or with one
// stop message - never a crash, an overrun or a hang; a text it re-indents is left
// as it is by a second run. Built and run by scripts/fuzz, outside the test suite.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "validate/ScriptTestKit.h"

namespace {

// Messages are taken, questions answered No.
class NoDialogs : public quorrel::TUserDialogs {
 public:
  int ShowBox(const quorrel::DialogCall& call) override {
    return call.kind == quorrel::DialogKind::Message ? quorrel::mrOk : quorrel::mrNo;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static NoDialogs dialogs;
  quorrel::SetUserDialogs(&dialogs);
  quorrel::ResetRegisteredState();
  if (size == 0) return 0;
  static const quorrel::TDocumentKind kinds[] = {quorrel::TDocumentKind::JavaScript,
                                                 quorrel::TDocumentKind::CSharp,
                                                 quorrel::TDocumentKind::Php};
  const quorrel::TDocumentKind kind = kinds[data[0] % 3];
  quorrel::test::TScriptOptions options;
  options.checkQuotes = (data[0] & 4) != 0;
  options.checkBrackets = (data[0] & 8) != 0;
  options.debug = (data[0] & 16) != 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    const quorrel::TValidation verdict = quorrel::test::CheckScript(text, kind, options);
    if (!verdict.text || verdict.error || verdict.saveAndEnd) return 0;
    const quorrel::TValidation again =
        quorrel::test::CheckScript(quorrel::test::CrLf(*verdict.text), kind, options);
    // A PHP page's text is handed on each time: it is to be the same.
    if (again.text && *again.text != *verdict.text) {
      std::fprintf(stderr, "a second run changed the re-indented text\n");
      std::abort();
    }
  } catch (const quorrel::EAbort&) {
  }
  return 0;
}
