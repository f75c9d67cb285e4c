#include "commands/ListsAndTables.h"

#include <cctype>
#include <functional>

#include "commands/TextInserts.h"
#include "platform/CodePage.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/TextLines.h"

namespace quorrel {

namespace {

// Selections this short ask for a size instead.
constexpr size_t kListSelectionMin = 4;
constexpr size_t kTableSelectionMin = 4;
// The largest list or table the commands build, so that a mistyped number
// cannot stall the editor.
constexpr int kMostEntries = 1000;
constexpr char kNbspEntity[] = "&nbsp;";

struct TListTags {
  std::string open, itemStart, itemEnd, close;
};

enum class TNumbering { None, Numbers, Letters };

TListTags TagsOf(TListForm form, TNumbering numbering) {
  switch (form) {
    case TListForm::Html:
      if (numbering == TNumbering::None) return {"<UL>\n", "  <LI>", "</LI>\n", "</UL>\n"};
      return {numbering == TNumbering::Letters ? "<OL Type=a>\n" : "<OL>\n", "  <LI>", "</LI>\n",
              "</OL>\n"};
    case TListForm::RtfBullets:
      return {"\n", std::string("  ") + kBulletChar + "  ", "\n", ""};
    case TListForm::TextBullets:
      return {"\n", "  \xB0  ", "\n", ""};
  }
  return {};
}

// Takes a prefix off the front, ignoring case; false when the text does not begin with it.
bool TakePrefix(std::string& text, const std::string& prefix) {
  if (!StartsWithNoCase(text, prefix)) return false;
  text.erase(0, prefix.size());
  return true;
}

bool TakeAnyPrefix(std::string& text, std::initializer_list<const char*> prefixes) {
  for (const char* prefix : prefixes) {
    if (TakePrefix(text, prefix)) return true;
  }
  return false;
}

// Takes the prefixes off the front of a line; a paragraph's closing tag goes with
// its opening one, or the item or cell would be left holding a stray "</P>".
void TakeLinePrefixes(std::string& line, std::initializer_list<const char*> prefixes,
                      const std::function<bool(std::string&)>& more = nullptr) {
  bool paragraph = false;
  for (;;) {
    if (TakePrefix(line, "<P>")) {
      paragraph = true;
    } else if (!TakeAnyPrefix(line, prefixes) && !(more && more(line))) {
      break;
    }
  }
  if (!paragraph) return;
  const size_t end = line.find_last_not_of(' ');
  const std::string_view body(line.data(), end == std::string::npos ? 0 : end + 1);
  if (!EndsWithNoCase(body, "</P>")) return;
  line.erase(body.size() - 4);
  line.erase(line.find_last_not_of(' ') + 1);
}

TNumbering NumberingOf(const std::string& first) {
  if (StartsWithNoCase(first, "1") || StartsWithNoCase(first, "(1)")) return TNumbering::Numbers;
  if (first.compare(0, 3, "(a)") == 0) return TNumbering::Letters;
  return TNumbering::None;
}

bool ValidCount(int count) {
  if (count >= 1 && count <= kMostEntries) return true;
  ShowMsg("Please give a number from 1 to " + std::to_string(kMostEntries) + ".");
  return false;
}

TListForm ListFormOfDocument() {
  if (IsHtml || IsDotPage) return TListForm::Html;
  if (IsRtf) return TListForm::RtfBullets;
  return TListForm::TextBullets;
}

// The bullets of a list inserted at start in an RTF document, in "Tahoma".
void BulletsInTahoma(TMyRich& editor, size_t start, const std::string& list) {
  TRtfFormatChange tahoma;
  tahoma.font = "Tahoma";
  size_t pos = start;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == kBulletChar) editor.ChangeCharFormat(pos, 1, tahoma);
    // A CR LF is one position, as is a lone LF.
    if (!(list[i] == '\r' && i + 1 < list.size() && list[i + 1] == '\n')) ++pos;
  }
}

std::string Row(const std::string& cells) {
  return "<TR>" + cells + "</TR>\n";
}

}  // namespace

std::string ListItemText(const std::string& line) {
  std::string item = TrimQuotes(line);
  const std::string bulletAndBlanks = std::string(1, kBulletChar) + "  ";
  const std::string bullet(1, kBulletChar);
  TakeLinePrefixes(item, {"<p />", "<Br>", "<br />", " ", "\"", "&bull;"}, [&](std::string& text) {
    return TakePrefix(text, bulletAndBlanks) || TakePrefix(text, bullet);
  });
  return item;
}

