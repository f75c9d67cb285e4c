#include "sitebuild/Templates.h"

#include <algorithm>

#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

constexpr size_t Length(const char* text) { return std::char_traits<char>::length(text); }

// The template attribute's head after "<!-- InstanceBegin ": its name, "=" and the
// opening quote ("template=\"").
constexpr size_t kTemplateAttributeHead = 10;
// The region name's head after "<!-- TemplateBeginEditable": " name=\"".
constexpr size_t kRegionNameHead = 7;
// "</HTML>" may be followed by this many characters at most (line ends, blanks).
constexpr size_t kHtmlEndSlack = 12;

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// A site file's text as the HTML working copy holds it.
std::string ReadSiteText(const std::string& path) {
  std::string bytes;
  if (!FileBytes(path, bytes)) ShowErrorAndAbort("Unable to read " + path);
  return ReplaceAll(ReplaceAll(bytes, "\r\n", "\n", true), "\r", "\n", true);
}

// The rest of the line from pos, without its line end.
std::string RestOfLine(const std::string& text, size_t pos) {
  if (pos >= text.size()) return "";
  const size_t end = text.find('\n', pos);
  return text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
}

// The path of the library item whose begin comment starts at begin; quote receives
// the position of its closing quote (npos when the line has none). A path that does
// not start "/" stops the command.
std::string ItemPathAt(const std::string& text, size_t begin, size_t& quote) {
  const size_t pathStart = begin + Length(LibraryItemBegin);
  quote = text.find('"', pathStart);
  const std::string path = quote == std::string::npos ? RestOfLine(text, pathStart)
                                                      : text.substr(pathStart, quote - pathStart);
  if (path.empty() || path[0] != '/') ShowErrorAndAbort("Library item does not start \"/\"");
  return path;
}

// The page merged into its template; "" with error set when a region fails.
std::string MergeRegions(std::string layout, const std::string& page, std::string& error) {
  size_t pos = 0;
  size_t begin;
  while ((begin = layout.find(TemplateRegionBegin, pos)) != std::string::npos) {
    const size_t nameStart = begin + Length(TemplateRegionBegin) + kRegionNameHead;
    const size_t quote = nameStart <= layout.size() ? layout.find('"', nameStart) : std::string::npos;
    const size_t lineEnd = nameStart <= layout.size() ? layout.find('\n', nameStart) : std::string::npos;
    if (quote == std::string::npos || (lineEnd != std::string::npos && lineEnd < quote)) {
      error = "No close quote in " + RestOfLine(layout, std::min(nameStart, layout.size()));
      return "";
    }
    const std::string name = layout.substr(nameStart, quote - nameStart);
    const size_t pageBegin = page.find(InstanceRegionBegin + name + "\"");
    if (pageBegin == std::string::npos) {
      error = "No InstanceBeginEditable for " + name;
      return "";
    }
    const size_t pageEnd = page.find(InstanceRegionEnd, pageBegin);
    if (pageEnd == std::string::npos) {
      error = "No end for " + name;
      return "";
    }
    const size_t layoutEnd = layout.find(TemplateRegionEnd, quote);
    if (layoutEnd == std::string::npos) {
      error = "No end for " + name + "\rin Template.";
      return "";
    }
    const std::string region =
        page.substr(pageBegin, pageEnd + Length(InstanceRegionEnd) - pageBegin);
    layout.replace(begin, layoutEnd + Length(TemplateRegionEnd) - begin, region);
    // The search goes on after the page's region, which may hold anything.
    pos = begin + region.size();
  }
  return layout;
}

// The page's template with the page's regions in it; "" with error set when a region
// fails; the page itself when it is no template instance.
std::string FromTemplate(const std::string& page, const std::string& siteRoot, int depth,
                         std::string& error) {
  const size_t mark = page.find(InstanceBeginMark);
  if (mark == std::string::npos) return page;
  if (page.find("<!-- Template") != std::string::npos) {
    ShowErrorAndAbort("Input HTML should not contain \"<!-- Template\"");
  }
  const size_t pathStart = mark + Length(InstanceBeginMark) + kTemplateAttributeHead;
  const size_t quote = pathStart <= page.size() ? page.find('"', pathStart) : std::string::npos;
  if (quote == std::string::npos || quote == pathStart) {
    ShowErrorAndAbort("No template named in\r" + RestOfLine(page, mark));
  }
  const std::string templatePath = page.substr(pathStart, quote - pathStart);
  std::string layout = RebaseParents(
      ReadSiteText(SiteFileOfComment(siteRoot, templatePath, false)), depth, true);

  // The page's own comment line goes before the template's head.
  std::string instanceLine = RestOfLine(page, mark) + "\n";
  const size_t head = PosNoCase("<HEAD", layout);
  if (head == 0) ShowErrorAndAbort("No <HEAD in template " + templatePath);
  layout.insert(head - 1, instanceLine);
  return MergeRegions(std::move(layout), page, error);
}

