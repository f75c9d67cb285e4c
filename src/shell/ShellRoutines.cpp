#include "shell/ShellRoutines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"

namespace quorrel {

int64_t TransferFileTime = 0;

std::string TrimQuotes(std::string_view text) {
  auto trimmed = [](char c) {
    return static_cast<unsigned char>(c) < '!' || c == '"' || c == '\'';
  };
  size_t first = 0;
  size_t last = text.size();
  while (first < last && trimmed(text[first])) ++first;
  while (last > first && trimmed(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

bool MySetDate(const std::string& path) {
  timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(TransferFileTime);
  times[1].tv_nsec = 0;
  if (TransferFileTime == 0 || ::utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) != 0) {
    if (!EntireRun) ShowMsg("Could not redate " + path);
    return false;
  }
  if (CurrentEditor && path == CurrentFileName) {
    const int slot = CurrentEditor->Tag();
    if (slot >= 0 && slot < MaxTabs) FileAges[slot] = FileAge(path);
    if (TMainWindow* window = MainWindow()) window->RedrawActiveTab();
    // The comparison with the server copy shows the two dates now equal.
    ServerComparisonHook();
  }
  return true;
}

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

namespace {
void ResetShellRoutines() {
  TransferFileTime = 0;
}
const TResetEntry resetShellRoutines(ResetShellRoutines);
}  // namespace

}  // namespace quorrel
