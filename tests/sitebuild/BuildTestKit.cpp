#include "sitebuild/BuildTestKit.h"

#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/SiteState.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

}  // namespace

TBuildResult BuildBody(TBuildRun& run, const std::string& body,
                       const std::function<void(TBuildRun&)>& setup) {
  TBuildResult result;
  const size_t before = Dialogs().Texts().size();
  try {
    StartBuildRun(run, body);
    if (setup) setup(run);
    RunBuildLoop(run);
  } catch (const EAbort&) {
    result.aborted = true;
  }
  run.BuildRunning = false;
  result.page = PageBuffer;
  const auto texts = Dialogs().Texts();
  for (size_t i = before; i < texts.size(); ++i) result.messages.push_back(Trimmed(texts[i]));
  return result;
}

TBuildResult BuildBody(const std::string& body, const std::function<void(TBuildRun&)>& setup) {
  TBuildRun run;
  return BuildBody(run, body, setup);
}

TBuildResult BuildWithBody(TBuildRun& run, const std::string& body) {
  return BuildBody(run, body, [](TBuildRun& started) { started.BodySeen = true; });
}

TBuildResult BuildWithBody(const std::string& body) {
  TBuildRun run;
  return BuildWithBody(run, body);
}

std::string ErrorOf(const std::string& shown) {
  const size_t start = shown.find('\r');
  const size_t end = shown.find("\r\rLast output was:");
  if (start == std::string::npos || end == std::string::npos) return shown;
  return shown.substr(start + 1, end - start - 1);
}

void ExpectErrors(const std::vector<ErrorCase>& cases) {
  for (const ErrorCase& c : cases) {
    const TBuildResult result = BuildBody(c.body);
    EXPECT_TRUE(result.aborted) << c.name;
    EXPECT_EQ(ErrorOf(result.LastMessage()), c.error) << c.name;
  }
}

}  // namespace quorrel::test
