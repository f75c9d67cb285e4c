// The checks and repairs of a page before the walk.
#include <algorithm>

#include "shell/BreakLongUrl.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/HtmlCharset.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlShow.h"
#include "validate/HtmlText.h"
#include "validate/TagChecker.h"
#include "validate/ValUnit.h"

namespace quorrel {

using html::Find;
using html::Has;

namespace {

constexpr int NonBreakingSpacesHelp = 50401;

// The "Â" question is asked once per program run; its answer holds for the run.
int nbspAnswer = -1;  // -1 not asked, 0 No, 1 Yes

void Edit(THtmlRun& run, std::string edited) {
  if (edited == run.in) return;
  run.in = std::move(edited);
  MarkHtmlChanged(run);
}

// Punctuation pasted from UTF-8 text: the dashes, the right single quote and the
// double quotes.
void RepairUtf8(THtmlRun& run) {
  if (run.in.find("\xE2\x80") == std::string::npos) return;
  Edit(run, MultiReplace(run.in, "\xE2\x80\x93|\xE2\x80\x94|\xE2\x80\x99|\xE2\x80\x9C|\xE2\x80\x9D",
                         "-|-|'|&ldquo;|&rdquo;", true));
}

// The next "\xC2" that stands for itself: in a page that declares UTF-8 the byte also
// begins characters such as the no-break space and the copyright sign.
size_t NextLoneC2(const THtmlRun& run, size_t from) {
  size_t at = run.in.find('\xC2', from);
  while (at != std::string::npos && Utf8CharAt(run.in, at, run.utf8) != 0) {
    at = run.in.find('\xC2', at + 2);
  }
  return at;
}

void NonBreakingSpaces(THtmlRun& run) {
  const size_t at = NextLoneC2(run, 0);
  if (at == std::string::npos || run.validateAll || run.serverCheck) return;
  if (nbspAnswer < 0) {
    nbspAnswer =
        AskYesNoHelp("Change all \xC2 to non-breaking spaces from offset " + OffsetText(at) + "?",
                     NonBreakingSpacesHelp)
            ? 1
            : 0;
  }
  if (nbspAnswer != 1) return;
  std::string text;
  text.reserve(run.in.size() + 64);
  size_t from = 0;
  for (size_t c2 = at; c2 != std::string::npos; c2 = NextLoneC2(run, c2 + 1)) {
    text.append(run.in, from, c2 - from);
    text += "&nbsp;";
    from = c2 + 1;
  }
  text.append(run.in, from, std::string::npos);
  Edit(run, std::move(text));
}

void EmptyPair(THtmlRun& run, const char* pair, const char* rtf) {
  const size_t at = Find(run.in, pair);
  if (at == std::string::npos) return;
  if (run.dotPage) {
    const size_t from = at > 125 ? at - 125 : 0;
    HtmlFatal(std::string("\"") + rtf +
              "\" found in text.\rPress [F2] to view the raw RTF and remove this.\r\r" +
              run.in.substr(from, 250));
  }
  Edit(run, ReplaceNoCase(run.in, pair, ""));
}

bool IsWhite(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\xA0';
}

// The next "<A Href=" from `from`, also where the page breaks the line (or puts more
// blanks) between the two words, which the walk writes with one blank.
size_t NextLinkTag(const std::string& text, size_t from) {
  for (size_t a = Find(text, "<A", from); a != std::string::npos; a = Find(text, "<A", a + 2)) {
    size_t name = a + 2;
    while (name < text.size() && IsWhite(text[name])) ++name;
    if (name > a + 2 && PosNoCase("Href=", std::string_view(text).substr(name, 5)) == 1) return a;
  }
  return std::string::npos;
}

// Break points as the next pass leaves them: a text that loses "https://" loses
// the "www." after it too, which the next pass would drop.
std::string BrokenLinkText(const std::string& link) {
  std::string broken = BreakLongUrl(link);
  for (int again = 0; again < 2; ++again) {
    std::string next = BreakLongUrl(broken);
    if (next == broken) break;
    broken = std::move(next);
  }
  return broken;
}

// Link texts that are long addresses get break points. (The page is searched as
// it is and copied once, with every text that changes.)
void LongLinkTexts(THtmlRun& run) {
  const std::string& text = run.in;
  std::string edited;
  size_t copied = 0;  // how much of the page the edited text has taken
  size_t from = 0;
  while (true) {
    const size_t a = NextLinkTag(text, from);
    if (a == std::string::npos) break;
    const size_t open = text.find('>', a);
    if (open == std::string::npos) break;
    const size_t close = Find(text, "</A", open);
    if (close == std::string::npos) break;
    from = close;
    const std::string link = text.substr(open + 1, close - open - 1);
    if (link.size() <= 29 || link.find('@') != std::string::npos || Has(link, "<\\/a>") ||
        Has(link, "<tt>") || link.find('\n') != std::string::npos) {
      continue;
    }
    // Break points would land inside other markup (a code element, say) and break it.
    if (ReplaceNoCase(link, "<WBr>", "").find('<') != std::string::npos) continue;
    const std::string broken = BrokenLinkText(link);
    if (UpperCaseAnsi(broken) == UpperCaseAnsi(link)) continue;
    if (MainMenu().Checked("Debug")) ShowInTextTab(link + "\n" + broken + "\n");
    if (text.compare(open + 1, link.size(), link) != 0) {
      HtmlFatal("Internal error replacing link text - please contact Varek Dask");
    }
    edited.append(text, copied, open + 1 - copied);
    edited += broken;
    copied = close;
  }
  if (copied == 0) return;
  edited.append(text, copied, std::string::npos);
  Edit(run, std::move(edited));
}

// A link at the top of the body lets keyboard users skip to the main content.
void SkipLink(THtmlRun& run) {
  const size_t body = Find(run.in, "<Body");
  if (body == std::string::npos) {
    if (!run.php) HtmlFatal("No <Body> tag found.");
    return;
  }
  if (Find(run.in, "<A Class=Skip", body) != std::string::npos) return;
  const size_t main = Find(run.in, "<Main");
  if (main == std::string::npos) return;
  std::string text = run.in;
  if (Find(text, "id=", main + 5) != main + 6 || text[main + 5] != ' ') {
    text.insert(main + 5, " Id=Main");
  }
  const size_t bodyAfter = Find(text, "<Body");
  const size_t lineEnd = text.find('\n', bodyAfter);
  const size_t lineStart = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
  if (lineEnd == std::string::npos) text += '\n';
  text.insert(lineStart, "<A Class=Skip HRef=\"#Main\">Skip to main content</A>\n");
  Edit(run, std::move(text));
}

}  // namespace

void HtmlPageChecks(THtmlRun& run) {
  const bool hasHtml = Has(run.in, "<HTML");
  if (!hasHtml && IsExemptFolder(CurrentFolder)) return;
  RepairUtf8(run);
  NonBreakingSpaces(run);
  if (run.checkH && !run.serverPage && hasHtml && !run.serverCheck && !Has(run.in, "<H1")) {
    HtmlFatal("No <H1> tag.");
  }
  EmptyPair(run, "<B></B>", "\\b  \\b0");
  EmptyPair(run, "<I></I>", "\\i  \\i0");
  HandOverText = run.in;
  if (!IsAsp && !run.php && !run.serverCheck) LongLinkTexts(run);
  if (MainMenu().Checked("Skip")) SkipLink(run);
}

void ResetHtmlPageSteps() {
  nbspAnswer = -1;
  HtmlDialect = ' ';
  TagsPassed = false;
}

}  // namespace quorrel
