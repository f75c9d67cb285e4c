#include "shell/TextFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/CodePage.h"
#include "platform/FileWrites.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "shell/SitePaths.h"
#include "shell/TextLines.h"

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

}  // namespace

bool IsBinaryExtension(const std::string& ext) {
  if (ext.size() < 2 || ext[0] != '.') return false;
  return PosCase(UpperCaseAnsi(ext) + ".", BinaryExtensions) > 0;
}

bool FileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // Straight into a string of the file's size: growing it as the reads come would
  // copy a large file several times over and hold up to twice its size.
  struct stat st;
  bytes.resize(::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0);
  size_t used = 0;
  char tail[65536];  // what a file that grew since fstat still holds
  for (;;) {
    const bool full = used == bytes.size();
    ssize_t n =
        full ? ::read(fd, tail, sizeof tail) : ::read(fd, bytes.data() + used, bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      bytes.clear();
      errno = error;
      return false;
    }
    if (n == 0) break;
    if (full) bytes.append(tail, static_cast<size_t>(n));
    used += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(used);
  return true;
}

std::string LoadedText(std::string bytes) {
  const size_t end = std::min(bytes.find('\0'), bytes.size());
  size_t lone = 0;  // line ends other than CR LF
  for (size_t i = 0; i < end; ++i) {
    if (bytes[i] == '\r' && i + 1 < end && bytes[i + 1] == '\n') {
      ++i;
    } else if (bytes[i] == '\r' || bytes[i] == '\n') {
      ++lone;
    }
  }
  // Most files are in the editor's form already: the bytes are the text.
  if (lone == 0 && end == bytes.size()) return bytes;
  std::string out;
  out.reserve(end + lone + 2);  // room for the line end a read-out adds
  size_t from = 0;              // the start of the run not yet copied
  for (size_t i = 0; i < end; ++i) {
    if (bytes[i] == '\r' && i + 1 < end && bytes[i + 1] == '\n') {
      ++i;  // already CR LF
    } else if (bytes[i] == '\r' || bytes[i] == '\n') {
      out.append(bytes, from, i - from);
      out += "\r\n";
      from = i + 1;
    }
  }
  out.append(bytes, from, end - from);
  return out;
}

std::vector<std::string> SplitTextLines(const std::string& bytes) {
  return LinesWithoutEnds(bytes.substr(0, bytes.find('\0')));
}

bool IsUtf16(const std::string& bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

std::string Utf16ToAnsi(const std::string& bytes) {
  const bool bigEndian = bytes.starts_with("\xFE\xFF");
  auto unit = [&](size_t at) {
    const unsigned a = static_cast<unsigned char>(bytes[at]);
    const unsigned b = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  };
  std::string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = IsUtf16(bytes) ? 2 : 0; i + 1 < bytes.size(); i += 2) {
    const char16_t ch = unit(i);
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 3 < bytes.size()) {
      const char16_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        i += 2;  // a character beyond the code page's reach
        out += '?';
        continue;
      }
    }
    if (ch >= 0xD800 && ch <= 0xDFFF) {
      out += '?';
      continue;
    }
    out += static_cast<char>(UnicodeToAnsi(ch));
  }
  return out;
}

std::string SlowReadText(const std::string& bytes, size_t* zeroBytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 32);
  size_t zeros = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (c == '\n') {
      out += "\r\n";
    } else if (c == '\0') {
      out += '\x01';
      ++zeros;
    } else {
      out += c;
    }
  }
  if (zeroBytes) *zeroBytes = zeros;
  return out;
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
  if (!folder && FileBytes(name, bytes)) return LoadedText(std::move(bytes));
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
