#include "sitebuild/Typography.h"

#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

void EmitTypo(TBuildRun& run, char ch) {
  if (run.InMarkup || run.RawMode) {
    EmitChar(run, ch);
    return;
  }
  if (run.QuoteMode && ch == '"') {
    EmitText(run, "&quot;");
    return;
  }
  if (ch == ' ' && run.BlockMode == kBlockNormal && !run.QuoteMode && !PageBuffer.empty() &&
      PeekInput(run) == ' ') {
    const char last = PageBuffer.back();
    if (last == '.' || last == '!' || last == '?') {
      EmitText(run, "&nbsp;");
      return;
    }
  }
  EmitChar(run, ch);
}

void EmitTypoText(TBuildRun& run, std::string_view text) {
  for (char ch : text) EmitTypo(run, ch);
}

}  // namespace quorrel
