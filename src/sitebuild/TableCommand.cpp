#include "sitebuild/TableCommand.h"

#include <string>
#include <vector>

#include "platform/Abort.h"
#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "shell/BreakLongUrl.h"
#include "shell/FastStrings.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/DotCommands.h"
#include "sitebuild/SplitArguments.h"

namespace quorrel {

namespace {

// Attributes a row or a cell may start with.
bool StartsWithAttribute(std::string_view text, std::string_view classPrefix) {
  return StartsWithNoCase(text, "BGCOLOR=") || StartsWithNoCase(text, classPrefix);
}

bool StartsHeaderMark(std::string_view row) {
  return row.substr(0, 2) == "H|" || row.substr(0, 2) == "H ";
}

struct TTable {
  size_t columns = 0;
  bool allData = false;  // "SharpTab" or "RowTab": no header rows
  bool firstRow = true;
  std::string markup;
};

std::string CellText(std::string cell) {
  if (cell.find('@') == std::string::npos) return cell;
  return "<A Href=\"mailto:" + cell + "\">" + BreakLongUrl(cell) + "</A>";
}

void AddRow(TBuildRun& run, TTable& table, std::string row) {
  bool header = false;
  if (table.firstRow) {
    if (StartsHeaderMark(row))
      ReportBuildError(run, "Don't start first line with \"H|\" or \"H \".");
    header = row.substr(0, 2) != "D|";
  } else {
    header = StartsHeaderMark(row);
  }
  if (table.allData) header = false;
  if (row.substr(0, 2) == "D|" || StartsHeaderMark(row)) row.erase(0, 2);
  for (std::string_view tag : {"TR>", "TD>", "TH>", "TABLE>"}) {
    if (ContainsNoCase(row, tag))
      ReportBuildError(run, row + "\rcannot contain TR, TD or Table tags.");
  }
  std::string rowTag = "  <TR>";
  if (StartsWithAttribute(row, "CLASS")) {
    const size_t bar = row.find('|');
    rowTag = "  <TR " + row.substr(0, bar) + ">";
    row = bar == std::string::npos ? "" : row.substr(bar + 1);
  }
  SplitArguments(row);
  std::vector<std::string> cells = SplitFields;
  // One "|" may end the row.
  if (cells.size() > 1 && !row.empty() && row.back() == '|' && TrimBlanks(cells.back()).empty()) {
    cells.pop_back();
  }
  if (table.firstRow) table.columns = cells.size();
  if (cells.size() > table.columns) ReportBuildError(run, "Too many columns in line\n" + row);
  const char kind = header ? 'H' : 'D';
  std::string markup = rowTag;
  for (size_t i = 0; i < cells.size(); ++i) {
    std::string cell(TrimBlanks(cells[i]));
    std::string attributes;
    if (StartsWithAttribute(cell, "CLASS=")) {
      const size_t blank = cell.find(' ');
      attributes = " " + cell.substr(0, blank);
      cell = blank == std::string::npos ? "" : std::string(TrimBlanks(cell.substr(blank)));
    }
    // A short header row's last cell spans the columns left.
    if (header && i + 1 == cells.size() && cells.size() < table.columns) {
      attributes += " ColSpan=" + std::to_string(table.columns - i);
    }
    markup += std::string("<T") + kind + attributes + ">" + CellText(cell) + "</T" + kind + ">";
  }
  if (!header) {
    for (size_t i = cells.size(); i < table.columns; ++i) markup += "<TD></TD>";
  }
  table.markup += markup + "\r\n  </TR>\r\n";
  table.firstRow = false;
}

}  // namespace

void RunTableCommand(TBuildRun& run) {
  std::string argument(TrimBlanks(run.CommandText));
  if (argument == "?") {
    ShowHelpContext(kTableHelp);
    Abort();
  }
  argument = ReplaceAll(ReplaceAll(argument, "&ldquo;", "\"", true), "&rdquo;", "\"", true);
  TTable table;
  table.allData = ContainsNoCase(argument, "SharpTab") || ContainsNoCase(argument, "RowTab");
  table.markup = "\r\n<Table " + argument + ">\r\n";
  std::string line;
  while (ReadTextLine(run, line)) AddRow(run, table, line);
  // The rows were read through the reader already; a long table would not fit the
  // push-back stack, so it goes to the page directly.
  EmitText(run, table.markup + "</Table>");
}

}  // namespace quorrel
