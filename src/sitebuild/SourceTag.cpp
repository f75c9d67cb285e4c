// The check of a tag typed into the master.
#include <string>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "shell/FastStrings.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReaderSteps.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

namespace {

// Where the text a tag may take ends: a control word the reader turns into markup
// (a tag is typed text), an empty line or a dot-command line. A "<" with no ">"
// before it is text, so a comparison such as "a<b" never swallows what follows.
bool EndsTagSearch(const std::string& source, size_t pos) {
  const char ch = source[pos];
  if (ch == '\\') return pos + 1 < source.size() && IsLowerLetter(source[pos + 1]);
  if (ch != '\r' || source.compare(pos, 2, "\r\n") != 0) return false;
  const char next = pos + 2 < source.size() ? source[pos + 2] : '\0';
  return next == '\r' || next == '.' || next == '\f' || next == '\0';
}

}  // namespace

bool CheckSourceTag(TBuildRun& run) {
  const std::string& source = run.RtfSource;
  const size_t start = run.SourcePos;
  size_t pos = start;
  std::string tag;
  bool closed = false;
  while (pos < source.size() && tag.size() <= kPushBackCapacity) {
    if (EndsTagSearch(source, pos)) break;
    const char ch = source[pos];
    if (ch == '<' && !(pos + 1 < source.size() && source[pos + 1] == '%')) {
      const std::string text = tag + "<" + Excerpt(source, static_cast<long long>(pos) + 1, 40);
      ReportBuildError(run, "Nested HTML in <" + text +
                                (text.find('/') != std::string::npos ? " contains \"/\"" : ""));
    }
    ++pos;
    if (ch == '\r' && pos < source.size() && source[pos] == '\n') continue;  // CR LF is one end
    tag += (ch == '\r' || ch == '\n') ? ' ' : ch;
    if (ch == '>') {
      closed = true;
      break;
    }
  }
  if (!closed) return false;
  if (StartsWithNoCase(tag, "SCRIPT") && !ContainsNoCase(tag, "SRC")) {
    ReportBuildError(run, "Do not use <Script> and </Script> - use .BS and .ES instead.");
  }
  if (!tag.empty() && tag[0] == '%') {
    const size_t lineEnd = source.find_first_of("\r\n", start);
    if (lineEnd != std::string::npos && lineEnd < pos && lineEnd - start <= 2) {
      ReportBuildError(run, "Do not use <% at start of chunk - use .BA and .EA instead.");
    }
  }
  run.SourcePos = pos;
  PushInput(run, tag);
  return true;
}

}  // namespace quorrel
