#pragma once
// Takes a folder's write permission away for this thread, root or not: a root
// thread gives up its file-system privileges for the while.
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace quorrel::test {

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const std::string& folder) : folder_(folder) {
    ::chmod(folder.c_str(), 0555);
    if (::geteuid() == 0) {
      ::setfsuid(65534);
      switched_ = true;
    }
  }
  ~ReadOnlyFolder() {
    if (switched_) ::setfsuid(0);
    ::chmod(folder_.c_str(), 0755);
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
  // Whether nothing can be made in the folder now.
  bool Holds() const {
    const std::string probe = folder_ + "probe";
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return true;
    ::close(fd);
    ::unlink(probe.c_str());
    return false;
  }

 private:
  std::string folder_;
  bool switched_ = false;
};

}  // namespace quorrel::test
