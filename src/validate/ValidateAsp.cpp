// The Classic ASP checker: re-indents the VBScript of a page (or of a ".VBA" file)
// two columns per block level, puts trailing comments in column 40 and stops at the
// first construct it cannot lay out, then hands a page on to the HTML validator.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/Validators.h"

namespace quorrel {

namespace {

// A text longer than this is re-checked at most once a minute, except in a batch.
constexpr size_t kBigText = 100000;
constexpr long kRerunSeconds = 61;
constexpr char kValidatedKey[] = "Validated";
constexpr size_t kCommentColumn = 39;  // column 40, counted from 0

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool StartsNoCase(const std::string& text, size_t at, const std::string& part) {
  return at + part.size() <= text.size() && Upper(text.substr(at, part.size())) == Upper(part);
}

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

size_t FirstNonBlank(const std::string& line, size_t from = 0) {
  while (from < line.size() && IsBlank(line[from])) ++from;
  return from;
}

// A word up to the next blank, cut at "%>".
std::string WordAt(const std::string& line, size_t at, size_t& end) {
  end = at;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  std::string word = line.substr(at, end - at);
  const size_t close = word.find("%>");
  if (close != std::string::npos) word.erase(close);
  return word;
}

// The words a line's layout depends on: its first two, upper-cased (a leading "'"
// is the word "'", a leading "<%" is passed over), and where the first stands.
struct TLineWords {
  std::string first, second;
  std::string firstAsWritten;
  std::string third;  // as written: the name after "Sub" and "Function"
  size_t column = 0;  // 0-based
};

TLineWords WordsOf(const std::string& line) {
  TLineWords words;
  size_t at = FirstNonBlank(line);
  if (line.compare(at, 2, "<%") == 0) at = FirstNonBlank(line, at + 2);
  words.column = at;
  if (at >= line.size()) return words;
  if (line[at] == '\'') {
    words.first = words.firstAsWritten = "'";
    return words;
  }
  size_t end = 0;
  words.firstAsWritten = WordAt(line, at, end);
  words.first = Upper(words.firstAsWritten);
  const size_t second = FirstNonBlank(line, end);
  if (second < line.size()) {
    const std::string word = WordAt(line, second, end);
    words.second = Upper(word);
    words.third = word;
    const size_t third = FirstNonBlank(line, end);
    if (third < line.size()) words.third += " " + WordAt(line, third, end);
  }
  return words;
}

// The name a "Sub" or "Function" line declares, without its parameters.
std::string DeclaredName(const TLineWords& words) {
  std::string name = words.third;
  if (words.first == "PUBLIC" || words.first == "PRIVATE") {
    const size_t blank = name.find(' ');
    name = blank == std::string::npos ? std::string() : name.substr(blank + 1);
  }
  const size_t end = name.find_first_of(" (");
  return end == std::string::npos ? name : name.substr(0, end);
}

bool DeclaresRoutine(const TLineWords& words) {
  if (words.first == "SUB" || words.first == "FUNCTION") return true;
  return (words.first == "PUBLIC" || words.first == "PRIVATE") &&
         (words.second == "SUB" || words.second == "FUNCTION");
}

bool InList(const std::string& word, std::initializer_list<const char*> list) {
  return std::find_if(list.begin(), list.end(), [&](const char* w) { return word == w; }) !=
         list.end();
}

struct TStop {
  size_t line;
  std::string message;
};

struct TAspRun {
  std::vector<std::string> lines;
  bool laterPass = false;
  bool inCode = true;
  int level = 0;
  std::string name;
  std::vector<bool> caseSeen;  // per open select: whether a Case came yet
  size_t end = 0;              // one past the last line of the range

