#include "shell/StatusBar.h"

#include <algorithm>

#include "platform/ResetRegistry.h"
#include "shell/FileRoutines.h"
#include "shell/IdleClock.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

int64_t StatusShownAt = 0;
std::string StatusShownText;
TMessageColour MessageColour = TMessageColour::Normal;

namespace {

bool EndsWord(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '=';
}

}  // namespace

bool ShowHexTicked() {
  TMenuItem* item = MainMenu().Find(ShowHexItem);
  return item && item->checked;
}

void SetMessageColour(TMessageColour colour) {
  if (colour == MessageColour) return;
  MessageColour = colour;
  if (TMainWindow* w = MainWindow()) w->SetMessageColour(colour);
}

void ShowStatusMessage(const std::string& message) {
  if (TMainWindow* w = MainWindow()) w->SetStatusText(MessagePanel, "  " + message);
}

void ShowStatus(const std::string& message) {
  StatusShownAt = IdleNow();
  TMainWindow* w = MainWindow();
  if (!w) return;
  if (message.empty()) {
    StatusShownText.clear();
    w->SetStatusText(MessagePanel, "");
    SetMessageColour(TMessageColour::Normal);
  } else {
    StatusShownText = "  " + message;
    if (CurrentEditor && CurrentEditor->Modified()) StatusShownText += "  Modified";
    w->SetStatusText(MessagePanel, StatusShownText);
    SetMessageColour(ShowHexTicked() ? TMessageColour::Normal : TMessageColour::Orange);
  }
  w->ShowPendingChanges();
}

void ShowInfo() {
  ShowInfo(StatusText);
}

std::string DocumentInfoText(const std::string& path, const std::string& text) {
  const auto lines = std::count(text.begin(), text.end(), '\n');
  return DateSize(path) + "    " + std::to_string(lines) + " lines";
}

void ShowInfo(const std::string& message) {
  if (!CurrentEditor) return;
  std::string text = message;
  if (CurrentEditor->SelLength() > 0) {
    const std::string selected = CurrentEditor->SelText();
    const size_t words = CountWords(selected);
    if (words > 5 || selected.size() > 30) {
      text += ", " + std::to_string(words) + (words == 1 ? " word, " : " words, ") +
              std::to_string(selected.size()) + " bytes";
    }
  }
  if (TMainWindow* w = MainWindow()) w->SetStatusText(InfoPanel, "      " + text);
}

size_t CountWords(std::string_view text) {
  size_t words = 0;
  for (size_t i = 1; i < text.size(); ++i) {
    if (EndsWord(text[i]) && !EndsWord(text[i - 1]) &&
        (i + 1 >= text.size() || text[i + 1] != '-')) {
      ++words;
    }
  }
  // A selection usually ends inside a line: its last word has nothing after it.
  if (!text.empty() && !EndsWord(text.back())) ++words;
  return words;
}

void ResetStatusBar() {
  StatusShownAt = 0;
  StatusShownText.clear();
  MessageColour = TMessageColour::Normal;
}

namespace {
const TResetEntry resetStatusBar(ResetStatusBar);
}  // namespace

}  // namespace quorrel
