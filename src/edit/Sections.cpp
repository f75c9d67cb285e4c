#include "edit/Sections.h"

#include <algorithm>
#include <cstdlib>

#include "edit/SectionRules.h"
#include "platform/ResetRegistry.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

std::vector<std::string> SectionCaptions;
std::string SectionTypeAhead;

namespace {

constexpr int FirstTop = 5;
constexpr int FirstLeft = 12;
constexpr int RowStep = 17;
// A caption longer than this is cut to its first ShortCaption characters and "...".
constexpr size_t LongCaption = 36;
constexpr size_t ShortCaption = 33;
constexpr const char* Articles[] = {"A ", "LA ", "LE ", "THE ", "DIE "};

// The list and the state of one build.
TSectionsBox box;
int top = FirstTop;
int left = FirstLeft;
int widest = 0;
int listed = 0;
size_t lastStart = std::string::npos;
int pageHeight = 0;
int highlighted = -1;
// Captions are measured only for a list that may be shown: the idle pass's quiet
// builds need the names and starts alone.
bool measure = false;
// A key moved the highlight since the last idle pass.
bool keyMoved = false;

// An empty list, laid out from the top left.
void ResetBuildState() {
  box = TSectionsBox{};
  top = FirstTop;
  left = FirstLeft;
  widest = 0;
  listed = 0;
  lastStart = std::string::npos;
  highlighted = -1;
}

// FixColumnWidths: every label of the current column takes its widest width.
void FixColumnWidths() {
  for (TSectionLabel& label : box.labels) {
    if (label.left == left) label.width = widest;
  }
}

// The copy of a name that the type-ahead text is matched against.
std::string MatchingCopy(const std::string& name, bool bracketed) {
  std::string copy = UpperCaseLatin1(name);
  if (copy.find(':') != std::string::npos && !copy.empty() &&
      (copy[0] == ' ' || (copy[0] >= '0' && copy[0] <= '9') || copy[0] == ':')) {
    const size_t blank = copy.find(' ');
    copy = blank == std::string::npos ? std::string() : TrimQuotes(copy.substr(blank));
  }
  const size_t tab = copy.rfind('\t');
  if (tab != std::string::npos) copy.erase(0, tab + 1);
  for (const char* article : Articles) {
    if (copy.starts_with(article)) copy.erase(0, std::string(article).size());
  }
  if (bracketed && !copy.empty() && (copy[0] == '#' || copy[0] == '%' || copy[0] == '.')) {
    copy.erase(0, 1);
  }
  return copy;
}

size_t StartOf(const std::string& entry) {
  return static_cast<size_t>(std::strtoull(entry.c_str(), nullptr, 10));
}

void HideList() {
  if (TMainWindow* w = MainWindow()) w->HideSectionsBox();
}

size_t CaretOffset() {
  GetEditorText();
  return TextOffsetOf(CurrentEditor->SelStart());
}

}  // namespace

bool MatchesTypeAhead(const std::string& name, const std::string& typeAhead, bool css,
                      bool bracketed) {
  const std::string copy = MatchingCopy(name, bracketed);
  if (copy.empty()) return false;
  if (typeAhead.empty()) return true;
  if (css) {
    std::string spaced = " " + copy;
    std::replace(spaced.begin(), spaced.end(), '#', ' ');
    std::replace(spaced.begin(), spaced.end(), '.', ' ');
    return spaced.find(" " + typeAhead) != std::string::npos;
  }
  return copy.starts_with(typeAhead) || UpperCaseLatin1(name).starts_with(typeAhead);
}

