#pragma once
// One run of the script checker (PHP, JavaScript and C#) over the lines of a page:
// the brace level and the indent it gives, the round brackets, and the rules each
// line goes through. The run stops at its first error. Texts are Windows-1252 bytes.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "validate/ScriptVariables.h"
#include "validate/ScriptScan.h"

namespace quorrel {

// Deeper levels stop the run: a level's marks are kept in a fixed table.
inline constexpr int MaxScriptLevel = 255;

// A stop of the run: its message, and the line of the page it points at (or the
// place in the page's text).
struct TScriptStop {
  std::string message;
  size_t line = 0;
  size_t offset = std::string::npos;
  int helpContext = 0;
};

// What a level opened with its "{" did to the extra indent of switch bodies.
struct TScriptLevelMark {
  int extra = 0;           // added on entering the level, taken back at its "}"
  bool caseBlock = false;  // a "case" label's own block: its "}" stands at the label
};

struct TScriptRun {
  TScriptLanguage language = TScriptLanguage::JavaScript;
  bool checkQuotes = false;
  bool checkBrackets = false;  // the option, unless the text switches the count off
  bool debug = false;
  bool indentPhp = false;   // only re-indent: errors are dropped
  bool namesCheck = false;  // the once-only names check is made

  // The page: its text, the text in lower case (for the names check) and its folder.
  std::string text;
  std::string lowerText;
  std::string folder;

  std::vector<std::string> lines;
  std::vector<size_t> origins;  // for each line, the line of the page it came from
  size_t i = 0;                 // the line being checked

  int level = 0;
  int extra = 0;  // the extra indent of switch bodies
  std::array<TScriptLevelMark, MaxScriptLevel + 1> marks{};
  bool switchWaiting = false;  // a "switch" line whose "{" comes on the next line

  int brackets = 0;        // round brackets open
  size_t bracketLine = 0;  // the line where the first of them was opened
  bool inComment = false;  // inside a "/* ... */" block
  // PHP: the line starts in the page, outside "<?" ... "?>"; and in its style or
  // script block.
  bool inHtml = false;
  bool inStyle = false;
  bool inScript = false;
  TScriptNames names;
  std::optional<std::vector<std::string>> usedElsewhere;              // made on first use
  std::optional<std::unordered_map<std::string, size_t>> nameCounts;  // the same
  bool walkEnded = false;  // a rule ended the walk before the last line
  size_t inserted = 0;     // lines inserted by splitting

  bool Php() const { return language == TScriptLanguage::Php; }

  [[noreturn]] void Stop(const std::string& message, size_t at) const;
  [[noreturn]] void Stop(const std::string& message) const { Stop(message, i); }
  // The once-only names check for the function just ended; the next keeps less.
  void CheckNamesOnce();
  TScriptScan Scan(const std::string& line) const;
  // Puts a line after the current one, made by a split.
  void InsertAfter(std::string line);
  // Puts an empty line before the current one.
  void InsertBefore();
  void Erase(size_t at);
};

// Checks and re-indents the current line (run.i); may insert or remove lines and
// move run.i so that it stays on the line checked.
void CheckScriptLine(TScriptRun& run);

// The rules that rewrite a line (ScriptLineRules.cpp). Each takes the line (leading
// blanks gone) and its scan, and rescans what it changes.
// Cuts the line once where a splitting rule applies, putting the rest after it.
bool SplitScriptLine(TScriptRun& run, std::string& line, TScriptScan& scan);
// The condition of an "if", "elseif" or "while" line.
void CheckScriptCondition(TScriptRun& run, std::string& line, TScriptScan& scan,
                          const std::string& word);
// A trailing comment at column 40, where the code leaves room for it.
std::string AlignScriptComment(const std::string& line, size_t comment);

}  // namespace quorrel
