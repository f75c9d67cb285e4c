#include "platform/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/FileSwap.h"

namespace quorrel {

namespace {

// Names in a folder as the program spells them. Names the code page cannot hold are
// left out: under their "?" spelling they could not be opened again.
std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.empty() ? "." : NativePath(folder).c_str());
  if (!dir) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string native = entry->d_name;
    if (native == "." || native == "..") continue;
    // A name of ASCII alone is spelled alike in both: no conversion to and fro.
    if (std::all_of(native.begin(), native.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      names.push_back(native);
      continue;
    }
    std::string name = PathFromNative(native);
    if (NativePath(name) == native) names.push_back(std::move(name));
  }
  closedir(dir);
  return names;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0;
}

// Wildcard match of one mask: "*" any run of characters, "?" exactly one.
bool WildMatch(std::string_view mask, std::string_view name) {
  size_t m = 0, n = 0;
  size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() &&
               (mask[m] == '?' || AnsiUpperChar(static_cast<unsigned char>(mask[m])) ==
                                      AnsiUpperChar(static_cast<unsigned char>(name[n])))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;  // let the last "*" take one more character
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

bool MatchesOneMask(std::string_view mask, std::string_view name) {
  if (WildMatch(mask, name)) return true;
  const size_t nameDot = name.rfind('.');
  // "x.*" also takes a name without any dot, so "*.*" means every file.
  if (nameDot == std::string_view::npos) {
    return mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*" &&
           WildMatch(mask.substr(0, mask.size() - 2), name);
  }
  // A three-letter extension also matches longer ones, as Windows' short names do.
  const size_t maskDot = mask.rfind('.');
  if (maskDot == std::string_view::npos) return false;
  const std::string_view maskExt = mask.substr(maskDot + 1);
  if (maskExt.size() != 3 || maskExt.find('*') != std::string_view::npos) return false;
  if (name.size() - nameDot - 1 <= 3) return false;
  return WildMatch(mask, name.substr(0, nameDot + 4));
}

bool NameLess(const std::string& a, const std::string& b) {
  const bool less =
      std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return AnsiUpperChar(static_cast<unsigned char>(x)) <
               AnsiUpperChar(static_cast<unsigned char>(y));
      });
  if (less || !AnsiSameText(a, b)) return less;
  return a < b;  // names that differ only in case: a fixed order all the same
}

// Opens (never through a symbolic link) or makes the private folder and checks it.
void MakePrivateFolder(const std::string& folder) {
  const std::string native = NativePath(folder);
  if (mkdir(native.c_str(), 0700) != 0 && errno != EEXIST) {
    throw std::runtime_error("Unable to create the temporary folder " + folder);
  }
  struct stat st;
  if (lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    throw std::runtime_error("The temporary folder " + folder +
                             " is a symbolic link; it will not be used.");
  }
  const int fd = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0 || fstat(fd, &st) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("Unable to use the temporary folder " + folder);
  }
  if (st.st_uid != geteuid()) {
    close(fd);
    throw std::runtime_error("The temporary folder " + folder +
                             " belongs to another user; it will not be used.");
  }
  if ((st.st_mode & 07777) != 0700 && fchmod(fd, 0700) != 0) {
    close(fd);
    throw std::runtime_error("Unable to make the temporary folder " + folder + " private");
  }
  close(fd);
}

}  // namespace

std::string NativePath(const std::string& path) {
  return AnsiToUtf8(path);
}

std::string PathFromNative(const std::string& native) {
  return Utf8ToAnsi(native);
}

std::string ResolveNoCase(const std::string& path) {
  if (path.empty()) return "";
  if (Exists(path)) return path;
  std::string resolved = path[0] == '/' ? "/" : "";
  size_t pos = 0;
  while (pos < path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    const std::string part = path.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty()) continue;  // "//" or the leading "/"
    std::string found;
    if (Exists(resolved + part)) {
      found = part;
    } else {
      // Of several spellings the first in byte order, found in one pass: a folder
      // such as /tmp may hold tens of thousands of names, and sorting them all for
      // each missing part was most of the lookup.
      bool any = false;
      for (const std::string& entry : FolderEntries(resolved)) {
        if (AnsiSameText(entry, part) && (!any || entry < found)) {
          found = entry;
          any = true;
        }
      }
      if (!any) return "";
    }
    resolved += found;
    if (slash < path.size()) resolved += '/';
  }
  return Exists(resolved) ? resolved : "";
}

