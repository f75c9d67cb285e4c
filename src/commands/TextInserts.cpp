#include "commands/TextInserts.h"

#include <algorithm>

#include "commands/ListsAndTables.h"
#include "commands/TextStyles.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfView.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

constexpr char kLineWord[] = "\\line ";
// Stands in for each inserted break while the codes are edited.
constexpr char kBreakMarker[] = "##CAH##";
constexpr int kBreakHelp = 50530;

// The change that puts back a format for what is typed next.
TRtfFormatChange TypingFormat(const TRtfCharFormat& format) {
  TRtfFormatChange change;
  change.font = format.font;
  change.halfPoints = format.halfPoints;
  change.color = format.color;
  change.highlight = format.highlight;
  return change;
}

// The format typing at the selection's start would get.
TRtfCharFormat FormatBefore(const TMyRich& editor) {
  const size_t start = editor.SelStart();
  return editor.CharFormatAt(start > 0 ? start - 1 : 0);
}

// Inserts text of which the positions [from, from + length) take a format; what
// is typed after it takes the format from before.
void InsertFormatted(TMyRich& editor, const std::string& text, size_t from, size_t length,
                     const TRtfFormatChange& change) {
  const TRtfCharFormat before = FormatBefore(editor);
  const size_t start = editor.SelStart();
  editor.BeginEditGroup();
  editor.SetSelText(text);
  editor.ChangeCharFormat(start + from, length, change);
  editor.EndEditGroup();
  editor.Select(start + text.size(), 0);
  editor.ChangeCharFormat(start + text.size(), 0, TypingFormat(before));
}

TRtfFormatChange Purple() {
  TRtfFormatChange change;
  change.color = RgbOfBgr(kSymbolColour);
  return change;
}

// Whether the caret of a web page follows the start of a list or an item's end:
// the text before it ends with "<UL>", "<OL>" or "</LI>", or with one of them
// and a line end (the caret at the start of the next line).
bool AfterListTag(const std::string& before, bool* lineEnded) {
  std::string tail = before;
  *lineEnded = false;
  if (tail.size() >= 2 && tail.compare(tail.size() - 2, 2, "\r\n") == 0) {
    tail.resize(tail.size() - 2);
    *lineEnded = true;
  } else if (!tail.empty() && tail.back() == '\n') {
    tail.pop_back();
    *lineEnded = true;
  }
  const std::string upper = UpperCaseAnsi(RightChars(tail, 5));
  auto endsWith = [&upper](const std::string& tag) {
    return upper.size() >= tag.size() &&
           upper.compare(upper.size() - tag.size(), tag.size(), tag) == 0;
  };
  return endsWith("<UL>") || endsWith("<OL>") || endsWith("</LI>");
}

void WebBreak(TMyRich& editor) {
  const size_t caret = editor.SelStart();
  const size_t from = caret > 8 ? caret - 8 : 0;
  bool lineEnded = false;
  if (editor.SelLength() == 0 && AfterListTag(editor.TextRange(from, caret - from), &lineEnded)) {
    const std::string item = lineEnded ? "<LI>" : "\r\n<LI>";
    editor.SetSelText(item + "</LI>");
    editor.Select(caret + (lineEnded ? 4 : 5), 0);
    return;
  }
  editor.SetSelText("\r\n<Br>");
}

// The inserted text for a selection: its line ends (but for its last two
// characters) as markers. *rest: the positions after the last marker.
std::string BreaksOfSelection(const std::string& selected, size_t* breaks, size_t* rest) {
  *breaks = 0;
  *rest = 0;
  if (selected.empty()) {
    *breaks = 1;
    return kBreakMarker;
  }
  const size_t keep = selected.size() >= 2 ? selected.size() - 2 : 0;
  std::string body = selected.substr(0, keep);
  const std::string tail = selected.substr(keep);
  std::string out;
  size_t at = 0;
  for (size_t found; (found = body.find("\r\n", at)) != std::string::npos; at = found + 2) {
    out += body.substr(at, found - at) + kBreakMarker;
    ++*breaks;
  }
  *rest = PositionsOf(body.substr(at) + tail);
  return out + body.substr(at) + tail;
}

