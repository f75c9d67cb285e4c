// What the head of a page gets when it lacks it: the character set, the viewport,
// the site's style sheet; and the head of a help-topic page.
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlText.h"

namespace quorrel {

using html::AfterLine;
using html::Find;
using html::Has;

namespace {

// The class identifier of the help viewer's control, which marks help-topic pages.
constexpr char kHelpControl[] = "1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e";

// Inserts a tag on a line of its own after the line that holds `at`, laid out as
// the walk lays out the head, so that the next pass finds nothing to change: as
// deep as that line, and in XHTML pages ending " />".
void InsertHeadLine(THtmlRun& run, size_t at, std::string tag) {
  std::string& out = run.out;
  const size_t lineStart = at == 0 ? 0 : out.rfind('\n', at - 1) + 1;
  const size_t indent = out.find_first_not_of(' ', lineStart) - lineStart;
  if (run.xhtml) tag.insert(tag.size() - 1, " /");
  out.insert(AfterLine(out, at), std::string(indent, ' ') + tag + "\n");
}

// An HTML 5 page says its character set in the short form: the old content-type
// meta tag loses its http-equiv and content, and its charset gets quotes.
void ShortCharacterSet(std::string& out) {
  constexpr std::string_view kOld = "http-equiv=\"content-type\" content=\"text/html;";
  for (size_t from = Find(out, kOld); from != std::string::npos; from = Find(out, kOld, from)) {
    const size_t to = from + kOld.size();
    // One blank stays between the tag's name and what follows.
    while (from > 0 && out[from - 1] == ' ' && to < out.size() && out[to] == ' ') --from;
    out.erase(from, to - from);
    const size_t charset = Find(out, "charset=", from);
    const size_t close = out.find('>', from);
    if (charset == std::string::npos || charset > close) continue;
    const size_t value = charset + 8;
    if (out.compare(value, 2, "\"\"") == 0) {
      out.erase(value, 1);
    } else if (out.compare(value, 1, "\"") != 0) {
      out.insert(value, "\"");
    }
  }
}

void CharacterSet(THtmlRun& run, size_t title) {
  std::string& out = run.out;
  if (run.html5) {
    if (Find(out.substr(0, 2000), "charset=") == std::string::npos) {
      InsertHeadLine(run, title, "<meta charset=\"utf-8\">");
    }
    ShortCharacterSet(out);
  } else if (!Has(out, "Content-type")) {
    InsertHeadLine(run, title,
                   "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">");
  }
  if (Has(out, "charset=") && !Has(out, "Name=viewport") && !Has(out, "Name=\"viewport\"") &&
      CurrentFolder.find("/html/") == std::string::npos) {
    InsertHeadLine(run, Find(out, "charset="),
                   "<Meta Name=viewport Content=\"width=device-width, initial-scale=1\">");
  }
}

void StyleSheet(THtmlRun& run, size_t title) {
  std::string& out = run.out;
  if (Has(out, "Rel=stylesheet") || Has(out, "Rel=\"stylesheet\"") || !run.inSite || HasBaseTag ||
      Has(out, "var ImgA = new Array")) {
    return;
  }
  const std::string folder = run.dotPage ? SiteBaseFolder : CurrentFolder;
  const std::string sheet = ResolveNoCase(folder + "style.css");
  if (sheet.empty() || !FileExists(sheet)) return;
  InsertHeadLine(run, title, "<link href=\"style.css\" rel=\"stylesheet\">");
}

// The value of an attribute written Name="value" in a tag starting at `tag`.
std::string QuotedValue(const std::string& out, size_t tag, const char* name) {
  const size_t close = out.find('>', tag);
  const size_t at = Find(out, name, tag);
  if (at == std::string::npos || at > close) return "";
  const size_t start = at + std::string_view(name).size();
  const size_t end = out.find('"', start);
  return end == std::string::npos || end > close ? "" : out.substr(start, end - start);
}

// A page of the help viewer: its bold caption becomes its heading, its keywords a
// meta tag, sentences get two spaces, and it is an HTML 5 page.
bool IsHelpTopicPage(const std::string& out) {
  return Has(out, kHelpControl) && !Has(out, "<H1>");
}

void HelpTopicPage(THtmlRun& run, size_t title) {
  std::string& out = run.out;
  if (!IsHelpTopicPage(out)) return;
  const std::string titleText = out.substr(title + 7, out.find('<', title + 7) - title - 7);
  const size_t body = Find(out, "<Body");
  const size_t bold = body == std::string::npos ? body : Find(out, "<B>", body);
  const size_t boldEnd = bold == std::string::npos ? bold : Find(out, "</B>", bold);
  if (boldEnd != std::string::npos) {
    const size_t paragraph = Find(out, "<P>", boldEnd);
    if (paragraph == std::string::npos || paragraph - boldEnd - 4 > 8) {
      HtmlFatal("Unexpected HTML - possibly \"</B>\" in Title.");
    }
    const std::string caption = out.substr(bold + 3, boldEnd - bold - 3);
    // The heading starts its line and ends it, as the walk writes it.
    const bool lineEnd = boldEnd + 4 < out.size() && out[boldEnd + 4] == '\n';
    out.replace(body, boldEnd + 4 - body,
                "<Body>\n<H1>" + caption + "</H1>" + (lineEnd ? "" : "\n"));
  }

  std::string keywords;
  for (size_t at = Find(out, "<Param Name=\"Keyword\""); at != std::string::npos;
       at = Find(out, "<Param Name=\"Keyword\"", at + 1)) {
    const std::string value = QuotedValue(out, at, "Value=\"");
    if (value.empty() || value == titleText) continue;
    if (value.find(',') != std::string::npos) HtmlFatal(value + "\rComma not allowed.");
    keywords += (keywords.empty() ? "" : ",") + value;
  }
  if (!keywords.empty()) {
    InsertHeadLine(run, Find(out, "<Title"),
                   "<Meta Name=\"Keywords\" Content=\"" + keywords + "\">");
  }

  std::string spaced;
  spaced.reserve(out.size() + 64);
  for (size_t i = 0; i < out.size(); ++i) {
    spaced += out[i];
    const char c = out[i];
    if ((c == '.' || c == '!' || c == '?') && i + 2 < out.size() && out[i + 1] == ' ' &&
        out[i + 2] != ' ' && out[i + 2] != '\n' && out.compare(i + 2, 6, "&nbsp;") != 0) {
      spaced += " &nbsp;";
      ++i;
    }
  }
  out = std::move(spaced);
  // The old DOCTYPE line gives way; a page that begins with its html tag keeps it.
  if (PosNoCase("<!DOCTYPE", out) == 1) {
    const size_t lineEnd = out.find('\n');
    out.replace(0, lineEnd == std::string::npos ? out.size() : lineEnd, "<!DOCTYPE HTML>");
  } else {
    out.insert(0, "<!DOCTYPE HTML>\n");
  }
}

}  // namespace

void CompleteHead(THtmlRun& run) {
  const size_t title = Find(run.out, "<Title");
  if (title == std::string::npos) {
    HtmlError("No Title tag.");
    run.errorAt = 0;
    return;
  }
  // A help-topic page becomes an HTML 5 page: its character set is said as such.
  if (IsHelpTopicPage(run.out)) run.html5 = true;
  CharacterSet(run, title);
  StyleSheet(run, title);
  HelpTopicPage(run, title);
}

}  // namespace quorrel
