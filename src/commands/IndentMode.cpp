#include "commands/IndentMode.h"

#include "commands/KeyHooks.h"
#include "edit/LineCommands.h"
#include "platform/ResetRegistry.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "shell/TextLines.h"

namespace quorrel {

namespace {

constexpr char kStep[] = "  ";

// The block the mode works on, in editor positions.
struct TIndentBlock {
  TMyRich* editor = nullptr;
  size_t start = 0;
  size_t length = 0;
};
TIndentBlock block;
// The information line's own text while the mode's instructions stand in it.
std::string statusTextBefore;

// Moves the block by one step: its lines go through WorkList, and the result
// replaces the block and is selected again.
void MoveBlock(bool outdent) {
  TMyRich& editor = *block.editor;
  WorkList = LinesWithoutEnds(editor.TextRange(block.start, block.length));
  if (WorkList.empty()) WorkList.emplace_back();
  IndentLines(WorkList, outdent);
  const std::string text = JoinLines(WorkList, false);
  WorkList.clear();
  if (text != editor.TextRange(block.start, block.length)) {
    editor.Select(block.start, block.length);
    editor.SetSelText(text);
    block.length = editor.SelStart() - block.start;
  }
  editor.Select(block.start, block.length);
}

bool IndentShortCut(const TKey& key) {
  if (key.ctrl || key.alt || key.shift ||
      (key.code != TKeyCode::Left && key.code != TKeyCode::Right && key.code != TKeyCode::Enter &&
       key.code != TKeyCode::Escape)) {
    return FormShortCut(key);
  }
  const std::string outer = CurrentCommand;
  CurrentCommand = IndentCommand;
  try {
    if (block.editor != CurrentEditor) {
      // The document went away under the mode.
      EndIndentMode();
    } else if (key.code == TKeyCode::Left || key.code == TKeyCode::Right) {
      MoveBlock(key.code == TKeyCode::Left);
    } else {
      EndIndentMode();
    }
  } catch (...) {
    // No way out leaves the keys with the mode.
    CurrentCommand = outer;
    EndIndentMode();
    throw;
  }
  CurrentCommand = outer;
  return true;
}

}  // namespace

void IndentLines(std::vector<std::string>& lines, bool outdent) {
  for (std::string& line : lines) {
    if (!outdent) {
      line.insert(0, kStep);
    } else if (line.compare(0, 2, kStep) == 0) {
      line.erase(0, 2);
    } else if (!line.empty() && line[0] == ' ') {
      line.erase(0, 1);
    }
  }
}

void IndentClick() {
  EndIndentMode();
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const size_t selStart = editor->SelStart();
  const size_t selEnd = selStart + editor->SelLength();
  const size_t first = editor->LineFromChar(selStart);
  size_t last = editor->LineFromChar(selEnd);
  // A selection of whole lines ends at the start of the next: that one is not in it.
  if (last > first && editor->LineIndex(last) == selEnd) --last;
  block.editor = editor;
  block.start = editor->LineIndex(first);
  block.length = editor->LineIndex(last) + editor->LineLength(last) - block.start;
  editor->Select(block.start, block.length);
  ReplaceShortcutHandler(IndentShortCut);
  // The idle pass shows StatusText: the instructions stay while the mode lasts.
  statusTextBefore = StatusText;
  StatusText = IndentInfoText;
  ShowInfo(IndentInfoText);
}

bool InIndentMode() {
  return block.editor != nullptr;
}

void EndIndentMode() {
  if (!block.editor) return;
  TMyRich* editor = block.editor;
  block = {};
  ReplaceShortcutHandler(nullptr);
  StatusText = statusTextBefore;
  if (editor == CurrentEditor) {
    editor->Select(editor->SelStart(), 0);
    ShowInfo("");
  }
}

void ResetIndentMode() {
  block = {};
  statusTextBefore.clear();
  ReplaceShortcutHandler(nullptr);
}

namespace {
const TResetEntry resetIndentMode(ResetIndentMode);
}  // namespace

}  // namespace quorrel
