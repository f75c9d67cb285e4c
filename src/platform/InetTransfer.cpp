// FTP uploads and downloads. A download is written to a work file beside its
// target and takes the target's place only once it is complete, so a failed or
// stopped transfer never leaves a half-written file where a good one was. Local
// names are the program's (Windows-1252) and reach the file system through
// NativePath, like every other local name.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/FileWrites.h"
#include "platform/InetInternal.h"
#include "platform/InetListing.h"
#include "platform/Paths.h"

namespace quorrel {

namespace {

using inet::Connection;
using inet::FtpCall;

std::shared_ptr<Connection> BeginTransfer(HINTERNET connection, const std::string& remote,
                                          const std::string& local) {
  auto c = inet::LookupAs<Connection>(connection, inet::Kind::Connection);
  if (!c) return nullptr;
  if (remote.empty() || local.empty() || !inet::IsSafeForCommand(remote)) {
    SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  return c;
}

}  // namespace

bool FtpGetFileA(HINTERNET connection, const std::string& remoteFile, const std::string& newFile,
                 bool failIfExists, uint32_t, uint32_t flags, uintptr_t context) {
  auto c = BeginTransfer(connection, remoteFile, newFile);
  if (!c) return false;
  inet::BusyGuard guard(*c);
  if (!guard.Ok()) return false;
  std::string target = NativePath(newFile);
  struct stat st;
  bool exists = lstat(target.c_str(), &st) == 0;
  if (exists && failIfExists) {
    SetLastError(ERROR_FILE_EXISTS);
    return false;
  }
  if (exists && S_ISLNK(st.st_mode)) {
    // A download through a link replaces the file the link names.
    char resolved[PATH_MAX];
    if (realpath(target.c_str(), resolved)) target = resolved;
  }
  mode_t mode = 0666 & ~CurrentUmask();
  if (stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    mode = st.st_mode & 07777;
  }
  size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string work = dir + "." + (base.size() > 200 ? std::string("download") : base) + ".XXXXXX";
  int fd = mkstemp(work.data());
  if (fd < 0) {
    SetLastError(inet::ErrorFromErrno(errno));
    return false;
  }
  fchmod(fd, mode);

  FtpCall call;
  call.url = inet::PathUrl(*c, inet::AbsolutePath(*c, remoteFile), false);
  call.transfer = true;
  call.ascii = (flags & 3) == FTP_TRANSFER_TYPE_ASCII;
  call.progressStatus = INTERNET_STATUS_RESPONSE_RECEIVED;
  call.context = context;
  call.sink = [&](const char* data, size_t size) {
    if (WriteAllBytes(fd, std::string_view(data, size))) return true;
    call.localError = inet::ErrorFromErrno(errno);
    return false;
  };
  bool ok = inet::RunFtp(*c, call);
  int localErrno = 0;
  if (ok && fdatasync(fd) != 0) localErrno = errno;
  if (close(fd) != 0 && !localErrno) localErrno = errno;
  if (ok && localErrno) {
    SetLastError(inet::ErrorFromErrno(localErrno));
    ok = false;
  }
  if (ok && rename(work.c_str(), target.c_str()) != 0) {
    SetLastError(inet::ErrorFromErrno(errno));
    ok = false;
  }
  if (!ok) unlink(work.c_str());
  if (call.exception) std::rethrow_exception(call.exception);
  return ok;
}

bool FtpPutFileA(HINTERNET connection, const std::string& localFile,
                 const std::string& newRemoteFile, uint32_t flags, uintptr_t context) {
  auto c = BeginTransfer(connection, newRemoteFile, localFile);
  if (!c) return false;
  inet::BusyGuard guard(*c);
  if (!guard.Ok()) return false;
  int fd = open(NativePath(localFile).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : inet::ErrorFromErrno(errno));
    return false;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  FtpCall call;
  call.url = inet::PathUrl(*c, inet::AbsolutePath(*c, newRemoteFile), false);
  call.transfer = true;
  call.ascii = (flags & 3) == FTP_TRANSFER_TYPE_ASCII;
  call.progressStatus = INTERNET_STATUS_REQUEST_SENT;
  call.context = context;
  call.uploadSize = st.st_size;
  call.source = [&](char* buffer, size_t size) -> long {
    for (;;) {
      ssize_t n = read(fd, buffer, size);
      if (n >= 0) return static_cast<long>(n);
      if (errno == EINTR) continue;
      call.localError = ERROR_READ_FAULT;
      return -1;
    }
  };
  bool ok = inet::RunFtp(*c, call);
  close(fd);
  if (call.exception) std::rethrow_exception(call.exception);
  return ok;
}

}  // namespace quorrel
