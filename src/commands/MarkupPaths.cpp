#include "commands/MarkupPaths.h"

#include <cstring>

#include "platform/Paths.h"
#include "publish/ServerPaths.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"

namespace quorrel {

namespace {

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// The text with "&", "<" and, when asked, '"' written as entities.
std::string Escaped(const std::string& text, bool quotes) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '"' && quotes) {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string EscapeAttribute(const std::string& text) {
  return Escaped(text, true);
}

std::string EscapeText(const std::string& text) {
  return Escaped(text, false);
}

std::string HrefPath(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || std::strchr(" \"#%&<>?\\", c) != nullptr) {
      out += '%';
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string LinkBaseFolder() {
  if (!IsDotPage) return CurrentFolder;
  return WithSlash(SiteBaseFolder.empty() ? BuildOutputFolder() : SiteBaseFolder);
}

std::string SiteRelativePath(const std::string& path) {
  const std::string site = CanonicalPath(WithSlash(SiteRootFolder()));
  const std::string file = CanonicalPath(path);
  if (site.empty() || !IsWithinFolder(file, site)) return "";
  return RelativePath(CanonicalPath(LinkBaseFolder()), file);
}

}  // namespace quorrel
