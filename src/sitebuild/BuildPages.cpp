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
  std::string pageName = CurrentPageName;
  ~TRunGuard() {
    BuildRun.BuildRunning = false;
    CurrentPageName = pageName;
  }
};

}  // namespace

void StartBuildRun(std::string source) {
  const bool oneSection = BuildRun.OneSection;
  std::string menu = std::move(BuildRun.SiteMenu);
  ResetBuildState();
  BuildRun.OneSection = oneSection;
  BuildRun.SiteMenu = std::move(menu);
  StartBuildBuffers(std::move(source));
  BuildRun.LineStartFlag = true;
  PushInput("\r\n");
  BuildRun.BuildRunning = true;
}

void RunBuildLoop() {
  TBuildRun& run = BuildRun;
  for (long rounds = 0; run.BuildRunning; ++rounds) {
    if (rounds >= BuildRoundLimit) ReportBuildError("Build loop limit reached");
    char ch = ReadRtfChar();
    if (!run.BuildRunning) break;
    if (run.LineStartDot) {
      run.LineStartDot = false;
      PushInput("\n.");
      ch = '\r';
    }
    if (ch == '\r') {
      const char next = ReadRtfChar();
      if (!run.BuildRunning) break;
      if (next == '\n') {
        HandleLineEnd();
      } else {
        UnreadChar(next);
        EmitTypo('\r');
      }
      continue;
    }
    if (ch != '\f' && !run.SuppressOutput) EmitTypo(ch);
  }
}

void BuildPagesFromRtf(bool oneSection) {
  TRunGuard guard;
  ResetBuildState();
  BuildRun.OneSection = oneSection;
  BuildRun.SiteMenu = ReadSiteMenu();
  ShowStatus("Scanning...");
  const size_t caret = CurrentEditor ? TextOffsetOf(CurrentEditor->SelStart()) : 0;
  std::string source = CollectBuildSource(oneSection, caret);
  SetBuildOutputFolder();
  StartBuildRun(std::move(source));
  RunBuildLoop();
}

}  // namespace quorrel
