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

// Deeper folders than this are not entered.
constexpr int kMaxDepth = 30;

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
  return names;
}

// Each entry as the list sorts it: the relative path with a blank after its last
// "/", so that a folder's own files come before its sub-folders' files.
struct TEntry {
  std::string key;
  std::string path;
};

void Scan(const std::string& root, const std::string& relative, const std::string& mask,
          bool subFolders, int depth, std::vector<TEntry>& entries) {
  const std::string folder = root + relative;
  for (const std::string& name : ListFiles(folder, mask)) {
    if (IsBinaryExtension(ExtractFileExt(name)) || IsOwnWorkFile(folder, name)) continue;
    entries.push_back({UpperCaseAnsi(relative + " " + name), relative + name});
  }
  if (!subFolders || depth >= kMaxDepth) return;
  for (const std::string& name : SubFolders(folder)) {
    Scan(root, relative + name + "/", mask, subFolders, depth + 1, entries);
  }
}

}  // namespace

std::vector<std::string> SiteFilePaths(const std::string& root, const std::string& mask,
                                       bool subFolders) {
  std::vector<TEntry> entries;
  Scan(root, "", mask, subFolders, 1, entries);
  std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
    return a.key != b.key ? a.key < b.key : a.path < b.path;
  });
  std::vector<std::string> paths;
  paths.reserve(entries.size());
  for (TEntry& entry : entries) paths.push_back(std::move(entry.path));
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
