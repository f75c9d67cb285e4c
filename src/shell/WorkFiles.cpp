#include "shell/WorkFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

namespace quorrel {

namespace {

// Symbolic links followed before a name is taken for a loop.
constexpr int kMaxLinks = 40;
// A work file's name stays within the longest name a folder takes.
constexpr size_t kMaxBase = 200;
constexpr char kSuffix[] = ".save-";
constexpr size_t kRandomLetters = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// Fresh names tried before giving up on a folder.
constexpr int kNameAttempts = 100;

std::function<int(const char*, const char*)> testLink;

std::string Prefix(const std::string& base) {
  return "." + base.substr(0, kMaxBase) + kSuffix;
}

bool IsLetterOrDigit(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsWorkFileOf(const std::string& entry, const std::string& prefix) {
  if (entry.size() != prefix.size() + kRandomLetters || entry.compare(0, prefix.size(), prefix))
    return false;
  for (size_t i = prefix.size(); i < entry.size(); ++i)
    if (!IsLetterOrDigit(entry[i])) return false;
  return true;
}

std::string RandomLetters() {
  thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
  std::string letters;
  for (size_t i = 0; i < kRandomLetters; ++i) letters += kLetters[pick(generator)];
  return letters;
}

bool Older(const struct timespec& a, const struct timespec& b, bool sameAgeToo) {
  if (a.tv_sec != b.tv_sec) return a.tv_sec < b.tv_sec;
  return a.tv_nsec < b.tv_nsec || (sameAgeToo && a.tv_nsec == b.tv_nsec);
}

// Removes one candidate when it is a regular file older than the document and no
// running save holds its lock. The lock is taken before the name is checked again,
// so that a save that has just created the file finds it gone and makes another.
void RemoveIfLeftover(const std::string& name, const struct timespec& documentTime,
                      bool sameAgeToo) {
  const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat held, named;
  if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
      Older(held.st_mtim, documentTime, sameAgeToo) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      ::lstat(name.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
      named.st_ino == held.st_ino) {
    ::unlink(name.c_str());
  }
  ::close(fd);
}

void RemoveInFolder(const std::string& folder, const std::vector<std::string>& prefixes,
                    const struct timespec& documentTime, bool sameAgeToo) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  std::vector<std::string> found;
  while (const struct dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    for (const std::string& prefix : prefixes) {
      if (IsWorkFileOf(name, prefix)) found.push_back(folder + name);
    }
  }
  ::closedir(dir);
  for (const std::string& name : found) RemoveIfLeftover(name, documentTime, sameAgeToo);
}

}  // namespace

std::string FolderPart(const std::string& native) {
  const size_t slash = native.rfind('/');
  return slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
}

std::string NamePart(const std::string& native) {
  const size_t slash = native.rfind('/');
  return slash == std::string::npos ? native : native.substr(slash + 1);
}

std::string FollowLinks(const std::string& native) {
  std::string name = native;
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat st;
    if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return name;
    char buffer[4096];
    ssize_t n = ::readlink(name.c_str(), buffer, sizeof buffer - 1);
    if (n <= 0) return name;
    std::string target(buffer, static_cast<size_t>(n));
    if (target[0] == '/') {
      name = target;
    } else {
      const std::string folder = FolderPart(name);
      name = (folder.empty() ? "./" : folder) + target;
    }
  }
  return name;
}

int CreateWorkFile(const std::string& folder, const std::string& base, std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = folder + Prefix(base) + "XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    // Where locks are not to be had the file goes unlocked: no other save can
    // then tell it is in use, and nothing removes a file newer than its document.
    if (::flock(fd, LOCK_EX) != 0 && errno != ENOLCK && errno != EINVAL && errno != ENOTSUP) {
      ::close(fd);
      ::unlink(name.c_str());
      return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
    ::close(fd);  // tidied away before the lock was ours
  }
  return -1;
}

int LinkAsWorkFile(const std::string& existing, const std::string& folder, const std::string& base,
                   std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = folder + Prefix(base) + RandomLetters();
    const int made = testLink ? testLink(existing.c_str(), name.c_str())
                              : ::link(existing.c_str(), name.c_str());
    if (made != 0 && errno == EEXIST) continue;
    if (made != 0) return -1;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      ::unlink(name.c_str());
      return -1;
    }
    (void)::flock(fd, LOCK_EX);
    struct stat held, named;
    if (::fstat(fd, &held) == 0 && ::lstat(name.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      return fd;
    }
    ::close(fd);  // tidied away before the lock was ours
  }
  return -1;
}

void RemoveLeftoverWorkFiles(const std::string& native, bool justSaved) {
  const std::string target = FollowLinks(native);
  struct stat document;
  if (::stat(target.c_str(), &document) != 0 || !S_ISREG(document.st_mode)) return;
  const std::string name = NamePart(native);
  const std::string folder = FolderPart(native);
  RemoveInFolder(folder, {Prefix(name), Prefix(name + ".Bak")}, document.st_mtim, justSaved);
  const std::string targetFolder = FolderPart(target);
  const std::string targetName = NamePart(target);
  if (targetFolder != folder || targetName != name) {
    RemoveInFolder(targetFolder, {Prefix(targetName)}, document.st_mtim, justSaved);
  }
}

void SetWorkFileLinkForTests(std::function<int(const char*, const char*)> link) {
  testLink = std::move(link);
}

}  // namespace quorrel
