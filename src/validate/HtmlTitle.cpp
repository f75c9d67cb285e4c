// The title of a page and its first heading.
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlText.h"

namespace quorrel {

using html::Find;
using html::Has;

namespace {

struct TTitleAndHeading {
  size_t title = std::string::npos;  // where the title's text begins
  size_t titleEnd = 0;
  size_t heading = std::string::npos;  // where the first heading's text begins
  size_t headingEnd = 0;
  size_t h1 = std::string::npos;  // its "<H1"
};

TTitleAndHeading Locate(const std::string& out) {
  TTitleAndHeading where;
  const size_t title = Find(out, "<Title>");
  if (title != std::string::npos) {
    where.title = title + 7;
    const size_t end = out.find('<', where.title);
    where.titleEnd = end == std::string::npos ? out.size() : end;
  }
  where.h1 = Find(out, "<H1");
  if (where.h1 != std::string::npos) {
    const size_t open = out.find('>', where.h1);
    const size_t close = open == std::string::npos ? open : Find(out, "</H1", open);
    if (close != std::string::npos) {
      where.heading = open + 1;
      where.headingEnd = close;
    }
  }
  return where;
}

std::string Part(const std::string& out, size_t from, size_t to) {
  return from == std::string::npos ? "" : out.substr(from, to - from);
}

void ErrorAt(THtmlRun& run, const std::string& message, size_t at) {
  HtmlError(message);
  run.errorAt = static_cast<long>(at);
}

}  // namespace

void CheckTitleAndHeading(THtmlRun& run) {
  std::string& out = run.out;
  TTitleAndHeading where = Locate(out);
  if (run.dotPage && where.h1 != std::string::npos) {
    const size_t id = Find(out, "Id=", where.h1);
    if (id == std::string::npos || id - where.h1 > 20) {
      out.insert(where.h1 + 3, " Id=Content");
      where = Locate(out);
    }
  }
  std::string title = Part(out, where.title, where.titleEnd);
  std::string heading = Part(out, where.heading, where.headingEnd);
  if (where.heading != std::string::npos && heading.empty() && !title.empty()) {
    out.insert(where.heading, title);
    where = Locate(out);
    heading = title;
  }
  // A heading with markup counts by its last words.
  const bool markup = heading.find('>') != std::string::npos;
  if (markup) {
    heading = heading.substr(heading.rfind('>') + 1);
    if (!heading.empty() && heading[0] == ' ') heading.erase(0, 1);
  }

  if (where.title != std::string::npos && (title.empty() || Has(title, "Untitled")) &&
      !Has(ExtractFileName(CurrentFileName), "template") && !run.serverPage) {
    if (where.heading != std::string::npos && !heading.empty() &&
        AskYesNo("Untitled page.  Suggestion:\r" + heading)) {
      out.replace(where.title, where.titleEnd - where.title, heading);
      where = Locate(out);
      title = heading;
    } else {
      ErrorAt(run, "Untitled Page.", where.title);
      return;
    }
  }

  if (run.serverCheck || !run.checkH || run.serverPage || where.heading == std::string::npos ||
      Find(out, "<H1", where.h1 + 3) != std::string::npos || markup || Has(title, "&hellip;")) {
    return;
  }
  if (where.title == std::string::npos) {
    const size_t head = Find(out, "<Head>");
    if (head != std::string::npos) out.insert(head + 6, "<Title>" + heading + "</Title>");
    return;
  }
  const size_t bar = heading.rfind('|');
  const std::string compared =
      html::Trimmed(bar == std::string::npos ? heading : heading.substr(bar + 1));
  if (Has(title, compared) || Has(heading, title)) return;
  const std::string both = "<Title>: " + title + "\rFirst <H1>: " + heading;
  if (run.dotPage) {
    ErrorAt(run,
            "Inconsistent tags.\r" + both +
                "\r\rJust use .T1 with no argument to pick up value from Title.",
            where.heading);
    return;
  }
  if (!AskYesNoHelp(both + "\rMake these consistent?", HeadingsHelp)) {
    ErrorAt(run, "Inconsistent tags.\r" + both, where.heading);
    return;
  }
  if (AskYesNo("Copy <H1> to <Title>?  (No to copy <Title> to <H1>)")) {
    out.replace(where.title, where.titleEnd - where.title, heading);
  } else {
    out.replace(where.heading, where.headingEnd - where.heading, title);
  }
}

}  // namespace quorrel
