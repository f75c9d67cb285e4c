#include "sitebuild/PageMenu.h"

#include "platform/Chars.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/LinkBlock.h"
#include "sitebuild/PageWrite.h"

namespace quorrel {

namespace {

constexpr std::string_view kThisMenu = " Class=ThisMenu";
constexpr std::string_view kNavEnd = "</Nav>";

// The page's link: its name followed by its extension, straight after the quote,
// slash or apostrophe that starts the name, so that a longer name holding it does
// not count.
size_t PageLinkAt(const std::string& menu, const std::string& page) {
  const std::string name = page + ".";
  for (size_t at = PosNoCase(name, menu); at != 0; at = PosNoCase(name, menu, at + 1)) {
    const char before = at >= 2 ? menu[at - 2] : '\0';
    if (before == '"' || before == '/' || before == '\'') return at - 1;
  }
  return std::string::npos;
}

}  // namespace

std::string MarkedMenu(const std::string& menu, const std::string& page, bool& marked) {
  const size_t start = PosNoCase("<Nav", menu);
  const size_t end = start == 0 ? 0 : PosNoCase(kNavEnd, menu, start);
  std::string nav = menu.substr(start - 1, end - start + kNavEnd.size());
  nav = ReplaceNoCase(nav, kThisMenu, "");
  for (size_t at = nav.find("\n\n"); at != std::string::npos; at = nav.find("\n\n", at)) {
    nav.erase(at, 1);
  }
  marked = false;
  const size_t link = PageLinkAt(nav, page);
  if (link == std::string::npos) return nav;
  const size_t quote = nav.find('"', link);
  if (quote == std::string::npos) return nav;
  nav.insert(quote + 1, kThisMenu);
  marked = true;
  return nav;
}

void RunPageMenuCommand(TBuildRun& run) {
  const std::string path = MasterFolderFile(run.CommandText);
  std::string menu;
  if (!ReadOldPage(path, menu)) ReportBuildError(run, "Cannot read the menu file " + path);
  const size_t start = PosNoCase("<Nav", menu);
  if (start == 0 || PosNoCase(kNavEnd, menu, start) == 0) {
    ReportBuildError(run, "The menu file " + path + " has no \"<Nav\" ... \"</Nav>\" block.");
  }
  bool marked = false;
  const std::string nav = MarkedMenu(menu, run.PageName, marked);
  if (!marked) {
    if (!run.PossibleErrors.empty()) run.PossibleErrors += "\r\n";
    run.PossibleErrors += "Page " + run.PageName + " has no link in the menu " + path +
                          ", so no menu entry is marked as this page's.";
  }
  // The menu is markup already: it goes to the page as it stands.
  EmitText(run, nav);
}

}  // namespace quorrel
