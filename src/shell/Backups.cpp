#include "shell/Backups.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

// Symbolic links followed before a name is taken for a loop.
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& native) {
  size_t slash = native.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : native.substr(0, slash);
}

// The file a name finally stands for: the target of a symbolic link (of a chain of
// them), the name itself otherwise. A dangling link gives the name it points at.
std::string FollowLinks(const std::string& native) {
  std::string name = native;
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat st;
    if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return name;
    char buffer[4096];
    ssize_t n = ::readlink(name.c_str(), buffer, sizeof buffer - 1);
    if (n <= 0) return name;
    std::string target(buffer, static_cast<size_t>(n));
    name = target[0] == '/' ? target : FolderOf(name) + "/" + target;
  }
  return name;
}

bool CopyBytes(const std::string& fromNative, const std::string& toNative) {
  int in = ::open(fromNative.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  int out = ::open(toNative.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  bool ok = out >= 0;
  char buffer[65536];
  while (ok) {
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = WriteAllBytes(out, std::string(buffer, static_cast<size_t>(n)));
  }
  struct stat st;
  if (ok && ::fstat(in, &st) == 0) ::fchmod(out, st.st_mode & 07777);
  ::close(in);
  if (out >= 0 && ::close(out) != 0) ok = false;
  if (!ok && out >= 0) ::unlink(toNative.c_str());
  return ok;
}

// Whether to go on when the back-up could not be made. No ends the command.
bool ContinueWithoutBackup(const std::string& path, const std::string& backup) {
  std::string question = "Cannot rename " + path + "\r to " + backup;
  if (NotInSite) question += "\r(it's probably held by Internet Explorer)";
  return AskYesNo(question + "\rContinue?");
}

mode_t CurrentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

std::string BackupPath(const std::string& path) {
  return path + ".Bak";
}

int64_t FileAge(const std::string& path) {
  struct stat st;
  if (path.empty() || ::stat(NativePath(path).c_str(), &st) != 0) return 0;
  return static_cast<int64_t>(st.st_mtime);
}

void RenameToBackup(const std::string& path) {
  const std::string native = NativePath(path);
  struct stat st;
  if (::lstat(native.c_str(), &st) != 0) return;
  const std::string backup = BackupPath(path);
  DeleteFileOrAbort(backup);
  if (::rename(native.c_str(), NativePath(backup).c_str()) == 0) return;
  if (!ContinueWithoutBackup(path, backup)) Abort();
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 32 + 2);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    bytes.append(text, start, end - start);
    bytes += "\r\n";
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
  if (ReplaceFile(path, bytes, false) != TReplaceResult::Replaced) {
    ShowErrorAndAbort("Unable to create file " + path);
  }
}

std::string QuotePath(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

TReplaceResult ReplaceFile(const std::string& path, const std::string& bytes, bool keepBackup,
                           unsigned newMode) {
  const std::string native = NativePath(path);
  const std::string target = FollowLinks(native);
  const bool throughLink = target != native;

  struct stat old;
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) return TReplaceResult::NotCreated;

  // 1. The new bytes, completely, in a work file beside the target, checked.
  const size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  // A hidden name that stays within the longest name a folder takes.
  const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 200);
  std::string work = folder + "." + name + ".save-XXXXXX";
  int fd = ::mkostemp(work.data(), O_CLOEXEC);
  if (fd < 0) return TReplaceResult::NotCreated;
  bool ok = WriteAllBytes(fd, bytes) && ::fsync(fd) == 0;
  struct stat written;
  ok = ok && ::fstat(fd, &written) == 0 && static_cast<size_t>(written.st_size) == bytes.size();
  if (ok && existed) {
    // The owner and group where we may give them; the mode in any case.
    if (written.st_uid != old.st_uid || written.st_gid != old.st_gid) {
      if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, -1, old.st_gid);
    }
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  } else if (ok) {
    ok = ::fchmod(fd, static_cast<mode_t>(newMode) & ~CurrentUmask() & 07777) == 0;
  }
  if (::close(fd) != 0) ok = false;
  if (!ok) {
    ::unlink(work.c_str());
    return TReplaceResult::NotCreated;
  }

  // 2. The previous version becomes the back-up. A hard link keeps the file in
  // place meanwhile; where links are not to be had it is moved (and moved back
  // should the new file not take its place).
  bool moved = false;
  if (keepBackup && existed) {
    const std::string backup = BackupPath(path);
    const std::string backupNative = NativePath(backup);
    try {
      DeleteFileOrAbort(backup);
    } catch (...) {
      ::unlink(work.c_str());
      throw;
    }
    bool made = ::link(target.c_str(), backupNative.c_str()) == 0;
    if (!made && throughLink) {
      made = CopyBytes(target, backupNative);
    } else if (!made) {
      made = moved = ::rename(target.c_str(), backupNative.c_str()) == 0;
    }
    if (!made) {
      bool goOn = false;
      try {
        goOn = ContinueWithoutBackup(path, backup);
      } catch (...) {
        ::unlink(work.c_str());
        throw;
      }
      if (!goOn) {
        ::unlink(work.c_str());
        return TReplaceResult::BackupRefused;
      }
    }
  }

  // 3. The new file takes the name.
  if (::rename(work.c_str(), target.c_str()) != 0) {
    if (moved) ::rename(NativePath(BackupPath(path)).c_str(), target.c_str());
    ::unlink(work.c_str());
    return TReplaceResult::NotCreated;
  }
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return TReplaceResult::Replaced;
}

}  // namespace quorrel
