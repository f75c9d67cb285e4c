#include "sitebuild/BuildPages.h"

#include "publish/ServerPaths.h"
#include "shell/Documents.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReader.h"
#include "sitebuild/BuildReaderSteps.h"
#include "sitebuild/BuildSource.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/DotCommands.h"
#include "sitebuild/Typography.h"

namespace quorrel {

namespace {

// A run that stops on a message leaves nothing running behind it, and the page
// name its messages carried goes back to the caret's section.
struct TRunGuard {
  TBuildRun& run;
  std::string pageName = CurrentPageName;
  ~TRunGuard() {
    run.BuildRunning = false;
    CurrentPageName = pageName;
  }
};

}  // namespace

void StartBuildRun(TBuildRun& run, std::string source) {
  const bool oneSection = run.OneSection;
  std::string menu = std::move(run.SiteMenu);
  ResetBuildState(run);
  run.OneSection = oneSection;
  run.SiteMenu = std::move(menu);
  StartBuildBuffers(run, std::move(source));
  run.LineStartFlag = true;
  PushInput(run, "\r\n");
  run.BuildRunning = true;
}

void RunBuildLoop(TBuildRun& run) {
  for (long rounds = 0; run.BuildRunning; ++rounds) {
    if (rounds >= BuildRoundLimit) ReportBuildError(run, "Build loop limit reached");
    char ch = ReadRtfChar(run);
    if (!run.BuildRunning) break;
    if (run.LineStartDot) {
      run.LineStartDot = false;
      PushInput(run, "\n.");
      ch = '\r';
    }
    if (ch == '\r') {
      const char next = ReadRtfChar(run);
      if (!run.BuildRunning) break;
      if (next == '\n') {
        HandleLineEnd(run);
      } else {
        UnreadChar(next);
        EmitTypo(run, '\r');
      }
      continue;
    }
    if (ch != '\f' && !run.SuppressOutput) EmitTypo(run, ch);
  }
}

void BuildPagesFromRtf(TBuildRun& run, bool oneSection) {
  TRunGuard guard{run};
  ResetBuildState(run);
  run.OneSection = oneSection;
  run.SiteMenu = ReadSiteMenu();
  ShowStatus("Scanning...");
  const size_t caret = CurrentEditor ? TextOffsetOf(CurrentEditor->SelStart()) : 0;
  std::string source = CollectBuildSource(oneSection, caret);
  SetBuildOutputFolder();
  StartBuildRun(run, std::move(source));
  RunBuildLoop(run);
}

}  // namespace quorrel