void AddSection(const std::string& rawName, size_t offset) {
  const std::string name = TrimQuotes(rawName);
  if (name.empty()) return;
  if (!MatchesTypeAhead(name, SectionTypeAhead, CurrentExt == ".CSS", IsLog)) return;
  ++listed;
  TMainWindow* w = MainWindow();
  if (top > pageHeight - 32) {
    FixColumnWidths();
    top = FirstTop;
    widest = 0;
    left = box.width + 12;
  }
  TSectionLabel label;
  // The part after the separator: a tab, or two tabs together.
  size_t partAt = 0;
  const size_t tab = name.find('\t');
  if (tab != std::string::npos) partAt = tab + (name.compare(tab + 1, 1, "\t") == 0 ? 2 : 1);
  const std::string part = name.substr(partAt);
  if (part.size() > LongCaption) {
    label.hint = part;
    label.caption = name.substr(0, partAt) + part.substr(0, ShortCaption) + "...";
  } else {
    label.caption = name;
  }
  label.left = left;
  label.top = top;
  if (measure) {
    label.width = w ? w->SectionTextWidth(label.caption) : DefaultSectionTextWidth(label.caption);
  }
  widest = std::max(widest, label.width);
  box.width = std::max(box.width, left + widest + 20);
  top += RowStep;
  if (top > box.height) box.height = top + 16;
  SectionCaptions.push_back(label.caption);
  box.labels.push_back(std::move(label));
  // A start on a line end belongs to the line after it.
  while (offset + 1 < CurrentText.size() &&
         (CurrentText[offset] == '\n' || CurrentText[offset] == '\r')) {
    ++offset;
  }
  SectionLines.push_back(std::to_string(offset));
  lastStart = offset;
}

size_t LastSectionStart() {
  return lastStart;
}

void SectionsClick(const std::string& command) {
  TMainWindow* w = MainWindow();
  const bool typeAhead = command == TypeAheadCommand;
  if (SectionsBoxShowing() && !typeAhead) {
    HideList();
    FocusEditor();
    return;
  }
  // The idle pass rebuilds quietly, without the busy cursor flickering.
  if (!command.empty()) BeginBusy();
  SectionLines.clear();
  SectionCaptions.clear();
  HideList();
  ResetBuildState();
  box.left = MainMenu().Find("ScriptMenu") && MainMenu().Find("ScriptMenu")->visible ? 300 : 360;
  box.background = IsRtf ? RtfSectionsBackground : -1;
  measure = !command.empty();
  pageHeight = w ? w->PageControlHeight() : 600;
  // A page control squeezed to almost nothing lays the list out for the screen.
  if (pageHeight < 300) pageHeight = (w ? w->ScreenHeight() : 800) - 50;

  FindSections(!command.empty());

  if (!box.labels.empty()) {
    MainMenu().SetVisible(SectionsCommand, true);
    if (command.empty()) return;
    if (listed == 1) {
      ThisSectClick(0);
      return;
    }
    FixColumnWidths();
    if (command != SectionsCommand && !typeAhead) return;
    const int pageWidth = w ? w->PageControlWidth() : 800;
    if (box.left + box.width > pageWidth) {
      box.left = 0;
      box.width = pageWidth;
    }
    box.top = listed < 7 ? 44 : 0;
    if (w) w->ShowSectionsBox(box);
    keyMoved = false;
    Highlight(0);
    return;
  }
  if (!IsAbc) MainMenu().SetVisible(SectionsCommand, !SectionTypeAhead.empty());
  SectionLines.clear();
}

const TSectionsBox& SectionsBox() {
  return box;
}

bool SectionsBoxShowing() {
  TMainWindow* w = MainWindow();
  return w && w->SectionsBoxShowing();
}

bool SectionsBoxFocused() {
  TMainWindow* w = MainWindow();
  return w && w->SectionsBoxFocused();
}

int HighlightedSection() {
  return highlighted;
}

void Highlight(int index) {
  if (index < 0 || index >= static_cast<int>(box.labels.size())) return;
  highlighted = index;
  if (TMainWindow* w = MainWindow()) w->HighlightSectionLabel(index);
}

void HighlightSection(int index) {
  keyMoved = true;
  Highlight(index);
}

bool SectionHidden(int /*index*/) {
  // Sections the type-ahead text leaves out are not listed at all.
  return false;
}

int SectionsPerColumn() {
  if (box.labels.empty()) return 1;
  const int firstLeft = box.labels.front().left;
  return static_cast<int>(
      std::count_if(box.labels.begin(), box.labels.end(),
                    [&](const TSectionLabel& l) { return l.left == firstLeft; }));
}

