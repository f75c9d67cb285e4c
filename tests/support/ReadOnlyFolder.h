#pragma once
// Takes a folder's write permission away for this thread, root or not: a root
// thread gives up its power to pass permission checks for the while, and is then
// held by the modes as the owner of its files. (Taking another user's identity
// instead would also lose the way into a folder only root may enter, such as a
// checkout under /root.)
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

namespace quorrel::test {

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const std::string& folder) : folder_(folder) {
    ::chmod(folder.c_str(), 0555);
    switched_ = PassPermissionChecks(false);
  }
  ~ReadOnlyFolder() {
    if (switched_) PassPermissionChecks(true);
    ::chmod(folder_.c_str(), 0755);
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
  // Whether nothing can be made in the folder now.
  bool Holds() const {
    const std::string probe = folder_ + (folder_.ends_with('/') ? "" : "/") + "probe";
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return true;
    ::close(fd);
    ::unlink(probe.c_str());
    return false;
  }

 private:
  // Switches this thread's capabilities to override file modes on or off; true
  // when it had them and they were switched.
  static bool PassPermissionChecks(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) return false;
    const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    if ((data[0].permitted & bits) == 0) return false;
    if (on) {
      data[0].effective |= bits & data[0].permitted;
    } else {
      data[0].effective &= ~bits;
    }
    return ::syscall(SYS_capset, &header, data) == 0;
  }

  std::string folder_;
  bool switched_ = false;
};

}  // namespace quorrel::test