  void Walk(size_t first);
  void Line(size_t i, size_t codeFrom);
  void Close(size_t i, int count) {
    level -= count;
    if (level < 0) {
      throw TStop{i, "Indenting level is <0 in Sub/Function " + name +
                         ".\rYou've tried to close something that wasn't open."};
    }
  }
  void PlaceComment(size_t i, size_t codeFrom);
  void SplitAfterScriptStart(size_t i);
};

// "<%" followed by code on its line: the code goes to a line of its own. A comment,
// an expression ("<%="), a directive ("<%@") and "Option Explicit" stay with it.
void TAspRun::SplitAfterScriptStart(size_t i) {
  const std::string& line = lines[i];
  const size_t start = FirstNonBlank(line);
  if (line.compare(start, 2, "<%") != 0) return;
  const size_t code = FirstNonBlank(line, start + 2);
  if (code >= line.size()) return;
  const char c = line[code];
  if (c == '\'' || c == '=' || c == '@' || line.compare(code, 2, "%>") == 0 ||
      StartsNoCase(line, code, "Option Explicit")) {
    return;
  }
  std::string rest = line.substr(code);
  lines[i] = line.substr(0, start + 2);
  lines.insert(lines.begin() + static_cast<long>(i) + 1, rest);
  ++end;
}

void TAspRun::PlaceComment(size_t i, size_t codeFrom) {
  std::string& line = lines[i];
  const size_t close = line.find("%>", codeFrom);
  const size_t codeEnd = close == std::string::npos ? line.size() : close;
  bool quoted = false;
  size_t quote = std::string::npos;
  for (size_t k = codeFrom; k < codeEnd; ++k) {
    if (line[k] == '"') {
      quoted = !quoted;
    } else if (line[k] == '\'' && !quoted) {
      quote = k;
      break;
    }
  }
  if (quoted) throw TStop{i, "No closing double-quote"};
  if (quote == std::string::npos) return;
  if (quote < kCommentColumn) {
    line.insert(quote, kCommentColumn - quote, ' ');
  } else if (quote > kCommentColumn) {
    const size_t from = kCommentColumn - 1;
    if (line.find_first_not_of(' ', from) == quote) line.erase(kCommentColumn, quote - kCommentColumn);
  }
}

void TAspRun::Line(size_t i, size_t codeFrom) {
  SplitAfterScriptStart(i);
  const std::string trimmed = lines[i].substr(FirstNonBlank(lines[i]));
  const TLineWords words = WordsOf(lines[i]);
  if (trimmed.starts_with("//")) {
    throw TStop{i, "Use a single quote for a Classic ASP comment, not \"//\"."};
  }
  if (words.second.starts_with("FUNCTION'") || words.second.starts_with("SUB'")) {
    throw TStop{i, "Don't put the quote immediately after the keyword"};
  }
  if (DeclaresRoutine(words)) name = DeclaredName(words);
  if (laterPass && (words.first == "SUB" || words.first == "FUNCTION") && words.column != 0) {
    throw TStop{i, "Indenting level is non-zero at start of " + words.firstAsWritten};
  }

  // Words that close a level before the line.
  const std::string& first = words.first;
  const bool endsRoutine = first == "END" && (words.second == "SUB" || words.second == "FUNCTION");
  bool opens = InList(first, {"IF", "WHILE", "WITH", "FOR", "SELECT", "DO", "ELSE", "ELSEIF"});
  if (first == "END" && words.second == "SELECT") {
    // Its last case and the select itself.
    const bool withCase = !caseSeen.empty() && caseSeen.back();
    if (!caseSeen.empty()) caseSeen.pop_back();
    Close(i, withCase ? 2 : 1);
  } else if ((first == "END" && !endsRoutine) ||
             InList(first, {"WEND", "NEXT", "UNTIL", "LOOP", "ELSE", "ELSEIF"})) {
    Close(i, 1);
  } else if (first == "CASE" && !caseSeen.empty()) {
    // The first case opens a level; the next ones close it and open it again.
    if (caseSeen.back()) Close(i, 1);
    caseSeen.back() = true;
    opens = true;
  }
  if (endsRoutine && level > 0) {
    throw TStop{i, "Indenting level > 0 at end of Sub/Function " + name};
  }
  if (first == "IF") {
    const std::string upper = Upper(lines[i]) + " ";
    const size_t then = std::min(upper.find(" THEN "), upper.find(" THEN%>"));
    if (then == std::string::npos) throw TStop{i, "Missing \"then\""};
    const size_t after = FirstNonBlank(upper, then + 5);
    if (after < upper.size() && upper[after] != '\'' && upper.compare(after, 2, "%>") != 0) {
      throw TStop{i, "Quorrel doesn't support code after \"then\""};
    }
  }

  // The line indented; where its code starts moves with it.
  std::string& line = lines[i];
  const size_t lead = FirstNonBlank(line);
  const size_t indent = static_cast<size_t>(level) * 2;
  if (codeFrom > 0) codeFrom = codeFrom - lead + indent;
  line = std::string(indent, ' ') + line.substr(lead);

  const size_t expression = line.find("<%=", codeFrom);
  if (expression != std::string::npos && expression < line.find("%>", codeFrom)) {
    throw TStop{i, "\"<%=\" found within ASP code"};
  }
  if (first != "'" && first != "END" && first != "WEND" && first != "NEXT") {
    PlaceComment(i, codeFrom);
  }
  if (opens) ++level;
  if (first == "SELECT") caseSeen.push_back(false);
}

void TAspRun::Walk(size_t first) {
  for (size_t i = first; i < end && i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const size_t start = FirstNonBlank(line);
    if (StartsNoCase(line, start, "<Script") && PosNoCase("</Script", line) == 0) {
      size_t close = i + 1;
      while (close < lines.size() && PosNoCase("</Script", lines[close]) == 0) ++close;
      if (close >= lines.size()) throw TStop{i, "EOF within JavaScript."};
      i = close;
      continue;
    }
    // Outside "<%" ... "%>" the lines are the page's own.
    size_t codeFrom = 0;
    if (!inCode) {
      const size_t open = line.find("<%");
      if (open == std::string::npos) continue;
      inCode = true;
      codeFrom = open + 2;
    }
    Line(i, codeFrom);
    const std::string& done = lines[i];
    const size_t lastClose = done.rfind("%>");
    const size_t lastOpen = done.rfind("<%");
    if (lastClose != std::string::npos && (lastOpen == std::string::npos || lastClose > lastOpen)) {
      inCode = false;
    }
  }
}

std::vector<std::string> SplitLines(const std::string& text, bool crlf) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', from)) {
    size_t end = lf;
    if (crlf && end > from && text[end - 1] == '\r') --end;
    lines.push_back(text.substr(from, end - from));
    from = lf + 1;
  }
  lines.push_back(text.substr(from));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, const char* lineEnd) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += lineEnd;
    text += lines[i];
  }
  return text;
}