void ThisSectClick(int index) {
  if (index < 0 || static_cast<size_t>(index) >= SectionLines.size() ||
      static_cast<size_t>(index) >= box.labels.size() || !CurrentEditor) {
    return;
  }
  const TSectionLabel& label = box.labels[index];
  CurrentPageName = label.hint.empty() ? label.caption : label.hint;
  GetEditorText();
  ScrollToPos(EditorPosOf(StartOf(SectionLines[index])), false);
  CurrentEditor->Select(CurrentEditor->SelStart(), 0);
  HideList();
  SectionLines.clear();
  SectionCaptions.clear();
  FocusEditor();
}

void PseudoExit() {
  if (keyMoved || !SectionsBoxShowing()) return;
  HideList();
  FocusEditor();
}

void SectionsIdlePassed() {
  keyMoved = false;
}

void PNSectClick(bool next) {
  TMenuItem* item = MainMenu().Find(SectionsCommand);
  if (!item || !item->visible) {
    ShowStatus(NoSectionsMessage);
    return;
  }
  if (!CurrentEditor) return;
  SectionsClick("");
  size_t caret = CaretOffset();
  const std::string& text = CurrentText;
  std::vector<size_t> starts;
  for (const std::string& entry : SectionLines) starts.push_back(StartOf(entry));
  size_t target = text.size();
  if (next) {
    // On an empty line's line end the next section may be the one starting just after it.
    if (text.compare(caret, 4, "\r\n \r") == 0) caret += 2;
    for (size_t start : starts) {
      if (start > caret) {
        target = start;
        break;
      }
    }
  } else {
    target = starts.empty() ? 0 : starts.front();
    for (size_t start : starts) {
      if (start < caret) target = start;
    }
  }
  ScrollToPos(EditorPosOf(target), true);
  FocusEditor();
}

void SelSectClick() {
  if (!CurrentEditor) return;
  if (SectionLines.empty()) SectionsClick("");
  const size_t caret = CaretOffset();
  const TSectionAt at = SectionAt(caret);
  const size_t start = at.index < 0 ? 0 : at.start;
  const size_t end = std::min(at.next, CurrentText.size());
  if (end < start + 2) {
    CurrentEditor->Select(0, CurrentEditor->TextLength());
    return;
  }
  const size_t from = EditorPosOf(start);
  CurrentEditor->Select(from, EditorPosOf(end) - from);
}

TSectionAt SectionAt(size_t offset) {
  auto startOf = [](const std::string& entry) {
    char* end = nullptr;
    const unsigned long long start = std::strtoull(entry.c_str(), &end, 10);
    return end == entry.c_str() ? std::string::npos : static_cast<size_t>(start);
  };
  TSectionAt at;
  for (size_t i = 0; i < SectionLines.size(); ++i) {
    const size_t start = startOf(SectionLines[i]);
    if (start != std::string::npos && start <= offset) {
      at.index = static_cast<int>(i);
      at.start = start;
    }
  }
  const size_t next = at.index < 0 ? 0 : static_cast<size_t>(at.index) + 1;
  if (next < SectionLines.size()) at.next = startOf(SectionLines[next]);
  return at;
}

std::string SectionPanelText(int index) {
  std::string name = "[None]";
  if (index >= 0 && static_cast<size_t>(index) < SectionCaptions.size()) {
    name.clear();
    for (char c : SectionCaptions[index]) {
      if (c == '\t') {
        name += "   ";
      } else {
        name += c;
      }
    }
  }
  return "Section: " + name;
}

void InstallSectionCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler(SectionsCommand, [](const TMenuItem&) { SectionsClick(SectionsCommand); });
  menu.SetHandler("PrevSection", [](const TMenuItem&) { PNSectClick(false); });
  menu.SetHandler("NextSection", [](const TMenuItem&) { PNSectClick(true); });
  // A script's sections are its scenes.
  menu.SetHandler("PrevScene", [](const TMenuItem&) { PNSectClick(false); });
  menu.SetHandler("NextScene", [](const TMenuItem&) { PNSectClick(true); });
  menu.SetHandler("SelSect", [](const TMenuItem&) { SelSectClick(); });
}

void ResetSections() {
  SectionCaptions.clear();
  SectionTypeAhead.clear();
  ResetBuildState();
  keyMoved = false;
}

namespace {
const TResetEntry resetSections(ResetSections);
}  // namespace

}  // namespace quorrel
