#pragma once
// Shared helpers of the HTML validator's tests: the walk run on a page with the
// current document's flags and the menu's options, and what it left behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/Abort.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "validate/HtmlRun.h"
#include "validate/ValUnit.h"

namespace quorrel::test {

struct TWalkResult {
  std::string out;
  std::string error;  // ErrMsg when the walk stopped
  int help = 0;
  bool aborted = false;  // ended the command at once (its message is the last box)
  size_t rest = 0;       // where the text not yet taken over begins
};

inline TWalkResult WalkPage(const std::string& page,
                            const std::function<void(THtmlRun&)>& setup = nullptr) {
  THtmlRun run;
  run.in = run.original = page;
  InitHtmlRun(run);
  if (setup) setup(run);
  ErrMsg.clear();
  ErrHelpContext = 0;
  TWalkResult result;
  try {
    HtmlWalk(run);
  } catch (const EAbort&) {
    result.aborted = true;
  }
  result.out = run.out;
  result.error = ErrMsg;
  result.help = ErrHelpContext;
  result.rest = HtmlRestStart(run);
  ErrMsg.clear();
  ErrHelpContext = 0;
  return result;
}

// A page of a site, with the options as a fresh program has them.
class HtmlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IsHtml = true;
    CurrentExt = ".HTM";
  }
  static void Option(const char* name, bool ticked) { MainMenu().SetChecked(name, ticked); }
  // The last box's text.
  static std::string LastBox() { return Dialogs().Calls().empty() ? "" : Dialogs().Last().text; }
};

// A page in the house frame around a body.
inline std::string InPage(const std::string& body) {
  return "<HTML>\n<Head>\n<Title>T</Title>\n</Head>\n<Body>\n" + body + "</Body>\n</HTML>\n";
}

// The head lines the validator completes a page with.
inline const std::string kMeta =
    "  <meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\n"
    "  <Meta Name=viewport Content=\"width=device-width, initial-scale=1\">\n";

// A page in its final layout around a body, with its title.
inline std::string Done(const std::string& title, const std::string& body) {
  return "<HTML Lang=en>\n<Head>\n  <Title>" + title + "</Title>\n" + kMeta + "</Head>\n<Body>\n" +
         body + "</Body>\n</HTML>\n";
}

}  // namespace quorrel::test
