#include "sitebuild/SlideNotes.h"

#include "platform/Chars.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/DotCommands.h"

namespace quorrel {

namespace {

// A title read as page text, back to plain text.
std::string PlainTitle(std::string title) {
  for (const char* quote : {"&ldquo;", "&rdquo;", "&quot;"}) {
    title = ReplaceAll(title, quote, "\"", true);
  }
  return ReplaceAll(title, "&nbsp;", " ", true);
}

// Notes mode lasts while the note's lines are read, whatever stops the reading.
struct TNotesModeGuard {
  TBuildRun& run;
  explicit TNotesModeGuard(TBuildRun& r) : run(r) { run.NotesMode = true; }
  ~TNotesModeGuard() { run.NotesMode = false; }
};

}  // namespace

std::string RtfEscaped(const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string rtf;
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (ch == '\\' || ch == '{' || ch == '}') {
      rtf += '\\';
      rtf += ch;
    } else if (byte >= 128) {
      rtf += "\\'";
      rtf += kHex[byte >> 4];
      rtf += kHex[byte & 15];
    } else {
      rtf += ch;
    }
  }
  return rtf;
}

void RunNotesCommand(TBuildRun& run) {
  if (!IsSlides) ReportBuildError(run, ".NO command is only for notes in slides.");
  const std::string title = PlainTitle(std::string(TrimBlanks(run.CommandText)));
  std::string entry = "\\qc " + RtfEscaped(title) + "\\fs40\r\\par\\pard \r\n";
  {
    TNotesModeGuard notes(run);
    std::string line;
    while (ReadTextLine(run, line)) entry += "\\par " + RtfEscaped(line) + "\r\n";
  }
  run.SlideNotes += entry + "\r\\par \r\n\\par====================\r\\par \r\\par \\fs60";
}

}  // namespace quorrel
