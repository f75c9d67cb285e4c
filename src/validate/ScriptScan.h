#pragma once
// The script checker's scanner (PHP, JavaScript and C#): one line at a time, it
// makes the code-only copy in which the checker's rules look for braces, brackets,
// keywords and comments, so that none of them is found inside a string. The copy
// keeps the line's positions: what a rule finds in it is at the same place in the
// line. Texts are Windows-1252 bytes.
#include <cstddef>
#include <string>

namespace quorrel {

enum class TScriptLanguage { JavaScript, CSharp, Php };

struct TScriptScan {
  // The line with the insides of strings and regular expressions masked ("?"), and
  // cut where a trailing comment starts; empty for a comment line.
  std::string code;
  size_t comment = std::string::npos;  // where a trailing "//" comment starts
  bool quotesBalance = true;           // no string is left open at the end
  bool copes = true;                   // false: a "${" in a string has no "}"
  bool inHtmlAfter = false;            // PHP: the line ends in the page, outside "<?" ... "?>"
};

// Scans a line whose leading blanks are gone. inHtml: a PHP line that starts in
// the page, outside "<?" ... "?>"; what stands before its "<?" is masked too.
TScriptScan ScanScriptLine(const std::string& line, TScriptLanguage language, bool inHtml = false);

// The line's first word in lower case, after a leading "abstract": letters,
// digits and "_" from the start of the code-only copy ("" when it starts otherwise).
std::string ScriptFirstWord(const std::string& code);

// Letters, digits and "_": the characters of names.
bool IsScriptWordChar(char c);

}  // namespace quorrel
