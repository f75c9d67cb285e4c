// The script checker's walk over one line: comment blocks passed over, the line
// split and its rules applied, the round brackets counted, and the line indented
// by its brace level (two columns a level; switch bodies two more).
#include <string>

#include "platform/Chars.h"
#include "validate/ScriptRun.h"

namespace quorrel {

namespace {

constexpr char kBracketsClosedUnopened[] =
    "Closing an unopened bracket.  See Validation | Check brackets.";
constexpr char kBlankLineInBrackets[] = "Bracket error or missing double-quote before this line.";

std::string Trimmed(const std::string& line) {
  return std::string(TrimBlanks(line));
}

bool Has(const std::string& text, char c) {
  return text.find(c) != std::string::npos;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// The line's first word as written, for the one rule that cares about its case.
bool StartsWithWord(const std::string& line, const std::string& word) {
  return line.starts_with(word) &&
         (line.size() == word.size() || !IsScriptWordChar(line[word.size()]));
}

void StopAtDelimiters(const TScriptRun& run, const std::string& line) {
  const bool delimiter =
      line.find("<%") != std::string::npos || line.find("%>") != std::string::npos;
  if (!delimiter || line.find("sprintf") != std::string::npos) return;
  if (run.Php()) {
    run.Stop("\"<%\" and \"%>\" are Classic ASP.  Use \"<?php\" and \"?>\".");
  }
  run.Stop("\"<%\" and \"%>\" are Classic ASP and cannot appear in JavaScript or C#.");
}

// "try", "catch" and "finally" take a block; "except" is another language's.
void CheckTryWords(const TScriptRun& run, const std::string& word, const TScriptScan& scan) {
  if (word == "except") {
    run.Stop("\"except\" should be \"catch\" (or perhaps you meant \"finally\").");
  }
  if (word != "try" && word != "catch" && word != "finally") return;
  if (Has(scan.code, '{')) return;
  const bool next = run.i + 1 < run.lines.size() && Trimmed(run.lines[run.i + 1]).starts_with("{");
  if (!next) run.Stop("try, catch and finally must be followed by \"{\".");
}

// Counts the round brackets of the line's code; a brace inside them ends the walk.
// Returns false when it did.
bool CountBrackets(TScriptRun& run, const std::string& code) {
  for (size_t at = 0; at < code.size(); ++at) {
    if (at > 0 && code[at - 1] == '\\') continue;
    const char c = code[at];
    if (c == '(') {
      if (run.brackets == 0) run.bracketLine = run.i;
      ++run.brackets;
    } else if (c == ')') {
      if (--run.brackets < 0) run.Stop(kBracketsClosedUnopened);
    } else if ((c == '{' || c == '}') && run.brackets > 0) {
      const bool quoted =
          (at > 0 && IsQuote(code[at - 1])) || (at + 1 < code.size() && IsQuote(code[at + 1]));
      if (!quoted) {
        run.walkEnded = true;
        return false;
      }
    }
  }
  return true;
}

// A "}" without a "{" leaves its level and what the level added to the extra
// indent. Returns the mark of the level left.
TScriptLevelMark LeaveLevel(TScriptRun& run) {
  TScriptLevelMark left;
  if (run.level >= 0) {
    left = run.marks[static_cast<size_t>(run.level)];
    run.marks[static_cast<size_t>(run.level)] = {};
  }
  run.extra -= left.extra;
  --run.level;
  // PHP and C# keep their code inside one outer block until the last line.
  const bool outerBlock = run.Php() || run.language == TScriptLanguage::CSharp;
  const int lowest = outerBlock && run.i + 1 < run.lines.size() ? 1 : 0;
  if (run.level >= lowest) return left;
  if (run.debug) {
    run.level = 0;
    return left;
  }
  std::string message = "Indenting error: Level = " + std::to_string(run.level);
  if (Trimmed(run.lines.back()) != "}") message += "\rPossibly caused by extraneous final line.";
  run.Stop(message);
}

void EnterLevel(TScriptRun& run, bool label) {
  if (run.level + 1 > MaxScriptLevel) run.Stop("Indenting level > 255");
  ++run.level;
  TScriptLevelMark& mark = run.marks[static_cast<size_t>(run.level)];
  mark = {};
  if (run.switchWaiting) {
    mark.extra = 2;
    run.switchWaiting = false;
  } else if (label) {
    // A label's block: its statements two columns right of the label.
    mark.extra = -2;
    mark.caseBlock = true;
    run.extra -= 2;
  }
}

// Joins a line that is only "{" to the line before it. Returns false when it stays.
bool JoinBrace(TScriptRun& run) {
  if (run.i == 0) return false;
  std::string& before = run.lines[run.i - 1];
  if (Trimmed(before).empty() || before.find("//") != std::string::npos) return false;
  before += " {";
  run.Erase(run.i);
  --run.i;
  EnterLevel(run, false);
  return true;
}

}  // namespace

void TScriptRun::Stop(const std::string& message, size_t at) const {
  throw TScriptStop{message, at < origins.size() ? origins[at] : 0};
}

TScriptScan TScriptRun::Scan(const std::string& line) const {
  TScriptScan scan = ScanScriptLine(line, language, inHtml);
  if (!scan.copes) {
    Stop("Quorrel doesn't cope with line " + std::to_string(origins[i] + 1) + ":\r" + line);
  }
  return scan;
}

void TScriptRun::InsertAfter(std::string line) {
  lines.insert(lines.begin() + static_cast<long>(i) + 1, std::move(line));
  origins.insert(origins.begin() + static_cast<long>(i) + 1, origins[i]);
  ++inserted;
}

void TScriptRun::InsertBefore() {
  lines.insert(lines.begin() + static_cast<long>(i), std::string());
  origins.insert(origins.begin() + static_cast<long>(i), origins[i]);
  ++i;
  ++inserted;
}

void TScriptRun::Erase(size_t at) {
  lines.erase(lines.begin() + static_cast<long>(at));
  origins.erase(origins.begin() + static_cast<long>(at));
}

void TScriptRun::CheckNamesOnce() {
  if (namesCheck) {
    if (!usedElsewhere) usedElsewhere = NamesOfRequiredFile(text, folder);
    if (!nameCounts) nameCounts = CountScriptNames(lowerText);
    const std::vector<std::string> once = names.UsedOnce(*nameCounts, *usedElsewhere);
    if (!once.empty()) {
      const size_t offset = FindScriptName(lowerText, once.front());
      std::string list;
      for (const std::string& name : once) list += (list.empty() ? "" : "\r\n") + name;
      throw TScriptStop{"The following names are referenced only once,\rnear offset " +
                            std::to_string(offset) + ":\r\n" + list,
                        0, offset, OnceOnlyHelpContext};
    }
  }
  names.Reduce();
}

namespace {

// The variables of the line's code: one spelling each within a function.
void SeeVariables(TScriptRun& run, const std::string& code) {
  for (const std::string& name : ScriptVariables(code)) {
    if (const std::optional<std::string> earlier = run.names.See(name)) {
      run.Stop("Difference in case.\r" + name + " was previously " + *earlier);
    }
  }
  if (!run.Php()) return;
  const std::string lower = LowerScriptText(code);
  for (size_t at = lower.find("$_session"); at != std::string::npos;
       at = lower.find("$_session", at + 1)) {
    if (code.compare(at, 9, "$_SESSION") != 0) run.Stop("$_SESSION must be all uppercase.");
  }
}

// Whether the last of the opening and closing tags of a block in the line opens it.
void FollowBlock(const std::string& lowerLine, const char* open, const char* close, bool& inBlock) {
  const size_t opened = lowerLine.rfind(open);
  const size_t closed = lowerLine.rfind(close);
  if (opened != std::string::npos && (closed == std::string::npos || opened > closed))
    inBlock = true;
  if (closed != std::string::npos && (opened == std::string::npos || closed > opened))
    inBlock = false;
}

// The brace level a line leaves, from the braces of its code: a "}" without "{"
// closes a level, a "{" without "}" opens one.
struct TBraces {
  bool opens = false;
  bool closes = false;
};
TBraces BracesOf(const std::string& code) {
  return {Has(code, '{') && !Has(code, '}'), Has(code, '}') && !Has(code, '{')};
}

// A PHP line that starts in the page: the HTML validator lays it out, so it stays
// as it is; the code in it counts for brackets, braces and names.
void CheckPageLine(TScriptRun& run) {
  const std::string& line = run.lines[run.i];
  const std::string trimmed = Trimmed(line);
  if (trimmed.starts_with("}") && !run.inStyle && !run.inScript) {
    run.Stop("Line starting \"}\" found within HTML.");
  }
  const TScriptScan scan = run.Scan(line);
  StopAtDelimiters(run, line);
  SeeVariables(run, scan.code);
  if (run.checkBrackets && !CountBrackets(run, scan.code)) return;
  const TBraces braces = BracesOf(scan.code);
  if (braces.closes) LeaveLevel(run);
  if (braces.opens) EnterLevel(run, false);
  run.inHtml = scan.inHtmlAfter;
}

}  // namespace

void CheckScriptLine(TScriptRun& run) {
  if (run.Php()) {
    const std::string lower = LowerScriptText(run.lines[run.i]);
    FollowBlock(lower, "<style", "</style", run.inStyle);
    FollowBlock(lower, "<script", "</script", run.inScript);
    if (run.inHtml && !run.inComment) {
      CheckPageLine(run);
      return;
    }
  }
  if (run.inComment) {
    if (run.lines[run.i].find("*/") != std::string::npos) run.inComment = false;
    return;
  }
  std::string line = Trimmed(run.lines[run.i]);
  // Comment blocks keep their own layout.
  if (run.language != TScriptLanguage::CSharp && line.starts_with("/*")) {
    run.inComment = line.find("*/", 2) == std::string::npos;
    return;
  }
  if (line.starts_with("}") && run.i > 0 && run.lines[run.i - 1].empty()) {
    run.Erase(run.i - 1);
    --run.i;
  }
  if (line.empty()) {
    run.lines[run.i].clear();
    if (run.checkBrackets && run.brackets > 0) run.Stop(kBlankLineInBrackets);
    return;
  }

  TScriptScan scan = run.Scan(line);
  if (run.checkQuotes && !run.Php() && !scan.quotesBalance) {
    run.Stop("Unmatched quotes in line:\r" + line);
  }
  const std::string word = ScriptFirstWord(scan.code);
  if (word == "function" || word == "class") {
    if (run.Php() && word == "function" && run.level != 1) {
      run.Stop("Indenting level non-zero at\r" + line);
    }
    if (run.brackets > 0) {
      run.walkEnded = true;
      return;
    }
    run.CheckNamesOnce();
  }
  while (SplitScriptLine(run, line, scan)) {
  }
  SeeVariables(run, scan.code);
  if (word == "function" && run.i > 0) {
    const std::string before = Trimmed(run.lines[run.i - 1]);
    if (!before.empty() && !before.ends_with("*/") && !before.ends_with("{") &&
        !before.ends_with("=")) {
      run.InsertBefore();
    }
  }

  StopAtDelimiters(run, line);
  if (!run.Php() && StartsWithWord(line, "If")) run.Stop("\"If\" should be \"if\"");
  for (const char* head : {"if(", "while(", "for("}) {
    const std::string written = head;
    if (!line.starts_with(written)) continue;
    line.insert(written.size() - 1, " ");
    scan = run.Scan(line);
  }
  CheckTryWords(run, word, scan);
  if (word == "if" || word == "elseif" || word == "while") {
    CheckScriptCondition(run, line, scan, word);
  }
  if (word == "for" && (line.size() < 5 || line[4] != '(')) run.Stop("No bracket after for");

  const bool label = word == "case" || word == "default";
  if (line == "{") {
    if (run.checkBrackets && !CountBrackets(run, scan.code)) return;
    if (JoinBrace(run)) return;
  } else if (run.checkBrackets && !CountBrackets(run, scan.code)) {
    return;
  }

  const auto [opens, closes] = BracesOf(scan.code);
  bool atLabel = label;
  if (closes) atLabel = LeaveLevel(run).caseBlock || label;
  // A switch's "{" comes on its own line or not at all.
  if (!opens) run.switchWaiting = false;

  int indent = (run.level - 1) * 2 + run.extra;
  if (indent < 0) indent = 0;
  if (closes && scan.code.find('}', 1) != std::string::npos) indent += 2;
  if (atLabel) indent = indent >= 2 ? indent - 2 : 0;
  if (opens) EnterLevel(run, label);
  if (word == "switch") {
    run.extra += 2;
    if (opens) {
      run.marks[static_cast<size_t>(run.level)].extra = 2;
    } else {
      run.switchWaiting = true;
    }
  }

  // "List< string >" as C# writes it.
  for (size_t at = scan.code.find("< string >"); at != std::string::npos;
       at = scan.code.find("< string >", at + 1)) {
    line.replace(at, 10, "<string>");
    scan = run.Scan(line);
  }
  std::string laidOut = std::string(static_cast<size_t>(indent), ' ') + line;
  if (scan.comment != std::string::npos) {
    laidOut = AlignScriptComment(laidOut, static_cast<size_t>(indent) + scan.comment);
  }
  run.lines[run.i] = laidOut;
  run.inHtml = scan.inHtmlAfter;
}

}  // namespace quorrel
