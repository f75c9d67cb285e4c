// The script checker's rules that rewrite a line: splitting where a line holds
// more than one statement or block edge, the conditions of "if" and "while", and
// trailing comments at column 40. Every place is found in the code-only copy, so
// that nothing inside a string or a comment is touched.
#include <string>

#include "platform/Chars.h"
#include "validate/ScriptRun.h"

namespace quorrel {

namespace {

constexpr size_t kCommentColumn = 40;
constexpr char kFunction[] = "function";
constexpr size_t kFunctionLength = sizeof kFunction - 1;

std::string TrimRight(std::string text) {
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  return text;
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// The word of the line's start in lower case, as written ("abstract" kept).
std::string LeadingWord(const std::string& code) {
  std::string word;
  for (size_t i = 0; i < code.size() && IsScriptWordChar(code[i]); ++i) {
    word += IsLetter(code[i]) ? static_cast<char>(code[i] | 0x20) : code[i];
  }
  return word;
}

// Words a line end may not follow where a function comes after them: JavaScript
// would end the statement there ("return" alone returns nothing).
bool EndsWithBoundWord(const std::string& code, size_t at) {
  while (at > 0 && IsBlank(code[at - 1])) --at;
  size_t start = at;
  while (start > 0 && IsScriptWordChar(code[start - 1])) --start;
  const std::string_view word = std::string_view(code).substr(start, at - start);
  return word == "return" || word == "throw" || word == "yield" || word == "async";
}

// The "function" keyword after other text, where it starts a function of its
// own: not a part of a name, not an argument or a value ("(function", "= function",
// ", function", "return function"), and not in a declaration whose words go
// before it.
size_t FunctionToSplit(const std::string& code) {
  const std::string leading = LeadingWord(code);
  for (const char* word : {"private", "public", "abstract", "protected", "return"}) {
    if (leading == word) return std::string::npos;
  }
  for (size_t at = code.find(kFunction, 1); at != std::string::npos;
       at = code.find(kFunction, at + 1)) {
    const size_t end = at + kFunctionLength;
    if (end < code.size() && IsScriptWordChar(code[end])) continue;
    const char before = code[at - 1];
    if (IsScriptWordChar(before) || before == '$' || before == '(' || before == '=') continue;
    if (at >= 2 && (code[at - 2] == ',' || code[at - 2] == '=')) continue;
    if (EndsWithBoundWord(code, at)) continue;
    return at;
  }
  return std::string::npos;
}

// The last character before `at` that is not a blank ('\0' for none).
char BeforeBlanks(const std::string& code, size_t at) {
  while (at > 0 && IsBlank(code[at - 1])) --at;
  return at == 0 ? '\0' : code[at - 1];
}

// Where the line is to be cut, by the first splitting rule that applies.
size_t SplitPlace(const std::string& line, const std::string& code) {
  if (const size_t at = FunctionToSplit(code); at != std::string::npos) return at;
  // Text after a "}" goes to the next line, unless it ends the statement or the
  // "do" loop the brace closes.
  for (size_t at = code.find('}'); at != std::string::npos; at = code.find('}', at + 1)) {
    const std::string_view rest = TrimLeft(std::string_view(line).substr(at + 1));
    if (rest.empty() || rest.starts_with(")") || rest.starts_with(";") || rest.starts_with("//") ||
        rest.starts_with("while")) {
      continue;
    }
    return at + 1;
  }
  // Text after a "{" goes to the next line, unless it is a string, the block's end
  // or a comment.
  for (size_t at = code.find('{'); at != std::string::npos; at = code.find('{', at + 1)) {
    const std::string_view rest = TrimLeft(std::string_view(line).substr(at + 1));
    if (rest.empty() || IsQuote(rest.front()) || rest.starts_with("}") || rest.starts_with("//")) {
      continue;
    }
    return at + 1;
  }
  // A "}" after other text starts a line of its own; "{}" stays together.
  for (size_t at = code.find('}', 1); at != std::string::npos; at = code.find('}', at + 1)) {
    const char before = BeforeBlanks(code, at);
    if (before != '\0' && before != '{' && !IsQuote(before)) return at;
  }
  return std::string::npos;
}

// The position of the condition's closing bracket, npos when it is not on the line.
size_t ClosingBracket(const std::string& code, size_t open) {
  int depth = 0;
  for (size_t at = open; at < code.size(); ++at) {
    if (code[at] == '(') ++depth;
    if (code[at] == ')' && --depth == 0) return at;
  }
  return std::string::npos;
}

// "then" as a word of its own after a blank.
bool HasThen(const std::string& code, size_t from) {
  for (size_t at = code.find(" then", from); at != std::string::npos;
       at = code.find(" then", at + 1)) {
    const size_t end = at + 5;
    if (end >= code.size() || !IsScriptWordChar(code[end])) return true;
  }
  return false;
}

// "not" as a word of its own where it negates what follows: not the end of a name
// ("$cannot"), a variable ("$not") or a member ("a.not", "$a->not", "A::not"), and
// not a name of its own ("if ( not )").
bool IsNotOperator(const std::string& code, size_t at) {
  if (at > 0) {
    const char before = code[at - 1];
    if (IsScriptWordChar(before) || before == '$' || before == '.' || before == '>' ||
        before == ':') {
      return false;
    }
  }
  size_t next = at + 3;
  while (next < code.size() && IsBlank(code[next])) ++next;
  if (next >= code.size()) return false;
  const char operand = code[next];
  return IsScriptWordChar(operand) || operand == '$' || operand == '(' || operand == '!' ||
         IsQuote(operand);
}

}  // namespace

bool SplitScriptLine(TScriptRun& run, std::string& line, TScriptScan& scan) {
  const size_t cut = SplitPlace(line, scan.code);
  if (cut == std::string::npos) return false;
  run.InsertAfter(std::string(TrimLeft(std::string_view(line).substr(cut))));
  line = TrimRight(line.substr(0, cut));
  scan = run.Scan(line);
  return true;
}

void CheckScriptCondition(TScriptRun& run, std::string& line, TScriptScan& scan,
                          const std::string& word) {
  const size_t open = word.size() + 1;
  if (line.size() <= open || line[word.size()] != ' ' || line[open] != '(') {
    run.Stop("No bracket after " + word);
  }
  const size_t close = ClosingBracket(scan.code, open);
  // "then" after the condition; inside it, it is a name like any other.
  if (HasThen(scan.code, close == std::string::npos ? open : close)) {
    run.Stop("Do not use \"then\" after \"if\".");
  }
  const size_t end = close == std::string::npos ? scan.code.size() : close;
  // "<>" and "not" in the condition, written as the language has them.
  bool rewritten = false;
  for (size_t at = scan.code.find("<>", open); at != std::string::npos && at < end;
       at = scan.code.find("<>", at + 2)) {
    line.replace(at, 2, "!=");
    rewritten = true;
  }
  for (size_t at = scan.code.rfind("not ", end); at != std::string::npos && at > open;
       at = at == 0 ? std::string::npos : scan.code.rfind("not ", at - 1)) {
    if (at + 4 > end || !IsNotOperator(scan.code, at)) continue;
    line.replace(at, 4, "!");
    rewritten = true;
  }
  if (rewritten) scan = run.Scan(line);
  if (close == std::string::npos) return;
  // A statement after the condition goes to a line of its own.
  const size_t after = ClosingBracket(scan.code, open);
  if (after == std::string::npos) return;
  const std::string_view rest = TrimLeft(std::string_view(line).substr(after + 1));
  if (rest.empty() || rest.starts_with("{") || rest.starts_with(";") || rest.starts_with(":") ||
      rest.starts_with("//")) {
    return;
  }
  run.InsertAfter(std::string(rest));
  line = TrimRight(line.substr(0, after + 1));
  scan = run.Scan(line);
}

std::string AlignScriptComment(const std::string& line, size_t comment) {
  const std::string code = TrimRight(line.substr(0, comment));
  if (code.empty() || code.size() >= kCommentColumn) return line;
  return code + std::string(kCommentColumn - 1 - code.size(), ' ') + line.substr(comment);
}

}  // namespace quorrel
