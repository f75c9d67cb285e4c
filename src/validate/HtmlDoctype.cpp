// The dialect of a page: the DOCTYPE a page gets when it has none, the language of
// its html start tag, and the dialect of a site's server pages.
#include <fstream>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlText.h"

namespace quorrel {

using html::Find;

char HtmlDialect = ' ';

namespace {

struct TDoctypeItem {
  const char* item;
  const char* doctype;
};

const TDoctypeItem kDoctypes[] = {
    {"DT3F", "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">"},
    {"DT4S",
     "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
     "\"http://www.w3.org/TR/html4/strict.dtd\">"},
    {"DT4T",
     "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
     "\"http://www.w3.org/TR/html4/loose.dtd\">"},
    {"DT5", "<!DOCTYPE HTML>"},
    {"DTXS",
     "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
     "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"},
    {"DTXT",
     "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
     "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"},
};

// What stands before the first element: blanks, comments, an XML declaration and
// a DOCTYPE. Returns where the first element begins; doctype tells whether the
// page already has its DOCTYPE there.
size_t FirstElement(const std::string& text, bool& doctype) {
  doctype = false;
  size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      ++at;
    } else if (text.compare(at, 4, "<!--") == 0) {
      const size_t end = text.find("-->", at + 4);
      if (end == std::string::npos) return text.size();
      at = end + 3;
    } else if (text.compare(at, 2, "<?") == 0 ||
               StartsWithNoCase(std::string_view(text).substr(at), "<!DOCTYPE")) {
      if (text[at + 1] == '!') doctype = true;
      const size_t end = text.find('>', at);
      if (end == std::string::npos) return text.size();
      at = end + 1;
    } else {
      return at;
    }
  }
  return at;
}

std::string TickedDoctypeItem() {
  for (const TDoctypeItem& entry : kDoctypes) {
    if (MainMenu().Checked(entry.item)) return entry.item;
  }
  return "";
}

// Puts the DOCTYPE before the first element. An html start tag keeps its
// attributes (and so its language); comments before it stay where they are.
void InsertDoctype(THtmlRun& run, const std::string& item) {
  std::string& text = run.in;
  bool hasDoctype = false;
  const size_t first = FirstElement(text, hasDoctype);
  if (hasDoctype) return;
  const bool xhtml = item[1] == 'T' && item[2] == 'X';
  std::string insertion = DoctypeText(item) + "\n";
  size_t replaced = 0;
  if (StartsWithNoCase(std::string_view(text).substr(first), "<HTML") && first + 5 < text.size() &&
      std::string_view(" \n\r\t>/").find(text[first + 5]) != std::string_view::npos) {
    const size_t close = text.find('>', first);
    const size_t end = close == std::string::npos ? text.size() : close + 1;
    std::string attributes =
        text.substr(first + 5, (close == std::string::npos ? end : close) - first - 5);
    if (!attributes.empty() && attributes.back() == '/') attributes.pop_back();
    std::string start = xhtml ? "<html" : "<HTML";
    if (xhtml && Find(attributes, "xmlns") == std::string::npos) {
      start += " xmlns=\"http://www.w3.org/1999/xhtml\"";
    }
    if (xhtml && Find(attributes, "lang=") == std::string::npos) {
      start += " xml:lang=\"en\" lang=\"en\"";
    }
    insertion += start + attributes + ">";
    replaced = end - first;
  } else if (xhtml) {
    insertion += "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\n";
  } else {
    insertion += "<HTML>\n";
  }
  // A page whose html start tag is not its first element keeps the one it has.
  if (replaced == 0 && Find(text, "<HTML", first) != std::string::npos) {
    insertion = DoctypeText(item) + "\n";
  }
  text.replace(first, replaced, insertion);
  MarkHtmlChanged(run);
}

void ServerDialect(THtmlRun& run) {
  if (HtmlDialect == ' ') {
    HtmlDialect = 'H';
    const std::vector<std::string> index = ListFiles(CurrentFolder, "index.*");
    if (!index.empty()) {
      std::ifstream file(NativePath(CurrentFolder + index.front()), std::ios::binary);
      std::string start(200, '\0');
      file.read(start.data(), 200);
      start.resize(static_cast<size_t>(file.gcount()));
      if (Find(start, "<!DOCTYPE") != std::string::npos &&
          Find(start, "<!DOCTYPE HTML>") == std::string::npos) {
        HtmlDialect = 'X';
      }
    }
  }
  run.xhtml = HtmlDialect == 'X';
}

}  // namespace

std::string DoctypeText(const std::string& item) {
  for (const TDoctypeItem& entry : kDoctypes) {
    if (item == entry.item) return entry.doctype;
  }
  return "";
}

void HtmlDoctype(THtmlRun& run) {
  std::string& text = run.in;
  if (run.serverPage) {
    ServerDialect(run);
  } else if (Find(text, "<HTML") != std::string::npos &&
             PosNoCase("<!DocType ", std::string_view(text).substr(0, 30)) == 0 && run.inSite &&
             !run.dotPage && !MainMenu().Checked("DTNone")) {
    const std::string item = TickedDoctypeItem();
    if (!item.empty()) InsertDoctype(run, item);
    run.xhtml = Find(text, "//W3C//DTD XHTM") != std::string::npos;
    run.html5 = Find(text, "<!DOCTYPE HTML>") != std::string::npos;
  }
  // Pages of generated documentation ("html" folders) keep their own language.
  const size_t html = Find(text, "<HTML");
  if (CurrentFolder.ends_with("/html/") || html == std::string::npos) return;
  const size_t close = text.find('>', html);
  if (close == std::string::npos) return;
  if (Find(text.substr(html, close - html), " lang=") != std::string::npos) return;
  text.insert(close, " Lang=en");
  MarkHtmlChanged(run);
}

}  // namespace quorrel
