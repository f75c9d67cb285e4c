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

using TCommand = void (*)(TBuildRun&);

struct TCommandEntry {
  size_t position;
  TCommand run;
};

// ".CM" and ".--" lines are the writer's comments: the reader has already taken
// the line whole, and a comment writes nothing into the page.
void CommentLine(TBuildRun&) {}

const TCommandEntry kCommands[] = {
    {28, RunCodeBlockCommand},                                // WW
    {31, CommentLine},                                        // CM
    {34, RunOhCommand},                                       // OH
    {37, [](TBuildRun& run) { RunHeadingCommand(run, 1); }},  // T1
    {40, [](TBuildRun& run) { RunHeadingCommand(run, 2); }},  // T2
    {43, [](TBuildRun& run) { RunHeadingCommand(run, 3); }},  // T3
    {46, RunPageCommand},                                     // PG
    {49, [](TBuildRun& run) { RunScriptStart(run, 'S'); }},   // BS
    {52, [](TBuildRun& run) { RunScriptEnd(run, 'S'); }},     // ES
    {55, CommentLine},                                        // --
    {58, RunTableCommand},                                    // TA
    {61, RunArchiveListCommand},                              // ZI
    {64, [](TBuildRun& run) { RunScriptStart(run, 'Y'); }},   // BY
    {67, [](TBuildRun& run) { RunScriptEnd(run, 'Y'); }},     // EY
    {70, RunLinkBlockCommand},                                // BB
    {73, RunBodyCommand},                                     // BO
    {76, RunDanceTableCommand},                               // DT
    {79, RunVideoCommand},                                    // VI
    {82, RunNotesCommand},                                    // NO
    {85, RunSectionCommand},                                  // SE
    {88, RunOtherPagesCommand},                               // DX
    {91, RunRuleCommand},                                     // HR
    {94, RunPageMenuCommand},                                 // ME
};

// The source line that starts at the input's next character, for messages.
std::string ComingLine(TBuildRun& run) {
  std::string line;
  for (size_t k = 0; line.size() < kCurrentLineLength; ++k) {
    const char ch = PeekInput(run, k);
    if (ch == '\r' || ch == '\0') break;
    line += ch;
  }
  return line;
}

}  // namespace

void RunDotCommand(TBuildRun& run) {
  // A hidden heading's text ends at the next command.
  run.SuppressOutput = false;
  std::string line;
  for (;;) {
    const char ch = ReadRtfChar(run);
    if (!run.BuildRunning) return;
    if (ch == '\r') {
      PushInput(run, "\r");
      break;
    }
    line += ch;
  }
  if (line.empty()) ReportBuildError(run, "Extraneous dot!");
  std::string name = line.substr(0, 2);
  for (char& ch : name) ch = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(ch)));
  run.CommandText = line.substr(name.size());
  const size_t found = kCommandTable.find(name);
  if (found == std::string_view::npos) ReportBuildError(run, "Unknown marker ." + name);
  const size_t position = found + 1;
  if (position <= kLastBlockSwitch) {
    SetBlockMode(run, position);
    return;
  }
  for (const TCommandEntry& entry : kCommands) {
    if (entry.position == position) {
      entry.run(run);
      return;
    }
  }
  // Found across two entries.
  ReportBuildError(run, "Unknown marker ." + name);
}

void HandleLineEnd(TBuildRun& run) {
  run.CurrentLine = ComingLine(run);
  const char ch = ReadRtfChar(run);
  if (ch == '\0') ReportBuildError(run, "Internal error: Pch is null.");
  if (ch == '\f' || !run.BuildRunning) return;
  if (ch == '.') {
    // The reader signals every line-start dot; this one is taken here.
    run.LineStartDot = false;
    // In a code block only its end is a command; other dot lines are code.
    if (run.BlockMode != kBlockCode || StartsWithNoCase(run.CurrentLine, ".FS")) {
      RunDotCommand(run);
      return;
    }
  }
  if (run.SuppressOutput) return;
  if (run.BlockMode == kBlockLines || run.BlockMode == kBlockMonospace ||
      run.BlockMode == kBlockCode) {
    UnreadChar(ch);
    EmitBlockLine(run);
    return;
  }
  if (run.LineStartFlag) {
    run.LineStartFlag = false;
    UnreadChar(ch);
    return;
  }
  if (ch == '\r' && PeekInput(run) == '\n' && !run.RawMode) {
    ReadRtfChar(run);
    if (run.OhTableOpen) {
      NextOhRow(run);
      return;
    }
    if (run.BlockMode == kBlockNormal) EmitText(run, "<P>");
    EmitText(run, "\r\n");
    return;
  }
  EmitText(run, "\r\n");
  UnreadChar(ch);
}

bool ReadTextLine(TBuildRun& run, std::string& line) {
  line.clear();
  if (PeekInput(run, 0) != '\r' || PeekInput(run, 1) != '\n') return false;
  const char first = PeekInput(run, 2);
  if (first == '\r' || first == '\0' || first == '\f' || first == '.') return false;
  ReadRtfChar(run);
  ReadRtfChar(run);
  while (run.BuildRunning) {
    const char ch = ReadRtfChar(run);
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
