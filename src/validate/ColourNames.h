#pragma once
// The names a server page declares, as its colouring meets them: variables
// ("Dim", "Const", parameters; "global" in PHP) and functions ("Sub", "Function",
// "Class"), with what an included file declares. It finds duplicate declarations
// and, for ASP pages, the variables never used.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quorrel {

// What an included file declares: its "Dim" names and its "Sub"/"Function" names.
struct TIncludeNames {
  std::vector<std::string> names;
  std::vector<std::string> functions;
};
// The declarations of an include file's text.
TIncludeNames ParseIncludeNames(const std::string& text);
// The declarations of the include file named in a page (relative to the page's
// folder, "\" or "/" between folders), read once per name and kept; nothing when it
// cannot be read.
const TIncludeNames& IncludeNamesOf(const std::string& pageFolder, const std::string& name);
// Forgets the include files read so far.
void ResetIncludeCache();

class TDeclaredNames {
 public:
  // php: variables are "$" names (told apart by case) and "function" starts a
  // new list of declared names; otherwise names are VBScript's (any case).
  explicit TDeclaredNames(bool php) : php_(php) {}

  void AddIncluded(const TIncludeNames& included);

  // A variable declared at an offset (0-based). False when the name is already
  // declared in the same scope: the page, or the procedure being declared.
  bool Declare(const std::string& name, size_t offset);
  // PHP: a variable made global in the current function.
  void DeclareGlobal(const std::string& name);

  enum TFunctionResult { kNewFunction, kDuplicateFunction, kAlsoIncluded };
  // A function (or class) declared by the page; with newScope the names declared
  // next are its own ("Sub" and "Function"; a PHP function forgets the names
  // declared before it).
  TFunctionResult DeclareFunction(const std::string& name, bool newScope);
  // The procedure ends ("End Sub"): declarations go to the page's scope again.
  void EndProcedure() { inProcedure_ = false; }

  enum TKind { kNone, kName, kGlobalName, kFunction };
  // What a word used in the script is; every use is noted.
  TKind Use(const std::string& word);

  // "Unreferenced variable(s) " and the page's own variables that were never
  // used, separated by ", " (just the heading when there are none); offset gets the
  // declaration offset of the first of them.
  std::string Unreferenced(size_t* offset) const;

 private:
  std::string Key(const std::string& name) const;

  bool php_;
  bool inProcedure_ = false;
  std::unordered_set<std::string> pageScope_;
  std::unordered_set<std::string> procedureScope_;
  std::unordered_set<std::string> variables_;        // every variable declared so far
  std::unordered_set<std::string> globals_;          // PHP: made global in this function
  std::unordered_map<std::string, bool> functions_;  // name -> from an include file
  std::unordered_set<std::string> used_;
  struct TDeclaration {
    std::string name;
    size_t offset;
  };
  std::vector<TDeclaration> declarations_;  // the page's own, in order
};

}  // namespace quorrel
