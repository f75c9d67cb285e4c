#include "edit/SectionRules.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "edit/Sections.h"
#include "platform/CodePage.h"
#include "shell/ClassifyDocument.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

using std::string_view;
constexpr size_t npos = std::string::npos;

bool IsWordChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool InList(const char* bars, const std::string& token) {
  return !token.empty() && InBarListNoCase(token, bars);
}

// The offset after the next line feed at or after from (the text's length when none).
size_t NextLine(const std::string& text, size_t from) {
  const size_t lf = text.find('\n', from);
  return lf == npos ? text.size() : lf + 1;
}

// A line's text from start up to its CR or LF.
std::string LineAt(const std::string& text, size_t start) {
  size_t end = start;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  return text.substr(start, end - start);
}

bool StartsNoCase(const std::string& text, size_t at, string_view part) {
  return at <= text.size() && StartsWithNoCase(string_view(text).substr(at), part);
}

// Whether the last token began on the line that starts at lineStart. A line that
// only opens a tag ("<?php", "<%") would otherwise take the declaration of the line
// after it, which is then listed twice.
bool OnLine(const TSectionTokens& tokens, size_t lineStart) {
  return tokens.text.find('\n', lineStart) >= tokens.start;
}

// ---- dot-command pages ------------------------------------------------------------
void DotPageSections() {
  const std::string& text = CurrentText;
  TMainWindow* w = MainWindow();
  for (size_t start = 0; start < text.size(); start = NextLine(text, start)) {
    if (start > 0 && !StartsNoCase(text, start, ".we")) continue;
    std::string name = LineAt(text, start);
    name = name.size() > 3 ? name.substr(3, 80) : std::string();
    const size_t bar = name.find('|');
    if (bar != npos) {
      const std::string first = name.substr(0, bar);
      const size_t second = name.find('|', bar + 1);
      const std::string rest = name.substr(bar + 1, second == npos ? npos : second - bar - 1);
      const int width = w ? w->SectionTextWidth(first) : DefaultSectionTextWidth(first);
      name = first + (width < NarrowNamePixels ? "\t\t" : "\t") + rest;
    }
    AddSection(name, start);
  }
}

// ---- C# ---------------------------------------------------------------------------
void CSharpSections(bool withCommand) {
  const std::string& text = CurrentText;
  const size_t firstPublic = text.find("public ");
  if (firstPublic == npos) return;
  const size_t brace = text.find('{', firstPublic);
  if (brace == npos) return;
  TSectionTokens tokens(text, false, withCommand);
  for (size_t lf = text.find('\n', brace + 1); lf != npos; lf = text.find('\n', lf + 1)) {
    if (lf + 1 >= text.size() || text[lf + 1] == '\r') continue;
    const size_t lineStart = lf + 1;
    tokens.pos = lineStart;
    std::string token = tokens.Read();
    while (InList("|public|private|default|protected|override|static|", token)) {
      token = tokens.Read();
    }
    if (!InList("|void|bool|byte|char|DateTime|decimal|double|float|int|object|long|sbyte|short|"
                "string|uint|ulong|ushort|List|DataTable|",
                token) ||
        !OnLine(tokens, lineStart)) {
      continue;
    }
    token = tokens.Read();
    while (token == "[" || token == "]") token = tokens.Read();
    const std::string name = token;
    do {
      token = tokens.Read();
    } while (!token.empty() && token != "{" && token != ";" && token != "=");
    if (token == "{") AddSection(name, lineStart);
  }
}

// ---- JavaScript and PHP --------------------------------------------------------------
void ScriptSections(bool withCommand) {
  const std::string& text = CurrentText;
  if (!StartsWithNoCase(text, "function ")) AddSection("[Open code]", 0);
  if (text.size() <= 8) return;
  TSectionTokens tokens(text, true, withCommand);
  bool inScript = false;
  for (size_t start = 0; start < text.size(); start = NextLine(text, start)) {
    size_t at = start;
    while (at < text.size() && text[at] == ' ') ++at;
    if (IsPhp) {
      const size_t end = NextLine(text, at);
      const string_view rest = string_view(text).substr(at, end - at);
      if (ContainsNoCase(rest, "<script")) inScript = true;
      if (ContainsNoCase(rest, "</script")) inScript = false;
    }
    tokens.pos = at;
    std::string token = tokens.Read();
    while (InList("|public|private|default|protected|override|static|abstract|final|", token)) {
      token = tokens.Read();
    }
    const bool function = IsPhp ? InList("|function|", token) : token == "function";
    if ((!function && !InList("|class|", token)) || !OnLine(tokens, start)) continue;
    // The rest of the line after the keyword must open a block.
    std::string rest = text.substr(std::min(tokens.pos, text.size()), 255);
    const size_t lf = rest.find('\n');
    rest = lf == npos ? std::string() : rest.substr(0, lf + 1);
    if (rest.find('{') == npos || (IsPhp && inScript)) continue;
    AddSection(tokens.Read(), start);
  }
}

