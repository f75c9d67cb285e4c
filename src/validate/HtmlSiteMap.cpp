// The site map page: every page of the site appears in it, and its link texts
// agree with the titles of the pages they name.
#include <fstream>
#include <map>
#include <vector>

#include "platform/Paths.h"
#include "shell/Closing.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/SiteFiles.h"
#include "validate/HtmlPageSteps.h"
#include "validate/HtmlShow.h"
#include "validate/HtmlText.h"
#include "validate/ValUnit.h"

namespace quorrel {

using html::Find;
using html::Has;

namespace {

constexpr char kLink[] = "A Href=\"";

std::vector<std::string> SitePages() {
  std::vector<std::string> pages;
  const std::string list = DoGrab("*.HTM*");
  size_t pos = 0;
  while (pos < list.size()) {
    size_t end = list.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = list.size();
    std::string entry = list.substr(pos, end - pos);
    const size_t mark = entry.find(" \xBB");
    if (mark != std::string::npos) entry.erase(mark);
    if (!entry.empty()) pages.push_back(entry);
    pos = end + 1;
  }
  return pages;
}

// The targets of the page's links, as written.
std::vector<std::string> LinkTargets(const std::string& out) {
  std::vector<std::string> targets;
  for (size_t at = Find(out, kLink); at != std::string::npos; at = Find(out, kLink, at + 1)) {
    const size_t start = at + 8;
    const size_t end = out.find('"', start);
    if (end == std::string::npos) break;
    targets.push_back(out.substr(start, end - start));
  }
  return targets;
}

bool Linked(const std::vector<std::string>& targets, const std::string& page) {
  for (const std::string& target : targets) {
    if (UpperCaseAnsi(target) == UpperCaseAnsi(page)) return true;
  }
  return false;
}

std::string FolderOf(const std::string& page) {
  const size_t slash = page.rfind('/');
  return slash == std::string::npos ? "" : page.substr(0, slash + 1);
}

// The pages of the site that the map does not name.
std::vector<std::string> Missing(const std::string& out) {
  const std::string self = ExtractFileName(CurrentFileName);
  const std::vector<std::string> targets = LinkTargets(out);
  std::vector<std::string> missing;
  for (const std::string& page : SitePages()) {
    const std::string name = ExtractFileName(page);
    if (UpperCaseAnsi(page) == UpperCaseAnsi(self) || UpperCaseAnsi(name) == "INDEX.HTM" ||
        UpperCaseAnsi(name) == "INDEX.HTML" || Linked(targets, page) ||
        PosNoCase("google", page) == 1) {
      continue;
    }
    missing.push_back(page);
  }
  return missing;
}

void AddMissing(THtmlRun& run, const std::vector<std::string>& missing) {
  TMainWindow* window = MainWindow();
  const int mapSlot = CurrentEditor ? CurrentEditor->Tag() : -1;
  std::string report;
  for (const std::string& page : missing) report += page + "\n";
  ShowInTextTab(report, false);
  const bool add =
      AskYesNo(std::to_string(missing.size()) + " pages not appearing in Site Map.  Add them?");
  // The report goes; the site map is current again.
  if (CurrentEditor) CurrentEditor->SetModified(false);
  CloseClick("CloseTab");
  ShowFileTab(mapSlot, false);
  if (!window || !CurrentEditor || CurrentEditor->Tag() != mapSlot ||
      !Has(ExtractFileName(CurrentFileName), "sitemap.htm")) {
    ShowErrorAndAbort("Internal error.\rPlease restart Quorrel and try again!");
  }
  if (!add) return;
  std::map<std::string, std::vector<std::string>> byFolder;
  for (const std::string& page : missing) byFolder[FolderOf(page)].push_back(page);
  std::string entries = "<B>Inserted entries</B><P>\r\n";
  for (const auto& [folder, pages] : byFolder) {
    entries += "<UL>\n";
    for (const std::string& page : pages) entries += "<LI><A Href=\"" + page + "\"></A></LI>\n";
    entries += "</UL>\n";
  }
  const size_t body = Find(run.out, "</Body>");
  run.out.insert(body == std::string::npos ? run.out.size() : body, entries);
}

std::string Title(const std::string& text) {
  const size_t title = Find(text, "<Title>");
  if (title == std::string::npos) return "";
  const size_t end = Find(text, "</Title>", title);
  return text.substr(title + 7, (end == std::string::npos ? text.size() : end) - title - 7);
}

std::string FileStart(const std::string& path, size_t length) {
  std::ifstream file(NativePath(path), std::ios::binary);
  std::string start(length, '\0');
  file.read(start.data(), static_cast<std::streamsize>(length));
  start.resize(static_cast<size_t>(file.gcount()));
  return start;
}

// Each link's text against the title of the page it names.
void CheckLinkTexts(THtmlRun& run) {
  std::string& out = run.out;
  std::string report;
  for (size_t at = Find(out, kLink); at != std::string::npos && !HtmlFailed();
       at = Find(out, kLink, at + 1)) {
    const size_t start = at + 8;
    const size_t end = out.find('"', start);
    if (end == std::string::npos) break;
    std::string target = out.substr(start, end - start);
    if (target == "/" || target == ".") {
      const std::string htm = ResolveNoCase(CurrentFolder + "index.htm");
      const std::string html = ResolveNoCase(CurrentFolder + "index.html");
      if (htm.empty() && html.empty()) {
        HtmlError("Unknown index file.");
        run.errorAt = static_cast<long>(at);
        return;
      }
      target = ExtractFileName(htm.empty() ? html : htm);
    }
    if (!Has(target, ".htm") || target.find('?') != std::string::npos ||
        target.find(':') != std::string::npos) {
      continue;
    }
    const std::string path = ResolveNoCase(CurrentFolder + target);
    if (path.empty() || !FileExists(path)) continue;
    const std::string start270 = FileStart(path, 270);
    if (!Has(start270, "</Title>")) {
      HtmlError(target + ":\rNo <Title> near start.");
      run.errorAt = static_cast<long>(at);
      return;
    }
    const std::string title = Title(start270);
    const size_t open = out.find('>', end);
    const size_t close = open == std::string::npos ? open : Find(out, "</A", open);
    if (close == std::string::npos) continue;
    const std::string text = out.substr(open + 1, close - open - 1);
    if (text.empty()) {
      out.insert(open + 1, title);
      continue;
    }
    if (text != "Home" && !Has(text, title) && !Has(title, text)) {
      report += target + ":\rTitle is " + title + " but link text is " + text + "\r\r";
    }
  }
  if (!report.empty()) ShowMsg(report);
}

}  // namespace

void CheckSiteMap(THtmlRun& run, const std::string& sender) {
  if (sender != ValidateCommand || !Has(ExtractFileName(CurrentFileName), "sitemap.htm") ||
      run.validateAll || CurrentCommand == "Browser") {
    return;
  }
  if (ValidationPass == 0) {
    const std::vector<std::string> missing = Missing(run.out);
    if (!missing.empty()) AddMissing(run, missing);
  }
  CheckLinkTexts(run);
}

}  // namespace quorrel
