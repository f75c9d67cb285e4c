#pragma once
// Runs the page builder's reader and line handling on a small master body and
// collects what a user would see: the page text and every message.
#include <functional>
#include <string>
#include <vector>

#include "shell/ProgUnit.h"
#include "sitebuild/BuildState.h"
#include "support/PageCheckers.h"

namespace quorrel::test {

// What the "Possible errors" box is asked to do, over every page of a run.
class WarningsView : public TProgressView {
 public:
  void RunPrepared() override {}
  void LineAdded(const std::string& line) override { lines.push_back(line); }
  void StateChanged() override {}
  void ShowBox() override {}
  void HideBox() override {}
  void ShowModalBox() override { caption = ProgBoxState().caption; }
  void ProcessMessages() override {}
  void PrintLines(const std::vector<std::string>& printedLines) override { printed = printedLines; }

  std::string caption;
  std::vector<std::string> lines, printed;
};

struct TBuildResult {
  std::string page;                   // the page buffer when the run ended
  std::vector<std::string> messages;  // every box shown, blanks of centring trimmed
  bool aborted = false;
  // The last message, "" when none.
  std::string LastMessage() const { return messages.empty() ? "" : messages.back(); }
};

// The body as the builder reads it after collecting (CR LF line ends). setup runs
// after the run has started, to put the run in the state a test needs.
// run holds the run's state when it ended.
TBuildResult BuildBody(TBuildRun& run, const std::string& body,
                       const std::function<void(TBuildRun&)>& setup = {});
TBuildResult BuildBody(const std::string& body, const std::function<void(TBuildRun&)>& setup = {});

// A run whose page has a body, so that quotes are curled.
TBuildResult BuildWithBody(const std::string& body);
TBuildResult BuildWithBody(TBuildRun& run, const std::string& body);

// The message of a build error: "Section: ...\r" + message + "\r\rLast output...".
std::string ErrorOf(const std::string& shown);

// A body that stops the build, and the error it stops with (as ErrorOf gives it).
struct ErrorCase {
  const char* name;
  std::string body;
  std::string error;
};
// Builds each body and expects it stopped with its error.
void ExpectErrors(const std::vector<ErrorCase>& cases);

}  // namespace quorrel::test
