// The script checker of PHP pages, JavaScript and C# files: checks braces,
// brackets, quotes and conditions line by line, re-indents two columns a brace
// level and stops at the first error with one message.
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Chars.h"
#include "platform/Paths.h"
#include "shell/ClassifyDocument.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/TextLines.h"
#include "validate/ScriptRun.h"
#include "validate/ValUnit.h"
#include "validate/Validators.h"

namespace quorrel {

namespace {

constexpr char kNoReformat[] = "NoReformat";
constexpr char kBracketsOff[] = "novalidate brackets";
constexpr size_t kBracketsOffWithin = 100;
constexpr char kSaveFirst[] =
    "I recommend that you save this reformatted version before any further validation.";
constexpr char kExtraneousBrace[] =
    "Extraneous \"}\" somewhere or possibly two \"{\" on same line - check indenting.";
constexpr char kMissingBrace[] = "Missing \"}\" before this point - check indenting.";
constexpr char kCloseUnopened[] = "A close bracket \")\" has not been opened.";
constexpr char kOpenUnclosed[] = "An open bracket \"(\" has not been closed.\rCurrent line is:\r";

TScriptLanguage LanguageOf(TDocumentKind kind) {
  if (kind == TDocumentKind::Php) return TScriptLanguage::Php;
  if (kind == TDocumentKind::CSharp) return TScriptLanguage::CSharp;
  return TScriptLanguage::JavaScript;
}

bool IsBlankLine(const std::string& line) {
  return TrimBlanks(line).empty();
}

// At most one blank line in a row, and none directly after a "{"; each line
// remembers the line of the page it is.
void ThinBlankLines(TScriptRun& run, std::vector<std::string> lines) {
  for (size_t n = 0; n < lines.size(); ++n) {
    if (IsBlankLine(lines[n]) && !run.lines.empty()) {
      const std::string_view before = TrimBlanks(run.lines.back());
      if (before.empty() || before.ends_with("{")) continue;
    }
    run.lines.push_back(std::move(lines[n]));
    run.origins.push_back(n);
  }
}

// Where a line of the page starts in its text.
size_t OffsetOfLine(const std::string& text, size_t line) {
  size_t offset = 0;
  for (size_t n = 0; n < line; ++n) {
    const size_t end = text.find('\n', offset);
    if (end == std::string::npos) return text.size();
    offset = end + 1;
  }
  return offset;
}

std::string JoinWithLineFeeds(const std::vector<std::string>& lines, bool lineEndAfterLast) {
  std::string text;
  for (size_t n = 0; n < lines.size(); ++n) {
    text += lines[n];
    if (n + 1 < lines.size() || lineEndAfterLast) text += '\n';
  }
  return text;
}

// The end of the walk: brackets left open, and a brace level other than where it
// started. Returns false when the user had the text saved as it stands.
bool CheckEnd(TScriptRun& run, const TPage& page, TValidation& result, bool lineEndAfterLast) {
  const size_t last = run.i < run.lines.size() ? run.i : run.lines.size() - 1;
  run.i = last;
  run.CheckNamesOnce();
  if (run.checkBrackets && run.brackets < 0) run.Stop(kCloseUnopened, last);
  if (run.checkBrackets && run.brackets > 0) {
    run.Stop(kOpenUnclosed + std::string(TrimBlanks(run.lines[last])), run.bracketLine);
  }
  if (run.Php()) --run.level;
  if (run.level == 0) return true;
  if (run.inserted > 0 && !page.checkOnly && AskYesNo(kSaveFirst)) {
    result.text = JoinWithLineFeeds(run.lines, lineEndAfterLast);
    result.saveAndEnd = true;
    return false;
  }
  if (run.level < 1 && !run.debug) run.Stop(kExtraneousBrace, last);
  if (run.level > 0) run.Stop(kMissingBrace, last);
  return true;
}

// The once-only names check is made with "Check names" on, unless the file is only
// re-indented, is a utility file, says "NoValidate" or lies outside any site.
bool NamesChecked(const TPage& page, bool indentPhp) {
  if (!MainMenu().Checked("CheckNames") || indentPhp) return false;
  if (ContainsNoCase(ExtractFileName(page.path), "util")) return false;
  if (page.text.find("NoValidate") != std::string::npos) return false;
  try {
    return !IsNotInSite(page.path, TempFolder());
  } catch (const std::runtime_error&) {
    return !IsNotInSite(page.path, "");
  }
}

}  // namespace

TValidation ValidatePhp(const TPage& page) {
  TValidation result;
  bool lineEndAfterLast = false;
  std::vector<std::string> lines = LinesWithoutEnds(page.text, &lineEndAfterLast);
  if (!lines.empty() && lines[0].find(kNoReformat) != std::string::npos) return result;

  TScriptRun run;
  run.language = LanguageOf(page.kind);
  run.checkQuotes = MainMenu().Checked("CheckQuotes");
  run.checkBrackets = MainMenu().Checked("CheckBrackets") &&
                      PosNoCase(kBracketsOff, page.text.substr(0, kBracketsOffWithin)) == 0;
  run.debug = MainMenu().Checked("Debug");
  run.indentPhp = MainMenu().Checked("IndentPHP");
  run.namesCheck = NamesChecked(page, run.indentPhp);
  run.text = page.text;
  run.lowerText = run.namesCheck ? LowerScriptText(page.text) : "";
  run.folder = ExtractFilePath(page.path);
  run.level = run.Php() ? 1 : 0;
  // A PHP page starts as a page, until its first "<?".
  run.inHtml = run.Php();
  ThinBlankLines(run, std::move(lines));
  if (run.lines.empty()) {
    result.status = ValidatedStatus;
    return result;
  }

  try {
    for (run.i = 0; run.i < run.lines.size() && !run.walkEnded; ++run.i) CheckScriptLine(run);
    if (run.walkEnded) --run.i;  // the line where it ended
    if (!CheckEnd(run, page, result, lineEndAfterLast)) return result;
  } catch (const TScriptStop& stop) {
    if (!run.indentPhp) {
      // The page stays as it was: the caret goes to the error.
      TValidationError error;
      error.offset =
          stop.offset != std::string::npos ? stop.offset : OffsetOfLine(page.text, stop.line);
      error.message = stop.message;
      error.helpTopic = stop.helpContext;
      error.offsetInMessage = false;
      result.error = error;
      result.recolour = true;
      return result;
    }
    // Only re-indenting: the lines up to the error are, the rest stay as they were.
  }

  std::string text = JoinWithLineFeeds(run.lines, lineEndAfterLast);
  const std::string before = ReplaceAll(page.text, "\r\n", "\n", true);
  result.saveWhenReformatting = true;
  if (run.Php() && !run.indentPhp) {
    // A PHP page is also an HTML page: the HTML validator goes on with the text.
    result.text = std::move(text);
    result.again = true;
    result.againAs = TDocumentKind::Html;
    return result;
  }
  if (text != before) {
    CompareInputOutput(before, text);
    result.text = std::move(text);
  }
  result.status = ValidatedStatus;
  return result;
}

}  // namespace quorrel
