#include "music/ReportView.h"

#include <cstddef>

#include "platform/Chars.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

TReportViewer* viewer = nullptr;
std::function<void()> pausePlayerHook;
std::function<void()> caretRefreshHook;

// Reads the digits at pos into value; false when there are none or too many.
bool ReadNumber(const std::string& text, size_t& pos, long& value) {
  size_t start = pos;
  value = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    // Line numbers of real documents stay far below this.
    if (value > 99'999'999) return false;
    value = value * 10 + (text[pos] - '0');
    ++pos;
  }
  return pos > start;
}

}  // namespace

void SetReportViewer(TReportViewer* newViewer) {
  viewer = newViewer;
}
TReportViewer* ReportViewer() {
  return viewer;
}

void ShowReportViewer() {
  if (viewer) viewer->Show();
}

void CloseReportViewer() {
  if (viewer && viewer->Showing()) viewer->Close();
}

std::optional<TReportPlace> ParseReportLine(const std::string& message) {
  if (message.find('[') != std::string::npos) return std::nullopt;
  size_t pos = 0;
  if (message.empty() || !IsDigit(message[0])) {
    size_t at = message.find(" in line");
    if (at == std::string::npos) return std::nullopt;
    pos = message.find_first_of("0123456789", at);
    if (pos == std::string::npos) return std::nullopt;
  }
  TReportPlace place;
  if (!ReadNumber(message, pos, place.line) || place.line < 1) return std::nullopt;
  if (pos < message.size() && (message[pos] == '-' || message[pos] == '.' || message[pos] == ':')) {
    ++pos;
    long column = 0;
    if (ReadNumber(message, pos, column)) place.column = column;
  }
  return place;
}

bool ReportLineClicked(const std::string& message) {
  std::optional<TReportPlace> place = ParseReportLine(message);
  if (!place || !CurrentEditor) return false;
  TMyRich& editor = *CurrentEditor;
  // Beyond the last line the caret goes to the end of the text.
  size_t line = static_cast<size_t>(place->line - 1);
  size_t pos = editor.TextLength();
  if (line < editor.LineCount()) {
    pos = editor.LineIndex(line);
    size_t column = static_cast<size_t>(place->column);
    size_t length = editor.LineLength(line);
    pos += column < length ? column : length;
  }
  editor.Select(pos, 0);
  editor.ScrollCaret();
  if (pausePlayerHook) pausePlayerHook();
  if (editor.CanFocus()) editor.SetFocus();
  if (caretRefreshHook) caretRefreshHook();
  return true;
}

void SetReportJumpHooks(std::function<void()> pausePlayer,
                        std::function<void()> scheduleCaretRefresh) {
  pausePlayerHook = std::move(pausePlayer);
  caretRefreshHook = std::move(scheduleCaretRefresh);
}

void ResetReportView() {
  viewer = nullptr;
  pausePlayerHook = nullptr;
  caretRefreshHook = nullptr;
}

}  // namespace quorrel
