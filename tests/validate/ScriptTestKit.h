#pragma once
// Runs the script checker on a text as the dispatcher hands it over, with the
// options it reads set for the run. The fuzz target uses it too.
#include <string>

#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "validate/Validators.h"

namespace quorrel::test {

struct TScriptOptions {
  bool checkQuotes = true;
  bool checkBrackets = true;
  bool debug = false;
  bool checkNames = false;  // the once-only names check, on where a test looks at it
  bool indentPhp = false;
  const char* path = nullptr;  // the page's path: one in a site after its kind when none
};

inline TValidation CheckScript(const std::string& text,
                               TDocumentKind kind = TDocumentKind::JavaScript,
                               const TScriptOptions& options = {}) {
  MainMenu().SetChecked("CheckQuotes", options.checkQuotes);
  MainMenu().SetChecked("CheckBrackets", options.checkBrackets);
  MainMenu().SetChecked("Debug", options.debug);
  MainMenu().SetChecked("CheckNames", options.checkNames);
  MainMenu().SetChecked("IndentPHP", options.indentPhp);
  TPage page;
  page.text = text;
  page.kind = kind;
  page.path = options.path                    ? options.path
              : kind == TDocumentKind::CSharp ? "/site/Prog.cs"
              : kind == TDocumentKind::Php    ? "/site/page.php"
                                              : "/site/code.js";
  return ValidatePhp(page);
}

// Lines joined as the editor's text holds them (CR LF) and as the checker writes
// them (LF).
inline std::string CrLf(const std::string& lines) {
  return ReplaceAll(ReplaceAll(lines, "\r\n", "\n", true), "\n", "\r\n", true);
}

// The text a verdict leaves, with LF line ends.
inline std::string ScriptAfter(const TValidation& verdict, const std::string& text) {
  return verdict.text ? *verdict.text : ReplaceAll(text, "\r\n", "\n", true);
}

}  // namespace quorrel::test
