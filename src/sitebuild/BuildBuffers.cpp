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

void StartBuildBuffers(TBuildRun& run, std::string source) {
  PageBuffer.clear();
  PageBuffer.reserve(kMaxPageBytes + 1);
  LineBuffer.clear();
  LineBuffer.reserve(kPushBackCapacity);
  HasUnread = false;
  run.RtfSource = std::move(source);
  run.SourcePos = 0;
}

void PushInput(TBuildRun& run, std::string_view text) {
  if (LineBuffer.size() + text.size() > kPushBackCapacity) {
    ReportBuildError(
        run, "Stack overflow when trying to add " + std::to_string(text.size()) + " characters");
  }
  LineBuffer.append(text.rbegin(), text.rend());
}

void PushReadText(TBuildRun& run, std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char ch : text) {
    if (ch == '\\') escaped += '\\';
    escaped += ch;
  }
  PushInput(run, escaped);
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

bool NextInput(TBuildRun& run, char& ch, bool& fromSource) {
  if (!LineBuffer.empty()) {
    ch = LineBuffer.back();
    LineBuffer.pop_back();
    fromSource = false;
    return true;
  }
  if (run.SourcePos < run.RtfSource.size()) {
    ch = run.RtfSource[run.SourcePos++];
    fromSource = true;
    return true;
  }
  return false;
}

char PeekInput(TBuildRun& run, size_t k) {
  if (HasUnread) {
    if (k == 0) return Unread;
    --k;
  }
  if (k < LineBuffer.size()) return LineBuffer[LineBuffer.size() - 1 - k];
  const size_t at = run.SourcePos + (k - LineBuffer.size());
  return at < run.RtfSource.size() ? run.RtfSource[at] : '\0';
}

void EmitChar(TBuildRun& run, char ch) {
  if (PageBuffer.size() >= kMaxPageBytes) {
    ReportBuildError(run, "Web page too large: " + run.PageName);
  }
  PageBuffer.push_back(ch);
}

void EmitText(TBuildRun& run, std::string_view text) {
  for (char ch : text) EmitChar(run, ch);
}

std::string Excerpt(std::string_view text, long long start, size_t length) {
  long long end = start + static_cast<long long>(length);
  if (start < 0) start = 0;
  if (end > static_cast<long long>(text.size())) end = static_cast<long long>(text.size());
  if (start >= end) return "";
  return std::string(text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

void ReportBuildError(TBuildRun& run, const std::string& message) {
  const long long tail = static_cast<long long>(PageBuffer.size()) - 600;
  ShowErrorAndAbort("Section: " + run.PageName + "\r" + message + "\r\rLast output was:  \r" +
                    Excerpt(PageBuffer, tail, 600));
}

}  // namespace quorrel