std::string FixNameCase(const std::string& folder, const std::string& name) {
  std::string found;
  int matches = 0;
  for (const std::string& entry : FolderEntries(folder)) {
    if (!AnsiSameText(entry, name)) continue;
    found = entry;
    ++matches;
  }
  if (matches != 1 || found == name) return "";
  const std::string in = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  if (RenameNoReplace(NativePath(in + found), NativePath(in + name)) != 0) return "";
  return found;
}

bool MatchesMask(const std::string& name, const std::string& masks) {
  size_t pos = 0;
  while (pos <= masks.size()) {
    size_t end = masks.find_first_of("|;", pos);
    if (end == std::string::npos) end = masks.size();
    const std::string mask(TrimBlanks(std::string_view(masks).substr(pos, end - pos)));
    if (!mask.empty() && MatchesOneMask(mask, name)) return true;
    pos = end + 1;
  }
  return false;
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& masks) {
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  std::vector<std::string> files;
  for (std::string& name : FolderEntries(folder)) {
    if (MatchesMask(name, masks) && FileExists(prefix + name)) files.push_back(std::move(name));
  }
  std::sort(files.begin(), files.end(), NameLess);
  return files;
}

std::string DocumentsFolder() {
  QString location = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (location.isEmpty()) location = QDir::homePath();
  QDir().mkpath(location);
  std::string folder = QStringToAnsi(location);
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string TempFolder() {
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  std::string folder;
  if (runtime && runtime[0] == '/') {
    folder = PathFromNative(runtime);
    if (folder.back() != '/') folder += '/';
    folder += "Quorrel";
  } else {
    folder = QStringToAnsi(QDir::tempPath()) + "/Quorrel-" + std::to_string(geteuid());
  }
  MakePrivateFolder(folder);
  return folder + "/";
}

bool InTempFolder(const std::string& path) {
  try {
    return path.starts_with(TempFolder());
  } catch (const std::runtime_error&) {
    return false;  // no private work folder: nothing lies in it
  }
}

std::string ExecutableDir() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return QStringToAnsi(QDir::currentPath()) + "/";
  return ExtractFilePath(PathFromNative(std::string(buffer, static_cast<size_t>(n))));
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CanonicalPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path canonical =
      std::filesystem::weakly_canonical(std::filesystem::path(NativePath(path)), error);
  if (error) return path;
  std::string result = PathFromNative(canonical.lexically_normal().string());
  if (!result.empty() && result.back() == '/' && result.size() > 1) result.pop_back();
  if (!path.empty() && path.back() == '/' && (result.empty() || result.back() != '/')) {
    result += '/';
  }
  return result;
}

bool IsWithinFolder(const std::string& path, const std::string& folder) {
  if (folder.empty() || folder.back() != '/') return false;
  return path.compare(0, folder.size(), folder) == 0 || path + "/" == folder;
}

std::string RelativePath(const std::string& folder, const std::string& path) {
  // The longest common run of whole folders.
  size_t common = 0;
  for (size_t i = 0; i < folder.size() && i < path.size() && folder[i] == path[i]; ++i) {
    if (folder[i] == '/') common = i + 1;
  }
  std::string relative;
  for (size_t i = common; i < folder.size(); ++i) {
    if (folder[i] == '/') relative += "../";
  }
  return relative + path.substr(common);
}

std::string ExtractFilePath(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& path) {
  const size_t at = path.find_last_of("./");
  return at == std::string::npos || path[at] != '.' ? "" : path.substr(at);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const size_t at = path.find_last_of("./");
  if (at == std::string::npos || path[at] != '.') return path + ext;
  return path.substr(0, at) + ext;
}

}  // namespace quorrel
