#include "shell/ArchiveMemberWipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Paths.h"
#include "shell/Archive7z.h"
#include "shell/Backups.h"
#include "shell/ShellRoutines.h"

namespace quorrel {

namespace {

bool wipedThisRun = false;

// Reads the whole file through an open descriptor.
bool ReadAll(int fd, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The same bytes in place, unreadable: line ends stay so that nothing about the
// file's length changes.
void Overwrite(const std::string& native) {
  // Never through a link: only the file itself is ours to overwrite.
  const int fd = ::open(native.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st;
  std::string bytes;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadAll(fd, bytes)) {
    for (char& c : bytes) {
      if (c != '\r' && c != '\n') c = '?';
    }
    if (WriteAll(fd, bytes)) ::fsync(fd);
  }
  ::close(fd);
}

}  // namespace

void WipeFile(const std::string& path) {
  const std::string native = NativePath(path);
  struct stat st;
  if (::lstat(native.c_str(), &st) != 0) return;
  if (S_ISREG(st.st_mode)) Overwrite(native);
  DeleteFileOrAbort(path);
}

void WipeExtractedMember() {
  if (ExtractedMember.empty()) return;
  const std::string member = ExtractedMember;
  wipedThisRun = true;
  ExtractedMember.clear();
  WipeFile(member);
  WipeFile(BackupPath(member));
}

bool MemberExtractedThisRun() {
  return wipedThisRun || !ExtractedMember.empty();
}

void ResetArchiveMemberWipe() {
  wipedThisRun = false;
}

}  // namespace quorrel
