// libFuzzer target: the RTF validator's paragraph checks, source mends and
// play-script checks on any bytes end without a crash, an overrun or a hang; no
// mend changes the text the source reads as, and a script's fault is placed
// inside its text. Built and run by scripts/fuzz, outside the test suite.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "platform/RtfModel.h"
#include "platform/RtfParse.h"
#include "platform/UserDialogs.h"
#include "shell/MenuModel.h"
#include "validate/RtfMends.h"
#include "validate/RtfParagraphs.h"
#include "validate/ScriptChecks.h"
#include "validate/ValidateRtf.h"

namespace {

// Every question gets the answer the input's first byte picked.
class AnsweringDialogs : public quorrel::TUserDialogs {
 public:
  int answer = quorrel::mrYes;
  int ShowBox(const quorrel::DialogCall&) override { return answer; }
  // The pick list: the last entry on yes, closed on no.
  bool PickList(const std::string&, const std::vector<std::string>& entries, int,
                std::string& chosen) override {
    if (answer != quorrel::mrYes || entries.empty()) return false;
    chosen = entries.back();
    return true;
  }
};

void SameText(const std::string& before, const std::string& after) {
  if (quorrel::RtfPlainText(quorrel::ParseRtf(before)) !=
      quorrel::RtfPlainText(quorrel::ParseRtf(after))) {
    std::abort();  // a mend changed what the document says
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorrel;
  static AnsweringDialogs dialogs;
  SetUserDialogs(&dialogs);
  ResetRegisteredState();
  if (size == 0) return 0;
  // The first byte picks the options, the answers and the kind; the rest is the
  // document, read both as the text the editor shows and as RTF source.
  const uint8_t modes = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const TParagraphOptions options{(modes & 1) != 0, (modes & 2) != 0, (modes & 4) != 0};
  dialogs.answer = modes & 8 ? mrYes : mrNo;
  const auto fault = CheckParagraphs(bytes, options, [&](size_t offset) {
    return offset < bytes.size() && bytes[offset] == 'c' ? UncheckedBracketColour : -1;
  });
  if (fault) {
    for (size_t mark : fault->marks) {
      if (fault->offset + mark >= bytes.size()) std::abort();
    }
    ParagraphForViewer(*fault);
  }
  SameText(bytes, WithoutLanguageMarkers(bytes));
  SameText(bytes, StyleEndsBeforeMarks(bytes));
  HasRtfTables(bytes);
  for (const char* option : {"ValSave", "CheckQuotes", "CheckBrackets"}) {
    MainMenu().SetChecked(option, modes & 16);
  }
  // The bytes as the text of a script, in its compact or full layout.
  TRtfDocument script = RtfDocumentOfText(bytes, TRtfCharFormat());
  const size_t shown = RtfPlainText(script).size();
  const TScriptCheck check = CheckScript(script, modes & 1);
  if (check.error && check.error->offset > shown) std::abort();
  TPage page;
  page.text = bytes;
  page.kind = modes & 32 ? TDocumentKind::DotPage : TDocumentKind::Rtf;
  page.caret = modes & 64 ? bytes.size() / 2 : 0;
  page.selectionLength = modes & 128 ? bytes.size() : 0;
  try {
    ValidateRtf(page);
  } catch (const EAbort&) {
  }
  return 0;
}