// Every library item block of the text filled from its item file.
std::string RefreshItems(std::string text, const std::string& siteRoot, int depth) {
  size_t pos = 0;
  size_t begin;
  while ((begin = text.find(LibraryItemBegin, pos)) != std::string::npos) {
    const size_t pathStart = begin + Length(LibraryItemBegin);
    size_t quote;
    const std::string path = ItemPathAt(text, begin, quote);
    const size_t end = quote == std::string::npos ? quote : text.find(LibraryItemEnd, quote);
    // Without its own end comment the block would swallow the page up to the next
    // item's end.
    const size_t nextBegin = text.find(LibraryItemBegin, pathStart);
    if (end == std::string::npos || (nextBegin != std::string::npos && nextBegin < end)) {
      ShowErrorAndAbort("No \"" + std::string(LibraryItemEnd) + "\" for library item " + path);
    }
    std::string item = ReadSiteText(SiteFileOfComment(siteRoot, path, false));
    // Items are not rebased in the root: the rule of the pages that use them.
    if (depth > 1) item = RebaseParents(item, depth, false);
    const std::string block = LibraryItemBegin + path + "\" -->" + item;
    text.replace(begin, end - begin, block);
    // On after the block and its end comment: an item holding its own begin
    // comment is not filled again.
    pos = begin + block.size() + Length(LibraryItemEnd);
  }
  return text;
}

// "</HTML>" must end the text; a template instance gets its end comment before it.
std::string CheckPageEnd(std::string text, bool instance) {
  const size_t tailStart = text.size() > kHtmlEndSlack + 7 ? text.size() - kHtmlEndSlack - 7 : 0;
  const size_t inTail = PosBackNoCase("</HTML>", text.substr(tailStart));
  if (inTail == 0) ShowErrorAndAbort("Template does not end \"</HTML>\"");
  if (instance && text.find(InstanceEndMark) == std::string::npos) {
    text.insert(tailStart + inTail - 1, std::string(InstanceEndMark) + "\n");
  }
  return text;
}

}  // namespace

int PageDepth(const std::string& pagePath, const std::string& siteRoot) {
  const std::string root = CanonicalPath(WithSlash(siteRoot));
  const std::string page = CanonicalPath(pagePath);
  if (root.size() < 2 || !page.starts_with(root)) {
    ShowErrorAndAbort("File is not below root directory\r" + siteRoot);
  }
  const std::string below = page.substr(root.size());
  return static_cast<int>(std::count(below.begin(), below.end(), '/'));
}

std::string SiteFileOfComment(const std::string& siteRoot, const std::string& commentPath,
                              bool forWriting) {
  std::string path = ReplaceAll(ReplaceChar(commentPath, '\\', '/'), "%20", " ", true);
  while (!path.empty() && path.front() == '/') path.erase(0, 1);
  const std::string root = WithSlash(siteRoot);
  auto refuse = [&] {
    ShowErrorAndAbort(commentPath + "\rlies outside the site folder " + root);
  };
  // No ".." at all: a page from elsewhere must not reach files beside the site.
  for (size_t pos = 0; pos <= path.size();) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    if (path.compare(pos, slash - pos, "..") == 0) refuse();
    pos = slash + 1;
  }
  std::string file = ResolveNoCase(root + path);
  if (file.empty()) {
    const std::string folder = ResolveNoCase(ExtractFilePath(root + path));
    if (!forWriting || folder.empty()) ShowErrorAndAbort(root + path + "\rnot found.");
    file = WithSlash(folder) + ExtractFileName(path);
  }
  // A link inside the site may still lead out of it.
  if (!IsWithinFolder(CanonicalPath(file), CanonicalPath(root))) refuse();
  return file;
}

std::string RebaseParents(const std::string& text, int depth, bool atRootRemoves) {
  if (depth == 0) return atRootRemoves ? ReplaceAll(text, "../", "", true) : text;
  if (depth == 1) return text;
  std::string up;
  for (int i = 1; i < depth; ++i) up += "../";
  return ReplaceAll(text, "../", up + "../", true);
}

std::vector<std::string> LibraryItemsOfPage(const std::string& text) {
  std::vector<std::string> items;
  size_t pos = 0;
  size_t begin;
  while ((begin = text.find(LibraryItemBegin, pos)) != std::string::npos) {
    size_t quote;
    const std::string path = ItemPathAt(text, begin, quote);
    if (std::find(items.begin(), items.end(), path) == items.end()) items.push_back(path);
    pos = begin + Length(LibraryItemBegin);
  }
  return items;
}

std::string PageCopyOfItem(const std::string& text, const std::string& itemPath) {
  const size_t begin = text.find(LibraryItemBegin + itemPath + "\"");
  const size_t close = begin == std::string::npos ? begin : text.find("-->", begin);
  const size_t end = close == std::string::npos ? close : text.find(LibraryItemEnd, close);
  if (end == std::string::npos) {
    ShowErrorAndAbort("No \"" + std::string(LibraryItemEnd) + "\" for library item " + itemPath);
  }
  size_t start = close + 3;
  while (start < end && (text[start] == '\r' || text[start] == '\n')) ++start;
  return text.substr(start, end - start);
}

TRegenResult RegeneratePage(const std::string& text, const std::string& siteRoot, int depth,
                            TRegenMode mode) {
  const bool instance = text.find(InstanceBeginMark) != std::string::npos;
  // A page that is no instance has nothing to take from a template.
  if (mode == TRegenMode::Full && !instance) return {text, ""};
  TRegenResult result;
  std::string page = text;
  if (mode == TRegenMode::Full) {
    page = FromTemplate(text, siteRoot, depth, result.regionError);
    // Half-merged, the page would lose the content of its remaining regions.
    if (!result.regionError.empty()) return {text, result.regionError};
  }
  result.text = CheckPageEnd(RefreshItems(std::move(page), siteRoot, depth), instance);
  return result;
}

}  // namespace quorrel
