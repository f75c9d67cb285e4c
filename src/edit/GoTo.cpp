#include "edit/GoTo.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

std::function<TGotoChoice(TGotoFields&)> gotoForm;

void Buzz() {
  PlayWaveResource("Buzzer");
}

// Whether a field of the dialog holds a decimal number at all (blanks round it and
// a sign allowed), however large.
bool IsDecimal(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return false;
  if (text[i] == '-' || text[i] == '+') ++i;
  size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  while (i < text.size() && text[i] == ' ') ++i;
  return digits > 0 && i == text.size();
}

size_t LineStartOf(const std::string& text, size_t offset) {
  if (offset == 0) return 0;
  const size_t lf = text.rfind('\n', std::min(offset, text.size()) - 1);
  return lf == std::string::npos ? 0 : lf + 1;
}

// The stretches that the indent search passes over: from just after the "<" of
// "<SCRIPT" to the end of its "</SCRIPT" (or of the text).
std::vector<std::pair<size_t, size_t>> ScriptRanges(const std::string& text) {
  std::vector<std::pair<size_t, size_t>> ranges;
  size_t from = 1;
  for (;;) {
    const size_t open = PosNoCase("<SCRIPT", text, from);
    if (open == 0) break;
    const size_t close = PosNoCase("</SCRIPT", text, open + 7);
    const size_t end = close == 0 ? text.size() : close - 1 + 8;
    ranges.emplace_back(open - 1, end);
    if (close == 0) break;
    from = end + 1;
  }
  return ranges;
}

bool InScript(const std::vector<std::pair<size_t, size_t>>& ranges, size_t at) {
  auto it = std::upper_bound(ranges.begin(), ranges.end(), at,
                             [](size_t pos, const auto& range) { return pos < range.first; });
  if (it == ranges.begin()) return false;
  --it;
  return at > it->first && at < it->second;
}

size_t LeadingBlanks(const std::string& text, size_t start) {
  size_t i = start;
  while (i < text.size() && text[i] == ' ') ++i;
  return i - start;
}

bool TagsOnlyType() {
  return CurrentExt == ".HTM" || CurrentExt == ".HTML" || CurrentExt == ".DWT" ||
         CurrentExt == ".LBI" || CurrentExt == ".VBS" || CurrentExt == ".ASAX";
}

// The offset just after the line end of the line starting at start.
size_t NextLineStart(const std::string& text, size_t start) {
  const size_t lf = text.find('\n', start);
  return lf == std::string::npos ? text.size() : lf + 1;
}

}  // namespace

bool GotoLine(long long line) {
  if (!CurrentEditor) return false;
  if (line < 1) {
    Buzz();
    return false;
  }
  GetEditorText();
  size_t offset = 0;
  for (long long n = 1; n < line; ++n) {
    const size_t lf = CurrentText.find('\n', offset);
    if (lf == std::string::npos) {
      offset = CurrentText.size();
      break;
    }
    offset = lf + 1;
  }
  ScrollToPos(EditorPosOf(offset), true);
  return true;
}

void SetGotoForm(std::function<TGotoChoice(TGotoFields&)> show) {
  gotoForm = std::move(show);
}

void GotoMClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor || !gotoForm) return;
  GetEditorText();
  TGotoFields fields;
  fields.lineNo = std::to_string(editor->LineFromChar(editor->SelStart()) + 1);
  fields.offset = std::to_string(TextOffsetOf(editor->SelStart()));
  const TGotoChoice choice = gotoForm(fields);
  if (choice == TGotoChoice::Cancel) return;
  const std::string& field = choice == TGotoChoice::Line ? fields.lineNo : fields.offset;
  if (!IsDecimal(field)) {
    ShowMsg(NotDecimalMessage);
    return;
  }
  int value = 0;
  if (choice == TGotoChoice::Line) {
    if (!ParseInteger(field, 1, INT_MAX, value)) {
      Buzz();
      return;
    }
    GotoLine(value);
  } else {
    if (!ParseInteger(field, 0, INT_MAX, value)) {
      Buzz();
      return;
    }
    size_t offset = static_cast<size_t>(value);
    if (offset > CurrentText.size()) {
      Buzz();
      offset = CurrentText.size();
    }
    ScrollToPos(EditorPosOf(offset), true);
  }
  ScheduleTimerRefresh();
}

size_t IndentTarget(const std::string& text, size_t offset, bool next, bool tagsOnly) {
  const size_t here = LineStartOf(text, offset);
  const size_t indent = LeadingBlanks(text, here);
  const auto scripts = ScriptRanges(text);
  auto stops = [&](size_t start) {
    if (LeadingBlanks(text, start) != indent) return false;
    const size_t first = start + indent;
    if (first >= text.size()) return false;
    const unsigned char c = static_cast<unsigned char>(text[first]);
    if (tagsOnly ? c != '<' : c <= ' ') return false;
    return !InScript(scripts, first);
  };
  if (next) {
    for (size_t start = NextLineStart(text, here); start < text.size();
         start = NextLineStart(text, start)) {
      if (stops(start)) return start;
    }
  } else {
    size_t start = here;
    while (start > 0) {
      start = LineStartOf(text, start - 1);
      if (stops(start)) return start;
    }
  }
  return std::string::npos;
}

void IndentClick(bool next, bool select) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  GetEditorText();
  const size_t caret = TextOffsetOf(editor->SelStart());
  const size_t target = IndentTarget(CurrentText, caret, next, TagsOnlyType());
  if (target == std::string::npos) return;
  if (!select) {
    ScrollToPos(EditorPosOf(target), true);
    return;
  }
  const size_t here = LineStartOf(CurrentText, caret);
  const size_t from = std::min(here, target);
  const size_t to = NextLineStart(CurrentText, std::max(here, target));
  const size_t start = EditorPosOf(from);
  editor->Select(start, EditorPosOf(to) - start);
  editor->ScrollCaret();
}

void InstallGotoCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("GotoM", [](const TMenuItem&) { GotoMClick(); });
  menu.SetHandler("PrevIndent", [](const TMenuItem&) { IndentClick(false, false); });
  menu.SetHandler("NextIndent", [](const TMenuItem&) { IndentClick(true, false); });
  menu.SetHandler("SelPrevIndent", [](const TMenuItem&) { IndentClick(false, true); });
  menu.SetHandler("SelNextIndent", [](const TMenuItem&) { IndentClick(true, true); });
}

}  // namespace quorrel
