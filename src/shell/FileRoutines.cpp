#include "shell/FileRoutines.h"

#include <sys/stat.h>
#include <time.h>

#include <cstdio>

#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/Sound.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

int64_t LocalFileDate = 0;
int64_t LocalFileSize = 0;
bool InServerRun = false;

namespace {

std::function<bool()> shiftKeyQuery;

// Month names stay English whatever the locale, so that dates in files and
// messages read the same everywhere.
const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Offset just past the ">" closing the tag that starts at tagStart; npos when the
// tag is never closed.
size_t EndOfTag(const std::string& text, size_t tagStart) {
  size_t close = text.find('>', tagStart);
  return close == std::string::npos ? close : close + 1;
}

// Offset of the first start tag with this name ("<head" or "<head ..."), so that
// "<header>" is not taken for "<head>"; npos when absent.
size_t FindStartTag(const std::string& text, const std::string& name) {
  std::string pattern = "<" + name;
  size_t from = 1;
  for (;;) {
    size_t pos = PosNoCase(pattern, text, from);
    if (pos == 0) return std::string::npos;
    size_t after = pos - 1 + pattern.size();
    if (after >= text.size()) return std::string::npos;
    unsigned char next = static_cast<unsigned char>(text[after]);
    if (next == '>' || next == '/' || next <= ' ') return pos - 1;
    from = pos + 1;
  }
}

}  // namespace

std::string FormatSize(int64_t bytes) {
  if (bytes <= 10000) return std::to_string(bytes) + " B ";
  if (bytes <= 1000000) return std::to_string((bytes + 500) / 1000) + " KB ";
  int64_t tenths = (bytes + 50000) / 100000;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB ";
}

std::string FormatFileDate(int64_t secondsSinceEpoch) {
  time_t t = static_cast<time_t>(secondsSinceEpoch);
  struct tm local {};
  localtime_r(&t, &local);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d-%s-%02d  %02d.%02d  ", local.tm_mday,
                kMonths[local.tm_mon], local.tm_year % 100, local.tm_hour, local.tm_min);
  return buffer;
}

std::string FormatShortDate(int64_t secondsSinceEpoch) {
  return FormatFileDate(secondsSinceEpoch).substr(0, 9);
}

std::string DateSize(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(NativePath(path).c_str(), &info) != 0) {
    LocalFileDate = 0;
    LocalFileSize = 0;
    return "*** Not found ***";
  }
  bool folder = S_ISDIR(info.st_mode);
  LocalFileDate = static_cast<int64_t>(info.st_mtime);
  LocalFileSize = folder ? 0 : static_cast<int64_t>(info.st_size);
  if (!folder && LocalFileSize == 0 && !InServerRun) {
    size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (UpperCaseAnsi(name) != "ROBOTS.TXT") ShowMsg(path + " is zero bytes long!");
  }
  return FormatFileDate(LocalFileDate) + FormatSize(LocalFileSize);
}

int64_t FileSize64(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(NativePath(path).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return 0;
  return static_cast<int64_t>(info.st_size);
}

bool IsExemptFolder(const std::string& path) {
  std::string withSlash = "/" + path;
  return withSlash.find("/google") != std::string::npos ||
         withSlash.find("/nortonsw") != std::string::npos;
}

std::string StripUrlQuery(const std::string& url) {
  std::string result = url.substr(0, url.find('?'));
  return result.substr(0, result.find('#'));
}

std::string BytesToHex(const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(text.size() * 2);
  for (unsigned char c : text) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

std::string FormatMinSec(int64_t milliseconds) {
  int64_t seconds = (milliseconds / 1000) % 60;
  std::string twoDigits = (seconds < 10 ? "0" : "") + std::to_string(seconds);
  return std::to_string(milliseconds / 60000) + ":" + twoDigits;
}

void PlayWaveResource(const std::string& name) {
  PlaySound(name);
}

bool IsShiftDown() {
  return shiftKeyQuery && shiftKeyQuery();
}

void SetShiftKeyQuery(std::function<bool()> query) {
  shiftKeyQuery = std::move(query);
}

TBaseTagInsertion PlanBaseTag(const std::string& pageText, const std::string& url) {
  std::string folder = url;
  size_t lastSlash = folder.rfind('/');
  // A slash within the first nine characters belongs to the scheme ("http://").
  if (lastSlash != std::string::npos && lastSlash + 1 > 9) folder.resize(lastSlash + 1);
  if (folder.empty() || folder.back() != '/') folder += '/';

  TBaseTagInsertion plan;
  plan.text = "<Base Href=\"" + folder + "\">\n";
  if (size_t titleEnd = PosNoCase("</title>", pageText); titleEnd > 0) {
    plan.offset = titleEnd - 1 + 8;
  } else if (size_t headEnd = PosNoCase("</head>", pageText); headEnd > 0) {
    plan.offset = headEnd - 1;
  } else if (size_t head = FindStartTag(pageText, "head"); head != std::string::npos) {
    plan.offset = EndOfTag(pageText, head);
  } else if (size_t html = FindStartTag(pageText, "html"); html != std::string::npos) {
    plan.offset = EndOfTag(pageText, html);
  }
  if (plan.offset == std::string::npos) plan.offset = 0;
  return plan;
}

void InsertBaseTag(const std::string& url) {
  if (!CurrentEditor) return;
  // The editor reads out with CR LF; its positions count one per line end.
  TBaseTagInsertion plan = PlanBaseTag(CurrentEditor->GetText(), url);
  CurrentEditor->Select(CurrentEditor->OffsetToPos(plan.offset), 0);
  CurrentEditor->SetSelText(plan.text);
}

void CheckServer() {
  CheckServerCopyHook();
}

void ResetFileRoutines() {
  LocalFileDate = 0;
  LocalFileSize = 0;
  InServerRun = false;
}

namespace {
const TResetEntry resetFileRoutines(ResetFileRoutines);
}  // namespace

}  // namespace quorrel
