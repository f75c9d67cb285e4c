#include "shell/TextFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/FileWrites.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"

namespace quorrel {

const char BinaryExtensions[] =
    ".TPU.TPP.OBJ.EXE.OVR.COM.ICO.DLL.ZIP.LNK.PIF.DSM.BMP.HLP.GIF.TIF.TIFF.JPG.JPEG.PNG.NAILS.SWF."
    "BAK.DFM.DCU.DDP.GID.FTS.DB.PX.MDB.MDF.MP4.LDF.LDB.PDF.FTP.WMV.PPT.PPTX.CHM.SUO.XLSX.XLSM.NCD."
    "SYS.MSI.DL_.AVI.CAB.WAV.DCU.DDP.DPK.CHW.RES.";

bool ReadFailed = false;

namespace {

std::string ErrnoText(int error) {
  return std::strerror(error);
}

// The text up to its first zero byte with every line end as CR LF.
std::string AsEditorText(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 32);
  for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
    if (bytes[i] == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (bytes[i] == '\n') {
      out += "\r\n";
    } else {
      out += bytes[i];
    }
  }
  return out;
}

}  // namespace

bool IsBinaryExtension(const std::string& ext) {
  if (ext.size() < 2 || ext[0] != '.') return false;
  return PosCase(UpperCaseAnsi(ext) + ".", BinaryExtensions) > 0;
}

bool FileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      errno = error;
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

std::vector<std::string> SplitTextLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  for (; i < bytes.size() && bytes[i] != '\0'; ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  // The text after the last line end is a line of its own.
  if (start < i) lines.push_back(bytes.substr(start, i - start));
  return lines;
}

void LoadListShared(std::vector<std::string>& list, const std::string& path) {
  std::string bytes;
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    throw std::runtime_error("Cannot open file \"" + path + "\". " + ErrnoText(EISDIR));
  }
  if (!FileBytes(path, bytes)) {
    throw std::runtime_error("Cannot open file \"" + path + "\". " + ErrnoText(errno));
  }
  list = SplitTextLines(bytes);
}

std::string ReadTextFile(const std::string& path) {
  std::string name = path.empty() ? "index.html" : path;
  if (name.back() == '/') name += "index.html";
  if (name.front() != '/') name = ToLocalPath(name);
  std::string bytes;
  struct stat st;
  const bool folder = ::stat(NativePath(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  if (!folder && FileBytes(name, bytes)) return AsEditorText(bytes);
  const std::string reason = ErrnoText(folder ? EISDIR : errno);
  if (CurrentCommand == FindCommand) {
    try {
      LoadListShared(ReadList, name);
    } catch (const std::runtime_error&) {
      ReadList.clear();
      ReadFailed = true;
    }
    return "";
  }
  ShowErrorAndAbort("Cannot open file \"" + name + "\". " + reason);
}

bool ShowFileDialog(const std::string& filter, const std::string& folder, bool save,
                    std::string& path, const std::string& title) {
  FileDialogCall call;
  call.save = save;
  call.title = title;
  call.filter = filter;
  call.folder = folder;
  std::string chosen = path;
  if (!UserDialogs().FileDialog(call, chosen) || chosen.empty()) return false;
  path = chosen;
  return true;
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
  struct stat a, b;
  if (::stat(source.c_str(), &a) == 0 && ::stat(target.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
      a.st_ino == b.st_ino) {
    return true;  // copying would only empty it
  }
  std::string bytes;
  if (!FileBytes(from, bytes)) return false;
  const std::string work = target + ".~copy";
  int fd = ::open(work.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool written = WriteAllBytes(fd, bytes);
  written = ::fsync(fd) == 0 && written;
  written = ::close(fd) == 0 && written;
  if (!written || ::rename(work.c_str(), target.c_str()) != 0) {
    ::unlink(work.c_str());
    return false;
  }
  return true;
}

void ResetTextFiles() {
  ReadFailed = false;
}

namespace {
const TResetEntry resetTextFiles(ResetTextFiles);
}  // namespace

}  // namespace quorrel
