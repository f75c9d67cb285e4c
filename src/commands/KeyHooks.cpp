#include "commands/KeyHooks.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "commands/IdleLoop.h"
#include "commands/StartUp.h"
#include "edit/Sections.h"
#include "edit/TypingAids.h"
#include "music/MidiRatio.h"
#include "music/MyPlayer.h"
#include "music/PlayerBar.h"
#include "music/ReportView.h"
#include "platform/ResetRegistry.h"
#include "shell/BlinkJob.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "shell/Timer.h"

namespace quorrel {

namespace {

TKeyHooks hooks;

bool Run(const std::function<bool()>& hook) {
  return hook && hook();
}

// A command of the program's own when it has one (copy, paste).
bool RunItem(const char* name) {
  if (!MainMenu().HasHandler(name)) return false;
  MainMenu().Click(name);
  return true;
}

// The clipboard keys work whatever the Edit menu last found when it opened:
// Copy with nothing selected takes the current section.
bool RunClipboardItem(const char* name) {
  if (!MainMenu().Find(name)) return false;
  MainMenu().SetEnabled(name, true);
  return RunItem(name);
}

// The editor's text with one character per line end, as positions count.
std::string EditorText(const TMyRich& editor) {
  std::string text = editor.GetText();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::string LineOf(const TMyRich& editor, size_t line) {
  return editor.TextRange(editor.LineIndex(line), editor.LineLength(line));
}

// Esc: the first of the states it ends; otherwise the section list is rebuilt on
// the next idle pass and the key goes on.
bool EscapeKey() {
  if (Run(hooks.endSpecialState)) return true;
  if (PlayPnl().Visible()) {
    ClosePClick();
    return true;
  }
  if (TReportViewer* viewer = ReportViewer(); viewer && viewer->Showing()) {
    CloseReportViewer();
    return true;
  }
  if (Run(hooks.cancelPendingCommand)) return true;
  if (Run(hooks.hideParagraphPanel)) return true;
  SectionLines.clear();
  return false;
}

// The keys of the shown Sections list.
bool SectionsBoxKey(const TKey& key) {
  if (!SectionsBoxShowing() || !SectionsBoxFocused()) return false;
  TMainWindow* w = MainWindow();
  switch (key.code) {
    case TKeyCode::Enter: {
      const int chosen = HighlightedSection();
      if (w) w->HideSectionsBox();
      if (chosen >= 0) ThisSectClick(chosen);
      return true;
    }
    case TKeyCode::Escape:
      if (w) w->HideSectionsBox();
      FocusEditor();
      return true;
    default:
      break;
  }
  const int target =
      SectionKeyTarget(key.code, HighlightedSection(), static_cast<int>(SectionCaptions.size()),
                       SectionsPerColumn(), SectionHidden);
  if (target >= 0) {
    HighlightSection(target);
    return true;
  }
  if (key.code == TKeyCode::Backspace) {
    if (!SectionTypeAhead.empty()) SectionTypeAhead.pop_back();
  } else if (static_cast<unsigned char>(key.ch) >= ' ' && !key.ctrl && !key.alt) {
    SectionTypeAhead += static_cast<char>(UpperCaseTable[static_cast<unsigned char>(key.ch)]);
  } else {
    return false;
  }
  SectionsClick("ABCMenu");
  return true;
}

bool LockKey(const TKey& key) {
  TMainWindow* w = MainWindow();
  if (key.code == TKeyCode::Insert && !key.shift && !key.ctrl && CurrentEditor) {
    const bool on = !CurrentEditor->Overwrite();
    CurrentEditor->SetOverwrite(on);
    // The mode is the insert mode: on while typing inserts.
    PlayWaveResource(on ? "Off" : "On");
    ShowStatus(on ? "INSERT MODE OFF" : "INSERT MODE ON");
    return true;
  }
  if (key.code == TKeyCode::CapsLock || key.code == TKeyCode::NumLock) {
    bool caps = false, num = false;
    if (w && w->LockKeyState(caps, num)) {
      PlayWaveResource((key.code == TKeyCode::CapsLock ? caps : num) ? "On" : "Off");
    }
  }
  return false;
}

// A blank typed in an HTML page: after a blank it alternates with "&nbsp;".
bool BlankKey(TMyRich& editor) {
  if (!IsHtml || IsServerPage || InScriptOrStyle || editor.SelLength() > 0) return false;
  const size_t pos = editor.SelStart();
  const size_t from = pos >= 8 ? pos - 8 : 0;
  const std::string before = editor.TextRange(from, pos - from);
  switch (BlankAfter(before)) {
    case TBlankTyped::Plain:
      return false;
    case TBlankTyped::EarlierToNbsp:
      editor.Select(pos - 1, 1);
      editor.SetSelText("&nbsp; ");
      return true;
    case TBlankTyped::TypedAsNbsp:
      editor.SetSelText("&nbsp;");
      return true;
  }
  return false;
}

// Enter at the end of a line ending with a list tag starts a list item.
bool ListItemKey(TMyRich& editor) {
  if (!IsHtml || editor.SelLength() > 0) return false;
  const size_t pos = editor.SelStart();
  const size_t line = editor.LineFromChar(pos);
  if (pos != editor.LineIndex(line) + editor.LineLength(line)) return false;
  if (!EndsWithListTag(LineOf(editor, line))) return false;
  editor.SetSelText("\r\n<LI></LI>");
  editor.Select(pos + 1 + 4, 0);
  return true;
}

bool NoteGroupKey(TMyRich& editor, bool forward) {
  const std::string text = EditorText(editor);
  const size_t pos = editor.SelStart();
  editor.Select(forward ? NextNoteGroup(text, pos) : PreviousNoteGroup(text, pos), 0);
  editor.ScrollCaret();
  return true;
}

// Enter keeps the indent of the line it breaks.
void IndentedLineBreak(TMyRich& editor) {
  const size_t line = editor.LineFromChar(editor.SelStart());
  const size_t blanks = LeadingBlanks(LineOf(editor, line));
  editor.SetSelText("\r\n" + std::string(blanks, ' '));
}

// Tab reaches the next word of a line above, else the next tab stop.
void SmartTab(TMyRich& editor) {
  const size_t pos = editor.SelStart();
  const size_t line = editor.LineFromChar(pos);
  const size_t column = pos - editor.LineIndex(line);
  size_t target = std::string::npos;
  for (size_t above = line; above-- > 0 && target == std::string::npos;) {
    target = WordColumnAbove(LineOf(editor, above), column);
  }
  if (target == std::string::npos) target = NextTabStop(column);
  editor.SetSelText(std::string(target - column, ' '));
}

bool StartedToPlay() {
  if (StartParameters.empty()) return false;
  const std::string first = UpperCaseAnsi(StartParameters.front());
  return first.starts_with("/T") ||
         (first.size() >= 4 && first.compare(first.size() - 4, 4, ".MID") == 0);
}

}  // namespace

int SectionKeyTarget(TKeyCode code, int highlighted, int count, int perColumn,
                     const std::function<bool(int)>& hidden) {
  if (count <= 0) return -1;
  auto visible = [&](int i) { return !hidden || !hidden(i); };
  // From an entry in a direction to the first visible one, not past the ends.
  auto seek = [&](int from, int step) {
    for (int i = std::clamp(from, 0, count - 1); i >= 0 && i < count; i += step) {
      if (visible(i)) return i;
    }
    return -1;
  };
  const int column = std::max(perColumn, 1);
  switch (code) {
    case TKeyCode::PageUp:
    case TKeyCode::Home:
      return seek(0, 1);
    case TKeyCode::PageDown:
    case TKeyCode::End:
      return seek(count - 1, -1);
    case TKeyCode::Up: {
      int to = seek(highlighted - 1, -1);
      return to >= 0 ? to : std::max(highlighted, seek(0, 1));
    }
    case TKeyCode::Down: {
      int to = seek(highlighted + 1, 1);
      return to >= 0 ? to : seek(std::max(highlighted, 0), -1);
    }
    case TKeyCode::Left: {
      int to = seek(highlighted - column, -1);
      return to >= 0 ? to : seek(0, 1);
    }
    case TKeyCode::Right: {
      int to = seek(highlighted + column, 1);
      return to >= 0 ? to : seek(count - 1, -1);
    }
    default:
      return -1;
  }
}

bool FormShortCut(const TKey& key) {
  // A blink stops at any key; the arrows take the caret to the blinking range's ends.
  if (Blinking()) {
    StopBlink(key.code == TKeyCode::Right);
    if (key.code == TKeyCode::Right || key.code == TKeyCode::Left) return true;
  }
  if (key.code == TKeyCode::Escape && EscapeKey()) return true;
  if (SectionsBoxKey(key)) return true;
  if ((key.ctrl && key.code == TKeyCode::C) || (key.ctrl && key.code == TKeyCode::Insert)) {
    return RunClipboardItem("Copy");
  }
  if ((key.shift && key.code == TKeyCode::Insert) || (key.ctrl && key.code == TKeyCode::V)) {
    return RunClipboardItem("Paste");
  }
  // Ctrl+X belongs to Strike-through; Shift+Del is the cut key.
  if (key.shift && !key.ctrl && !key.alt && key.code == TKeyCode::Delete) {
    return RunClipboardItem("Cut");
  }
  if (LockKey(key)) return true;
  TMyRich* editor = CurrentEditor;
  if (key.code == TKeyCode::Space && !key.ctrl && !key.alt) {
    if (Player.IsOpen && Timer().Enabled() && Timer().Interval() == PlayerTimerInterval) {
      Player.PauseResume();
      return true;
    }
    if (editor && BlankKey(*editor)) return true;
  }
  if (!editor) return false;
  if (IsAbc && key.ctrl && !key.shift &&
      (key.code == TKeyCode::Right || key.code == TKeyCode::Left)) {
    return NoteGroupKey(*editor, key.code == TKeyCode::Right);
  }
  if (key.code == TKeyCode::Enter && !key.ctrl && !key.alt && !key.shift && ListItemKey(*editor)) {
    return true;
  }
  return false;
}

bool MyKeyPress(char key) {
  TMyRich* editor = CurrentEditor;
  if (!editor || IsRtf) return false;
  const bool beforeEnd = editor->SelStart() < editor->TextLength();
  if (key == '\r' && beforeEnd) {
    IndentedLineBreak(*editor);
    return true;
  }
  if (key == '\t' && beforeEnd) {
    SmartTab(*editor);
    return true;
  }
  if (IsAbc && (key == '<' || key == '>') && !RatioOffered) {
    const size_t pos = editor->SelStart();
    if (pos > 0 && editor->TextRange(pos - 1, 1) == "!") return false;
    editor->SetSelText(std::string(1, key));
    RatioOffered = true;
    OfferMidiRatio();
    return true;
  }
  return false;
}

bool TypingInCorrectionColour() {
  TMenuItem* item = MainMenu().Find(CorrectingItem);
  return IsRtf && item && item->checked && !MainMenu().Checked("Raw") && CurrentEditor &&
         !CurrentEditor->PlainText();
}

bool AppEvKey(const TKey& key) {
  if (!Run(hooks.browserActive)) return false;
  if (key.code == TKeyCode::F5 && !key.ctrl && !key.alt && !key.shift) {
    if (CurrentEditor && CurrentEditor->Modified()) SaveClick("NoRun");
    MainMenu().Click("BuildOne");
    return true;
  }
  if (key.ctrl && key.code == TKeyCode::Right && hooks.browserForward) {
    hooks.browserForward();
    return true;
  }
  if (key.ctrl && key.code == TKeyCode::Left && hooks.browserBack) {
    hooks.browserBack();
    return true;
  }
  return false;
}

void EditorScrollBarClicked() {
  if (TMainWindow* w = MainWindow()) w->HideMarkers();
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const size_t firstLineEnd = editor->LineLength(0);
  if (editor->SelStart() < firstLineEnd) editor->Select(firstLineEnd, 0);
}

void FormResize() {
  if (!StartedToPlay() && PlayPnl().Visible()) SetPanel();
  // Busy until the next idle pass: the editor is drawn once the size has settled.
  // (Not BeginBusy: no events may run inside the resize.)
  if (AppPhase != PhaseRunning || !CurrentEditor) return;
  if (TMainWindow* w = MainWindow()) w->SetBusyCursor(true);
  HideUpdates();
  Busy = true;
}

TKeyHooks& KeyHooks() {
  return hooks;
}

namespace {
TShortcutHandler replacedHandler;
}  // namespace

bool RunShortcutHandler(const TKey& key) {
  if (replacedHandler) {
    // A copy: the handler may put FormShortCut back while it runs.
    const TShortcutHandler handler = replacedHandler;
    return handler(key);
  }
  return FormShortCut(key);
}

void ReplaceShortcutHandler(TShortcutHandler handler) {
  replacedHandler = std::move(handler);
}

bool ShortcutHandlerReplaced() {
  return static_cast<bool>(replacedHandler);
}

void ResetKeyHooks() {
  hooks = TKeyHooks{};
  replacedHandler = nullptr;
}

namespace {
const TResetEntry resetKeyHooks(ResetKeyHooks);
}  // namespace

}  // namespace quorrel
