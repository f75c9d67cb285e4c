#include "shell/Documents.h"

#include <algorithm>

#include "platform/IniFile.h"
#include "platform/Instances.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/ClassifyDocument.h"
#include "shell/DBoxUnit.h"
#include "shell/DocumentsPending.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

struct TCaretSave {
  bool saved = false;
  size_t line = 1;  // 1-based
  size_t column = 0;
  size_t firstVisible = 0;
} caretSave;

std::string WithoutCr(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

void ThisChange() {
  DocModified = true;
}

// The HTML working copy has one character per line end, as the editor has; other
// texts have two.
size_t TextOffsetOf(size_t pos) {
  if (!CurrentEditor) return pos;
  return CurrentText.find('\r') == std::string::npos ? pos : CurrentEditor->PosToOffset(pos);
}

size_t EditorPosOf(size_t offset) {
  if (!CurrentEditor) return offset;
  return CurrentText.find('\r') == std::string::npos ? offset : CurrentEditor->OffsetToPos(offset);
}

void FitLineEnds() {
  if (IsHtml && !ClosingAll) {
    if (CurrentText.find('\r') != std::string::npos) CurrentText = WithoutCr(CurrentText);
  } else {
    size_t lf = 0, cr = 0;  // one pass: this runs at every tab change
    for (const char c : CurrentText) {
      lf += c == '\n';
      cr += c == '\r';
    }
    if (cr < lf) CurrentText = WithCrLf(CurrentText);
  }
}

void GetEditorText() {
  if (!DocModified) return;
  if (!CurrentEditor) {
    CurrentText.clear();
    DocModified = false;
    return;
  }
  // Qt has delivered every typed key before a command runs, so nothing is pending.
  CurrentText = CurrentEditor->GetText();
  FitLineEnds();
  if (!CurrentText.empty() && CurrentText.back() != '\n') CurrentText += "\r\n";
  DocModified = false;
}

void TakeEditorText(std::string text) {
  CurrentText = std::move(text);
  if (IsHtml && !ClosingAll) FitLineEnds();  // others are CR LF already
  if (!CurrentText.empty() && CurrentText.back() != '\n') CurrentText += "\r\n";
  DocModified = false;
}

std::string TabCaptionFor(const std::string& fileName, int tabWidth, std::string* hint) {
  std::string name = ExtractFileName(fileName);
  size_t dot = name.find('.');
  size_t n = dot == std::string::npos ? name.size() : dot + 1;
  size_t width = static_cast<size_t>(std::max(tabWidth, 1));
  if (n > width) {
    if (hint) *hint = fileName;
    std::string tail = dot == std::string::npos ? name.substr(name.size() - 1) : name.substr(dot);
    return name.substr(0, width - 1) + ".." + tail;
  }
  if (hint) hint->clear();
  return name;
}

void SetTabCaption(const std::string& fileName) {
  TMainWindow* w = MainWindow();
  if (!w || w->ActiveTab() < 0) return;
  std::string hint;
  std::string caption = TabCaptionFor(fileName, TabWidth, &hint);
  w->SetTabCaption(w->ActiveTab(), caption, hint);
}

std::string MainCaption() {
  if (!CurrentEditor) return "Quorrel";
  if (IsContentDoc) return "Updating " + CurrentPageName;
  return CurrentFileName + " - Quorrel v. " + QUORREL_VERSION + ", " + BuildDate;
}

void SaveCaretPos() {
  if (caretSave.saved || !CurrentEditor) return;
  TMyRich& e = *CurrentEditor;
  size_t pos = e.SelStart();
  size_t line = e.LineFromChar(pos);
  caretSave.line = line + 1;
  caretSave.column = TextOffsetOf(pos) >= CurrentText.size() ? 0 : pos - e.LineIndex(line);
  caretSave.firstVisible = e.FirstVisibleLine();
  caretSave.saved = true;
}

void RestoreCaretPos() {
  if (!caretSave.saved) return;
  caretSave.saved = false;
  if (!CurrentEditor) return;
  TMyRich& e = *CurrentEditor;
  e.ScrollLines(static_cast<long>(caretSave.firstVisible) -
                static_cast<long>(e.FirstVisibleLine()));
  e.Select(e.LineIndex(caretSave.line - 1) + caretSave.column, 0);
}

void ReleaseCaretPos() {
  caretSave.saved = false;
}

bool IsPosOnScreen(size_t position) {
  if (!CurrentEditor) return false;
  return position >= CurrentEditor->FirstVisiblePos() && position <= CurrentEditor->BottomLeftPos();
}

void ScrollToPos(size_t position, bool withContext) {
  if (!CurrentEditor) return;
  TMyRich& e = *CurrentEditor;
  if (AppPhase == PhaseStarting) {
    e.Select(position, 0);
    return;
  }
  BeginBusy();
  if (withContext && IsPosOnScreen(position)) {
    e.Select(position, 0);
    return;
  }
  // The target's line to the top of the view (as far as the text allows), then the
  // caret into view, should a long wrapped line hold it lower. Never by way of the
  // end of the text: that would lay the whole text out first.
  e.Select(position, 0);
  e.ScrollLines(static_cast<long>(e.LineFromChar(e.SelStart())) -
                static_cast<long>(e.FirstVisibleLine()));
  e.ScrollCaret();
  if (withContext) e.ScrollLines(-15);
  size_t line = e.LineFromChar(e.SelStart()) + 1;
  if (line > 30 && e.LineCount() - line < 31) {
    e.ScrollToBottom();
    e.ScrollLines(-29);
    e.ScrollCaret();
  }
}

void BeginBusy() {
  TMainWindow* w = MainWindow();
  if (w) {
    w->SetBusyCursor(true);
    w->ShowPendingChanges();
  }
  if (CurrentEditor) CurrentEditor->SetRedraw(false);
  Busy = true;
  if (AppPhase == PhaseRunning) IdleReady = true;
}

void StdCursor() {
  if (TMainWindow* w = MainWindow()) {
    w->SetBusyCursor(false);
    w->SetTabsVisible(true);
  }
  if (CurrentEditor) CurrentEditor->SetRedraw(true);
  Busy = false;
}

void HideUpdates() {
  if (CurrentEditor) CurrentEditor->SetRedraw(false);
}

void ShowUpdates() {
  if (CurrentEditor) CurrentEditor->SetRedraw(true);
}

void FocusEditor() {
  if (CurrentEditor && CurrentEditor->CanFocus()) CurrentEditor->SetFocus();
}

void ApplyWordWrap() {
  if (!CurrentEditor) return;
  bool wrap = MainMenu().Checked("WordWrap");
  if (CurrentEditor->WordWrap() == wrap) return;
  // The control keeps its text through the change; only the view moves.
  CurrentEditor->SetWordWrap(wrap);
  ScrollToPos(CurrentEditor->SelStart(), true);
}

size_t CountLineBreaks(size_t n) {
  n = std::min(n, CurrentText.size());
  return std::count(CurrentText.begin(), CurrentText.begin() + n, '\n');
}

void TabClick(bool next) {
  TMainWindow* w = MainWindow();
  if (!w || w->TabCount() == 0) return;
  int count = w->TabCount();
  int tab = w->ActiveTab();
  tab = next ? (tab + 1) % count : (tab + count - 1) % count;
  w->ActivateTab(tab);
  PCChange();
}

void GetHighest() {
  HighestFolder.clear();
  for (const auto& path : OpenFiles) {
    if (path.empty() || path.find("PHP_errors.log") != std::string::npos) continue;
    std::string folder = ExtractFilePath(path);
    // The root folder is no site's top; names differ by case on Linux.
    if (folder.size() <= 1) continue;
    if (HighestFolder.empty()) {
      HighestFolder = folder;
    } else if (folder.size() <= HighestFolder.size() && HighestFolder.starts_with(folder)) {
      HighestFolder = folder;
    }
  }
}

int NewDocumentTab(const std::string& path) {
  TMainWindow* w = MainWindow();
  if (!w) throw std::logic_error("No main window for a new tab");
  // The markers belong to the document being left: they are kept before the new
  // tab's document takes them over.
  if (CurrentEditor) SaveMarkersHook();
  ClearMarkerPositionsHook();
  w->HideMarkers();
  if (OpenFiles.size() >= static_cast<size_t>(MaxTabs)) {
    ShowErrorAndAbort(
        "Too many tabs have been opened!\rClose some if there are still many open, come out of "
        "Quorrel and try again.");
  }
  TMyRich* editor = w->NewTab();
  std::string font = "FixedSys";
  int size = 9;
  bool bold = false;
  if (SettingsIni) {
    font = SettingsIni->ReadString("Text", "Font", font);
    size = SettingsIni->ReadInteger("Text", "FontSize", size);
    bold = SettingsIni->ReadBool("Text", "FontBold", bold);
  }
  editor->SetEditorFont(font, size, bold);
  editor->SetPlainText(true);
  editor->SetWordWrap(MainMenu().Checked("WordWrap"));
  editor->SetOnChange(ThisChange);
  OpenFiles.push_back(path);
  int slot = static_cast<int>(OpenFiles.size()) - 1;
  editor->SetTag(slot);
  FileAges[slot] = 0;
  w->ActivateTab(w->TabCount() - 1);
  return slot;
}

int TabOfSlot(int slot) {
  TMainWindow* w = MainWindow();
  if (!w) return -1;
  for (int i = 0; i < w->TabCount(); ++i) {
    if (w->TabEditor(i)->Tag() == slot) return i;
  }
  return -1;
}

std::string TabPath(int tab) {
  TMainWindow* w = MainWindow();
  if (!w || tab < 0 || tab >= w->TabCount()) return "";
  int slot = w->TabEditor(tab)->Tag();
  return slot >= 0 && slot < static_cast<int>(OpenFiles.size()) ? OpenFiles[slot] : "";
}

void ResetDocuments() {
  caretSave = TCaretSave{};
}

namespace {
const TResetEntry resetDocuments(ResetDocuments);
}  // namespace

}  // namespace quorrel
