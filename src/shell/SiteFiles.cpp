#include "shell/SiteFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/Paths.h"
#include "platform/WorkFileNames.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

// Folders the site file list never enters.
constexpr const char* kNeverEntered[] = {"$Recycle.Bin", "Windows",       "inetpub",
                                         "MSOCache",     "Program Files", "Program Files (x86)"};

bool NeverEntered(const std::string& name) {
  if (name.empty() || name[0] == '.') return true;
  return std::any_of(std::begin(kNeverEntered), std::end(kNeverEntered), [&](const char* folder) {
    return UpperCaseAnsi(name) == UpperCaseAnsi(folder);
  });
}

// Real folders below a folder, not symbolic links: a link may lead back up the tree.
std::vector<std::string> SubFolders(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(NativePath(folder), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code statusError;
    if (it->is_symlink(statusError) || !it->is_directory(statusError)) continue;
    const std::string native = it->path().filename().string();
    std::string name = PathFromNative(native);
    // A name Windows-1252 cannot spell could not be opened again by its spelling.
    if (NativePath(name) != native || NeverEntered(name)) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Only plain files are listed: reading a named pipe or a device would never end.
bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(NativePath(path), ec);
}

bool Walk(TSiteWalk& walk, const std::string& relative, int depth) {
  const std::string folder = walk.root + relative;
  for (const std::string& name : ListFiles(folder, walk.mask)) {
    if (IsBinaryExtension(ExtractFileExt(name)) || IsOwnWorkFile(folder, name)) continue;
    if (!IsRegularFile(folder + name)) continue;
    if (!walk.file(relative + name)) return false;
  }
  if (!walk.subFolders) return true;
  const std::vector<std::string> folders = SubFolders(folder);
  if (depth >= walk.maxDepth) {
    if (!folders.empty()) walk.deeperLeftOut = true;
    return true;
  }
  for (const std::string& name : folders) {
    if (!Walk(walk, relative + name + "/", depth + 1)) return false;
  }
  return true;
}

// A path as the list sorts it: a blank after its last "/".
std::string ListLine(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t at = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, at) + " " + path.substr(at);
}

}  // namespace

bool WalkSiteFiles(TSiteWalk& walk) {
  walk.deeperLeftOut = false;
  if (!walk.file) return true;
  return Walk(walk, "", 1);
}

TSiteListLine SiteListLine(std::string line) {
  std::string key = UpperCaseLatin1(line);
  return {std::move(key), std::move(line)};
}

bool SiteListLess(const TSiteListLine& a, const TSiteListLine& b) {
  return a.key != b.key ? a.key < b.key : a.line < b.line;
}

void SortSiteList(std::vector<std::string>& lines) {
  std::vector<TSiteListLine> keyed;
  keyed.reserve(lines.size());
  for (std::string& line : lines) keyed.push_back(SiteListLine(std::move(line)));
  std::sort(keyed.begin(), keyed.end(), SiteListLess);
  for (size_t i = 0; i < keyed.size(); ++i) lines[i] = std::move(keyed[i].line);
}

std::vector<std::string> SiteFilePaths(const std::string& root, const std::string& mask,
                                       bool subFolders) {
  std::vector<TSiteListLine> lines;
  TSiteWalk walk;
  walk.root = root;
  walk.mask = mask;
  walk.subFolders = subFolders;
  walk.file = [&](const std::string& relative) {
    lines.push_back({UpperCaseLatin1(ListLine(relative)), relative});
    return true;
  };
  WalkSiteFiles(walk);
  std::sort(lines.begin(), lines.end(), SiteListLess);
  std::vector<std::string> paths;
  paths.reserve(lines.size());
  for (TSiteListLine& line : lines) paths.push_back(std::move(line.line));
  return paths;
}

std::string DoGrab(const std::string& mask) {
  std::string root = CurrentFolder;
  if (root.empty()) return "";
  if (root.back() != '/') root += '/';
  const std::string fullMask = mask.find('.') == std::string::npos ? mask + ".*" : mask;
  std::string list;
  for (const std::string& path : SiteFilePaths(root, fullMask, MainMenu().Checked("SubDirs"))) {
    list += path + "\r\n";
  }
  return list;
}

std::vector<std::string> GrabLines(const std::string& list) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < list.size()) {
    size_t end = list.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = list.size();
    if (end > pos) lines.push_back(list.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

}  // namespace quorrel
