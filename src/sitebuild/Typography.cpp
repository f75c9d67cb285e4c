#include "sitebuild/Typography.h"

#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

void EmitTypo(char ch) {
  const TBuildRun& run = BuildRun;
  if (run.InMarkup || run.RawMode) {
    EmitChar(ch);
    return;
  }
  if (run.QuoteMode && ch == '"') {
    EmitText("&quot;");
    return;
  }
  if (ch == ' ' && run.BlockMode == kBlockNormal && !run.QuoteMode && !PageBuffer.empty() &&
      PeekInput() == ' ') {
    const char last = PageBuffer.back();
    if (last == '.' || last == '!' || last == '?') {
      EmitText("&nbsp;");
      return;
    }
  }
  EmitChar(ch);
}

void EmitTypoText(std::string_view text) {
  for (char ch : text) EmitTypo(ch);
}

}  // namespace quorrel
