#include "sitebuild/BlockModes.h"

#include "platform/CodePage.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReader.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/OhTable.h"
#include "sitebuild/Typography.h"

namespace quorrel {

namespace {

constexpr size_t kLinesPositionUR = 4;
constexpr size_t kLinesPositionUS = 7;
constexpr size_t kNormalPositionFS = 16;
constexpr size_t kNormalPositionFR = 19;
constexpr size_t kNormalPositionFC = 25;
constexpr std::string_view kBlockLineBreak = "<Br>\r\n";

int ModeAt(size_t position) {
  switch (position) {
    case kNormalPositionFS:
    case kNormalPositionFR:
    case kNormalPositionFC:
      return kBlockNormal;
    case kLinesPositionUR:
    case kLinesPositionUS:
      return kBlockLines;
    default:
      return kBlockMonospace;
  }
}

void EnterMode(TBuildRun& run, int mode) {
  run.BlockMode = mode;
  // The command line's own end is not a line of the block.
  run.LineStartFlag = mode != kBlockNormal;
}

// A list tag on a line of its own breaks the line itself.
bool IsListTagLine(std::string_view line) {
  if (line.empty() || line.back() != '>') return false;
  for (std::string_view tag : {"<OL", "<UL", "<LI", "</OL", "</UL", "</LI"}) {
    if (StartsWithNoCase(line, tag)) return true;
  }
  return false;
}

// Markup characters of a code block as character references; "&#" already is one.
std::string EscapeCode(const std::string& line) {
  std::string text;
  for (size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    const bool reference = ch == '&' && i + 1 < line.size() && line[i + 1] == '#';
    if (ch == '<' || ch == '>' || (ch == '&' && !reference)) {
      text += "&#" + std::to_string(static_cast<int>(ch)) + ";";
    } else {
      text += ch;
    }
  }
  return text;
}

// A blank at the line's start or after another blank stays visible.
std::string KeepBlanks(const std::string& line) {
  std::string text;
  for (size_t i = 0; i < line.size(); ++i) {
    const bool kept = line[i] == ' ' && (i == 0 || line[i - 1] == ' ');
    text += kept ? std::string("&nbsp;") : std::string(1, line[i]);
  }
  return text;
}

// A dash between blanks, or ending the line, is not a list marker of the browser's.
std::string KeepDashes(std::string text) {
  for (size_t at = text.find(" - "); at != std::string::npos; at = text.find(" - ", at + 7)) {
    text.replace(at, 3, " &#45; ");
  }
  for (size_t at = text.find(" -\r\n"); at != std::string::npos; at = text.find(" -\r\n", at)) {
    text.replace(at, 2, " &#45;");
  }
  return text;
}

std::string StartName(char opener) {
  return opener == 'S' ? ".BS" : ".BY";
}
std::string EndName(char opener) {
  return opener == 'S' ? ".ES" : ".EY";
}

}  // namespace

std::string LeaveBlockMode(TBuildRun& run, int newMode) {
  std::string markup = CloseOhTable(run);
  // In a block a line end would be a block line of its own.
  if (newMode != kBlockNormal && markup.compare(0, 2, "\r\n") == 0) markup.erase(0, 2);
  if (run.BlockMode == kBlockMonospace) {
    markup += newMode == kBlockNormal ? "</Div>\r\n" : "</Div>";
  }
  if (run.BlockMode == kBlockCode) {
    if (PageBuffer.size() >= kBlockLineBreak.size() &&
        PageBuffer.compare(PageBuffer.size() - kBlockLineBreak.size(), kBlockLineBreak.size(),
                           kBlockLineBreak) == 0) {
      PageBuffer.resize(PageBuffer.size() - kBlockLineBreak.size());
    }
    markup += "</Code>";
  }
  run.QuoteMode = false;
  return markup;
}

void SetBlockMode(TBuildRun& run, size_t position) {
  if (run.OpenQuote) ReportBuildError(run, "Still in \"quotes\".");
  const int mode = ModeAt(position);
  std::string markup = LeaveBlockMode(run, mode);
  EnterMode(run, mode);
  if (mode == kBlockMonospace) markup += "<Div Class=Monospace>";
  PushInput(run, markup);
}

void RunCodeBlockCommand(TBuildRun& run) {
  if (run.OpenQuote) ReportBuildError(run, "Still in \"quotes\".");
  const std::string markup = LeaveBlockMode(run, kBlockCode);
  EnterMode(run, kBlockCode);
  run.QuoteMode = true;
  PushInput(run, markup + "<Code>");
}

void EmitBlockLine(TBuildRun& run) {
  std::string line;
  while (run.BuildRunning) {
    const char ch = ReadRtfChar(run);
    if (!run.BuildRunning) break;
    if (ch == '\r' || ch == '\f') {
      UnreadChar(ch);
      break;
    }
    line += ch;
  }
  const bool listTag = IsListTagLine(line);
  if (run.BlockMode == kBlockCode) line = EscapeCode(line);
  std::string text = KeepBlanks(line) + "\r\n";
  if (!listTag) text += kBlockLineBreak;
  // The line's text is page text, not markup, whatever the reader saw in it.
  run.InMarkup = false;
  EmitTypoText(run, KeepDashes(text));
}

void RunScriptStart(TBuildRun& run, char opener) {
  if (run.BlockMode == kBlockScript) {
    if (run.ScriptOpener == opener) {
      ReportBuildError(run, opener == 'S' ? "Two BS commands without an intervening ES command"
                                          : "Two BY commands without an intervening EY command");
    }
    ReportBuildError(run, "A block started with " + StartName(run.ScriptOpener) +
                              " must be ended with " + EndName(run.ScriptOpener) + " before " +
                              StartName(opener) + ".");
  }
  PushInput(run, opener == 'S' ? "\r\n<script>" : "\r\n<Style>");
  run.BlockMode = kBlockScript;
  run.ScriptOpener = opener;
  run.RawMode = true;
}

void RunScriptEnd(TBuildRun& run, char closer) {
  if (run.BlockMode != kBlockScript) {
    ReportBuildError(run, closer == 'S' ? "ES command must be preceded by BS command"
                                        : "EY command must be preceded by BY command");
  }
  if (run.ScriptOpener != closer) {
    ReportBuildError(run, "A block started with " + StartName(run.ScriptOpener) +
                              " cannot be ended with " + EndName(closer) + " - end it with " +
                              EndName(run.ScriptOpener) + ".");
  }
  PushInput(run, closer == 'S' ? "\r\n</Script>" : "\r\n</Style>");
  run.BlockMode = kBlockNormal;
  run.ScriptOpener = 0;
  run.RawMode = false;
}

}  // namespace quorrel