// The line that holds a text offset.
size_t LineOfOffset(const std::string& text, size_t offset) {
  offset = std::min(offset, text.size());
  return static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<long>(offset), '\n'));
}

std::string LocalTimeStamp(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
  return stamp;
}

bool ParseTimeStamp(const std::string& stamp, std::time_t& when) {
  std::tm local{};
  if (std::sscanf(stamp.c_str(), "%d-%d-%dT%d:%d:%d", &local.tm_year, &local.tm_mon, &local.tm_mday,
                  &local.tm_hour, &local.tm_min, &local.tm_sec) != 6) {
    return false;
  }
  local.tm_year -= 1900;
  local.tm_mon -= 1;
  local.tm_isdst = -1;
  when = std::mktime(&local);
  return when != static_cast<std::time_t>(-1);
}

// A big text checked again within a minute of its last check is not re-laid again
// by a second pass; otherwise the time of this check is kept.
bool CheckedWithinAMinute(const std::string& path) {
  if (!SettingsIni) return false;
  const std::time_t now = std::time(nullptr);
  std::time_t last = 0;
  if (ParseTimeStamp(SettingsIni->ReadString(path, kValidatedKey, ""), last) && last <= now &&
      now - last < kRerunSeconds) {
    return true;
  }
  SettingsIni->WriteString(path, kValidatedKey, LocalTimeStamp(now));
  return false;
}