// ---- ABC tunes ---------------------------------------------------------------------
void AbcSections(bool withCommand) {
  const std::string& text = CurrentText;
  const size_t first = PosNoCase("X:", text);
  if (first == 0) return;
  std::vector<size_t> tunes = {first - 1};
  std::vector<size_t> titles;
  for (size_t start = 0; start < text.size(); start = NextLine(text, start)) {
    if (start > first - 1 && StartsNoCase(text, start, "X:")) tunes.push_back(start);
    if (StartsNoCase(text, start, "T:")) titles.push_back(start);
  }
  if (tunes.front() > 0) AddSection("[Global commands]", 0);
  size_t title = 0;  // the first title line not before the tune
  for (size_t i = 0; i < tunes.size(); ++i) {
    const size_t tune = tunes[i];
    const size_t next = i + 1 < tunes.size() ? tunes[i + 1] : text.size();
    while (title < titles.size() && titles[title] <= tune) ++title;
    const bool own = title < titles.size() && titles[title] < next;
    std::string name;
    if (own || (!withCommand && title < titles.size())) {
      name = LineAt(text, titles[title]).substr(2);
    } else if (withCommand) {
      ScrollToPos(EditorPosOf(tune), true);
      ShowErrorAndAbort("Cannot generate Section menu.  No title for tune starting " +
                        text.substr(tune, 50) + "...");
    } else {
      const std::string firstLine = LineAt(text, 0);
      name = firstLine.size() > 2 ? firstLine.substr(2) : std::string();
    }
    AddSection(name, tune);
  }
}

// ---- ASP and VBA ------------------------------------------------------------------
void AspSections(bool withCommand) {
  const std::string& text = CurrentText;
  if (text.size() <= 8) return;
  TSectionTokens tokens(text, false, withCommand);
  for (size_t lf = text.find('\n'); lf != npos; lf = text.find('\n', lf + 1)) {
    if (lf + 1 >= text.size() || text[lf + 1] == '\r') continue;
    const size_t lineStart = lf + 1;
    tokens.pos = lineStart;
    std::string token = tokens.Read();
    while (InList("|public|private|", token)) token = tokens.Read();
    if (!InList("|SUB|FUNCTION|", token) || !OnLine(tokens, lineStart)) continue;
    const size_t after = std::min(tokens.pos, text.size());
    if (text.compare(after, 1, ".") == 0 || text.substr(after, 50).find('{') != npos) continue;
    AddSection(tokens.Read(), lineStart);
  }
  const size_t last = LastSectionStart();
  if (last == npos || last == 0) return;
  const size_t endFunction = PosNoCase("End Function", text, last + 1);
  const size_t endSub = PosNoCase("End Sub", text, last + 1);
  size_t from = std::max(endFunction, endSub);
  from = from == 0 ? 0 : from - 1;
  size_t at = from;
  while (at < text.size() && text[at] != '\r' && text[at] != '\n') ++at;
  while (at < text.size() && (text[at] == '\r' || text[at] == '\n')) ++at;
  AddSection("[Open Code]", at);
}

// ---- HTML: its script and style blocks -------------------------------------------------
void HtmlSections() {
  const std::string& text = CurrentText;
  const std::string upper = UpperCaseLatin1(text);
  AddSection("HTML", 0);
  for (size_t start = 0; start < text.size();) {
    const size_t next = NextLine(text, start);
    const string_view line = string_view(upper).substr(start, next - start);
    for (const char* word : {"SCRIPT", "STYLE"}) {
      if (line.find(std::string("<") + word) != npos) {
        AddSection(word[1] == 'C' ? "Script" : "Style", start);
      }
      if (line.find(std::string("</") + word) != npos && next < text.size()) {
        const size_t after = NextLine(text, next);
        if (string_view(upper).substr(next, after - next).find("<SCRIPT") == npos) {
          AddSection("HTML", next);
        }
      }
    }
    start = next;
  }
}

