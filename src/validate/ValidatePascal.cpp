// The Pascal source formatter: re-indents a unit two columns per block level, with
// its leading keywords written "Begin", at most one blank line in a row, and lines
// that hold a keyword in their middle split on request.
#include <string>
#include <vector>

#include "edit/LineCommands.h"
#include "platform/Abort.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/StatusBar.h"
#include "shell/TextLines.h"
#include "validate/PascalBlocks.h"
#include "validate/PascalComments.h"
#include "validate/PascalKeywords.h"
#include "validate/PascalScan.h"
#include "validate/Validators.h"

namespace quorrel {

namespace {

// A line of this length or more, its added blank included, does not fit.
constexpr size_t kLineCapacity = 255;

constexpr char kSplittingDone[] = "Splitting lines done - please reformat again.";
constexpr char kNotInColumnOne[] = "Indenting error - does not finish in column 1";

// The declaration-block words, in the order they are looked for, as written back.
struct TBlockWord {
  const char* upper;
  const char* written;
};
constexpr TBlockWord kBlockWords[] = {{"CLASS", "Class"},
                                      {"RECORD", "Record"},
                                      {"OBJECT", "Object"},
                                      {"DISPINTERFACE", "DispInterface"},
                                      {"INTERFACE", "Interface"}};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsBlankLine(const std::string& line) {
  for (char c : line) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

size_t SkipBlanks(const std::string& text, size_t from) {
  while (from < text.size() && IsBlank(text[from])) ++from;
  return from;
}

std::string TrimRight(std::string text) {
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  return text;
}

// The position of `word` as a whole word in the upper-case copy, from `from` on.
size_t FindWord(const std::string& upper, const std::string& word, size_t from = 0) {
  for (size_t at = upper.find(word, from); at != std::string::npos; at = upper.find(word, at + 1)) {
    const bool before = at > 0 && IsPascalWordChar(upper[at - 1]);
    const size_t end = at + word.size();
    const bool after = end < upper.size() && IsPascalWordChar(upper[end]);
    if (!before && !after) return at;
  }
  return std::string::npos;
}

// The next word of the copy from `from` on: its start (npos for none) and the word.
size_t NextWord(const std::string& upper, size_t from, std::string& word) {
  size_t at = from;
  while (at < upper.size() && !IsPascalWordChar(upper[at])) ++at;
  if (at >= upper.size()) return std::string::npos;
  size_t end = at;
  while (end < upper.size() && IsPascalWordChar(upper[end])) ++end;
  word = upper.substr(at, end - at);
  return at;
}

// The word that ends just before `at`, blanks between allowed.
std::string WordBefore(const std::string& upper, size_t at) {
  while (at > 0 && IsBlank(upper[at - 1])) --at;
  size_t start = at;
  while (start > 0 && IsPascalWordChar(upper[start - 1])) --start;
  return upper.substr(start, at - start);
}

char LastCodeChar(const std::string& upper) {
  for (size_t i = upper.size(); i > 0; --i) {
    if (!IsBlank(upper[i - 1])) return upper[i - 1];
  }
  return '\0';
}

std::string Capitalised(const std::string& word) {
  std::string result = word;
  for (size_t i = 0; i < result.size(); ++i) {
    char& c = result[i];
    if (i == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (i > 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

// The keyword that leads a line: its code, where it stands and how long it is.
struct TLeadingWord {
  int code = PasNone;
  size_t at = 0;
  size_t length = 0;
  bool endDot = false;  // "END." closes the unit
};

// A declaration-block word of a line: where it stands and whether it opens a block.
struct TBlockFound {
  size_t at = std::string::npos;
  bool opens = false;
  int code = 0;
};

TLeadingWord LeadingWord(const std::string& upper, size_t first);

struct TPascalRun {
  std::vector<std::string> lines;
  TPascalScanState scan;
  TPascalBlocks blocks;
  // The open "{$IF...}" directives: both branches of a conditional are indented
  // from the state at its "{$IF", and the first branch's state goes on after it,
  // as when the condition holds: a branch may open a block that a later
  // conditional closes.
  struct TCondition {
    TPascalBlocks atIf;
    bool elseSeen = false;
    TPascalBlocks afterFirst;
  };
  std::vector<TCondition> conditions;
  bool interfaceSeen = false;
  bool splitAll = false;
  bool split = false;
  // Once a line is split nothing more is indented, and only the assembler blocks,
  // where nothing is split, are followed.
  bool asmWhileSplitting = false;
  // The widest line, in characters, that the window shows.
  int widthLimit = DefaultPascalWidthLimit;
  // The comment column of the line before; 0 when it had no comment there.
  int commentColumn = 0;

  void Line(size_t& i);
  TLeadingWord Leading(const std::string& upper, size_t first);
  TBlockFound BlockWord(std::string& line, const std::string& upper, size_t first) const;
  bool Split(size_t i, const std::string& upper, const TLeadingWord& leading);
  void Directives(const std::vector<TPascalDirective>& directives);
  void PlaceCommentLine(std::string& line, size_t first, int indent);
  void PlaceTrailingComment(std::string& line, const TPascalLineScan& scanned, size_t shiftedAt);
};

TLeadingWord LeadingWord(const std::string& upper, size_t first) {
  TLeadingWord leading;
  leading.at = first;
  std::string word;
  if (NextWord(upper, first, word) != first) return leading;
  const size_t written = word.size();
  while (!word.empty() && word.back() == '.') word.pop_back();
  leading.endDot = word.size() < written && word == "END";
  leading.length = word.size();
  leading.code = PascalKeywords(word);
  if (word == "STRICT") {
    // "strict private": the visibility word leads the line.
    std::string next;
    const size_t at = NextWord(upper, first + written, next);
    const int code = at == std::string::npos ? PasNone : PascalKeywords(next);
    if (code >= PasPrivate && code <= PasAutomated) {
      leading.code = code;
      leading.at = at;
      leading.length = next.size();
    }
  }
  return leading;
}

TLeadingWord TPascalRun::Leading(const std::string& upper, size_t first) {
  TLeadingWord leading = LeadingWord(upper, first);
  if (leading.code == PasInterface && !interfaceSeen) {
    interfaceSeen = true;
    leading.code = PasInterfaceSection;
  }
  return leading;
}

TBlockFound TPascalRun::BlockWord(std::string& line, const std::string& upper, size_t first) const {
  TBlockFound found;
  if (FindWord(upper, "STRICT") != std::string::npos) return found;
  for (const TBlockWord& word : kBlockWords) {
    const std::string name = word.upper;
    const size_t at = FindWord(upper, name);
    if (at == std::string::npos) continue;
    line.replace(at, name.size(), word.written);
    found.at = at;
    found.code = name == "RECORD" ? PasRecordBlock : PasClassBlock;
    const size_t rest = SkipBlanks(upper, at + name.size());
    const char nextChar = rest < upper.size() ? upper[rest] : '\0';
    if (name == "CLASS") {
      // "class function ...", "= class;" and "class of ...;" declare no class.
      found.opens = at > first && upper.find(';') == std::string::npos;
    } else if (name == "RECORD") {
      found.opens = true;
    } else if (name == "OBJECT") {
      found.opens = WordBefore(upper, at) != "OF";  // "procedure of object"
    } else if (name == "DISPINTERFACE") {
      found.opens = nextChar != ';';
    } else {
      size_t equals = at;
      while (equals > 0 && IsBlank(upper[equals - 1])) --equals;
      found.opens = equals > 0 && upper[equals - 1] == '=' && nextChar != ';';
    }
    // A block that ends on its own line opens nothing.
    if (FindWord(upper, "END", at) != std::string::npos) found.opens = false;
    return found;
  }
  return found;
}

// Splits a line with a keyword in its middle, or with a statement after its
// "then", "do" or "else", when the user agrees. The rest becomes the next line.
bool TPascalRun::Split(size_t i, const std::string& upper, const TLeadingWord& leading) {
  size_t cut = std::string::npos;
  std::string keyword;
  std::string word;
  const size_t at = NextWord(upper, leading.at + leading.length, word);
  int code = PasNone;
  for (size_t from = at; from != std::string::npos;
       from = NextWord(upper, from + word.size(), word)) {
    code = PascalKeywords(word);
    if (code != PasNone) {
      cut = from;
      break;
    }
  }
  if (cut != std::string::npos) {
    const bool hasThen = FindWord(upper, "THEN") != std::string::npos;
    const bool declares = code == PasVar || code == PasConst || code == PasProcedure ||
                          code == PasFunction || code == PasInherited || code == PasType;
    const bool interfaceType =
        code == PasInterface && (upper.find("INTERFACE;") != std::string::npos ||
                                 upper.find("= INTERFACE") != std::string::npos);
    // A keyword that leads what is left (in arguments, where no leading word is
    // taken) has nothing before it to split from.
    if (declares || (code == PasElse && hasThen) || interfaceType || cut <= leading.at) {
      cut = std::string::npos;
    } else {
      keyword = word;
    }
  }
  if (cut == std::string::npos) {
    for (const char* after : {"THEN", "DO", "ELSE"}) {
      const size_t found = FindWord(upper, after, leading.at);
      if (found == std::string::npos) continue;
      const size_t end = found + std::string(after).size();
      if (SkipBlanks(upper, end) < upper.size()) {
        cut = end;
        keyword = after;
      }
      break;
    }
  }
  if (cut == std::string::npos) return false;

  std::string& line = lines[i];
  if (!splitAll) {
    const int answer = AskCustom("Line " + std::to_string(i + 1) + " (?)\r" + keyword +
                                     " - Keyword not at start/end of line.  Split?\r\r" + line,
                                 "Yes", "&All", 0, "Cancel");
    if (answer == mrCancel) Abort();
    if (answer == mrNo) splitAll = true;
  }
  const size_t restAt = SkipBlanks(line, cut);
  std::string rest = line.substr(restAt);
  line = TrimRight(line.substr(0, cut));
  lines.insert(lines.begin() + static_cast<long>(i) + 1, rest);
  split = true;
  return true;
}

void TPascalRun::Directives(const std::vector<TPascalDirective>& directives) {
  for (TPascalDirective directive : directives) {
    switch (directive) {
      case TPascalDirective::If:
        if (conditions.size() >= LevelMax) StopPascalRun("LevelMax needs to be increased");
        conditions.push_back({blocks, false, {}});
        break;
      case TPascalDirective::Else:
        if (conditions.empty()) break;
        if (!conditions.back().elseSeen) {
          conditions.back().elseSeen = true;
          conditions.back().afterFirst = blocks;
        }
        blocks = conditions.back().atIf;
        break;
      case TPascalDirective::EndIf:
        if (conditions.empty()) break;
        if (conditions.back().elseSeen) blocks = conditions.back().afterFirst;
        conditions.pop_back();
        break;
    }
  }
}

// A line that holds only a comment: directives and "//" lines start in column 1;
// a "{" line joins the comment column above it when it fits, and a comment after
// the next line's code lines up with it.
void TPascalRun::PlaceCommentLine(std::string& line, size_t first, int indent) {
  const std::string comment = TrimRight(line.substr(first));
  int column = indent;
  if (comment.compare(0, 2, "{$") == 0 || comment.compare(0, 2, "//") == 0) {
    column = 1;
    commentColumn = 0;
  } else if (comment[0] == '{') {
    column = BraceLineColumn(indent, comment.size(), commentColumn, widthLimit);
    commentColumn = column;
  }
  line = std::string(static_cast<size_t>(column - 1), ' ') + comment;
}

// A comment after the code of a line, with nothing after it, goes to its column;
// a line with no such comment ends the column.
void TPascalRun::PlaceTrailingComment(std::string& line, const TPascalLineScan& scanned,
                                      size_t shiftedAt) {
  const bool trailing = scanned.commentAt != std::string::npos &&
                        IsBlankLine(scanned.upper.substr(scanned.commentAt));
  if (!trailing || shiftedAt >= line.size()) {
    commentColumn = 0;
    return;
  }
  const std::string code = TrimRight(line.substr(0, shiftedAt));
  const std::string comment = TrimRight(line.substr(shiftedAt));
  const int codeEnd = static_cast<int>(code.size());
  const int column = TrailingCommentColumn(codeEnd, comment.size(), commentColumn, widthLimit);
  line = code + std::string(static_cast<size_t>(column - 1 - codeEnd), ' ') + comment;
  commentColumn = column;
}

void TPascalRun::Line(size_t& i) {
  if (lines[i].size() + 1 >= kLineCapacity) {
    StopPascalRun("Line " + std::to_string(i + 1) + " is too long.");
  }
  const bool inComment = scan.inBrace || scan.inParenStar;
  const bool off = scan.formattingOff;
  const int brackets = scan.openBrackets;

  // At most one blank line in a row; two stay before a routine or its body.
  if (!off && !inComment && i >= 2 && IsBlankLine(lines[i - 1]) && IsBlankLine(lines[i - 2])) {
    TPascalScanState peek = scan;
    const TPascalLineScan ahead = ScanPascalLine(lines[i], peek);
    const TLeadingWord next = LeadingWord(ahead.upper, SkipBlanks(ahead.upper, 0));
    const bool keepTwo =
        next.code == PasBegin || (next.code >= PasProcedure && next.code <= PasDestructor);
    if (!keepTwo) {
      lines.erase(lines.begin() + static_cast<long>(i) - 2);
      --i;
    }
  }
  const size_t n = i + 1;
  if (blocks.stack.size() > LevelMax - 1) StopPascalRun("LevelMax needs to be increased");

  const TPascalScanState atStart = scan;
  TPascalLineScan scanned = ScanPascalLine(lines[i], scan);
  if (scanned.stringOpen) StopPascalRun("Unmatched quote in\r" + lines[i]);
  if (off) return;  // formatting is off: the line stays as it is

  std::string& line = lines[i];
  const size_t first = SkipBlanks(line, 0);
  const bool inAsm =
      split ? asmWhileSplitting : !blocks.stack.empty() && blocks.stack.back().code == PasAsm;
  if (inComment) {
    // A comment's own lines keep their layout.
    line = TrimRight(line);
    return;
  }
  const bool commentOnly = first < line.size() && IsBlankLine(scanned.upper);
  TLeadingWord leading;
  leading.at = first;
  if (!commentOnly && brackets == 0) leading = Leading(scanned.upper, first);
  if (inAsm && leading.code != PasEnd) {
    line = TrimRight(line);
    return;
  }

  const TBlockFound block = inAsm ? TBlockFound{} : BlockWord(line, scanned.upper, first);
  const bool blockAfterStart = block.at != std::string::npos && block.at > first;
  // What is left of a split line may hold another keyword ("else x end;" split at
  // "end" leaves "else x"): it is looked at again.
  while (!inAsm && !commentOnly && !blockAfterStart && Split(i, scanned.upper, leading)) {
    // The line now ends where it was cut: its state is the one at the cut.
    scan = atStart;
    scanned = ScanPascalLine(lines[i], scan);
  }
  std::string& kept = lines[i];

  if (split) {
    if (leading.code == PasAsm) asmWhileSplitting = true;
    if (leading.code == PasEnd) asmWhileSplitting = false;
    kept = TrimRight(kept);
    return;
  }
  if (IsBlankLine(kept)) {
    kept.clear();
    commentColumn = 0;
  } else if (commentOnly) {
    PlaceCommentLine(kept, first, blocks.Content());
  } else {
    int code = leading.code;
    if (brackets > 0) blocks.continuation = true;  // arguments go on
    const int column = blocks.Place(code, leading.endDot, n);
    if (column < 1) {
      StopPascalRun("Indenting error - line " + std::to_string(n) + " would be before column 1");
    }
    if (block.opens) blocks.Push(block.code, column);
    if (leading.code != PasNone) {
      kept.replace(leading.at, leading.length,
                   Capitalised(kept.substr(leading.at, leading.length)));
    }
    kept = std::string(static_cast<size_t>(column - 1), ' ') + kept.substr(first);
    if (scanned.commentAt != std::string::npos) {
      PlaceTrailingComment(kept, scanned, scanned.commentAt - first + static_cast<size_t>(column - 1));
    } else {
      commentColumn = 0;
    }
    const char last = LastCodeChar(scanned.upper);
    if (last == ';') blocks.EndOfStatement();
    // An interface's GUID or an attribute ("['{...}']", "[Weak]") is complete.
    const bool bracketed = scanned.upper[first] == '[' && last == ']';
    blocks.continuation = code == PasNone && !block.opens && last != ';' && last != ',' &&
                          !bracketed && scan.openBrackets == 0;
  }
  kept = TrimRight(kept);
  Directives(scanned.directives);
}

}  // namespace

TValidation ValidatePascal(const TPage& page, int widthLimit) {
  ShowStatusMessage("Validating " + page.path);
  TValidation result;
  if (page.text.empty()) return result;
  bool lineEndAfterLast = false;
  TPascalRun run;
  run.widthLimit = widthLimit;
  run.lines = LinesWithoutEnds(page.text, &lineEndAfterLast);
  if (!run.lines.empty() && run.lines[0].find("NoReformat") != std::string::npos) return result;

  try {
    for (size_t i = 0; i < run.lines.size(); ++i) run.Line(i);
  } catch (const TPascalStop& stop) {
    TValidationError error;
    error.message = stop.message;
    error.atOffset = false;
    result.error = error;
    return result;
  }
  std::string text = JoinLines(run.lines, lineEndAfterLast);
  if (text != page.text) result.text = std::move(text);
  result.saveWhenReformatting = true;
  if (run.split) {
    // The lines are split but not yet indented: no verdict until the next run.
    result.error = TValidationError{0, kSplittingDone, 0, false};
  } else if (run.blocks.FinalColumn() != 1) {
    result.error = TValidationError{0, kNotInColumnOne, 0, false};
  } else {
    result.status = ValidatedStatus;
  }
  return result;
}

}  // namespace quorrel