// Whether the text before a line leaves it inside "<%" ... "%>".
bool InsideScript(const std::vector<std::string>& lines, size_t line) {
  bool inside = false;
  for (size_t i = 0; i < line && i < lines.size(); ++i) {
    const size_t open = lines[i].rfind("<%");
    const size_t close = lines[i].rfind("%>");
    if (open != std::string::npos && (close == std::string::npos || open > close)) inside = true;
    if (close != std::string::npos && (open == std::string::npos || close > open)) inside = false;
  }
  return inside;
}

}  // namespace

TValidation ValidateAsp(const TPage& page) {
  TValidation result;
  const bool vba = Upper(page.path).ends_with(".VBA");
  const std::string& text = page.text;

  if (!vba) {
    const std::string upper = Upper(text);
    for (size_t at = upper.find("ENDIF"); at != std::string::npos; at = upper.find("ENDIF", at + 1)) {
      const bool before = at > 0 && (upper[at - 1] == '[' || IsWordChar(upper[at - 1]));
      const bool after = at + 5 < upper.size() && IsWordChar(upper[at + 5]);
      if (before || after) continue;
      result.error = TValidationError{at, "EndIf should be End If"};
      return result;
    }
    const size_t elseIf = text.find("Else If");
    if (elseIf != std::string::npos) {
      result.error = TValidationError{elseIf, "Else If should be ElseIf"};
      return result;
    }
  }

  if (text.size() > kBigText && CurrentCommand != ValidateAllCommand &&
      CheckedWithinAMinute(page.path)) {
    result.passCounter = 1;
  }

  const bool crlf = text.find("\r\n") != std::string::npos;
  TAspRun run;
  run.lines = SplitLines(text, crlf);
  run.laterPass = page.pass > 0;
  // The part checked: from the section at the caret to the next one, the whole text
  // when they are the same line.
  size_t first = LineOfOffset(text, page.caret);
  run.end = LineOfOffset(text, page.caret + page.selectionLength);
  if (run.end <= first) {
    first = 0;
    run.end = run.lines.size();
  }
  run.inCode = vba || InsideScript(run.lines, first);
  const char* lineEnd = crlf ? "\r\n" : "\n";
  try {
    run.Walk(first);
    const size_t last = std::min(run.end, run.lines.size()) - 1;
    if (run.level != 0) throw TStop{last, "Level at end is " + std::to_string(run.level)};
    if (MainMenu().Checked("Debug")) ShowMsg("Level at end is 0");
  } catch (const TStop& stop) {
    // The lines laid out so far go back into the editor, the caret at the start of
    // the line at fault.
    StartMode = StartNormal;
    result.text = JoinLines(run.lines, lineEnd);
    size_t offset = 0;
    for (size_t i = 0; i < stop.line && i < run.lines.size(); ++i) {
      offset += run.lines[i].size() + std::string(lineEnd).size();
    }
    TValidationError error;
    error.offset = offset;
    error.message = stop.message + " around line " + std::to_string(stop.line + 1) + ":\r" +
                    (stop.line < run.lines.size() ? run.lines[stop.line] : std::string());
    // The caret goes to the line; the message names it in words of its own.
    error.offsetInMessage = false;
    result.error = error;
    result.recolour = true;
    return result;
  }

  if (vba) {
    result.text = JoinLines(run.lines, lineEnd);
    result.status = ValidatedStatus;
    return result;
  }
  // The page goes on to the HTML validator, with LF line ends as pages have them.
  result.text = JoinLines(run.lines, "\n");
  result.again = true;
  result.againAs = TDocumentKind::Html;
  return result;
}

}  // namespace quorrel
