#pragma once
// Runs the page builder's reader and line handling on a small master body and
// collects what a user would see: the page text and every message.
#include <functional>
#include <string>
#include <vector>

namespace quorrel::test {

struct TBuildResult {
  std::string page;                   // the page buffer when the run ended
  std::vector<std::string> messages;  // every box shown, blanks of centring trimmed
  bool aborted = false;
  // The last message, "" when none.
  std::string LastMessage() const { return messages.empty() ? "" : messages.back(); }
};

// The body as the builder reads it after collecting (CR LF line ends). setup runs
// after the run has started, to put the run in the state a test needs.
TBuildResult BuildBody(const std::string& body, const std::function<void()>& setup = {});

// A run whose page has a body, so that quotes are curled.
TBuildResult BuildWithBody(const std::string& body);

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

// A checker's complaints about a file (its error output): command and its
// arguments, the file last.
std::string CheckerComplaints(const std::vector<std::string>& command, const std::string& file);

}  // namespace quorrel::test
