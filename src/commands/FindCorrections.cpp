#include "commands/FindCorrections.h"

#include <string>

#include "commands/FindState.h"
#include "shell/BlinkJob.h"
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

constexpr int FoundBlinkJob = 6;

// Shows a correction found: caret at it, nothing selected, in view, blinking.
void ShowCorrection(TMyRich& editor, size_t at) {
  FocusEditor();
  ScrollToPos(at, true);
  editor.Select(at, 0);
  StdCursor();
  StartBlink(at, 0, false, FoundBlinkJob);
  FindState.found = true;
}

void NotFound(TMyRich& editor) {
  FindState.found = false;
  editor.Select(editor.SelStart(), 0);
  ShowStatus(std::string("Not found: \"") + CorrectionsText + "\"");
}

}  // namespace

size_t NextCorrection(const TMyRich& editor, size_t from) {
  const size_t length = editor.TextLength();
  for (size_t pos = from; pos < length; ++pos) {
    if (editor.CharColour(pos) == CorrectionColour) return pos;
  }
  return std::string::npos;
}

void FindCorrClick() {
  if (!CurrentEditor) return;
  TMyRich& editor = *CurrentEditor;
  size_t caret = editor.SelStart();
  if (caret + 2 >= editor.TextLength()) caret = 0;
  // F3 goes on from here as a Find of the corrections.
  FindAnswers.findText = CorrectionsText;
  FindAnswers.hex = false;
  FindState.lastCommand = FindCommand;
  FindState.replaceMode = false;
  FindState.blockReplace = false;
  FindState.inSection = false;
  const size_t at = NextCorrection(editor, caret);
  if (at == std::string::npos) {
    NotFound(editor);
    return;
  }
  ShowCorrection(editor, at);
}

bool FindCorrectionRun(bool next) {
  if (!CurrentEditor) return false;
  TMyRich& editor = *CurrentEditor;
  const size_t length = editor.TextLength();
  size_t from = 0;
  if (next && FindState.found) {
    // Past the correction found last; a document that ends in one ends the search.
    from = editor.SelStart();
    while (from < length && editor.CharColour(from) == CorrectionColour) from += 2;
  }
  const size_t at = from < length ? NextCorrection(editor, from) : std::string::npos;
  CurrentCommand.clear();
  if (at == std::string::npos) {
    NotFound(editor);
    return false;
  }
  ShowCorrection(editor, at);
  return true;
}

}  // namespace quorrel
