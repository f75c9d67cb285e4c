#include "sitebuild/PageWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/FileWrites.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

constexpr std::string_view kFeedbackMark = "feedback.asp";

std::string LowerExtension(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  std::string ext = dot == std::string::npos ? "" : fileName.substr(dot);
  for (char& ch : ext) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return ext;
}

TPageWriteResult Failure(const std::string& path, int error) {
  TPageWriteResult result;
  result.outcome = TPageWrite::Failed;
  result.error = "Cannot write " + path + "\r" + std::strerror(error);
  return result;
}

// The page into a temporary file beside the target, then renamed over it.
TPageWriteResult WriteThroughTemporary(const std::string& folder, const std::string& path,
                                       std::string_view page) {
  std::string temp = folder + ".QuorrelPageXXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return Failure(path, errno);
  // mkstemp gives 0600; a page is read by the web server, so it gets a new file's mode.
  fchmod(fd, 0666 & ~CurrentUmask());
  const bool written = WriteAllBytes(fd, page);
  const int writeError = errno;
  if (close(fd) != 0 || !written) {
    unlink(temp.c_str());
    return Failure(path, written ? errno : writeError);
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    return Failure(path, error);
  }
  TPageWriteResult result;
  result.outcome = TPageWrite::Written;
  return result;
}

}  // namespace

std::string WithLfLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') continue;
    out += text[k];
  }
  return out;
}

bool SamePage(std::string_view oldText, std::string_view newText) {
  const size_t oldMark = PosNoCase(kFeedbackMark, oldText);
  const size_t newMark = PosNoCase(kFeedbackMark, newText);
  if (oldMark == 0 && newMark == 0) return oldText == newText;
  if (oldMark != newMark) return false;
  return oldText.substr(0, oldMark - 1) == newText.substr(0, newMark - 1);
}

bool ReadOldPage(const std::string& path, std::string& text) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::string bytes(kMaxOldPageBytes, '\0');
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return false;
  bytes.resize(got);
  text = WithLfLineEnds(bytes);
  return true;
}

TPageWriteResult WritePageIfChanged(const std::string& folder, const std::string& fileName,
                                    std::string_view page) {
  const std::string path = folder + fileName;
  const std::string ext = LowerExtension(fileName);
  TPageWriteResult result;
  if (ext.size() <= 4 || ext == ".html") {
    std::string oldText;
    if (ReadOldPage(path, oldText)) {
      if (SamePage(oldText, page)) {
        result.outcome = TPageWrite::Unchanged;
        return result;
      }
      result.hadOld = true;
      result.oldText = std::move(oldText);
    }
  }
  TPageWriteResult written = WriteThroughTemporary(folder, path, page);
  written.hadOld = result.hadOld;
  written.oldText = std::move(result.oldText);
  return written;
}

}  // namespace quorrel
