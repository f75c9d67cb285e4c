#include "music/TunePrep.h"

#include "music/AbcWorkFiles.h"
#include "music/ChordSections.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"

namespace quorrel {

size_t TuneStart = 0;
std::array<size_t, 1> TuneBounds{};
std::string LastTuneText;
std::string TuneTitle;
int ChordLinesRemoved = 0;
bool SplitMarkerExpanded = false;
bool CheckAllRun = false;

const std::array<const char*, 18> DefaultAbcCodes = {
    "%%rightmargin 1cm",
    "%%leftmargin 1cm",
    "%%gchordfont Helvetica-bold 14",
    "%%textspace 45",
    "%%staffsep 20",
    "%%composerfont Times-Roman-Italic 18",
    "%%partsfont Times-Roman-Bold 20 box",
    "%%titlefont Helvetica-Bold 20",
    "%%subtitlefont Helvetica-Bold 20",
    "%%titletrim 0",
    "%%textfont Helvetica-Bold 18",
    "%%topspace 0cm",
    "%%topmargin .2cm",
    "%%botmargin 2.5cm",
    "%%titlespace 0.2",
    "%%writefields NHS",
    "%%tuplets 0 1 0",
    "%%scale 0.75",
};

namespace {

bool IsTrimmed(unsigned char c) {
  return c <= ' ';
}

std::string TrimControls(const std::string& text) {
  size_t first = 0;
  while (first < text.size() && IsTrimmed(static_cast<unsigned char>(text[first]))) ++first;
  size_t last = text.size();
  while (last > first && IsTrimmed(static_cast<unsigned char>(text[last - 1]))) --last;
  return text.substr(first, last - first);
}

}  // namespace

void EnsureCodesFile() {
  const std::string path = AbcCodesFile();
  if (FileExists(path)) return;
  std::string text;
  for (const char* line : DefaultAbcCodes) text += std::string(line) + "\r\n";
  WriteFileBytes(path, text);
}

TTuneSpan FindTuneIn(const std::string& text, size_t caretOffset) {
  TTuneSpan span;
  if (caretOffset > text.size()) caretOffset = text.size();
  // A line feed just before the caret's line start still belongs to this tune's
  // "X:" line; PosBackNoCase treats a start of 0 as "from the end", so skip it.
  size_t lf = caretOffset > 0 ? PosBackNoCase("\nX:", text, caretOffset) : 0;
  span.start = lf > 0 ? lf + 1 : 1;
  if (span.start == 1 && PosNoCase("X:", text.substr(0, 2)) != 1) {
    lf = PosNoCase("\nX:", text);
    span.start = lf > 0 ? lf + 1 : 1;
    span.moveCaret = true;
  }
  size_t next = PosNoCase("\nX:", text, span.start);
  span.end = next > 0 ? next : text.size();
  return span;
}

std::string BuildTuneHeader() {
  EnsureCodesFile();
  std::string header;
  if (!CurrentText.empty() && CurrentText[0] != 'X' && CurrentText[0] != 'x') {
    size_t lf = PosNoCase("\nX:", CurrentText);
    if (lf > 0) header = CurrentText.substr(0, lf);
  }
  std::string codes;
  ReadFileBytes(AbcCodesFile(), codes);
  std::vector<std::string> lines = LinesWithoutEnds(codes);
  for (size_t i = lines.size(); i-- > 0;) {
    size_t blank = lines[i].find(' ');
    // A line without a blank has no first word and is always kept.
    if (blank == std::string::npos || blank == 0) continue;
    if (PosNoCase(lines[i].substr(0, blank), header) > 0) lines.erase(lines.begin() + i);
  }
  std::string result = header;
  for (const std::string& line : lines) result += line + "\r\n";
  return result;
}

std::string FindTuneStart() {
  size_t caret = 0;
  if (CurrentEditor) caret = CurrentEditor->PosToOffset(CurrentEditor->SelStart());
  TTuneSpan span = FindTuneIn(CurrentText, caret);
  TuneStart = span.start;
  TuneBounds[0] = span.end;
  if (span.moveCaret && CurrentEditor) {
    CurrentEditor->Select(CurrentEditor->OffsetToPos(span.start - 1), 0);
  }
  if (span.end < span.start) return "";
  return CurrentText.substr(span.start - 1, span.end - span.start + 1);
}

std::string TitleOfTune(const std::string& tune) {
  size_t at = tune.starts_with("T:") ? 0 : tune.find("\nT:");
  if (at == std::string::npos) return "";
  if (tune[at] == '\n') ++at;
  at += 2;
  size_t end = tune.find_first_of("\r\n", at);
  return tune.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

std::string PrepareCurrentTune() {
  std::string tune = FindTuneStart();
  LastTuneText = tune;
  TuneTitle = TitleOfTune(tune);
  std::string text = TrimControls(BuildTuneHeader() + tune);
  ChordLinesRemoved = 0;
  ExpandChordSections(text, ChordLinesRemoved);
  return text;
}

void ResetTunePrep() {
  TuneStart = 0;
  TuneBounds.fill(0);
  LastTuneText.clear();
  TuneTitle.clear();
  ChordLinesRemoved = 0;
  SplitMarkerExpanded = false;
  CheckAllRun = false;
}

}  // namespace quorrel