std::string WithoutNumbering(const std::string& item) {
  size_t at = 0;
  while (at < item.size()) {
    const char c = item[at];
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '(' || c == ')' || c == '.' ||
        c == ' ') {
      ++at;
    } else if (item.compare(at, sizeof(kNbspEntity) - 1, kNbspEntity) == 0) {
      at += sizeof(kNbspEntity) - 1;
    } else {
      size_t end = at;
      while (end < item.size() && item[end] >= 'a' && item[end] <= 'z') ++end;
      if (end == at || end == item.size() || (item[end] != ')' && item[end] != '.')) break;
      at = end;
    }
  }
  return item.substr(at);
}

std::string ListOfLines(const std::string& selected, TListForm form) {
  std::vector<std::string> items;
  for (const std::string& line : LinesWithoutEnds(selected)) {
    std::string item = ListItemText(line);
    if (!item.empty()) items.push_back(item);
  }
  const TNumbering numbering = items.empty() ? TNumbering::None : NumberingOf(items.front());
  const TListTags tags = TagsOf(form, numbering);
  std::string list = tags.open;
  for (const std::string& item : items) {
    list += tags.itemStart + (numbering == TNumbering::None ? item : WithoutNumbering(item)) +
            tags.itemEnd;
  }
  return list + tags.close;
}

std::string EmptyList(int entries, TListForm form) {
  const TListTags tags = TagsOf(form, TNumbering::None);
  std::string list = tags.open;
  for (int i = 0; i < entries; ++i) list += tags.itemStart + tags.itemEnd;
  return list + tags.close;
}

std::string TableOfLines(const std::string& selected) {
  std::string text = selected;
  for (const char* tag : {"<UL>", "</UL>", "<LI>", "</LI>"}) text = ReplaceNoCase(text, tag, "");
  std::string table = "<Table>\n";
  for (std::string line : LinesWithoutEnds(text)) {
    TakeLinePrefixes(line, {"<p />", " ", "<Br>", "<br />"});
    std::string cells;
    size_t at = 0;
    while (at < line.size()) {
      size_t end = line.find("  ", at);
      if (end == std::string::npos) end = line.size();
      cells += "<TD>" + line.substr(at, end - at) + "</TD>";
      at = line.find_first_not_of(' ', end);
      if (at == std::string::npos) break;
    }
    if (!cells.empty()) table += Row(cells);
  }
  return table + "</Table>\n";
}

std::string EmptyTable(int rows, int columns) {
  std::string header, cells;
  for (int i = 0; i < columns; ++i) {
    header += "<TH></TH>";
    cells += "<TD></TD>";
  }
  std::string table = "<Table>\n";
  if (rows == 1) return table + Row(cells) + "</Table>\n";
  table += Row(header);
  for (int i = 1; i < rows; ++i) table += Row(cells);
  return table + "</Table>\n";
}

bool InsideTable(const std::string& before, const std::string& after) {
  const size_t open = PosBackNoCase("<Table", before);
  if (open == 0) return false;
  const size_t close = PosBackNoCase("</Table>", before);
  if (close > open) return false;
  return PosNoCase("</Table>", after) > 0;
}

void InsListClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  if (!IsHtml && !IsDotPage && !IsRtf && CurrentExt != ".TXT") return;
  const TListForm form = ListFormOfDocument();
  std::string list;
  if (editor->SelLength() < kListSelectionMin) {
    int entries = 5;
    if (!AskNumber("Number of entries", entries) || !ValidCount(entries)) return;
    list = EmptyList(entries, form);
  } else {
    list = ListOfLines(editor->SelText(), form);
  }
  const size_t start = editor->SelStart();
  editor->BeginEditGroup();
  editor->SetSelText(list);
  if (form == TListForm::RtfBullets && !editor->PlainText()) {
    const size_t end = editor->SelStart();
    BulletsInTahoma(*editor, start, list);
    editor->Select(end, 0);
  }
  editor->EndEditGroup();
}

void InsTableClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const size_t caret = editor->SelStart();
  if (InsideTable(editor->TextRange(0, caret),
                  editor->TextRange(caret, editor->TextLength() - caret))) {
    if (IsDotPage) {
      ShowMsg("You can't use Update table from an RTF file.");
    } else {
      MainMenu().Click("UpdateTable");
    }
    return;
  }
  if (IsDotPage &&
      !AskYesNo("You can generate a table using .TA\rAre you sure you want to continue?")) {
    return;
  }
  std::string table;
  if (editor->SelLength() >= kTableSelectionMin) {
    table = TableOfLines(editor->SelText());
  } else {
    int rows = 5, columns = 5;
    if (!AskNumber("Create Table:\rNumber of rows (first will be TH unless only one)", rows) ||
        !ValidCount(rows) || !AskNumber("Number of columns", columns) || !ValidCount(columns)) {
      return;
    }
    table = EmptyTable(rows, columns);
  }
  editor->SetSelText(table);
}

}  // namespace quorrel
