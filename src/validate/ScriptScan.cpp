#include "validate/ScriptScan.h"

#include "platform/Chars.h"

namespace quorrel {

namespace {

constexpr char kMask = '?';

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// Escape pairs never end a string: JavaScript and C# lose "\\", "\"" and "\'"
// before the scan, PHP only "\\" (its quote escapes are taken inside strings).
void MaskEscapePairs(std::string& code, TScriptLanguage language) {
  for (size_t i = 0; i + 1 < code.size(); ++i) {
    if (code[i] != '\\') continue;
    const char next = code[i + 1];
    const bool pair = next == '\\' || (language != TScriptLanguage::Php && IsQuote(next));
    if (!pair) continue;
    code[i] = kMask;
    code[i + 1] = kMask;
    ++i;
  }
}

// In a PHP string with double quotes a variable stays visible, for the names
// check; returns where its name ends.
size_t SkipPhpVariable(const std::string& code, size_t at) {
  size_t end = at + 1;
  while (end < code.size() && IsScriptWordChar(code[end])) ++end;
  return end;
}

// Whether a "/" at `at` starts a regular expression rather than dividing: in
// JavaScript it does where a value is expected, after an operator, an opening
// bracket or "return" ("(/" in every language).
bool StartsRegularExpression(const std::string& code, size_t at, TScriptLanguage language) {
  size_t before = at;
  while (before > 0 && (code[before - 1] == ' ' || code[before - 1] == '\t')) --before;
  if (before > 0 && code[before - 1] == '(') return true;
  if (language != TScriptLanguage::JavaScript) return false;
  if (before == 0) return true;
  const char c = code[before - 1];
  if (std::string_view(",=:[!&|?{};+-*%<>~^").find(c) != std::string_view::npos) return true;
  size_t start = before;
  while (start > 0 && IsScriptWordChar(code[start - 1])) --start;
  const std::string_view word = std::string_view(code).substr(start, before - start);
  return word == "return" || word == "typeof" || word == "case" || word == "in" || word == "of";
}

// Masks a regular expression from after its opening "/" to its closing one (an
// escaped "/" or one in a character class does not close it); returns where the
// scan goes on.
size_t MaskRegularExpression(std::string& code, size_t from) {
  bool escaped = false;
  bool inClass = false;
  size_t k = from;
  for (; k < code.size(); ++k) {
    const char c = code[k];
    if (c == '/' && !escaped && !inClass) break;
    if (!escaped && c == '[') inClass = true;
    if (!escaped && c == ']') inClass = false;
    escaped = c == '\\' && !escaped;
    code[k] = kMask;
  }
  return k + 1;
}

}  // namespace

bool IsScriptWordChar(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_';
}

TScriptScan ScanScriptLine(const std::string& line, TScriptLanguage language, bool inHtml) {
  TScriptScan scan;
  const bool php = language == TScriptLanguage::Php;
  std::string code = line;
  size_t i = 0;
  if (php && inHtml) {
    // The page's own text up to the next "<?".
    const size_t open = code.find("<?");
    i = open == std::string::npos ? code.size() : open;
    for (size_t k = 0; k < i; ++k) code[k] = kMask;
    if (open == std::string::npos) {
      scan.code = std::move(code);
      scan.inHtmlAfter = true;
      return scan;
    }
  } else if (line.starts_with("#") || line.starts_with("//")) {
    // "#" comments (and C#'s directives) and comment lines hold no code; in PHP a
    // "?>" ends the comment and the code.
    const size_t end = php ? line.find("?>") : std::string::npos;
    if (end == std::string::npos) return scan;
    for (size_t k = 0; k < end; ++k) code[k] = kMask;
    i = end;
  }
  MaskEscapePairs(code, language);
  char quote = 0;  // the quote of the open string, if any
  while (i < code.size()) {
    const char c = code[i];
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
        ++i;
      } else if (php && c == '\\' && i + 1 < code.size() && code[i + 1] == quote) {
        code[i] = kMask;
        code[i + 1] = kMask;
        i += 2;
      } else if (php && quote == '"' && c == '$' && i + 1 < code.size() &&
                 (IsLetter(code[i + 1]) || code[i + 1] == '_')) {
        i = SkipPhpVariable(code, i);
      } else if (php && quote == '"' && c == '$' && i + 1 < code.size() && code[i + 1] == '{') {
        const size_t close = code.find('}', i + 2);
        if (close == std::string::npos) {
          scan.copes = false;
          return scan;
        }
        code[i] = '<';
        for (size_t k = i + 1; k < close; ++k) code[k] = kMask;
        code[close] = '>';
        i = close + 1;
      } else {
        code[i] = kMask;
        ++i;
      }
      continue;
    }
    if (IsQuote(c)) {
      quote = c;
      ++i;
    } else if (c == '/' && i + 1 < code.size() && code[i + 1] == '/' &&
               (i == 0 || code[i - 1] != ':')) {
      // The rest of the line is a comment ("http://" in code is not one), or in PHP
      // the part up to a "?>".
      const size_t end = php ? code.find("?>", i + 2) : std::string::npos;
      if (end != std::string::npos) {
        for (size_t k = i; k < end; ++k) code[k] = kMask;
        i = end;
        continue;
      }
      scan.comment = i;
      code.resize(i);
      break;
    } else if (c == '/' && i + 1 < code.size() && code[i + 1] == '*') {
      // A comment inside the line: nothing in it is code.
      const size_t end = code.find("*/", i + 2);
      const size_t stop = end == std::string::npos ? code.size() : end;
      for (size_t k = i + 2; k < stop; ++k) code[k] = kMask;
      i = end == std::string::npos ? code.size() : end + 2;
    } else if (c == '/' && StartsRegularExpression(code, i, language)) {
      i = MaskRegularExpression(code, i + 1);
    } else if (c == '?' && i + 1 < code.size() && code[i + 1] == '>') {
      // Outside "?>" ... "<?" the line is the page's, not code.
      size_t k = i + 2;
      const size_t open = code.find("<?", k);
      const size_t end = open == std::string::npos ? code.size() : open;
      while (k < end) code[k++] = kMask;
      i = end;
      scan.inHtmlAfter = php && open == std::string::npos;
    } else {
      ++i;
    }
  }
  scan.quotesBalance = quote == 0;
  scan.code = std::move(code);
  return scan;
}

std::string ScriptFirstWord(const std::string& code) {
  std::string_view rest = TrimBlanks(code);
  std::string lower;
  for (char c : rest) lower += IsLetter(c) ? static_cast<char>(c | 0x20) : c;
  if (lower.starts_with("abstract ")) lower = std::string(TrimBlanks(lower.substr(9)));
  size_t end = 0;
  while (end < lower.size() && IsScriptWordChar(lower[end])) ++end;
  return lower.substr(0, end);
}

}  // namespace quorrel
