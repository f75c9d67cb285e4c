#include "sitebuild/OhTable.h"

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "shell/FastStrings.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

namespace {

constexpr size_t kMessageExcerpt = 80;
// An .FS closer than this to its .OH leaves the table without a row.
constexpr size_t kEmptyTableDistance = 16;
// A row whose first line has a tab from its 2nd to its 50th character has two cells.
constexpr size_t kFirstTabColumn = 1;
constexpr size_t kLastTabColumn = 49;

// The input from its next character to the end of its line.
std::string ComingInputLine(TBuildRun& run) {
  std::string line;
  for (size_t k = 0;; ++k) {
    const char ch = PeekInput(run, k);
    if (ch == '\r' || ch == '\0') return line;
    line += ch;
  }
}

bool RowHasTwoCells(const std::string& firstLine) {
  const size_t tab = firstLine.find("\\tab");
  return tab != std::string::npos && tab >= kFirstTabColumn && tab <= kLastTabColumn;
}

// A command after an empty line inside the table.
[[noreturn]] void CommandAfterEmptyLine(TBuildRun& run, const std::string& line) {
  const std::string coming =
      Excerpt(run.RtfSource, static_cast<long long>(run.SourcePos), kMessageExcerpt);
  if (StartsWithNoCase(line, ".OH")) {
    ReportBuildError(run, "This is within another .OH command.\r" + coming);
  }
  if (StartsWithNoCase(line, ".FS")) {
    const size_t table =
        PosBackNoCase(".OH", run.RtfSource, run.SourcePos == 0 ? 1 : run.SourcePos);
    if (table != 0 && run.SourcePos + 1 - table < kEmptyTableDistance) {
      ReportBuildError(run, "You need something between .OH and .FS");
    }
  }
  ReportBuildError(run,
                   "Remove blank line before command starting\r" + coming + "\rwithin .oh section");
}

}  // namespace

void RunOhCommand(TBuildRun& run) {
  if (run.OhTableOpen) ReportBuildError(run, "Nested .OH markers");
  if (run.OpenQuote) ReportBuildError(run, "Still in \"quotes\".");
  if (run.BlockMode != kBlockNormal) ReportBuildError(run, "Must be in .fs mode for .oh");
  const bool bordered = !TrimBlanks(run.CommandText).empty();
  PushInput(run, bordered ? "\r\n<Table Class=Dance Border=1 BorderColor=Green BgColor=CornSilk "
                            "Rules=All><TR><TD Class=W40>"
                          : "\r\n<Table Class=Dance><TR><TD Class=W40>");
  run.OhTableOpen = true;
  run.OhRowCellPending = true;
  run.OhRowSpans = false;
}

void NextOhRow(TBuildRun& run) {
  const std::string line = ComingInputLine(run);
  if (!line.empty() && line[0] == '.') CommandAfterEmptyLine(run, line);
  // A row that never met its tab gets an empty second cell.
  std::string markup =
      run.OhRowCellPending && !run.OhRowSpans ? "</TD><TD></TD></TR>" : "</TD></TR>";
  run.OhRowSpans = !RowHasTwoCells(line);
  markup += run.OhRowSpans ? "<TR><TD ColSpan=2>" : "<TR><TD>";
  run.OhRowCellPending = !run.OhRowSpans;
  EmitText(run, markup + "\r\n");
}

std::string CloseOhTable(TBuildRun& run) {
  if (!run.OhTableOpen) return "";
  run.OhTableOpen = false;
  run.OhRowCellPending = false;
  return "\r\n</TD></TR></Table>";
}

}  // namespace quorrel