// ---- stage-play scripts ---------------------------------------------------------------
// FindNextScene: the next heading line after from ("Scene ..." lines, then
// numbered ones: digits, then a tab); npos when none is left.
size_t FindNextScene(const std::string& text, size_t from) {
  for (size_t start = NextLine(text, from); start < text.size(); start = NextLine(text, start)) {
    if (StartsNoCase(text, start, "Scene")) return start;
  }
  for (size_t start = NextLine(text, from); start < text.size(); start = NextLine(text, start)) {
    size_t at = start;
    if (text[at] < '1' || text[at] > '9') continue;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
    if (at < text.size() && text[at] == '\t') return start;
  }
  return npos;
}

std::string SceneName(const std::string& text, size_t heading) {
  // The heading's line must end.
  PosNoCaseOrAbort("\n", text, heading + 1);
  std::string line = LineAt(text, heading);
  std::string name;
  if (text[heading] == 'S') {
    size_t at = 5;
    while (at < line.size() && (line[at] == ' ' || line[at] == ':')) ++at;
    name = line.substr(std::min(at, line.size()));
  } else {
    size_t at = 0;
    while (at < line.size() && ((line[at] >= '0' && line[at] <= '9') || line[at] == '\t')) ++at;
    name = line.substr(at);
    // A scene number may stand at the end of the heading too.
    while (!name.empty() && name.back() >= '0' && name.back() <= '9') name.pop_back();
    name = TrimQuotes(name);
  }
  if (!name.empty() && name.back() == '.') name.pop_back();
  if (StartsWithNoCase(name, "Ext.") || StartsWithNoCase(name, "Int.")) {
    name = name.size() > 5 ? name.substr(5) : std::string();
  }
  for (const char* time : {"- Day", "- Night"}) {
    const std::string ending(time);
    if (name.size() >= ending.size() && name.ends_with(ending)) {
      name.erase(name.size() - ending.size());
    }
  }
  if (TrimQuotes(name).empty()) name = "[No name]";
  return name;
}

void PlaySections() {
  const std::string& text = CurrentText;
  AddSection("Title etc.", 0);
  for (size_t heading = FindNextScene(text, 0); heading != npos;
       heading = FindNextScene(text, heading)) {
    AddSection(SceneName(text, heading), heading);
  }
}

// ---- bracket-sectioned text -----------------------------------------------------------
void BracketedSections() {
  const std::string& text = CurrentText;
  // Each line's first place in the text, by its upper-case form.
  std::unordered_map<std::string, size_t> firstAt;
  for (size_t start = 0; start < text.size(); start = NextLine(text, start)) {
    if (text[start] != '[') continue;
    const std::string line = LineAt(text, start);
    firstAt.emplace(UpperCaseLatin1(line), start);
    // The start is one past the "[" of the line's first occurrence after a line
    // break; a line with no break before it starts at 1.
    const size_t first = firstAt[UpperCaseLatin1(line)];
    AddSection(line.size() > 2 ? line.substr(1, line.size() - 2) : std::string(),
               first == 0 ? 1 : first + 1);
  }
}

// ---- text with "========" underlines, and SQL batches -----------------------------------
// The first line after from that is not empty; npos when none.
size_t NonEmptyLineAfter(const std::string& text, size_t from) {
  for (size_t start = NextLine(text, from); start < text.size(); start = NextLine(text, start)) {
    if (text[start] != '\r' && text[start] != '\n') return start;
  }
  return npos;
}

void PlainSections() {
  const std::string& text = CurrentText;
  size_t at = text.find("========");
  if (at == npos) return;
  AddSection("[Start]", 0);
  while (at != npos) {
    const size_t cr = text.find('\r', at);
    if (cr == npos || cr + 20 >= text.size()) break;
    const size_t line = NonEmptyLineAfter(text, at);
    if (line == npos) break;
    AddSection(LineAt(text, line), line);
    at = text.find("========", NextLine(text, line));
  }
}

