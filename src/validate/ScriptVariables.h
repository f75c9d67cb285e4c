#pragma once
// The script checker's variable names: the "$" names of each function, checked for
// a second spelling in other letter cases, and for names that the whole text uses
// only once (likely mistyped), unless a required file uses them. Texts are
// Windows-1252 bytes.
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorrel {

// How often a function has seen a name, and whether it was kept from an earlier one.
inline constexpr char MarkOnce[] = "";
inline constexpr char MarkAgain[] = "+";
inline constexpr char MarkKept[] = "P";
inline constexpr char MarkKeptSeen[] = "G";
inline constexpr char MarkKeptSeenAgain[] = "+G";

inline constexpr int OnceOnlyHelpContext = 20790;

struct TScriptName {
  std::string name;  // as first written
  std::string mark;
};

// The "$" names of a line's code-only copy that count: not "$" alone, "$$...",
// "$this", "$GLOBALS", "$php_errormsg", "$DUMMY", nor an upper-case "$_..." name.
std::vector<std::string> ScriptVariables(const std::string& code);

// The names of the function being checked.
class TScriptNames {
 public:
  // Adds a name; returns the earlier spelling when the function wrote it in other
  // letter cases.
  std::optional<std::string> See(const std::string& name);
  // Names the function saw once and the text holds only once (`counts`, from
  // CountScriptNames), and that are not in `elsewhere` (names a required file uses);
  // in the order seen.
  std::vector<std::string> UsedOnce(const std::unordered_map<std::string, size_t>& counts,
                                    const std::vector<std::string>& elsewhere) const;
  // What the next function keeps.
  void Reduce();
  const std::vector<TScriptName>& Names() const { return names_; }

 private:
  std::vector<TScriptName> names_;
};

// The names counted as used elsewhere: from the first "require " file of the text,
// found relative to `folder`. A ".php" file gives its variables before its first
// "function "; another file the comma-separated names after its "Dim ".
std::vector<std::string> NamesOfRequiredFile(const std::string& text, const std::string& folder);

// Where a name stands in the text (in lower case) as a name of its own; npos for
// nowhere.
size_t FindScriptName(const std::string& lowerText, const std::string& name, size_t from = 0);
// How often each "$" name stands in the text (in lower case), in one pass.
std::unordered_map<std::string, size_t> CountScriptNames(const std::string& lowerText);

// The text with its letters A to Z in lower case.
std::string LowerScriptText(std::string_view text);

}  // namespace quorrel
