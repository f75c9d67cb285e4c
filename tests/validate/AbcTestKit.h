#pragma once
// Shared by the ABC validator's tests: tunes written with "\n", the validator run
// on them as a page with the options of the ABC menu, and the help topics it opened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Help.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/Validators.h"

namespace quorrel::test {

// "\n" becomes CR LF, as documents hold their text, and back.
inline std::string AbcText(const std::string& text) {
  return ReplaceAll(text, "\n", "\r\n", true);
}
inline std::string AbcLf(const std::string& text) {
  return ReplaceAll(text, "\r\n", "\n", true);
}

class AbcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* option : {"Renumber", "CountBars", "FieldOrder", "ValSquare", "CheckChords"}) {
      MainMenu().SetChecked(option, false);
    }
    NotInSite = false;
    CurrentCommand.clear();
    SetHelpViewer([this](int context) { helps.push_back(context); });
  }
  void TearDown() override { SetHelpViewer(nullptr); }

  // The validator on a text written with "\n", started by the sender's item, with
  // the caret at a 0-based offset of the CR LF text.
  TValidation Run(const std::string& sender, const std::string& text, size_t caret = 0) {
    TPage page;
    page.text = AbcText(text);
    page.kind = TDocumentKind::Abc;
    page.sender = sender;
    page.caret = caret;
    return ValidateAbc(page);
  }
  // The text as the run left it, with "\n" ("" when it left the text alone).
  static std::string TextOf(const TValidation& result) {
    return result.text ? AbcLf(*result.text) : "";
  }
  // The line of the text a stop put the caret on (0-based).
  static size_t ErrorLine(const TValidation& result, const std::string& text) {
    const std::string written = result.text ? *result.text : AbcText(text);
    size_t line = 0;
    for (size_t i = 0; i < result.error->offset && i < written.size(); ++i) {
      if (written[i] == '\n') ++line;
    }
    return line;
  }

  std::vector<int> helps;
};

// The smallest tune the validator passes unchanged.
inline constexpr char kPlainTune[] = "X:1\nT:Plain\nM:4/4\nQ:1/4=120\nK:C\nCDEF|\n";

}  // namespace quorrel::test
