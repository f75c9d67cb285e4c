#include "sitebuild/DotCommands.h"

#include <string>
#include <string_view>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "sitebuild/BlockModes.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReader.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/Headings.h"
#include "sitebuild/LinkBlock.h"
#include "sitebuild/OhTable.h"
#include "sitebuild/PageCommands.h"
#include "sitebuild/PageMenu.h"
#include "sitebuild/SectionCommands.h"
#include "sitebuild/SlideNotes.h"
#include "sitebuild/TableCommand.h"
#include "sitebuild/VideoCommand.h"

namespace quorrel {

namespace {

// The commands, three characters an entry; a command is found by the position of
// its two letters in this text, as written, so a pair spanning two entries finds
// a position too.
constexpr std::string_view kCommandTable =
    "UC UR US U+ U- FS FR UT FC WW CM OH T1 T2 T3 PG BS ES -- TA ZI BY EY BB BO DT VI NO SE DX "
    "HR ME ";
// Every position up to here switches the block mode.
constexpr size_t kLastBlockSwitch = 25;

using TCommand = void (*)();

struct TCommandEntry {
  size_t position;
  TCommand run;
};

void Nothing() {}

const TCommandEntry kCommands[] = {
    {28, RunCodeBlockCommand},           // WW
    {31, Nothing},                       // CM: a comment line
    {34, RunOhCommand},                  // OH
    {37, [] { RunHeadingCommand(1); }},  // T1
    {40, [] { RunHeadingCommand(2); }},  // T2
    {43, [] { RunHeadingCommand(3); }},  // T3
    {46, RunPageCommand},                // PG
    {49, [] { RunScriptStart('S'); }},   // BS
    {52, [] { RunScriptEnd('S'); }},     // ES
    {55, Nothing},                       // --: a comment line
    {58, RunTableCommand},               // TA
    {61, RunArchiveListCommand},         // ZI
    {64, [] { RunScriptStart('Y'); }},   // BY
    {67, [] { RunScriptEnd('Y'); }},     // EY
    {70, RunLinkBlockCommand},           // BB
    {73, RunBodyCommand},                // BO
    {76, RunDanceTableCommand},          // DT
    {79, RunVideoCommand},               // VI
    {82, RunNotesCommand},               // NO
    {85, RunSectionCommand},             // SE
    {88, RunOtherPagesCommand},          // DX
    {91, RunRuleCommand},                // HR
    {94, RunPageMenuCommand},            // ME
};

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

}  // namespace

void RunDotCommand() {
  TBuildRun& run = BuildRun;
  // A hidden heading's text ends at the next command.
  run.SuppressOutput = false;
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
  const size_t position = found + 1;
  if (position <= kLastBlockSwitch) {
    SetBlockMode(position);
    return;
  }
  for (const TCommandEntry& entry : kCommands) {
    if (entry.position == position) {
      entry.run();
      return;
    }
  }
  // Found across two entries.
  ReportBuildError("Unknown marker ." + name);
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
    // In a code block only its end is a command; other dot lines are code.
    if (run.BlockMode != kBlockCode || StartsWithNoCase(run.CurrentLine, ".FS")) {
      RunDotCommand();
      return;
    }
  }
  if (run.SuppressOutput) return;
  if (run.BlockMode == kBlockLines || run.BlockMode == kBlockMonospace ||
      run.BlockMode == kBlockCode) {
    UnreadChar(ch);
    EmitBlockLine();
    return;
  }
  if (run.LineStartFlag) {
    run.LineStartFlag = false;
    UnreadChar(ch);
    return;
  }
  if (ch == '\r' && PeekInput() == '\n' && !run.RawMode) {
    ReadRtfChar();
    if (run.OhTableOpen) {
      NextOhRow();
      return;
    }
    if (run.BlockMode == kBlockNormal) EmitText("<P>");
    EmitText("\r\n");
    return;
  }
  EmitText("\r\n");
  UnreadChar(ch);
}

bool ReadTextLine(std::string& line) {
  TBuildRun& run = BuildRun;
  line.clear();
  if (PeekInput(0) != '\r' || PeekInput(1) != '\n') return false;
  const char first = PeekInput(2);
  if (first == '\r' || first == '\0' || first == '\f' || first == '.') return false;
  ReadRtfChar();
  ReadRtfChar();
  while (run.BuildRunning) {
    const char ch = ReadRtfChar();
    if (!run.BuildRunning) break;
    if (ch == '\r') {
      UnreadChar(ch);
      break;
    }
    line += ch;
  }
  return run.BuildRunning;
}

}  // namespace quorrel