void RtfBreak(TMyRich& editor) {
  if (editor.PlainText()) {
    // The codes are on screen: the control word goes straight in.
    editor.SetSelText(kLineWord);
    return;
  }
  const size_t start = editor.SelStart();
  const std::string textBefore = editor.TextRange(0, start);
  const size_t breaksBefore = std::count(textBefore.begin(), textBefore.end(), '\v');
  size_t breaks = 0, rest = 0;
  editor.SetSelText(BreaksOfSelection(editor.SelText(), &breaks, &rest));
  const std::string source = GetRtfSource(editor);
  if (breaks == 0 || source.find(kBreakMarker) == std::string::npos) return;
  SetRtfSource(BreaksIntoCodes(source, kBreakMarker), editor);
  editor.SetModified(true);
  // The caret after what the selection became.
  const std::string text = editor.GetText();
  size_t offset = 0, seen = 0;
  for (size_t i = 0; i < text.size() && seen < breaksBefore + breaks; ++i) {
    if (text[i] == '\v' && ++seen == breaksBefore + breaks) offset = i + 1;
  }
  editor.Select(editor.OffsetToPos(offset) + rest, 0);
  editor.ScrollCaret();
}

}  // namespace

void NbspClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (!IsRtf) {
    editor->SetSelText("&nbsp;");
  } else if (editor->PlainText()) {
    editor->SetSelText("\\~");
  } else if (IsScript) {
    ReplaceSelectionByCodes(*editor, "\\~ ", 2, nullptr, true);
  } else {
    editor->SetSelText("\xBB");
  }
}

void MDashClick() {
  if (CurrentEditor) CurrentEditor->SetSelText("&mdash;");
}

void TickClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (!FormattedRtf(*editor)) {
    editor->SetSelText("\xFC");
    return;
  }
  TRtfFormatChange wingdings;
  wingdings.font = "Wingdings";
  InsertFormatted(*editor, "\xFC", 0, 1, wingdings);
}

void BulletClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (IsDotPage) {
    editor->SetSelText("\xA9 \xBB ");
  } else if (IsHtml) {
    editor->SetSelText("<Img Src=\"images/Bullet.gif\" Alt=\"\" Border=0> &nbsp; ");
  } else if (FormattedRtf(*editor)) {
    TRtfFormatChange bullet = Purple();
    bullet.font = "Tahoma";
    InsertFormatted(*editor, std::string("  ") + kBulletChar + "  ", 2, 1, bullet);
  }
}

void ArrowClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (IsDotPage) {
    editor->SetSelText("<Img Src=\"images/Arrow.gif\" Alt=\"\"> \xBB ");
  } else if (IsHtml) {
    editor->SetSelText("<Img Src=\"images/Arrow.gif\" Alt=\"\"> &nbsp; ");
  } else if (FormattedRtf(*editor)) {
    const TRtfCharFormat before = FormatBefore(*editor);
    const TRtfFormatChange purple = Purple();
    if (ReplaceSelectionByCodes(*editor, "\\u10146?  ", 3, &purple)) {
      editor->ChangeCharFormat(editor->SelStart(), 0, TypingFormat(before));
    }
  }
}

size_t PositionsOf(const std::string& text) {
  size_t positions = text.size();
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) --positions;
  return positions;
}

std::string BreaksIntoCodes(std::string source, const std::string& marker) {
  source = ReplaceCase(source, marker + "\r\n\\par ", kLineWord);
  const std::string openEnd = "\\line }\r\n";
  if (source.size() >= openEnd.size() &&
      source.compare(source.size() - openEnd.size(), openEnd.size(), openEnd) == 0) {
    source.insert(source.size() - 3, "\\par");
  }
  return ReplaceCase(source, marker, kLineWord);
}

void InsBreakClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (IsRtf) {
    RtfBreak(*editor);
  } else if (IsHtml) {
    WebBreak(*editor);
  } else {
    AskOkHelpCancel("Insert break applies only to web and rich text files.", kBreakHelp);
  }
}

void InstallTextInsertCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("Nbsp", [](const TMenuItem&) { NbspClick(); });
  menu.SetHandler("MDash", [](const TMenuItem&) { MDashClick(); });
  menu.SetHandler("Tick", [](const TMenuItem&) { TickClick(); });
  menu.SetHandler("Bullet", [](const TMenuItem&) { BulletClick(); });
  menu.SetHandler("Arrow", [](const TMenuItem&) { ArrowClick(); });
  menu.SetHandler("InsBreak", [](const TMenuItem&) { InsBreakClick(); });
  menu.SetHandler("InsList", [](const TMenuItem&) { InsListClick(); });
  menu.SetHandler("InsTable", [](const TMenuItem&) { InsTableClick(); });
}

}  // namespace quorrel
