// The check of a tag typed into the master.
#include <string>

#include "platform/CodePage.h"
#include "shell/FastStrings.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildReaderSteps.h"
#include "sitebuild/BuildState.h"

namespace quorrel {

void CheckSourceTag() {
  TBuildRun& run = BuildRun;
  const std::string& source = run.RtfSource;
  const size_t start = run.SourcePos;
  size_t pos = start;
  std::string tag;
  while (pos < source.size() && tag.size() <= kPushBackCapacity) {
    const char ch = source[pos];
    if (ch == '<' && !(pos + 1 < source.size() && source[pos + 1] == '%')) {
      const std::string text = tag + "<" + Excerpt(source, static_cast<long long>(pos) + 1, 40);
      ReportBuildError("Nested HTML in <" + text +
                       (text.find('/') != std::string::npos ? " contains \"/\"" : ""));
    }
    ++pos;
    if (ch == '\r' && pos < source.size() && source[pos] == '\n') continue;  // CR LF is one end
    tag += (ch == '\r' || ch == '\n') ? ' ' : ch;
    if (ch == '>') break;
  }
  if (StartsWithNoCase(tag, "SCRIPT") && !ContainsNoCase(tag, "SRC")) {
    ReportBuildError("Do not use <Script> and </Script> - use .BS and .ES instead.");
  }
  if (!tag.empty() && tag[0] == '%') {
    const size_t lineEnd = source.find_first_of("\r\n", start);
    if (lineEnd != std::string::npos && lineEnd < pos && lineEnd - start <= 2) {
      ReportBuildError("Do not use <% at start of chunk - use .BA and .EA instead.");
    }
  }
  run.SourcePos = pos;
  PushInput(tag);
}

}  // namespace quorrel
