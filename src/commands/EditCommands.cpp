#include "commands/EditCommands.h"

#include "commands/IndentMode.h"
#include "edit/CaseChange.h"
#include "edit/EditControl.h"
#include "edit/LineCommands.h"
#include "edit/Reparagraph.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RunPrograms.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"
#include "shell/WPFormat.h"

namespace quorrel {

namespace {

constexpr int kRunHelp = 50830;
// Where the first line's "." and blank tell numbers like "1.2.3 Title" from "1. Text".
constexpr size_t kDotWithin = 9;
constexpr size_t kBlankBeyond = 10;

// The text without the control characters and blanks round it.
std::string TrimControls(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

// Replaces the whole text as one edit that can be undone.
void ReplaceWholeText(TMyRich& editor, const std::string& text) {
  editor.BeginEditGroup();
  editor.Select(0, editor.TextLength());
  editor.SetSelText(text);
  editor.EndEditGroup();
}

}  // namespace

std::string WithoutWhitespace(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\r' && c != '\n') out += c;
  }
  return out;
}

std::vector<std::string> UnsequenceLines(const std::vector<std::string>& lines) {
  char separator = ' ';
  if (!lines.empty()) {
    const std::string& first = lines.front();
    const size_t dot = first.find('.');
    const size_t blank = first.find(' ');
    if (dot != std::string::npos && dot < kDotWithin && blank != std::string::npos &&
        blank + 1 > kBlankBeyond) {
      separator = '.';
    }
  }
  std::vector<std::string> result;
  result.reserve(lines.size());
  for (const std::string& line : lines) {
    const size_t at = line.find(separator);
    result.push_back(TrimControls(at == std::string::npos ? line : line.substr(at + 1)));
  }
  return result;
}

bool ProgramOfSelection(const std::string& selection, TProgramCall& call) {
  if (selection.empty() || selection[0] != '/') return false;
  call = {};
  size_t start = 0;
  bool first = true;
  while (start < selection.size()) {
    size_t end = selection.find(' ', start);
    if (end == std::string::npos) end = selection.size();
    if (end > start) {
      std::string part = selection.substr(start, end - start);
      if (first) {
        call.program = std::move(part);
      } else {
        call.arguments.push_back(std::move(part));
      }
      first = false;
    }
    start = end + 1;
  }
  return true;
}

void WordWrapClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  // The editor's own state decides: the item may not have followed it.
  const bool wrap = !editor->WordWrap();
  MainMenu().SetChecked("WordWrap", wrap);
  AnyCheck(MainMenu().Item("WordWrap"));
  editor->SetWordWrap(wrap);
}

void SelectAllClick() {
  if (CurrentEditor) CurrentEditor->Select(0, CurrentEditor->TextLength());
}

void DelSelClick() {
  if (CurrentEditor && CurrentEditor->SelLength() > 0) CurrentEditor->SetSelText("");
}

void DupBlockClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  size_t start = editor->SelStart();
  size_t length = editor->SelLength();
  if (length == 0) {
    // The caret's line with its line end; the last line has none to copy.
    const size_t line = editor->LineFromChar(start);
    if (line + 1 >= editor->LineCount()) return;
    start = editor->LineIndex(line);
    length = editor->LineIndex(line + 1) - start;
  }
  std::string copy = editor->TextRange(start, length);
  if (!IsRtf && !copy.empty() && copy.back() == '\n' &&
      (copy.size() < 2 || copy[copy.size() - 2] != '\r')) {
    copy.pop_back();
    copy += "\r\n";
  }
  editor->Select(start, 0);
  editor->SetSelText(copy);
  editor->Select(start, length);
}

void ClearEolClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const size_t caret = editor->SelStart() + editor->SelLength();
  const size_t line = editor->LineFromChar(caret);
  // Only up to a line end: after the last one nothing goes.
  if (line + 1 >= editor->LineCount()) return;
  const size_t end = editor->LineIndex(line) + editor->LineLength(line);
  if (end <= caret) return;
  editor->Select(caret, end - caret);
  editor->SetSelText("");
}

void DelWhiteClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor || editor->SelLength() == 0) return;
  editor->SetSelText(WithoutWhitespace(editor->SelText()));
}

void UnsequenceClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  MainMenu().SetChecked("WordWrap", false);
  editor->SetWordWrap(false);
  bool lineEnd = false;
  const std::string before = editor->GetText();
  const std::vector<std::string> lines = LinesWithoutEnds(before, &lineEnd);
  const std::string text = JoinLines(UnsequenceLines(lines), lineEnd);
  if (text != before) ReplaceWholeText(*editor, text);
  editor->Select(0, 0);
  editor->ScrollCaret();
}

void ReParaClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  editor->SetRedraw(false);
  try {
    Reparagraph(*editor);
  } catch (...) {
    editor->SetRedraw(true);
    throw;
  }
  editor->SetRedraw(true);
}

void RunPgmClick() {
  TProgramCall call;
  if (!CurrentEditor || !ProgramOfSelection(CurrentEditor->SelText(), call)) return;
  RunHidden(call.program, call.arguments, kRunHelp);
}

void InstallEditCommands() {
  TMenuModel& menu = MainMenu();
  auto on = [&menu](const char* name, void (*command)()) {
    menu.SetHandler(name, [command](const TMenuItem&) { command(); });
  };
  on("WordWrap", WordWrapClick);
  on("SelectAll", SelectAllClick);
  on("DelSel", DelSelClick);
  on("DupBlock", DupBlockClick);
  on("ClearEOL", ClearEolClick);
  on("DelWhite", DelWhiteClick);
  on("Unsequence", UnsequenceClick);
  on("RePara", ReParaClick);
  // The word-processor conversion re-paragraphs its text before marking it up.
  WPReparagraph = [](const std::string& text) {
    TTextBox box(text);
    Reparagraph(box);
    return box.Text();
  };
  on("RunPgm", RunPgmClick);
  on("Indent", IndentClick);
  on("Upper", [] { CaseClick(TCaseChange::Upper); });
  on("Lower", [] { CaseClick(TCaseChange::Lower); });
  on("Switch", [] { CaseClick(TCaseChange::Switch); });
  on("Mixed", MixedClick);
}

}  // namespace quorrel
