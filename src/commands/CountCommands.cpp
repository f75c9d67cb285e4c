#include "commands/CountCommands.h"

#include <algorithm>
#include <ctime>
#include <string_view>

#include "commands/ReportTab.h"
#include "edit/Sections.h"
#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/SmallForms.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

constexpr int kLabelWidth = 40;
constexpr int kBeforeTabWidth = 16;
constexpr int kWordsWidth = 6;
constexpr int kTotalWidth = 10;
// A scene label "12: Title" loses its number when the ":" comes this early.
constexpr size_t kSceneNumberColon = 4;

std::string Number(size_t value, int width) {
  return PadLeft(std::to_string(value), width);
}

// A label as the report shows it: the part before a tab padded, the tab gone,
// and the whole padded to the column.
std::string ReportLabel(const std::string& label) {
  // A label over several lines (a long CSS selector) stays on its report line.
  std::string shown;
  for (size_t i = 0; i < label.size(); ++i) {
    if (label[i] != '\r' && label[i] != '\n') {
      shown += label[i];
      continue;
    }
    while (i + 1 < label.size() &&
           std::string_view(" \t\r\n").find(label[i + 1]) != std::string_view::npos)
      ++i;
    shown += ' ';
  }
  const size_t tab = shown.find('\t');
  if (tab != std::string::npos) {
    const int before = std::max(kBeforeTabWidth, static_cast<int>(tab));
    shown = PadRightOrCut(shown.substr(0, tab), before) + shown.substr(tab + 1);
  }
  return PadRightOrCut(shown, kLabelWidth);
}

std::string SceneLabel(const std::string& label) {
  const size_t colon = label.find(':');
  if (colon == std::string::npos || colon >= kSceneNumberColon) return label;
  const size_t start = label.find_first_not_of(' ', colon + 1);
  return start == std::string::npos ? std::string() : label.substr(start);
}

// Only a control word of that name: "\pard" is not "\pardeftab", "\sl480" not "\sl4800".
bool WordEndsAt(const std::string& text, size_t at, bool digits) {
  if (at >= text.size()) return true;
  const char c = text[at];
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return false;
  return !digits || c < '0' || c > '9';
}

}  // namespace

std::string WordCountLine(size_t words, int64_t secondsSinceEpoch) {
  return FormatShortDate(secondsSinceEpoch) + ":  " + std::to_string(words);
}

std::vector<TSectionText> SectionTexts(const std::string& text, const std::vector<size_t>& starts,
                                       const std::vector<std::string>& labels) {
  std::vector<TSectionText> sections;
  for (size_t i = 0; i < starts.size() && i < labels.size(); ++i) {
    const size_t from = std::min(starts[i], text.size());
    const size_t to =
        i + 1 < starts.size() ? std::min(std::max(starts[i + 1], from), text.size()) : text.size();
    sections.push_back({labels[i], text.substr(from, to - from)});
  }
  return sections;
}

std::string SectionCountReport(const std::vector<TSectionText>& sections, bool script) {
  std::string report = std::string(script ? SceneCountHeader : SectionCountHeader) + "\r\n\r\n";
  size_t total = 0;
  for (size_t i = 0; i < sections.size(); ++i) {
    // The title page before the first scene is not spoken.
    const size_t words = script && i == 0 ? 0 : CountWords(sections[i].text);
    total += words;
    if (script) {
      report += "Scene " + Number(i, 2) + ":  " + ReportLabel(SceneLabel(sections[i].label)) +
                Number(words, kWordsWidth) + Number(total, kTotalWidth) +
                Number(words / kWordsPerMinute, kWordsWidth) +
                Number(total / kWordsPerMinute, kTotalWidth);
    } else {
      report +=
          ReportLabel(sections[i].label) + Number(words, kWordsWidth) + Number(total, kTotalWidth);
    }
    report += "\r\n";
  }
  return report;
}

std::string ScriptPagesLines(size_t lines) {
  return PadRightOrCut("Lines (from \"Scene:\")", kLabelWidth) + Number(lines, kWordsWidth) +
         "\r\n" + PadRightOrCut("Pages (equals minutes)", kLabelWidth) +
         Number(lines / kLinesPerPage, kWordsWidth) + "\r\n";
}

size_t FirstScene(const std::string& text) {
  const size_t at = text.find("Scene:");
  return at != std::string::npos ? at : text.find("Scene 1:");
}