void SqlSections() {
  const std::string& text = CurrentText;
  for (size_t start = 0; start < text.size(); start = NextLine(text, start)) {
    if (UpperCaseLatin1(LineAt(text, start)) != "GO") continue;
    const size_t line = NonEmptyLineAfter(text, start);
    if (line == npos) break;
    AddSection(LineAt(text, line), line);
  }
}

// ---- CSS rules ---------------------------------------------------------------------
void CssSections(bool withCommand) {
  const std::string& text = CurrentText;
  size_t at = 0;
  auto lineStart = [&](size_t pos) {
    const size_t lf = pos == 0 ? npos : text.rfind('\n', pos - 1);
    return lf == npos ? 0 : lf + 1;
  };
  while (at < text.size()) {
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ') ++at;
    if (at >= text.size()) break;
    if (text.compare(at, 2, "/*") == 0) {
      const size_t close = text.find("*/", at + 2);
      if (close == npos) {
        if (withCommand) ShowErrorAndAbort("Unterminated comment.");
        break;
      }
      at = close + 2;
      continue;
    }
    const size_t brace = std::min(text.find('{', at), text.size());
    const std::string selector = text.substr(at, brace - at);
    const size_t start = lineStart(at);
    size_t next;
    if (StartsWithNoCase(selector, "@media")) {
      AddSection(MediaSeparator, start);
      next = brace + 1;
    } else {
      next = text.find('}', brace);
      next = next == npos ? text.size() : next;
    }
    AddSection(selector, start);
    at = std::max(next, at + 1);
    while (at < text.size() && (static_cast<unsigned char>(text[at]) <= ' ' || text[at] == '}')) {
      ++at;
    }
  }
}

}  // namespace

const std::string& TSectionTokens::Read() {
  token.clear();
  if (!scriptText) {
    const bool comment = text.compare(pos, 2, "//") == 0;
    const bool commentNext = pos < text.size() && text[pos] == '\r' && pos + 1 < text.size() &&
                             text.compare(NextLine(text, pos), 2, "//") == 0;
    if (comment || commentNext) {
      const size_t from = comment ? pos : NextLine(text, pos);
      const size_t lf = text.find('\n', from);
      if (lf == npos) {
        pos = text.size();
        return token;
      }
      pos = lf;
    }
  }
  if (pos < text.size() && text[pos] == '<') {
    while (pos < text.size() && text[pos] != '>' && text[pos] != '\n') ++pos;
    if (pos < text.size()) ++pos;
  }
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= ' ') ++pos;
  if (pos >= text.size()) return token;
  // Any character starts a token, and the letters, digits and "_" after it join it:
  // "{get" is no block.
  start = pos++;
  while (pos < text.size() && IsWordChar(static_cast<unsigned char>(text[pos]))) ++pos;
  token = text.substr(start, pos - start);
  if (pos >= text.size()) {
    // Only a text without its final line end ends inside a token; the idle pass's
    // quiet builds do not report it again and again.
    if (withCommand) ShowMsg("EOF within token");
    return token;
  }
  while (pos < text.size() && text[pos] != '\n' && static_cast<unsigned char>(text[pos]) <= ' ') {
    ++pos;
  }
  return token;
}

TSectionRule SectionRuleOf() {
  return SectionRuleOfKinds(CurrentKinds(), MainMenu().Checked("Raw"));
}

void FindSections(bool withCommand) {
  switch (SectionRuleOf()) {
    case TSectionRule::DotPage:
      return DotPageSections();
    case TSectionRule::CSharp:
      return CSharpSections(withCommand);
    case TSectionRule::Script:
      return ScriptSections(withCommand);
    case TSectionRule::Abc:
      return AbcSections(withCommand);
    case TSectionRule::Asp:
      return AspSections(withCommand);
    case TSectionRule::Html:
      return HtmlSections();
    case TSectionRule::Play:
      return PlaySections();
    case TSectionRule::Bracketed:
      return BracketedSections();
    case TSectionRule::Plain:
      return PlainSections();
    case TSectionRule::Sql:
      return SqlSections();
    case TSectionRule::Css:
      return CssSections(withCommand);
    case TSectionRule::None:
      return;
  }
}

}  // namespace quorrel
