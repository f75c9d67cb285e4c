#include "edit/LineCommands.h"

#include <algorithm>

#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "shell/TextLines.h"

namespace quorrel {

namespace {

constexpr int FindDuplicateHelp = 21080;

// A selection must be longer than this to be sorted on its own.
constexpr size_t kSortSelectionMin = 20;

std::string SortKey(const std::string& line, size_t column) {
  std::string key = column <= line.size() ? UpperCaseAnsi(line.substr(column - 1)) : std::string();
  std::replace(key.begin(), key.end(), ' ', '!');
  return key;
}

// Replaces the editor's range [start, start + length) as one edit.
void ReplaceRange(TMyRich& editor, size_t start, size_t length, const std::string& text) {
  editor.Select(start, length);
  editor.SetSelText(text);
}

// The editor's whole text as lines, and whether it ends with a line end.
std::vector<std::string> EditorLines(TMyRich& editor, bool* endsWithLineEnd) {
  return LinesWithoutEnds(editor.GetText(), endsWithLineEnd);
}

void ReplaceAllLines(TMyRich& editor, const std::vector<std::string>& lines,
                     bool lineEndAfterLast) {
  const size_t caret = editor.SelStart();
  ReplaceRange(editor, 0, editor.TextLength(), JoinLines(lines, lineEndAfterLast));
  editor.Select(std::min(caret, editor.TextLength()), 0);
  DocModified = true;
}

}  // namespace

std::string JoinLines(const std::vector<std::string>& lines, bool lineEndAfterLast) {
  std::string text;
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  if (lineEndAfterLast && !lines.empty()) text += "\r\n";
  return text;
}

void SortLinesFromColumn(std::vector<std::string>& lines, size_t column) {
  if (column == 0) column = 1;
  std::vector<std::pair<std::string, size_t>> keys;
  keys.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) keys.emplace_back(SortKey(lines[i], column), i);
  std::stable_sort(keys.begin(), keys.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> sorted;
  sorted.reserve(lines.size());
  for (const auto& key : keys) sorted.push_back(std::move(lines[key.second]));
  lines = std::move(sorted);
}

TDuplicateFind FindDuplicateLine(const std::vector<std::string>& lines) {
  for (size_t i = 1; i < lines.size(); ++i) {
    const int order = lines[i].compare(lines[i - 1]);
    if (order < 0) return {TDuplicateFind::OutOfSequence, i};
    if (order == 0) return {TDuplicateFind::Duplicate, i};
  }
  return {};
}

size_t RemoveDuplicateLines(std::vector<std::string>& lines) {
  if (lines.empty()) return 0;
  const size_t before = lines.size();
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  return before - lines.size();
}

void SortMClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const size_t caret = editor->SelStart();
  const size_t caretLine = editor->LineFromChar(caret);
  const size_t column = caret - editor->LineIndex(caretLine) + 1;
  if (editor->SelLength() > kSortSelectionMin && AskYesNo("Sort selected text only?")) {
    const size_t firstLine = caretLine;
    const size_t end = caret + editor->SelLength();
    size_t lastLine = editor->LineFromChar(end);
    // A selection that ends at the start of a line does not take that line in.
    if (lastLine > firstLine && editor->LineIndex(lastLine) == end) --lastLine;
    const size_t start = editor->LineIndex(firstLine);
    const size_t stop = editor->LineIndex(lastLine) + editor->LineLength(lastLine);
    std::vector<std::string> lines = LinesWithoutEnds(editor->TextRange(start, stop - start));
    SortLinesFromColumn(lines, column);
    ReplaceRange(*editor, start, stop - start, JoinLines(lines, false));
    editor->Select(start, 0);
    DocModified = true;
    ShowStatus("Selected text sorted");
    return;
  }
  bool lineEnd = false;
  std::vector<std::string> lines = EditorLines(*editor, &lineEnd);
  SortLinesFromColumn(lines, column);
  ReplaceAllLines(*editor, lines, lineEnd);
  ShowStatus("File sorted on column " + std::to_string(column));
}

void FindDupClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const TDuplicateFind found = FindDuplicateLine(EditorLines(*editor, nullptr));
  if (found.kind == TDuplicateFind::None) {
    ShowMsg("No duplicate lines found.");
    return;
  }
  ScrollToPos(editor->LineIndex(found.line), true);
  if (found.kind == TDuplicateFind::OutOfSequence) {
    AskOkHelpCancel("File out of sequence, line " + std::to_string(found.line + 1),
                    FindDuplicateHelp);
  }
}

void RemoveDupsClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  bool lineEnd = false;
  std::vector<std::string> lines = EditorLines(*editor, &lineEnd);
  const size_t removed = RemoveDuplicateLines(lines);
  if (removed == 0) {
    ShowStatus("No duplicates found");
    return;
  }
  ReplaceAllLines(*editor, lines, lineEnd);
  ShowStatus("Duplicates removed: " + std::to_string(removed));
}

}  // namespace quorrel