bool PopUpText(const std::string& text, std::string& popUp) {
  size_t line = 0;
  while (line < text.size() && text.compare(line, 3, ".PU") != 0) {
    const size_t lf = text.find('\n', line);
    if (lf == std::string::npos) return false;
    line = lf + 1;
  }
  if (line >= text.size()) return false;
  // The fifth character after the line feed: ".PU" and one blank come first.
  const size_t from = std::min(line + 4, text.size());
  popUp = text.substr(from);
  return true;
}

std::string ToggleDoubleSpacing(const std::string& rtf) {
  const std::string doubled = "\\sl480";
  std::string out;
  out.reserve(rtf.size() + rtf.size() / 16);
  bool removed = false;
  for (size_t at = rtf.find(doubled); at != std::string::npos; at = rtf.find(doubled, at + 1)) {
    if (WordEndsAt(rtf, at + doubled.size(), true)) {
      removed = true;
      break;
    }
  }
  size_t from = 0;
  const std::string& word = removed ? doubled : std::string("\\pard");
  for (size_t at = rtf.find(word); at != std::string::npos; at = rtf.find(word, at + 1)) {
    if (!WordEndsAt(rtf, at + word.size(), removed)) continue;
    out.append(rtf, from, at - from);
    if (!removed) out += "\\pard" + doubled;
    from = at + word.size();
  }
  out.append(rtf, from, std::string::npos);
  return out;
}

void WordCountClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const bool selected = editor->SelLength() > 0;
  std::string text;
  if (selected) {
    text = editor->SelText();
  } else {
    GetEditorText();
    text = CurrentText;
  }
  const size_t words = CountWords(text);
  if (!selected && !IsHtml) {
    const size_t caret = editor->SelStart();
    const bool lineEnd = editor->LineLength(editor->LineCount() - 1) == 0;
    const std::string line = WordCountLine(words, static_cast<int64_t>(std::time(nullptr)));
    editor->Select(editor->TextLength(), 0);
    editor->SetSelText(lineEnd ? line + "\r\n" : "\r\n" + line);
    editor->Select(caret, 0);
    GetEditorText();
  }
  ShowStatus(std::to_string(words) + (words == 1 ? " word, " : " words, ") +
             std::to_string(text.size()) + " bytes");
}

void SectCountClick(bool names) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  GetEditorText();
  SectionsClick("");
  const std::string text = CurrentText;
  std::vector<size_t> starts;
  for (const std::string& line : SectionLines) starts.push_back(std::stoul(line));
  const std::vector<TSectionText> sections = SectionTexts(text, starts, SectionCaptions);
  std::string report;
  if (names) {
    for (const TSectionText& section : sections) report += section.label + "\r\n";
  } else {
    report = SectionCountReport(sections, IsScript);
    if (IsScript) {
      const size_t scene = FirstScene(text);
      if (scene == std::string::npos) {
        ShowMsg(NoFirstSceneMessage);
      } else {
        // Pages are measured as the script prints: at full size.
        const int zoom = editor->Zoom();
        editor->SetZoom(100);
        const size_t lines = editor->DisplayLinesFrom(editor->OffsetToPos(scene));
        editor->SetZoom(zoom);
        report += ScriptPagesLines(lines);
      }
    }
  }
  ShowReport(report);
}

void PuClick() {
  if (!CurrentEditor || !IsRtf || IsDotPage) return;
  GetEditorText();
  std::string text;
  if (!PopUpText(CurrentText, text)) {
    AskOkHelpCancel(NoPopUpMessage, NoPopUpHelp);
    Abort();
  }
  ShowPopUp(text);
}

void DoubleSpaceClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor || !IsRtf || editor->PlainText()) return;
  const size_t caret = editor->SelStart();
  const size_t first = editor->FirstVisibleLine();
  editor->SetRtfSource(ToggleDoubleSpacing(editor->GetRtfSource()));
  editor->SetModified(true);
  editor->Select(caret, 0);
  editor->ScrollLines(static_cast<long>(first) - static_cast<long>(editor->FirstVisibleLine()));
  DocModified = true;
  GetEditorText();
}

void InstallCountCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("WordCount", [](const TMenuItem&) { WordCountClick(); });
  menu.SetHandler("SectCount", [](const TMenuItem&) { SectCountClick(false); });
  menu.SetHandler("SectNames", [](const TMenuItem&) { SectCountClick(true); });
  menu.SetHandler("PU", [](const TMenuItem&) { PuClick(); });
  menu.SetHandler("DoubleSpace", [](const TMenuItem&) { DoubleSpaceClick(); });
}

}  // namespace quorrel
