#include "shell/Backups.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "shell/DBoxUnit.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"
#include "shell/WorkFiles.h"
#include "platform/Abort.h"
#include "platform/FileWrites.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"

namespace quorrel {

namespace {

std::function<void(const char*)> testStep;

void Step(const char* name) {
  if (testStep) testStep(name);
}

// Copies a file's bytes and mode into an open file, and makes them durable.
bool CopyInto(const std::string& fromNative, int out) {
  int in = ::open(fromNative.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  bool ok = true;
  char buffer[65536];
  while (ok) {
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = WriteAllBytes(out, std::string_view(buffer, static_cast<size_t>(n)));
  }
  struct stat st;
  ok = ok && ::fstat(in, &st) == 0 && ::fchmod(out, st.st_mode & 07777) == 0 && ::fsync(out) == 0;
  ::close(in);
  return ok;
}

// The back-up of the file a save replaces, made complete under a work file's name
// while the file stays in place: a second hard link, or a copy where links are not
// to be had. Returns the work file's descriptor, which holds its lock until closed;
// -1 when neither could be made.
int BackupWorkFile(const std::string& target, const std::string& backupNative, std::string& work) {
  const std::string folder = FolderPart(backupNative);
  const std::string base = NamePart(backupNative);
  int fd = LinkAsWorkFile(target, folder, base, work);
  if (fd >= 0) return fd;
  fd = CreateWorkFile(folder, base, work);
  if (fd < 0) return -1;
  if (!CopyInto(target, fd)) {
    ::unlink(work.c_str());
    ::close(fd);
    return -1;
  }
  return fd;
}

// Gives the finished back-up its name, which replaces the previous back-up in one
// step: the previous generation goes only once its successor is there. A back-up
// name held by something rename cannot replace is deleted first (asking, as
// DeleteFileOrAbort does, when that fails).
bool NameBackup(const std::string& work, const std::string& backup) {
  const std::string backupNative = NativePath(backup);
  if (::rename(work.c_str(), backupNative.c_str()) == 0) {
    // A back-up that already was the same file (a hard link to it) leaves rename
    // nothing to do: the work file's name is still there.
    ::unlink(work.c_str());
    return true;
  }
  if (errno == ENOENT) return false;  // the back-up itself is gone: keep the old one
  DeleteFileOrAbort(backup);
  if (::rename(work.c_str(), backupNative.c_str()) == 0) return true;
  ::unlink(work.c_str());
  return false;
}

// Whether to go on when the back-up could not be made. No ends the command.
bool ContinueWithoutBackup(const std::string& path, const std::string& backup) {
  std::string question = "Cannot rename " + path + "\r to " + backup;
  if (NotInSite) question += "\r(it's probably held by Internet Explorer)";
  return AskYesNo(question + "\rContinue?");
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
  // The rename replaces the old back-up in one step; only a back-up name that it
  // cannot replace is deleted first.
  if (::rename(native.c_str(), NativePath(backup).c_str()) == 0) return;
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

  struct stat old;
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) return TReplaceResult::NotCreated;

  // The new bytes, completely, in a work file beside the target, checked. The
  // work file stays open, and so locked, until the save is over.
  const std::string folder = FolderPart(target);
  std::string work;
  const int fd = CreateWorkFile(folder, NamePart(target), work);
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
  auto drop = [&] {
    ::unlink(work.c_str());
    ::close(fd);
  };
  if (!ok) {
    drop();
    return TReplaceResult::NotCreated;
  }
  Step("written");

  // The back-up, made while the previous version keeps its name, so that there
  // is never a moment without a file under it.
  if (keepBackup && existed) {
    const std::string backup = BackupPath(path);
    bool made = false;
    try {
      std::string backupWork;
      const int backupFd = BackupWorkFile(target, NativePath(backup), backupWork);
      if (backupFd >= 0) {
        try {
          made = NameBackup(backupWork, backup);
        } catch (...) {
          ::close(backupFd);
          throw;
        }
        ::close(backupFd);  // the back-up is durable: the copy was synced
      }
      if (!made && !ContinueWithoutBackup(path, backup)) {
        drop();
        return TReplaceResult::BackupRefused;
      }
    } catch (...) {
      drop();
      throw;
    }
    if (made) Step("backed-up");
  }

  // The new file takes the name, replacing the previous one in one step.
  if (::rename(work.c_str(), target.c_str()) != 0) {
    drop();
    return TReplaceResult::NotCreated;
  }
  Step("replaced");
  ::close(fd);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  RemoveLeftoverWorkFiles(native, true);
  return TReplaceResult::Replaced;
}

void SetReplaceStepForTests(std::function<void(const char* step)> step) {
  testStep = std::move(step);
}

}  // namespace quorrel
