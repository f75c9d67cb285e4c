#include "sitebuild/BuildBuffers.h"

#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

namespace {

// The push-back stack, its top at the back: text is stored reversed so that a
// push costs its own length and a read costs nothing.
std::string LineBuffer;
// A translated character given back; read again without a second translation.
bool HasUnread = false;
char Unread = 0;

void ResetBuildBuffers() {
  LineBuffer.clear();
  HasUnread = false;
}

const TResetEntry reset(ResetBuildBuffers);

}  // namespace

void StartBuildBuffers(std::string source) {
  PageBuffer.clear();
  PageBuffer.reserve(kMaxPageBytes + 1);
  LineBuffer.clear();
  LineBuffer.reserve(kPushBackCapacity);
  HasUnread = false;
  BuildRun.RtfSource = std::move(source);
  BuildRun.SourcePos = 0;
}

void PushInput(std::string_view text) {
  if (LineBuffer.size() + text.size() > kPushBackCapacity) {
    ReportBuildError("Stack overflow when trying to add " + std::to_string(text.size()) +
                     " characters");
  }
  LineBuffer.append(text.rbegin(), text.rend());
}

void PushReadText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char ch : text) {
    if (ch == '\\') escaped += '\\';
    escaped += ch;
  }
  PushInput(escaped);
}

size_t PushedCount() {
  return LineBuffer.size();
}

void UnreadChar(char ch) {
  HasUnread = true;
  Unread = ch;
}

bool TakeUnread(char& ch) {
  if (!HasUnread) return false;
  HasUnread = false;
  ch = Unread;
  return true;
}

bool NextInput(char& ch, bool& fromSource) {
  if (!LineBuffer.empty()) {
    ch = LineBuffer.back();
    LineBuffer.pop_back();
    fromSource = false;
    return true;
  }
  if (BuildRun.SourcePos < BuildRun.RtfSource.size()) {
    ch = BuildRun.RtfSource[BuildRun.SourcePos++];
    fromSource = true;
    return true;
  }
  return false;
}

char PeekInput(size_t k) {
  if (HasUnread) {
    if (k == 0) return Unread;
    --k;
  }
  if (k < LineBuffer.size()) return LineBuffer[LineBuffer.size() - 1 - k];
  const size_t at = BuildRun.SourcePos + (k - LineBuffer.size());
  return at < BuildRun.RtfSource.size() ? BuildRun.RtfSource[at] : '\0';
}

void EmitChar(char ch) {
  if (PageBuffer.size() >= kMaxPageBytes) {
    ReportBuildError("Web page too large: " + BuildRun.PageName);
  }
  PageBuffer.push_back(ch);
}

void EmitText(std::string_view text) {
  for (char ch : text) EmitChar(ch);
}

std::string Excerpt(std::string_view text, long long start, size_t length) {
  long long end = start + static_cast<long long>(length);
  if (start < 0) start = 0;
  if (end > static_cast<long long>(text.size())) end = static_cast<long long>(text.size());
  if (start >= end) return "";
  return std::string(text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

void ReportBuildError(const std::string& message) {
  const long long tail = static_cast<long long>(PageBuffer.size()) - 600;
  ShowErrorAndAbort("Section: " + BuildRun.PageName + "\r" + message + "\r\rLast output was:  \r" +
                    Excerpt(PageBuffer, tail, 600));
}

}  // namespace quorrel
