#include "sitebuild/DotCommands.h"

#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/PageCommands.h"
#include "sitebuild/RtfReader.h"

namespace quorrel {

namespace {

// The commands, three characters an entry; a command is found by the position of
// its two letters in this text, as written, so a pair spanning two entries finds
// a position too.
constexpr std::string_view kCommandTable =
    "UC UR US U+ U- FS FR UT FC WW CM OH T1 T2 T3 PG BS ES -- TA ZI BY EY BB BO DT VI NO SE DX "
    "HR ME ";
constexpr size_t kLastBlockSwitch = 25;
constexpr size_t kCommentPos = 31;
constexpr size_t kDashCommentPos = 55;

// The source line that starts at the input's next character, for messages.
std::string ComingLine() {
  std::string line;
  for (size_t k = 0; line.size() < kCurrentLineLength; ++k) {
    const char ch = PeekInput(k);
    if (ch == '\r' || ch == '\0') break;
    line += ch;
  }
  return line;
}

[[noreturn]] void NotYetAvailable(const std::string& name) {
  ReportBuildError("The ." + name + " command is not available yet.");
}

}  // namespace

void RunDotCommand() {
  TBuildRun& run = BuildRun;
  std::string line;
  for (;;) {
    const char ch = ReadRtfChar();
    if (!run.BuildRunning) return;
    if (ch == '\r') {
      PushInput("\r");
      break;
    }
    line += ch;
  }
  if (line.empty()) ReportBuildError("Extraneous dot!");
  std::string name = line.substr(0, 2);
  for (char& ch : name) ch = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(ch)));
  run.CommandText = line.substr(name.size());
  const size_t found = kCommandTable.find(name);
  if (found == std::string_view::npos) ReportBuildError("Unknown marker ." + name);
  const size_t pos = found + 1;
  if (pos <= kLastBlockSwitch) NotYetAvailable(name);
  if (found % 3 != 0) ReportBuildError("Unknown marker ." + name);
  if (pos == kCommentPos || pos == kDashCommentPos) return;
  if (name == "PG") {
    RunPageCommand();
    return;
  }
  if (name == "ZI") {
    BuildRun.ArchiveList = run.CommandText;
    return;
  }
  if (name == "BO") {
    RunBodyCommand();
    return;
  }
  NotYetAvailable(name);
}

void HandleLineEnd() {
  TBuildRun& run = BuildRun;
  run.CurrentLine = ComingLine();
  const char ch = ReadRtfChar();
  if (ch == '\0') ReportBuildError("Internal error: Pch is null.");
  if (ch == '\f' || !run.BuildRunning) return;
  if (ch == '.') {
    // The reader signals every line-start dot; this one is taken here.
    run.LineStartDot = false;
    if (run.BlockMode != kBlockCode || StartsWithNoCase(run.CurrentLine, ".FS")) {
      RunDotCommand();
      return;
    }
  }
  if (run.SuppressOutput) return;
  if (run.LineStartFlag) {
    run.LineStartFlag = false;
    UnreadChar(ch);
    return;
  }
  if (ch == '\r' && PeekInput() == '\n' && !run.RawMode) {
    ReadRtfChar();
    if (run.BlockMode == kBlockNormal) EmitText("<P>");
    EmitText("\r\n");
    return;
  }
  EmitText("\r\n");
  UnreadChar(ch);
}

}  // namespace quorrel
