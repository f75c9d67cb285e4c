#include "platform/FileSwap.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace quorrel {

namespace {

int Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// The file system cannot do what renameat2 was asked (no such flag there).
bool Unsupported(int error) {
  return error == EINVAL || error == ENOSYS || error == ENOTSUP;
}

TSwapResult Failed(int step, int error, std::string stranded = {}) {
  TSwapResult result;
  result.step = step;
  result.error = error;
  result.stranded = std::move(stranded);
  return result;
}

TSwapResult SwapByWorkName(const std::string& a, const std::string& b) {
  // A name of our own beside a: made empty, then replaced by a's file, so that no
  // file of that name can be overwritten.
  std::vector<char> pattern(a.begin(), a.end());
  for (char c : std::string(".swap-XXXXXX")) pattern.push_back(c);
  pattern.push_back('\0');
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return Failed(1, errno);
  ::close(fd);
  const std::string work = pattern.data();
  if (int error = Rename(a, work)) {
    ::unlink(work.c_str());
    return Failed(1, error);
  }
  if (int error = Rename(b, a)) {
    return Failed(2, error, Rename(work, a) == 0 ? "" : work);
  }
  if (int error = Rename(work, b)) {
    // Back as it was: b's file to b, then a's file to a.
    const bool undone = Rename(a, b) == 0 && Rename(work, a) == 0;
    return Failed(3, error, undone ? "" : work);
  }
  TSwapResult result;
  result.swapped = true;
  return result;
}

}  // namespace

TSwapResult SwapFiles(const std::string& a, const std::string& b, TSwapMethod method) {
  if (method == TSwapMethod::Exchange) {
    if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) {
      TSwapResult result;
      result.swapped = true;
      return result;
    }
    const int error = errno;
    if (!Unsupported(error)) return Failed(0, error);
  }
  return SwapByWorkName(a, b);
}

int RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int error = errno;
  if (!Unsupported(error)) return error;
  // A hard link cannot replace a file either; then the old name goes.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return 0;
    const int unlinkError = errno;
    ::unlink(to.c_str());
    return unlinkError;
  }
  if (errno == EEXIST) return EEXIST;
  // Nor hard links: looked at first, then renamed.
  struct stat info {};
  if (::lstat(to.c_str(), &info) == 0) return EEXIST;
  return Rename(from, to);
}

}  // namespace quorrel
