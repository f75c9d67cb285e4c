#include "music/ToolMessages.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "music/AbcOptions.h"
#include "music/AbcWorkFiles.h"
#include "music/ReportView.h"
#include "music/TunePrep.h"
#include "platform/Abort.h"
#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"

namespace quorrel {

namespace {

// Where the line number of a message starts: after the tune file's name that the
// program puts in front ("/run/.../Quorrel.abc:12:5: error: ..."), after the first
// ":" of another path, or after " in line" ("Error in line-char 12-5 : ...").
// npos when the message names no line.
size_t NumberSearchStart(const std::string& message, const std::vector<std::string>& prefixes) {
  for (const std::string& prefix : prefixes) {
    if (!prefix.empty() && message.starts_with(prefix)) return prefix.size();
  }
  if (!message.empty() && message[0] == '/') {
    size_t colon = message.find(':');
    return colon == std::string::npos ? colon : colon + 1;
  }
  size_t at = message.find(" in line");
  return at == std::string::npos ? at : at + 8;
}

// The 0-based index of the first of lines equal to line (case ignored), and how
// many there are.
std::optional<size_t> FindLine(const std::vector<std::string>& lines, const std::string& line,
                               int& count) {
  std::optional<size_t> first;
  count = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!AnsiSameText(lines[i], line)) continue;
    if (!first) first = i;
    ++count;
  }
  return first;
}

}  // namespace

void MapToolMessages(bool computable) {
  std::string bytes;
  ReadFileBytes(TempAbcFile(), bytes);
  std::vector<std::string> toolLines = LinesWithoutEnds(bytes);
  const long n = static_cast<long>(toolLines.size());
  std::optional<size_t> k;
  for (size_t i = 0; i < toolLines.size() && !k; ++i) {
    if (toolLines[i].starts_with("X:")) k = i;
  }

  // The document line of the tune's X: line, matched as a whole line: "X:1" must not
  // be taken for "X:10".
  std::optional<size_t> documentIndex;
  if (k) {
    const std::string& xLine = toolLines[*k];
    std::vector<std::string> documentLines = LinesWithoutEnds(CurrentText);
    int count = 0;
    documentIndex = FindLine(documentLines, xLine, count);
    if (count == 0) {
      // abcm2ps reads its file as UTF-8.
      const std::string ansi = Utf8ToAnsi(xLine);
      if (ansi != xLine) documentIndex = FindLine(documentLines, ansi, count);
    }
    if (count > 1 && CurrentFileName != TempAbcFile()) {
      ShowErrorAndAbort("Two tunes starting " + xLine + "\r" + "Please validate the file.");
    }
  }
  // Without the X: line in the document (renumbered, or a split marker made into
  // one), no number can be mapped.
  const bool mappable = computable && k && documentIndex;
  const long offset =
      mappable ? static_cast<long>(*k) - (static_cast<long>(*documentIndex) + ChordLinesRemoved)
               : 0;

  std::string reason;
  if (!mappable) {
    reason = "[cannot compute]";
  } else if (AbcOption("Viola") || AbcOption("BFlat") || AbcOption("A")) {
    reason = "[cannot compute - transposing instrument]";
  } else if (AbcOption("PlayPiano") || AbcOption("PlaySel")) {
    reason = "[cannot compute - voices selected]";
  }

  const std::string tuneFile = TempAbcFile();
  const std::vector<std::string> prefixes = {NativePath(tuneFile) + ":", tuneFile + ":"};
  for (std::string& message : ReadList) {
    size_t from = NumberSearchStart(message, prefixes);
    if (from == std::string::npos) continue;
    size_t start = message.find_first_of("0123456789", from);
    if (start == std::string::npos) continue;
    size_t end = start;
    while (end < message.size() && IsDigit(message[end])) ++end;
    long number = end - start > 9 ? n + 2 : std::stol(message.substr(start, end - start));

    // The end-of-tune checks name the line after the last one.
    if (number == n + 1 && (message.find("Sustained notes") != std::string::npos ||
                            message.find("quarter notes long") != std::string::npos)) {
      number = n;
    }
    std::string replacement;
    if (!reason.empty()) {
      replacement = reason;
    } else if (number > n) {
      replacement = "[past end of tune]";
    } else {
      long line = number - offset - (SplitMarkerExpanded ? 1 : 0);
      // A line of the format codes added in front of the tune is no document line.
      replacement = line >= 1 ? std::to_string(line) : "[cannot compute]";
    }
    message.replace(start, end - start, replacement);
  }
}

std::string GetDocumentLine(long n) {
  if (n < 1) return "";
  size_t start = 0;
  for (long line = 1; line < n; ++line) {
    size_t lf = CurrentText.find('\n', start);
    if (lf == std::string::npos) return "";
    start = lf + 1;
  }
  size_t end = CurrentText.find('\n', start);
  if (end == std::string::npos) end = CurrentText.size();
  if (end > start && CurrentText[end - 1] == '\r') --end;
  return CurrentText.substr(start, end - start);
}

void ShowToolErrors() {
  if (LastTuneText.find("Ignore errors") != std::string::npos) return;
  ShowReportViewer();
  if (CurrentEditor && CurrentEditor->CanFocus()) CurrentEditor->SetFocus();
  if (CheckAllRun) {
    CheckAllRun = false;
    Abort();
  }
}

}  // namespace quorrel
