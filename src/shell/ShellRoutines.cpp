#include "shell/ShellRoutines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "platform/ResetRegistry.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"

namespace quorrel {

bool ParseInteger(const std::string& text, int minimum, int maximum, int& value) {
  size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  bool negative = false;
  if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == end) return false;
  long long result = 0;
  for (; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    result = result * 10 + (text[i] - '0');
    // Past the int range already: stop before the value could overflow.
    if (result > 1LL + INT_MAX) return false;
  }
  if (negative) result = -result;
  if (result < minimum || result > maximum) return false;
  value = static_cast<int>(result);
  return true;
}

bool AskNumber(const std::string& prompt, int& number) {
  std::string text = std::to_string(number);
  if (!UserDialogs().InputQuery("Quorrel", prompt, text, false)) return false;
  int value = 0;
  if (!ParseInteger(text, INT_MIN, INT_MAX, value)) {
    ShowMsg("Not a number!");
    return false;
  }
  number = value;
  return true;
}

std::string TrimQuotes(std::string_view text) {
  auto trimmed = [](char c) {
    return static_cast<unsigned char>(c) < '!' || c == '"' || c == '\'';
  };
  size_t start = 0, end = text.size();
  while (start < end && trimmed(text[start])) ++start;
  while (end > start && trimmed(text[end - 1])) --end;
  return std::string(text.substr(start, end - start));
}

unsigned int HexToInt(const std::string& text) {
  unsigned int value = 0;
  size_t digits = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || ++digits > 8) throw EConvertError(std::string("Invalid Hex digit:\r") + c);
    value = value * 16 + static_cast<unsigned int>(digit);
  }
  return value;
}

int64_t TransferFileTime = 0;

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
    if (TDocument* document = DocumentAt(CurrentEditor->Tag())) document->FileAge = FileAge(path);
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
