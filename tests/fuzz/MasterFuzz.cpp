// libFuzzer target: any master, however malformed, is read to an orderly end -
// built, or stopped with a message - without a crash, an overrun or a hang.
// Built and run by scripts/fuzz, outside the test suite.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildSource.h"
#include "sitebuild/BuildState.h"

namespace {

// Every box is answered OK, as a user clicking through.
class OkDialogs : public quorrel::TUserDialogs {
 public:
  int ShowBox(const quorrel::DialogCall&) override { return 1; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static OkDialogs dialogs;
  quorrel::SetUserDialogs(&dialogs);
  quorrel::ResetRegisteredState();
  if (size == 0) return 0;
  // The first byte picks the reader's state; the rest is the master's text.
  const uint8_t modes = data[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  quorrel::TBuildRun run;
  try {
    std::string source = quorrel::NormaliseBuildSource(".PG fuzz|Fuzz\\par " + text);
    source.erase(0, source.find("\r\n"));
    quorrel::StartBuildRun(run, source);
    run.BodySeen = modes & 1;
    run.RawMode = modes & 2;
    run.QuoteMode = modes & 4;
    run.OhTableOpen = modes & 8;
    run.OhRowCellPending = modes & 16;
    quorrel::RunBuildLoop(run);
  } catch (const quorrel::EAbort&) {
  }
  run.BuildRunning = false;
  return 0;
}
