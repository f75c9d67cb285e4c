#pragma once
// Shared set-up of the dispatcher's tests: a site folder of real files, documents
// opened into the tests' main window, and a scripted validator in place of the
// real ones that records each call and does what the test tells it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "commands/OpenDocs.h"
#include "commands/ValidateCurrentFile.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/ClassifyDocument.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "validate/ColourSyntax.h"
#include "validate/ValUnit.h"
#include "validate/Validators.h"

namespace quorrel::test {

// One call of the scripted validator.
struct TValidatorCall {
  TValidatorKind kind;
  std::string sender;
  int pass;  // ValidationPass when called
  std::string file;
};

class ValidationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    SetMainWindow(&window);
    site = SiteTestFolder() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(site);
    std::filesystem::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    SetValidatorStandIn([this](TValidatorKind kind, const std::string& sender) {
      calls.push_back({kind, sender, ValidationPass, CurrentFileName});
      if (onCall) onCall(calls.back());
    });
  }
  void TearDown() override {
    SetValidatorStandIn(nullptr);
    SetMainWindow(nullptr);
    std::filesystem::remove_all(site);
    std::error_code ec;  // the folder of the sites goes with the last of them
    std::filesystem::remove(std::filesystem::path(site).parent_path().parent_path(), ec);
  }

  std::string Write(const std::string& name, const std::string& text) {
    std::filesystem::path path(site + name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return site + name;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // A document in a tab of its own, made current as the program does it. A page
  // whose head does not begin a line is validated as it opens: that run is not
  // what a test looks at, so the calls start afresh. An open document keeps its text.
  void Open(const std::string& name, const std::string& text) {
    const std::string path = site + name;
    const std::vector<std::string> open = OpenFiles();
    if (std::find(open.begin(), open.end(), path) == open.end()) Write(name, text);
    OpenInNewTab(path);
    PCChange();
    calls.clear();
  }
  // Replaces the current document's text the way a validator writes its output back.
  static void Rewrite(const std::string& text) {
    CurrentEditor->SetText(text);
    DocModified = true;
    GetEditorText();
    MarkDocumentChanged();
  }
  std::string Status() const { return window.StatusText(MessagePanel); }
  // The HTML validator alone on the current document's page, as the dispatcher hands
  // it over on the current pass.
  static TValidation ValidateHtmlOnly(const std::string& sender) {
    return ValidateHtml(PageOfCurrentDocument(TValidatorKind::Html, sender));
  }

  MemoryMainWindow window;
  std::string site;
  std::vector<TValidatorCall> calls;
  std::function<void(const TValidatorCall&)> onCall;
};

}  // namespace quorrel::test
