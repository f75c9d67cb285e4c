#include "shell/ShellRoutines.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"

namespace quorrel {

// Windows' numbers for the errors a delete meets, which the help topic explains.
int WindowsErrorCode(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return 5;
    case ENOENT:
      return 2;
    case EBUSY:
      return 32;
    default:
      return error;
  }
}

void DeleteFileOrAbort(const std::string& path) {
  const std::string native = NativePath(path);
  struct stat st;
  if (::lstat(native.c_str(), &st) != 0) return;
  if (::unlink(native.c_str()) == 0) return;
  const int error = errno;
  // The music tools' error file may still be held by the tool that writes it.
  if (path.find("ABCErrors.Txt") != std::string::npos) return;
  AskOkHelpCancel("Error code: " + std::to_string(WindowsErrorCode(error)) + "\r" +
                      std::strerror(error) + "\rwhen trying to delete " + path,
                  DeleteErrorHelp);
  Abort();
}

}  // namespace quorrel
