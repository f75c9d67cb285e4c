#include "shell/SitePaths.h"

#include <vector>

#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/SiteState.h"

namespace quorrel {

namespace {

bool HasSiteFolder() {
  return !SiteFolder.empty() && SiteFolder != "?";
}

// SiteFolder names a folder; "/site" is the folder "/site/" itself.
bool InsideSiteFolder(const std::string& path) {
  return path.starts_with(SiteFolder) || path + "/" == SiteFolder;
}

}  // namespace

[[noreturn]] void NotWithinSite(const std::string& shown, const std::string& tested) {
  std::string message = shown + "\ris not within site " + SiteFolder;
  if (PosNoCase(SiteFolder, tested) == 1) message += "\rThere is a difference in case!";
  ShowErrorAndAbort(message);
}

namespace {

// A path that starts in the site folder must still be in it once normalised.
std::string NormaliseInSite(const std::string& path) {
  std::string result = NormaliseSitePath(path);
  if (HasSiteFolder() && path.starts_with(SiteFolder) && !InsideSiteFolder(result)) {
    NotWithinSite(path, result);
  }
  return result;
}

}  // namespace

std::string ToServerPath(const std::string& path) {
  return NormaliseInSite(ReplaceChar(path, '\\', '/'));
}

std::string ToLocalPath(const std::string& path) {
  return NormaliseInSite(ReplaceAll(ReplaceChar(path, '\\', '/'), "%20", " ", true));
}

std::string NormaliseSitePath(const std::string& path) {
  const char separator = path.find('\\') != std::string::npos ? '\\' : '/';
  auto isSeparator = [](char c) { return c == '/' || c == '\\'; };
  const bool rooted = !path.empty() && isSeparator(path.front());
  // Segments between separators; an empty one (from "//") stays as it was, but
  // never counts as a folder that ".." can climb out of.
  std::vector<std::string> segments;
  bool endsAsFolder = !path.empty() && isSeparator(path.back());
  size_t pos = rooted ? 1 : 0;
  while (pos <= path.size()) {
    size_t end = pos;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    const std::string segment = path.substr(pos, end - pos);
    const bool last = end >= path.size();
    if (segment == "..") {
      while (!segments.empty() && segments.back().empty()) segments.pop_back();
      if (segments.empty()) ShowErrorAndAbort("Reference to above website root.\r" + path);
      segments.pop_back();
      if (last) endsAsFolder = true;
    } else if (segment == ".") {
      if (last) endsAsFolder = true;
    } else if (!(last && segment.empty())) {
      segments.push_back(segment);
    }
    pos = end + 1;
  }
  std::string result = rooted ? std::string(1, separator) : "";
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) result += separator;
    result += segments[i];
  }
  if (endsAsFolder && !segments.empty()) result += separator;
  return result;
}

}  // namespace quorrel
