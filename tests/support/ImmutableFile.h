#pragma once
// Makes a file immutable for the length of a test (the "i" attribute of chattr): it
// cannot be renamed, changed or deleted, not even by root. Only root may set it, and
// only where the file system has it; Holds() tells whether it took.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>

namespace quorrel::test {

class ImmutableFile {
 public:
  explicit ImmutableFile(const std::string& path) : path_(path) { holds_ = Set(true); }
  ~ImmutableFile() {
    if (holds_) Set(false);
  }
  ImmutableFile(const ImmutableFile&) = delete;
  ImmutableFile& operator=(const ImmutableFile&) = delete;
  bool Holds() const { return holds_; }

 private:
  bool Set(bool on) {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
      flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
      done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
  }

  std::string path_;
  bool holds_ = false;
};

}  // namespace quorrel::test
